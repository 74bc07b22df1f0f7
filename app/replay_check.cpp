#include "app/replay_check.h"

#include <cinttypes>
#include <fstream>
#include <mutex>

#include "base/app_state.h"
#include "base/log.h"
#include "base/quit.h"
#include "media/scene.h"
#include "app/scene_manager.h"
#include "frontend/data/option_data.h"
#include "frontend/replay/replay.h"
#include "frontend/replay/replay_file.h"
#include "play/state_hash.h"
#include "media/gfx/dd_present.h"
#include "platform/cp932.h"
#include "platform/fs.h"
#include "platform/input_source.h"
#include "play/numeric.h"
#include "play/scene_play.h"
#include "records/game_type.h"

namespace {

// No keyboard and no joystick: nothing live reaches the playback.
class cNoInput : public platform::cInputSource {
public:
    bool IsKeyHeld(int) override { return false; }
    unsigned JoyGetNumDevs() override { return 0; }
    bool JoyGetPosEx(unsigned, platform::JoyInfoEx&) override { return false; }
    bool JoyGetDevCaps(unsigned, platform::JoyCaps&) override { return false; }
};

// What a run changes for its length: the input source, the frame limiter,
// the frames' pixels and their hand-over to the window (no one watches the
// run: media/gfx/draw_pixels.h) and the automatic message progress (1: a message of the replay goes on by itself
// at once).
class cRunSettings {
public:
    cRunSettings()
        : m_source(m_noInput),
          m_limiter(g_DDFrameLimiter),
          m_watched(DDFramesWatched()),
          m_messageAuto(g_OptionData.m_nMessageAuto),
          m_active(g_bActive.load()) {
        g_DDFrameLimiter = [](int, int, DDSURFACEDATA*) { return true; };
        DDSetFramesWatched(false);
        g_OptionData.m_nMessageAuto = 1;
        // No window can lose the focus here: the nested loops of a game wait
        // or a message, which idle while the program is inactive, run on.
        g_bActive = 1;
    }
    ~cRunSettings() {
        g_bActive = m_active;
        g_DDFrameLimiter = m_limiter;
        DDSetFramesWatched(m_watched);
        g_OptionData.m_nMessageAuto = m_messageAuto;
    }
    cRunSettings(const cRunSettings&) = delete;
    cRunSettings& operator=(const cRunSettings&) = delete;

private:
    cNoInput m_noInput;
    platform::cScopedInputSource m_source;
    DDFrameLimiterFn m_limiter;
    bool m_watched;
    int32_t m_messageAuto;
    int m_active;
};

std::string Hex(uint64_t h) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "%016" PRIx64, h);
    return buf;
}

}  // namespace

const char* ReplayEndingName(int ending) {
    switch (ending) {
        case REPLAY_END_STREAMS: return "end of input";
        case REPLAY_END_CLEAR: return "stage clear";
        case REPLAY_END_MISS: return "miss";
        default: return "stopped";
    }
}

void cPlayFrameWatch::Before() {
    const cScenePlay* scene = PlayScene();
    m_bInPlay = scene && scene->m_nState == CSCENEPLAY_PLAY;
    m_nFrame = scene ? scene->m_nFrame : 0;
}

bool cPlayFrameWatch::After() {
    const cScenePlay* scene = PlayScene();
    if (!m_bInPlay || !scene || scene->m_nFrame != WrapAdd(m_nFrame, 1)) return false;
    if (m_lpBatch) m_lpBatch->Add(*scene);
    else m_nHash = PlayStateHash(*scene);
    return true;
}

namespace {

void PlayReplayFrames(ReplayRun& run, int frameLimit);

// Keeps the last error text written while it lives.
class cErrorTextCatcher {
public:
    cErrorTextCatcher() {
        SetErrorTextObserver([this](const std::string& text) {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_strLast = text;
        });
    }
    ~cErrorTextCatcher() { SetErrorTextObserver({}); }
    cErrorTextCatcher(const cErrorTextCatcher&) = delete;
    cErrorTextCatcher& operator=(const cErrorTextCatcher&) = delete;
    std::string Last() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_strLast;
    }

private:
    std::mutex m_mutex;
    std::string m_strLast;
};

}  // namespace

bool PlayReplayRun(const std::string& path, ReplayRun& run, int frameLimit) {
    run = ReplayRun{};
    // A run before this one that ended the program leaves nothing behind.
    g_bQuit = 0;
    g_SceneManager.DeleteAllScenes();
    cErrorTextCatcher errors;
    const bool read = ReadReplayFile(g_Replay, path, g_Stage, g_StageStart, g_Progress);
    g_bQuit = 0;
    if (!read) return false;
    PlayReplayFrames(run, frameLimit);
    if (g_bQuit) {
        run.error = 1;
        run.ending = REPLAY_END_STOPPED;
        run.reason = errors.Last();
    }
    g_SceneManager.DeleteAllScenes();
    g_bQuit = 0;
    return true;
}

namespace {

void PlayReplayFrames(ReplayRun& run, int frameLimit) {
    run.cleared = g_Replay.m_bCleared;
    cRunSettings settings;
    g_SceneState.g_nGameType = GAMETYPE_REPLAY;
    g_SceneState.m_nPrevSceneKind = SCENE_TITLE;
    g_SceneState.m_nSceneKind = SCENE_PLAY;
    // The hashes are finished a batch at a time (the cells' words of frames
    // that saw the same cells mixed side by side).
    constexpr size_t kBatchFrames = 32;
    cStateHashBatch batch;
    cPlayFrameWatch watch(batch);
    for (int frame = 0; frame < frameLimit; ++frame) {
        if (g_bQuit) break;
        if (const cScenePlay* scene = PlayScene();
            scene && scene->m_nState == CSCENEPLAY_PLAY && g_Replay.PlaybackUsedUp()) {
            run.ending = REPLAY_END_STREAMS;
            break;
        }
        watch.Before();
        const bool inPlay = PlayScene() && PlayScene()->m_nState == CSCENEPLAY_PLAY;
        if (!g_SceneManager.Update()) break;
        ++run.sceneFrames;
        const bool counted = watch.After();
        if (counted && batch.Pending() >= kBatchFrames) batch.Finish(run.hashes);
        const cScenePlay* scene = PlayScene();
        if (!scene) break;
        if (scene->m_nState == CSCENEPLAY_STAGEEND) {
            run.ending = REPLAY_END_CLEAR;
            break;
        }
        // In playback a resolved miss sets the stage up again for the next
        // replay.
        if (inPlay && !counted && scene->m_nState == CSCENEPLAY_READY) {
            run.ending = REPLAY_END_MISS;
            break;
        }
    }
    batch.Finish(run.hashes);
}

}  // namespace

long long FirstDifference(const std::vector<uint64_t>& a, const std::vector<uint64_t>& b) {
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i)
        if (a[i] != b[i]) return static_cast<long long>(i);
    return a.size() == b.size() ? -1 : static_cast<long long>(n);
}

bool ReadHashList(const std::string& path, std::vector<uint64_t>& hashes) {
    std::ifstream in(path);
    if (!in) return false;
    hashes.clear();
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        if (line.size() != 16 || line.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) return false;
        hashes.push_back(std::stoull(line, nullptr, 16));
    }
    return true;
}

bool WriteHashList(const std::string& path, const std::vector<uint64_t>& hashes) {
    std::string text;
    text.reserve(hashes.size() * 17);
    for (uint64_t h : hashes) text += Hex(h) + "\n";
    return platform::WriteFileAtomic(platform::Utf8ToCp932(path), text.data(), text.size());
}

int VerifyReplay(const std::string& path, const std::string& expectPath, const std::string& hashesOut,
                 std::FILE* out, std::FILE* err) {
    const std::string name = platform::Cp932ToUtf8(path);
    std::vector<uint64_t> expected;
    if (!expectPath.empty() && !ReadHashList(expectPath, expected)) {
        std::fprintf(out, "%s: cannot read the hash list %s\n", name.c_str(), expectPath.c_str());
        return 2;
    }
    ReplayRun first, second;
    if (!PlayReplayRun(path, first) || !PlayReplayRun(path, second)) {
        std::fprintf(out, "%s: the replay cannot be read\n", name.c_str());
        return 2;
    }
    // A play that stopped on an error was not checked, however its runs
    // compare.
    for (const ReplayRun* run : {&first, &second}) {
        if (!run->error) continue;
        const char* which = run == &first ? "first" : "second";
        std::fprintf(out, "%s: the %s run stopped on an error after %zu frames\n", name.c_str(), which,
                     run->hashes.size());
        const std::string reason =
            run->reason.empty() ? std::string("the program was asked to end") : platform::Cp932ToUtf8(run->reason);
        std::fprintf(err, "%s: %s run: %s\n", name.c_str(), which, reason.c_str());
        return 2;
    }
    if (!hashesOut.empty() && !WriteHashList(hashesOut, first.hashes)) {
        std::fprintf(out, "%s: cannot write the hash list %s\n", name.c_str(), hashesOut.c_str());
        return 2;
    }
    auto at = [](const std::vector<uint64_t>& v, long long i) {
        return i < static_cast<long long>(v.size()) ? Hex(v[static_cast<size_t>(i)]) : std::string("(none)");
    };
    if (const long long d = FirstDifference(first.hashes, second.hashes); d >= 0 || first.ending != second.ending) {
        const long long frame = d >= 0 ? d : static_cast<long long>(first.hashes.size()) - 1;
        std::fprintf(out, "%s: diverged at frame %lld: first run %s (%s), second run %s (%s)\n", name.c_str(),
                     frame + 1, at(first.hashes, frame).c_str(), ReplayEndingName(first.ending),
                     at(second.hashes, frame).c_str(), ReplayEndingName(second.ending));
        return 1;
    }
    if (!expectPath.empty()) {
        if (const long long d = FirstDifference(expected, first.hashes); d >= 0) {
            std::fprintf(out, "%s: diverged at frame %lld: expected %s, played %s\n", name.c_str(), d + 1,
                         at(expected, d).c_str(), at(first.hashes, d).c_str());
            return 1;
        }
    }
    if (first.cleared && first.ending != REPLAY_END_CLEAR) {
        std::fprintf(out, "%s: diverged at frame %zu: flagged cleared, ended by %s\n", name.c_str(),
                     first.hashes.size(), ReplayEndingName(first.ending));
        return 1;
    }
    std::fprintf(out, "%s: identical, %zu frames, ended by %s, final hash %s\n", name.c_str(), first.hashes.size(),
                 ReplayEndingName(first.ending), first.hashes.empty() ? "(none)" : Hex(first.hashes.back()).c_str());
    return 0;
}
