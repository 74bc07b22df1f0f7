#include "frontend/replay/replay.h"

#include <climits>

#include "base/scene_state.h"
#include "frontend/data/game_progress.h"
#include "records/game_type.h"
#include "records/system_data.h"

template class cRecord<cReplay>;

int32_t g_bReplaySaved = 0;
int32_t g_nReplayKeyWait = 0;
int32_t g_nReplaySaveWhich = 0;

namespace {
// One frame more of a run-length stream.
template <class W>
void AppendRun(std::vector<W>& words, std::vector<int32_t>& runs, W word) {
    if (!words.empty() && !runs.empty() && words.back() == word && runs.back() < INT32_MAX) {
        ++runs.back();
        return;
    }
    words.push_back(word);
    runs.push_back(1);
}

// The word of the current run, then one frame on.
template <class W>
W NextOfRun(const std::vector<W>& words, const std::vector<int32_t>& runs, int32_t& pos, int32_t& run) {
    const W word = words[static_cast<size_t>(pos)];
    ++run;
    if (run >= runs[static_cast<size_t>(pos)]) {
        run = 0;
        ++pos;
    }
    return word;
}
}  // namespace

bool cReplay::LoadExtra(cByteReader& r, const cLoadContext&) {
    if (m_vecDirWords.size() != m_vecDirRuns.size() || m_vecButtonWords.size() != m_vecButtonRuns.size())
        return r.Failf("replay streams of %zu/%zu direction and %zu/%zu button entries", m_vecDirWords.size(),
                       m_vecDirRuns.size(), m_vecButtonWords.size(), m_vecButtonRuns.size());
    for (const std::vector<int32_t>* runs : {&m_vecDirRuns, &m_vecButtonRuns})
        for (int32_t n : *runs)
            if (n < 1) return r.Failf("replay run of %d frames", n);
    return true;
}

void cReplay::RecordReplayFrame(const int16_t words[2]) {
    AppendRun(m_vecDirWords, m_vecDirRuns, words[0]);
    AppendRun(m_vecButtonWords, m_vecButtonRuns, words[1]);
}

bool cReplay::PlaybackUsedUp() const {
    // Positions are checked against both vectors of a stream, so a replay
    // changed after its load cannot read past either.
    const auto used = [](int32_t pos, size_t a, size_t b) {
        return pos < 0 || static_cast<size_t>(pos) >= a || static_cast<size_t>(pos) >= b;
    };
    return used(m_nDirPos, m_vecDirWords.size(), m_vecDirRuns.size()) ||
           used(m_nButtonPos, m_vecButtonWords.size(), m_vecButtonRuns.size());
}

int cReplay::PlayReplayFrame(int16_t words[2]) {
    if (PlaybackUsedUp()) return 1;
    words[0] = NextOfRun(m_vecDirWords, m_vecDirRuns, m_nDirPos, m_nDirRun);
    words[1] = NextOfRun(m_vecButtonWords, m_vecButtonRuns, m_nButtonPos, m_nButtonRun);
    return 0;
}

int cReplay::NextReplayChoice() {
    if (m_nChoicePos < 0 || static_cast<size_t>(m_nChoicePos) >= m_vecChoice.size()) return 0;
    return m_vecChoice[static_cast<size_t>(m_nChoicePos++)];
}

void cReplay::CopyFrom(const cReplay& other) {
    if (&other == this) return;
    m_vecDirWords = other.m_vecDirWords;
    m_vecButtonWords = other.m_vecButtonWords;
    m_vecDirRuns = other.m_vecDirRuns;
    m_vecButtonRuns = other.m_vecButtonRuns;
    m_vecChoice = other.m_vecChoice;
    m_nSeed = other.m_nSeed;
    m_bCleared = other.m_bCleared;
    m_nFileVersion = other.m_nFileVersion;
}

void cReplay::Reset() {
    m_nSeed = 0;
    m_bCleared = 0;
    m_vecDirWords.clear();
    m_vecButtonWords.clear();
    m_vecDirRuns.clear();
    m_vecButtonRuns.clear();
    m_vecChoice.clear();
    m_nFileVersion = kDataVersion;
    RewindPlayback();
}

void cReplay::RewindPlayback() { m_nDirPos = m_nButtonPos = m_nChoicePos = m_nDirRun = m_nButtonRun = 0; }

void RecordReplayFrame(const int16_t words[2]) { g_Replay.RecordReplayFrame(words); }
int PlayReplayFrame(int16_t words[2]) { return g_Replay.PlayReplayFrame(words); }
int NextReplayChoice() { return g_Replay.NextReplayChoice(); }
void ClearReplayBuffers() {
    g_Replay.Reset();
    g_ReplayPrev.Reset();
}

int IsReplayPlayback() { return g_SceneState.g_nGameType == GAMETYPE_REPLAY ? 1 : 0; }
int ReplayDataVersion() { return static_cast<int>(g_Replay.m_nFileVersion); }
int IsReplayRecording() { return g_SystemData.OptReplayRecord != 0 && !IsReplayPlayback() ? 1 : 0; }

uint32_t ReplayStartSeed() {
    g_bReplaySaved = 0;
    g_Replay.RewindPlayback();
    return static_cast<uint32_t>(g_Replay.m_nSeed);
}

void BeginReplayRecording(uint32_t seed) {
    g_bReplaySaved = 0;
    if (!IsReplayRecording()) return;
    g_ProgressPrevStart = g_ProgressAtStart;
    g_ProgressAtStart = g_Progress;
    g_ReplayPrev.CopyFrom(g_Replay);
    g_Replay.Reset();
    g_Replay.m_nSeed = static_cast<int32_t>(seed);
}
