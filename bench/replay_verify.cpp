// One verification playback of each committed demo replay (tests/play/replays/),
// headless and unpaced on the demo game (build/<config>/demo), from reading
// the file and setting the scene up to the clear: the frames run per second
// (fade-in and banners included, as a playback shows them at 60 a second)
// and the frames of play per second. Target: 480 frames/s (eight times real
// time).
//
// And the whole check of each long replay (tests/play/replays/long/, 8,000
// frames of play and more) as `tovaro --verify-replay --expect` makes it: two
// playbacks compared frame by frame and with the committed hash list. It
// reports the frames of play checked per second and that rate over the
// stage's frame rate (x_real_time). Target: 50 times real time.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/app_init.h"
#include "base/main_thread.h"
#include "base/thread.h"
#include "app/replay_check.h"
#include "platform/fs.h"
#include "records/stage.h"

namespace {

bool SetUpDemo() {
    static const bool ok = [] {
        ::setenv("SDL_VIDEODRIVER", "dummy", 1);
        ::setenv("SDL_AUDIODRIVER", "dummy", 1);
        SetMainThread();
        ClaimGameToken();
        return platform::ChangeDirectory(std::string(TOVARO_BINARY_DIR) + "/demo") && AppInit("", 0, true);
    }();
    return ok;
}

void BM_VerifyPlayback(benchmark::State& state, const std::string& path) {
    if (!SetUpDemo()) {
        state.SkipWithError("the demo cannot be set up");
        return;
    }
    size_t frames = 0, playFrames = 0;
    for (auto _ : state) {
        ReplayRun run;
        if (!PlayReplayRun(path, run)) {
            state.SkipWithError("the replay cannot be read");
            return;
        }
        frames += static_cast<size_t>(run.sceneFrames);
        playFrames += run.hashes.size();
    }
    state.counters["frames_per_second"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
    state.counters["play_frames_per_second"] =
        benchmark::Counter(static_cast<double>(playFrames), benchmark::Counter::kIsRate);
}

void BM_VerifyLongReplay(benchmark::State& state, const std::string& path, const std::string& hashesPath) {
    if (!SetUpDemo()) {
        state.SkipWithError("the demo cannot be set up");
        return;
    }
    std::vector<uint64_t> expected;
    if (!ReadHashList(hashesPath, expected)) {
        state.SkipWithError("the hash list cannot be read");
        return;
    }
    size_t playFrames = 0;
    int frameRate = 60;
    for (auto _ : state) {
        ReplayRun first, second;
        if (!PlayReplayRun(path, first) || !PlayReplayRun(path, second)) {
            state.SkipWithError("the replay cannot be read");
            return;
        }
        if (FirstDifference(first.hashes, second.hashes) >= 0 || FirstDifference(expected, first.hashes) >= 0) {
            state.SkipWithError("the replay diverged");
            return;
        }
        frameRate = g_Stage.m_nFrameRate > 0 ? g_Stage.m_nFrameRate : 60;
        playFrames += first.hashes.size();
    }
    state.counters["frames_per_second"] = benchmark::Counter(static_cast<double>(playFrames), benchmark::Counter::kIsRate);
    state.counters["x_real_time"] =
        benchmark::Counter(static_cast<double>(playFrames) / frameRate, benchmark::Counter::kIsRate);
}

std::vector<std::filesystem::path> ReplaysIn(const std::filesystem::path& dir) {
    std::error_code ec;
    std::vector<std::filesystem::path> files;
    for (const auto& e : std::filesystem::directory_iterator(dir, ec))
        if (e.path().extension() == ".rpl4_1000") files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

const int kRegistered = [] {
    const std::filesystem::path dir = std::filesystem::path(TOVARO_SOURCE_DIR) / "tests/play/replays";
    for (const auto& f : ReplaysIn(dir))
        benchmark::RegisterBenchmark(("BM_VerifyPlayback/" + f.stem().string()).c_str(), BM_VerifyPlayback, f.string())
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    for (const auto& f : ReplaysIn(dir / "long")) {
        std::filesystem::path hashes = f;
        hashes.replace_extension(".hashes");
        benchmark::RegisterBenchmark(("BM_VerifyLongReplay/" + f.stem().string()).c_str(), BM_VerifyLongReplay,
                                     f.string(), hashes.string())
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(1);
    }
    return 0;
}();

}  // namespace
