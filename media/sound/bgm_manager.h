// Background music: one manager of 7 tracks (a file name and a volume each)
// played on channels (the program uses channel 0). A track's kind follows its
// file's extension: ogg files play on the ogg channel objects, MIDI files on
// the outside MIDI library when it can be opened, else on the program's own
// MIDI player (media/sound/midi_player.h). Driven from the main thread only.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "media/sound/vox_channel.h"

constexpr int kBgmTracks = 7;

struct BGMOGGENTRY {
    char szFile[260] = {};
    int32_t nVolume = 0;  // 0..100
};
struct BGMMIDIENTRY {
    char szFile[264] = {};
    int32_t nVolume = 0;  // 0..100
};
extern BGMOGGENTRY g_BgmOggTable[kBgmTracks];
extern BGMMIDIENTRY g_BgmMidiTable[kBgmTracks];

class cMidiPlayer;

// The ogg side: one channel object per channel.
struct cOggBgm {
    std::vector<cVox*> vecChannels;
    int32_t nChannels = 0;
    int32_t nCurrent = -1;  // the channel playing, -1 none
    bool bLibrary = false;
    cVox* (*lpCreateVox)() = nullptr;
};

// The outside MIDI library's side.
struct cGgs4Bgm {
    int32_t nListId = 0;
    int32_t nMasterVolume = 0;
    int32_t nReserved[3] = {};
};

// The own MIDI player's side: one player per channel.
struct cMidiBgm {
    std::vector<cMidiPlayer*> vecPlayers;
    std::vector<int32_t> vecUnused;  // one per channel, kept at 0
};

enum BgmKind { BGM_UNKNOWN = 0, BGM_OGG = 1, BGM_MIDI = 2 };

class cBgmManager {
public:
    cBgmManager() = default;
    ~cBgmManager();
    cBgmManager(const cBgmManager&) = delete;
    cBgmManager& operator=(const cBgmManager&) = delete;

    int Init(int channels, BGMOGGENTRY* oggTable, BGMMIDIENTRY* midiTable, int tracks, int directMusic);
    int Resize(int channels);
    int SetTrack(int track, const char* fileName, int volume);
    int Play(int channel, int track, int loop, int pause, int force);
    void Stop();
    void End();

    int OggInit();
    int OggCreate(int count);
    int OggPlay(int channel, const BGMOGGENTRY& entry, int loop, int volume);
    void OggStop();
    void OggSetVolume(int channel, float volume);
    void OggEnd();

    int Ggs4Open(int directMusic);
    void Ggs4Stop(int pause);
    int Ggs4Play(int channel, const BGMMIDIENTRY& entry, int loop, int volume);

    int MidiPlay(int channel, const BGMMIDIENTRY& entry, int loop);
    void MidiStop(int pause);

    int32_t m_bInitialised = 0;
    cOggBgm m_Ogg;
    BGMOGGENTRY* m_lpOggTable = nullptr;
    int32_t m_bUseGgs4 = 0;
    cGgs4Bgm m_Ggs4;
    cMidiBgm m_Midi;
    BGMMIDIENTRY* m_lpMidiTable = nullptr;
    int32_t m_nUnused = 2056;
    int32_t m_nCurrentTrack = -1;
    std::vector<int32_t> m_vecKind;     // per track: BgmKind
    std::vector<int32_t> m_vecBackEnd;  // per channel: 0 none, 1 ogg, 2 MIDI

private:
    bool Ready() const { return m_bInitialised && m_lpOggTable && m_lpMidiTable; }
    bool PlayOggSide(int channel, int track, int loop, int pause);
    bool PlayMidiSide(int channel, int track, int loop);
    void StopMidiSide(int pause);
};

extern cBgmManager g_BgmManager;

int DS_BgmInit(int channels, BGMOGGENTRY* oggTable, BGMMIDIENTRY* midiTable, int tracks, int directMusic);
int DS_BgmResize(int channels);
int DS_BgmSetTrack(int track, const std::string& fileName, int volume);
int DS_BgmPlay(int channel, int track, int loop, int pause, int force);
void DS_BgmStop();
void DS_BgmEnd();
// Whether the music manager is up (the options scene switches it).
bool DS_BgmInitialised();

// The own MIDI player. Play: 1 when the file loaded and plays, 0 for an
// extension other than "mid" or a refused file. Every play deletes the
// players of every channel first and sets the synth's gain from the entry's
// volume (100: the default gain).
int DS_MidiPlay(int channel, const BGMMIDIENTRY& entry, int loop);
void DS_MidiStop(int pause);
