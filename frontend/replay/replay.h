// A recorded play: the two input words of the first player for every frame of
// play, run-length coded, the rows chosen in message choice windows, the
// seed of the game thread's generator and whether the stage was cleared.
// Playback feeds the words back frame by frame, answers the choice windows
// from the rows and seeds the generator alike, so the play step repeats the
// play. g_Replay is the play being recorded or played back, g_ReplayPrev the
// play before it (F2 saves it).
#pragma once
#include <cstdint>
#include <vector>

#include "records/data_record.h"

class cReplay : public cRecord<cReplay> {
public:
    std::vector<int16_t> m_vecDirWords;     // successive distinct direction words
    std::vector<int16_t> m_vecButtonWords;  // successive distinct button words
    std::vector<int32_t> m_vecDirRuns;      // frames each direction word lasts
    std::vector<int32_t> m_vecButtonRuns;   // frames each button word lasts
    std::vector<int32_t> m_vecChoice;       // rows chosen, in the order of the windows
    int32_t m_nSeed = 0;
    int32_t m_bCleared = 0;

    // Playback positions (not saved).
    int32_t m_nDirPos = 0, m_nButtonPos = 0;
    int32_t m_nChoicePos = 0;
    int32_t m_nDirRun = 0, m_nButtonRun = 0;
    // Format version of the file this replay was read from; a recording is
    // of the current version (not saved).
    uint32_t m_nFileVersion = kDataVersion;

    template <class F>
    void Fields(F& f) {
        f.Field("m_nSeed", m_nSeed);
        if (f.Since(931)) f.Field("m_bCleared", m_bCleared);
        f.Vector("m_vecDirWords", m_vecDirWords);
        f.Vector("m_vecButtonWords", m_vecButtonWords);
        if (f.Above(973)) f.Vector("m_vecChoice", m_vecChoice);
        f.Vector("m_vecDirRuns", m_vecDirRuns);
        f.Vector("m_vecButtonRuns", m_vecButtonRuns);
    }
    // A replay whose word and run vectors differ in length, or with a run
    // shorter than one frame, is damaged and refused.
    bool LoadExtra(cByteReader& r, const cLoadContext& ctx);
    void OnLoaded(const cLoadContext& ctx) { m_nFileVersion = ctx.nVersion; }

    // Appends one frame: words[0] the direction word, words[1] the button word.
    void RecordReplayFrame(const int16_t words[2]);
    // The next frame's words: 0 and the words written; 1 when either stream
    // is used up (nothing written).
    int PlayReplayFrame(int16_t words[2]);
    // The next recorded choice row; 0 once the rows are used up.
    int NextReplayChoice();
    // The vectors, the seed and the cleared flag (not the playback positions).
    void CopyFrom(const cReplay& other);
    // Fields zero, vectors empty, playback positions zero.
    void Reset();
    // Playback starts again from the first frame.
    void RewindPlayback();
    // Either stream is used up: PlayReplayFrame would answer 1.
    bool PlaybackUsedUp() const;
};
extern template class cRecord<cReplay>;

extern cReplay g_Replay;
extern cReplay g_ReplayPrev;

// The current play was saved automatically (one automatic save per play).
extern int32_t g_bReplaySaved;
// Frames until a refused F1/F2 may sound again.
extern int32_t g_nReplayKeyWait;
// 0 this play, 1 the previous play: which one a save request is for.
extern int32_t g_nReplaySaveWhich;

// The play step's calls on g_Replay.
void RecordReplayFrame(const int16_t words[2]);
int PlayReplayFrame(int16_t words[2]);
int NextReplayChoice();
// Both replays emptied: a stage handed over to the next one, or a new game,
// keeps no play that could be saved with F1 or F2.
void ClearReplayBuffers();

// Whether a replay is being played back (the game was started from the
// replay list), and the format version of that replay's file.
int IsReplayPlayback();
int ReplayDataVersion();
// Whether plays are recorded (the game's setting, never in playback).
int IsReplayRecording();

// The play scene's set-up before the first random draw. Playback: the
// playback positions restart and the recorded seed is returned. A new play:
// when recording, the progress snapshots and the replays rotate (this play
// becomes the previous one) and the new recording starts empty with `seed`.
uint32_t ReplayStartSeed();
void BeginReplayRecording(uint32_t seed);

// The save keys and the automatic save: play/replay_save.h.
