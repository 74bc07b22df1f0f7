#include "media/sound/ds_sound.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "base/log.h"
#include "media/media_services.h"
#include "media/sound/sound_output.h"
#include "platform/cp932.h"

namespace {

bool g_bDevice = false;  // DS_Init succeeded
cCheckedVector<DS_SEDATA>* g_lpEffects = nullptr;
cCheckedVector<DS_SEINFO>* g_lpEntries = nullptr;

DSBUFFER CopyAt(const DS_SEDATA& effect, int copy) {
    if (copy < 0 || copy >= static_cast<int>(effect.vecBuffers.size())) return 0;
    return effect.vecBuffers[copy];
}

void CopyName(char (&out)[260], const char* name) {
    std::memset(out, 0, sizeof out);
    std::strncpy(out, name, sizeof out - 1);
}

}  // namespace

bool DS_HasDevice() { return g_bDevice; }

// The window is kept in the signature for the callers; sound here does not
// bind to a window.
bool DS_Init(void*, int, int, int) {
    // The requested primary format (22,050 Hz, 8 bits, mono) does not narrow
    // the mix: the mixer always renders at the device's own format.
    switch (OpenSoundDevice()) {
        case platform::AudioDeviceState::Open:
            break;
        case platform::AudioDeviceState::OpenFailed:
            DebugLogText("DIRECTSOUNDCREATE_ERR!");
            return false;
        default:
            return false;
    }
    g_bDevice = true;
    g_lpEffects = nullptr;
    g_lpEntries = nullptr;
    return true;
}

void DS_End() {
    if (!g_bDevice) return;
    if (g_lpEffects)
        for (DS_SEDATA& effect : *g_lpEffects) DS_ReleaseSE(effect);
    g_bDevice = false;
}

int DS_LoadAllSE(cCheckedVector<DS_SEDATA>& effects, cCheckedVector<DS_SEINFO>& entries, int volume) {
    if (!g_bDevice) return 1;
    g_lpEffects = &effects;
    g_lpEntries = &entries;
    for (size_t i = 0; i < effects.size(); ++i) {
        if (!effects[i].vecBuffers.empty()) continue;
        const DS_SEINFO& entry = entries.at(static_cast<long long>(i));
        DS_LoadSE(effects[i], entry.szFile, entry.nCopies, volume != 0 ? volume : entry.nVolume);
    }
    return 1;
}

bool DS_LoadSE(DS_SEDATA& effect, const char* fileName, int copies, int volume) {
    if (!g_bDevice) return true;
    effect = DS_SEDATA{};
    if (copies < 1) copies = 1;  // fewer would leave no buffer to play
    effect.vecBuffers.assign(static_cast<size_t>(copies), 0);
    if (!DS_CreateBuffer(effect.vecBuffers[0], fileName)) return false;
    for (int i = 1; i < copies; ++i) {
        if (!DS_DuplicateBuffer(effect.vecBuffers[i], effect.vecBuffers[0])) {
            DebugLogf(SJ("%sのメモリ共用バッファの生成失敗！").c_str(), fileName);
            return false;
        }
    }
    effect.nCopies = copies;
    CopyName(effect.szFile, fileName);
    effect.nNext = 0;
    if (volume != 0)
        for (int i = 0; i < copies; ++i) DS_SetVolume(effect, i, volume, 0);
    return true;
}

void DS_ReleaseSE(DS_SEDATA& effect) {
    platform::SoundMixer& mixer = SoundMixer();
    for (size_t i = 1; i < effect.vecBuffers.size(); ++i) mixer.Release(effect.vecBuffers[i]);
    if (!effect.vecBuffers.empty()) mixer.Release(effect.vecBuffers[0]);
    effect.vecBuffers.clear();
}

bool DS_CreateBuffer(DSBUFFER& buffer, const std::string& fileName) {
    if (!g_bDevice) return true;
    DS_WAVEDATA wave;
    if (!DS_LoadWave(fileName, wave)) {
        ReportLogfDebug(SJ("%s の読み込みに失敗しました！").c_str(), fileName.c_str());
        return false;
    }
    const WAVEFORMATEX& f = wave.wfx;
    if (!platform::SoundMixer::IsPlayablePcm(f.wFormatTag, f.nChannels, f.wBitsPerSample,
                                             static_cast<int>(std::min<uint32_t>(f.nSamplesPerSec, 1u << 30)),
                                             wave.data.size())) {
        DebugLogf(SJ("%s生成失敗！").c_str(), fileName.c_str());
        return false;
    }
    auto pcm = std::make_shared<platform::PcmData>();
    pcm->channels = f.nChannels;
    pcm->bitsPerSample = f.wBitsPerSample;
    pcm->samplesPerSec = static_cast<int>(f.nSamplesPerSec);
    pcm->bytes = std::move(wave.data);
    DS_FreeWave(wave);
    buffer = SoundMixer().CreateVoice(std::move(pcm));
    return buffer != 0;
}

bool DS_DuplicateBuffer(DSBUFFER& buffer, DSBUFFER source) {
    if (!g_bDevice) return true;
    buffer = SoundMixer().Duplicate(source);
    return buffer != 0;
}

void DS_PlaySE(DS_SEDATA& effect, int playFlags) {
    if (!g_bDevice) return;
    platform::SoundMixer& mixer = SoundMixer();
    // The main thread and the game thread both play effects: taking and
    // advancing the next copy happen under the mixer's lock.
    auto lock = mixer.Lock();
    const DSBUFFER copy = CopyAt(effect, effect.nNext);
    if (!copy) return;
    mixer.Stop(copy);
    mixer.SetPosition(copy, 0);
    mixer.Play(copy, (playFlags & 1) != 0);
    if (++effect.nNext >= effect.nCopies) effect.nNext = 0;
}

int DS_SetVolume(DS_SEDATA& effect, int copy, int volume, int relative) {
    if (MediaCallLogOn()) RecordMediaCall(Format("DS_SetVolume %s %d %d %d", effect.szFile, copy, volume, relative));
    if (!g_bDevice) return 0;
    const DSBUFFER buffer = CopyAt(effect, copy);
    if (!buffer) return 0;
    platform::SoundMixer& mixer = SoundMixer();
    auto lock = mixer.Lock();
    if (relative == 1) volume += mixer.Volume(buffer);
    volume = std::clamp(volume, -10000, 0);
    mixer.SetVolume(buffer, volume);
    return volume;
}

int DS_GetVolume(DS_SEDATA& effect, int copy) {
    if (!g_bDevice) return 0;
    const DSBUFFER buffer = CopyAt(effect, copy);
    return buffer ? SoundMixer().Volume(buffer) : 0;
}

void DS_PlayCursorSE(int inputBits, int mode, int effect) {
    if (MediaCallLogOn() && (((mode & 1) && (inputBits & 3)) || ((mode & 2) && (inputBits & 12))))
        RecordMediaCall(Format("DS_PlayCursorSE %d %d", inputBits & 15, mode));
    if (!g_bDevice) return;
    if ((mode & 1) && (inputBits & 3)) DS_PlaySE(SeInfoAt(effect), 0);
    if ((mode & 2) && (inputBits & 12)) DS_PlaySE(SeInfoAt(effect), 0);
}

DS_SEDATA& SeInfoAt(int index) { return g_SEData.at(index); }

int DS_SECount() { return static_cast<int>(g_SEData.size()); }

void DS_PlaySE(int index, int playFlags) {
    if (MediaCallLogOn()) RecordMediaCall(Format("DS_PlaySE %d", index));
    if (index < 0 || index >= DS_SECount()) return;
    DS_PlaySE(g_SEData[index], playFlags);
}
