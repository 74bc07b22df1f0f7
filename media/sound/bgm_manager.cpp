#include "media/sound/bgm_manager.h"

#include <cmath>
#include <cstring>

#include "base/error_box.h"
#include "base/files.h"
#include "base/log.h"
#include "media/media_services.h"
#include "media/sound/ggs4.h"
#include "media/sound/midi_player.h"
#include "media/sound/sound_output.h"
#include "platform/cp932.h"

BGMOGGENTRY g_BgmOggTable[kBgmTracks];
BGMMIDIENTRY g_BgmMidiTable[kBgmTracks];

namespace {

template <size_t N>
void CopyName(char (&out)[N], const std::string& name) {
    std::memset(out, 0, N);
    std::strncpy(out, name.c_str(), N - 1);
}

std::string ExtOf(const char* fileName) {
    std::string ext;
    GetFileExtStr(ext, fileName);
    return ext;
}

}  // namespace

cBgmManager::~cBgmManager() {
    End();
    OggEnd();
}

int cBgmManager::Init(int channels, BGMOGGENTRY* oggTable, BGMMIDIENTRY* midiTable, int tracks, int directMusic) {
    m_bInitialised = 1;
    if (Ggs4Open(directMusic)) {
        m_bUseGgs4 = 1;
    } else {
        m_bUseGgs4 = 0;
        m_Midi.vecPlayers.clear();
        m_Midi.vecUnused.clear();
    }
    if (!OggInit()) return 0;
    Resize(channels);
    m_lpOggTable = oggTable;
    m_lpMidiTable = midiTable;
    m_vecKind.assign(static_cast<size_t>(std::max(tracks, 0)), BGM_UNKNOWN);
    m_nCurrentTrack = -1;  // a restarted manager plays its first request
    return 1;
}

int cBgmManager::Resize(int channels) {
    if (!m_bInitialised) return 1;
    if (channels < 0) channels = 0;
    if (!m_bUseGgs4) {
        for (size_t i = static_cast<size_t>(channels); i < m_Midi.vecPlayers.size(); ++i) delete m_Midi.vecPlayers[i];
        m_Midi.vecPlayers.resize(static_cast<size_t>(channels), nullptr);
        m_Midi.vecUnused.resize(static_cast<size_t>(channels), 0);
    }
    OggCreate(channels);
    m_vecBackEnd.assign(static_cast<size_t>(channels), 0);
    return 1;
}

int cBgmManager::SetTrack(int track, const char* fileName, int volume) {
    if (!m_bInitialised) return 1;
    if (!Ready() || track < 0 || track >= static_cast<int>(m_vecKind.size())) return 1;
    BGMOGGENTRY& ogg = m_lpOggTable[track];
    BGMMIDIENTRY& midi = m_lpMidiTable[track];
    const std::string name = fileName ? fileName : "";
    std::string ext;
    if (!GetFileExtStr(ext, name)) {
        CopyName(ogg.szFile, "");
        CopyName(midi.szFile, "");
        m_vecKind[track] = BGM_UNKNOWN;
        ogg.nVolume = midi.nVolume = 0;
        return 0;
    }
    if (ext == "mid" || ext == "MID") {
        std::string midiName;
        ChangeFileExtStr(midiName, name, "mid");
        CopyName(midi.szFile, midiName);
        m_vecKind[track] = BGM_MIDI;
        midi.nVolume = volume;
        return 1;
    }
    if (ext == "ogg" || ext == "OGG") {
        CopyName(ogg.szFile, name);
        m_vecKind[track] = BGM_OGG;
        ogg.nVolume = volume;
        return 1;
    }
    CopyName(ogg.szFile, name);
    CopyName(midi.szFile, name);
    m_vecKind[track] = BGM_UNKNOWN;
    ogg.nVolume = midi.nVolume = volume;
    return 0;
}

bool cBgmManager::PlayOggSide(int channel, int track, int loop, int pause) {
    if (!OggPlay(channel, m_lpOggTable[track], loop, m_lpOggTable[track].nVolume)) return false;
    m_vecBackEnd[channel] = BGM_OGG;
    StopMidiSide(pause);
    return true;
}

bool cBgmManager::PlayMidiSide(int channel, int track, int loop) {
    const BGMMIDIENTRY& entry = m_lpMidiTable[track];
    const int ok = m_bUseGgs4 ? Ggs4Play(channel, entry, loop, entry.nVolume) : MidiPlay(channel, entry, loop);
    if (!ok) return false;
    m_vecBackEnd[channel] = BGM_MIDI;
    OggStop();
    return true;
}

void cBgmManager::StopMidiSide(int pause) {
    if (m_bUseGgs4)
        Ggs4Stop(pause);
    else
        MidiStop(pause);
}

int cBgmManager::Play(int channel, int track, int loop, int pause, int force) {
    if (!m_bInitialised) return 1;
    if (!Ready()) return 1;
    if (track == m_nCurrentTrack && !force) return 1;
    m_nCurrentTrack = track;
    const bool valid = track >= 0 && track < static_cast<int>(m_vecKind.size()) && channel >= 0 &&
                       channel < static_cast<int>(m_vecBackEnd.size());
    if (valid) {
        switch (m_vecKind[track]) {
            case BGM_OGG:
                if (PlayOggSide(channel, track, loop, 0)) return 1;
                break;
            case BGM_MIDI:
                if (PlayMidiSide(channel, track, loop)) return 1;
                break;
            default:
                if (PlayOggSide(channel, track, loop, pause)) return 1;
                if (PlayMidiSide(channel, track, loop)) return 1;
                break;
        }
        m_vecBackEnd[channel] = 0;
    }
    m_nCurrentTrack = -1;
    OggStop();
    StopMidiSide(0);
    return 0;
}

void cBgmManager::Stop() {
    if (!m_bInitialised) return;
    StopMidiSide(0);
    OggStop();
}

void cBgmManager::End() {
    OggEnd();
    if (m_bUseGgs4) {
        cGgs4Dll::Release();
    } else {
        for (cMidiPlayer* p : m_Midi.vecPlayers) delete p;
        m_Midi.vecPlayers.clear();
        m_Midi.vecUnused.clear();
    }
    m_bInitialised = 0;
}

int cBgmManager::OggInit() {
    // The device is opened here, at the first music set-up of the start-up;
    // without one the channels play into the mixer unheard.
    OpenSoundDevice();
    m_Ogg.bLibrary = VoxAvailable();
    m_Ogg.lpCreateVox = m_Ogg.bLibrary ? &CreateVox : nullptr;
    if (!m_Ogg.lpCreateVox) {
        ErrorBox(SJ("oggの初期化に失敗！"));
        return 0;
    }
    return 1;
}

int cBgmManager::OggCreate(int count) {
    // Old channel objects are destroyed: left alone they would go on sounding.
    for (cVox* vox : m_Ogg.vecChannels)
        if (vox) vox->Destroy();
    m_Ogg.vecChannels.clear();
    m_Ogg.nCurrent = -1;
    m_Ogg.nChannels = count;
    for (int i = 0; i < count; ++i) {
        cVox* vox = m_Ogg.lpCreateVox ? m_Ogg.lpCreateVox() : nullptr;
        if (!vox) {
            OutOfMemoryExit();
            return 0;
        }
        m_Ogg.vecChannels.push_back(vox);
    }
    return 1;
}

int cBgmManager::OggPlay(int channel, const BGMOGGENTRY& entry, int loop, int volume) {
    if (entry.szFile[0] == 0) return 0;
    OggStop();
    if (channel < 0 || channel >= static_cast<int>(m_Ogg.vecChannels.size())) return 0;
    cVox* vox = m_Ogg.vecChannels[channel];
    vox->Release();
    if (!vox->Load(entry.szFile)) {
        m_Ogg.nCurrent = -1;
        return 0;
    }
    if (volume < 100) OggSetVolume(channel, static_cast<float>(volume * 0.01));
    vox->SetLoop(loop ? 0x7FFFFFFF : 0);
    vox->Play();
    m_Ogg.nCurrent = channel;
    return 1;
}

void cBgmManager::OggStop() {
    if (m_Ogg.nCurrent < 0) return;
    if (m_Ogg.nCurrent < static_cast<int>(m_Ogg.vecChannels.size())) m_Ogg.vecChannels[m_Ogg.nCurrent]->Stop();
    m_Ogg.nCurrent = -1;
}

void cBgmManager::OggSetVolume(int channel, float volume) {
    if (channel >= 0 && channel < static_cast<int>(m_Ogg.vecChannels.size()))
        m_Ogg.vecChannels[channel]->SetVolume(volume);
}

void cBgmManager::OggEnd() {
    for (cVox* vox : m_Ogg.vecChannels)
        if (vox) vox->Destroy();
    m_Ogg.vecChannels.clear();
    m_Ogg.nCurrent = -1;
    m_Ogg.lpCreateVox = nullptr;
    m_Ogg.bLibrary = false;
}

int cBgmManager::Ggs4Open(int directMusic) {
    cGgs4Dll& dll = cGgs4Dll::Instance();
    if (dll.Load() != 0) return 0;
    // "Midi_DirectMusic" picks the device as the option says; the fake
    // binding of the tests is the only library that can see it here.
    if (dll.OpenDevice(directMusic ? -1100 : -1, nullptr) != 0) return 0;
    m_Ggs4 = cGgs4Bgm{};
    return 1;
}

void cBgmManager::Ggs4Stop(int pause) {
    cGgs4Dll& dll = cGgs4Dll::Instance();
    int32_t status[5] = {};
    dll.GetPlayerStatus(status, sizeof status);
    if (pause)
        dll.Pause();
    else
        dll.Stop(0);
}

int cBgmManager::Ggs4Play(int channel, const BGMMIDIENTRY& entry, int loop, int volume) {
    Ggs4Stop(1);
    if (ExtOf(entry.szFile) != "mid") return 0;
    cGgs4Dll& dll = cGgs4Dll::Instance();
    if (dll.AddListFromFileA(entry.szFile, 0, channel) != 0) return 0;
    m_Ggs4.nMasterVolume = -127 - static_cast<int>(std::trunc(volume * -1.27));
    dll.SetMasterVolume(m_Ggs4.nMasterVolume);
    if (dll.Play(loop ? 1 : 0, channel, 0, 0, 0) != 0) return 0;
    m_Ggs4.nListId = channel;
    return 1;
}

int DS_BgmInit(int channels, BGMOGGENTRY* oggTable, BGMMIDIENTRY* midiTable, int tracks, int directMusic) {
    if (MediaCallLogOn()) RecordMediaCall(Format("DS_BgmInit %d %d %d", channels, tracks, directMusic));
    return g_BgmManager.Init(channels, oggTable, midiTable, tracks, directMusic);
}
int DS_BgmResize(int channels) { return g_BgmManager.Resize(channels); }
int DS_BgmSetTrack(int track, const std::string& fileName, int volume) {
    if (MediaCallLogOn()) RecordMediaCall(Format("DS_BgmSetTrack %d %s %d", track, fileName.c_str(), volume));
    return g_BgmManager.SetTrack(track, fileName.c_str(), volume);
}
int DS_BgmPlay(int channel, int track, int loop, int pause, int force) {
    if (MediaCallLogOn()) RecordMediaCall(Format("DS_BgmPlay %d %d %d %d", channel, track, loop, force));
    return g_BgmManager.Play(channel, track, loop, pause, force);
}
void DS_BgmStop() {
    if (MediaCallLogOn()) RecordMediaCall("DS_BgmStop");
    g_BgmManager.Stop();
}
void DS_BgmEnd() {
    if (MediaCallLogOn()) RecordMediaCall("DS_BgmEnd");
    g_BgmManager.End();
}
bool DS_BgmInitialised() { return g_BgmManager.m_bInitialised != 0; }

int cBgmManager::MidiPlay(int channel, const BGMMIDIENTRY& entry, int loop) {
    MidiStop(1);
    cMidiBgm& midi = m_Midi;
    for (cMidiPlayer*& p : midi.vecPlayers) {
        delete p;
        p = nullptr;
    }
    if (ExtOf(entry.szFile) != "mid") return 0;
    if (channel < 0 || channel >= static_cast<int>(midi.vecPlayers.size())) return 0;
    auto* player = new cMidiPlayer(entry.szFile);
    midi.vecPlayers[static_cast<size_t>(channel)] = player;
    if (!player->HasImage()) return 0;
    {
        auto lock = SoundMixer().Lock();
        MidiPlayerSynth()->SetGainFactor(static_cast<float>(entry.nVolume) / 100.0f);
    }
    player->Play(0, midi.vecUnused[static_cast<size_t>(channel)], loop);
    return 1;
}

void cBgmManager::MidiStop(int pause) {
    for (cMidiPlayer* p : m_Midi.vecPlayers)
        if (p) p->Stop(pause);
}

int DS_MidiPlay(int channel, const BGMMIDIENTRY& entry, int loop) { return g_BgmManager.MidiPlay(channel, entry, loop); }
void DS_MidiStop(int pause) { g_BgmManager.MidiStop(pause); }
