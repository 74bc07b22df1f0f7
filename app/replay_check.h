// Playing a replay file again without anyone watching, frame by frame with
// the state hash of every frame of play, and comparing such runs: the check
// that a replay plays back identically.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

class cScenePlay;
class cStateHashBatch;

// How a run of a replay ended.
enum ReplayEnding : int {
    REPLAY_END_STREAMS = 0,  // the recorded input was used up
    REPLAY_END_CLEAR = 1,    // the stage was cleared
    REPLAY_END_MISS = 2,     // a miss was resolved
    REPLAY_END_STOPPED = 3,  // the program was closing or the frame limit was reached
};
const char* ReplayEndingName(int ending);

// Tells, around one frame of the scene manager, whether that frame was a
// frame of play: the play scene was in its PLAY state and its frame count
// went one on (a frame that set the stage up again is not one).
class cPlayFrameWatch {
public:
    cPlayFrameWatch() = default;
    // The hashes of the frames of play go to `batch` (Hash() stays 0).
    explicit cPlayFrameWatch(cStateHashBatch& batch) : m_lpBatch(&batch) {}
    void Before();
    // True when the frame just run was a frame of play; its state hash then
    // goes to Hash().
    bool After();
    uint64_t Hash() const { return m_nHash; }

private:
    bool m_bInPlay = false;
    int32_t m_nFrame = 0;
    uint64_t m_nHash = 0;
    cStateHashBatch* m_lpBatch = nullptr;
};

struct ReplayRun {
    std::vector<uint64_t> hashes;  // after every frame of play
    int sceneFrames = 0;           // frames run in all, the fade-in and banners too
    int ending = REPLAY_END_STOPPED;
    int cleared = 0;  // the replay is flagged cleared
    int error = 0;    // the play asked the program to end (a fatal error)
    std::string reason;  // then: the last report line or error box text (CP932)
};

// Reads the replay file into g_Replay, g_Stage, g_StageStart and g_Progress
// and plays it on a fresh play scene as the replay list does (game type 4),
// unpaced, until the input is used up, the stage is cleared or a miss is
// resolved. False when the file is refused (nothing is played). Each run
// starts with the quit state clear; a run that ends the program (a fatal
// error) stops there with `error` set, and the quit state is cleared again.
bool PlayReplayRun(const std::string& path, ReplayRun& run, int frameLimit = 1000000);

// The first frame (0-based) at which two hash lists differ, or -1 when they
// are equal; a shorter list differs at its end.
long long FirstDifference(const std::vector<uint64_t>& a, const std::vector<uint64_t>& b);

// Hash lists as text: one 16-digit hexadecimal hash per line.
bool ReadHashList(const std::string& path, std::vector<uint64_t>& hashes);
bool WriteHashList(const std::string& path, const std::vector<uint64_t>& hashes);

// The whole check: two runs from fresh scenes compared frame by frame, then,
// when expectPath is given, the first run against that stored list; a
// replay flagged cleared that does not clear differs at its last frame.
// hashesOut (optional) receives the first run's list. The result goes to
// out. 0 identical, 1 diverged, 2 the file or a list could not be read or
// written, or a run stopped on an error (its reason goes to err).
int VerifyReplay(const std::string& path, const std::string& expectPath, const std::string& hashesOut,
                 std::FILE* out, std::FILE* err = stderr);
