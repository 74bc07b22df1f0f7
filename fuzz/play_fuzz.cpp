// Fuzz target over play: the input becomes a replay of one of the game's
// stages (by default the demo built beside the executable) and that replay
// is checked as `tovaro --verify-replay` checks it: two runs from fresh play
// scenes, compared frame by frame. A crash, a sanitizer report, a run that
// ends the program on an error or two runs that differ is a finding.
//
// Input: byte 0 picks the stage (modulo the number of stages), bytes 1..4
// are the seed of the game thread's generator (little-endian), byte 5 gives
// the number of recorded choice rows (low 3 bits) that follow as signed
// bytes; then every 3 bytes are one stretch of input: the direction word
// (a signed byte), the button word (a byte) and how many frames it lasts
// (1 + the byte). Play stops after kMaxFrames frames of input.
//
// At start-up each stage is played for a frame as the editor's test play
// plays it, with recording on; that replay's stage, start stage and
// progress are the template every input's replay is written with. The
// start-up makes a copy of the game folder the working folder, so the
// fuzzer's corpus folders are given as absolute paths.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "app/app_init.h"
#include "base/app_state.h"
#include "base/main_thread.h"
#include "base/quit.h"
#include "app/scene_manager.h"
#include "records/system_ini.h"
#include "base/thread.h"
#include "frontend/data/boot_data.h"
#include "frontend/replay/replay.h"
#include "app/replay_check.h"
#include "frontend/replay/replay_file.h"
#include "fuzz/fuzz_target.h"
#include "platform/cp932.h"
#include "platform/fs.h"
#include "platform/input_source.h"
#include "platform/message_box.h"
#include "play/scene_play.h"
#include "records/system_data.h"

namespace {

constexpr const char* kName = "play";
constexpr long long kMaxFrames = 600;

struct cTemplate {
    std::string name;  // the stage file's name
    std::string path;  // its replay (CP932)
};
std::vector<cTemplate> g_Templates;

// No keyboard and no joystick while the templates are recorded.
class cNoKeys : public platform::cInputSource {
public:
    bool IsKeyHeld(int) override { return false; }
    unsigned JoyGetNumDevs() override { return 0; }
    bool JoyGetPosEx(unsigned, platform::JoyInfoEx&) override { return false; }
    bool JoyGetDevCaps(unsigned, platform::JoyCaps&) override { return false; }
};

void ResetStartUp() {
    g_bQuit = 0;
    g_SystemData = cSystemData();
    g_SystemIni = SystemIniData();
    g_BootData = cBootData();
}

// The stage's test play for its first frame of play, recorded.
bool RecordTemplate(const std::string& stageFile, const std::string& out) {
    ResetStartUp();
    g_bEditorTest = 1;
    // Unpaced: the frame waits of the test play pass at once.
    platform::FakeClock clock;
    bool ok = AppInit("data\\stg4\\" + stageFile, 1);
    if (ok) {
        g_bActive = 1;
        g_SystemData.OptReplayRecord = 1;
        cNoKeys keys;
        platform::cScopedInputSource source(keys);
        ok = false;
        for (int frame = 0; frame < 1000 && !g_bQuit; ++frame) {
            if (!g_SceneManager.Update()) break;
            const cScenePlay* scene = PlayScene();
            if (scene && scene->m_nState == CSCENEPLAY_PLAY && scene->m_nFrame > 0) {
                ok = true;
                break;
            }
        }
        ok = ok && WriteReplayOf(0, out, true);
    }
    AppEnd();
    g_bEditorTest = 0;
    g_bQuit = 0;
    return ok;
}

void Init() {
    ::setenv("SDL_VIDEODRIVER", "dummy", 1);
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    static platform::cMessageBoxFn toStderr([](const std::string& text, const std::string&, int type) {
        std::fprintf(stderr, "tovaro fuzz: play: box: %s\n", platform::Cp932ToUtf8(text).c_str());
        return (type & 0xF) == platform::MB_YESNO ? platform::IDNO : platform::IDOK;
    });
    Service<platform::IMessageBox>::Install(&toStderr);
    SetMainThread();
    ClaimGameToken();
    // A copy of the game: the test plays write user files into it.
    const std::filesystem::path game = FuzzGameDir();
    const std::filesystem::path copy = std::filesystem::path(FuzzWorkDir()) / "game";
    std::error_code ec;
    std::filesystem::remove_all(copy, ec);
    std::filesystem::copy(game, copy, std::filesystem::copy_options::recursive, ec);
    if (ec) FuzzFail(kName, "cannot copy the game folder %s: %s", game.c_str(), ec.message().c_str());
    if (!platform::ChangeDirectory(copy.string())) FuzzFail(kName, "cannot enter %s", copy.c_str());
    std::vector<std::string> stages;
    for (const auto& e : std::filesystem::directory_iterator(copy / "data" / "stg4", ec))
        if (e.is_regular_file() && e.path().extension().string().rfind(".stg4_", 0) == 0)
            stages.push_back(e.path().filename().string());
    std::sort(stages.begin(), stages.end());
    if (stages.empty()) FuzzFail(kName, "no stage in %s", game.c_str());
    for (const std::string& s : stages) {
        const std::string out = FuzzWorkDir() + "/template-" + std::to_string(g_Templates.size()) + ".rpl4_1000";
        if (!RecordTemplate(platform::Utf8ToCp932(s), out)) FuzzFail(kName, "the stage %s cannot be played", s.c_str());
        g_Templates.push_back({s, out});
    }
    ResetStartUp();
    if (!AppInit("", 0, true)) FuzzFail(kName, "the game folder cannot be set up");
}

int32_t Le32(const uint8_t* p) {
    return static_cast<int32_t>(p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24);
}

// The replay the input stands for, over the template's stage.
bool MakeReplay(const uint8_t* data, size_t size, cReplay& replay) {
    size_t at = 0;
    auto next = [&]() -> uint8_t { return at < size ? data[at++] : 0; };
    at = 1;
    uint8_t seed[4] = {next(), next(), next(), next()};
    replay.m_nSeed = Le32(seed);
    replay.m_bCleared = 0;
    const int choices = next() & 7;
    replay.m_vecChoice.clear();
    for (int i = 0; i < choices; ++i) replay.m_vecChoice.push_back(static_cast<int8_t>(next()));
    replay.m_vecDirWords.clear();
    replay.m_vecButtonWords.clear();
    replay.m_vecDirRuns.clear();
    replay.m_vecButtonRuns.clear();
    long long frames = 0;
    while (at + 3 <= size && frames < kMaxFrames) {
        const int16_t dir = static_cast<int8_t>(data[at]);
        const int16_t buttons = data[at + 1];
        const int32_t run = static_cast<int32_t>(std::min<long long>(1 + data[at + 2], kMaxFrames - frames));
        at += 3;
        replay.m_vecDirWords.push_back(dir);
        replay.m_vecButtonWords.push_back(buttons);
        replay.m_vecDirRuns.push_back(run);
        replay.m_vecButtonRuns.push_back(run);
        frames += run;
    }
    return frames > 0;
}

std::string Text(char* buf, size_t len) {
    std::string s(buf ? buf : "", buf ? len : 0);
    std::free(buf);
    return s;
}

void Run(const uint8_t* data, size_t size) {
    if (size < 1 || g_Templates.empty()) return;
    const cTemplate& t = g_Templates[data[0] % g_Templates.size()];
    cReplay replay;
    auto stage = std::make_unique<cStage>();
    auto start = std::make_unique<cStage>();
    auto progress = std::make_unique<cGameProgress>();
    if (!ReadReplayFile(replay, t.path, *stage, *start, *progress))
        FuzzFail(kName, "the template of %s cannot be read", t.name.c_str());
    if (!MakeReplay(data, size, replay)) return;
    const std::string path = FuzzWorkDir() + "/in.rpl4_1000";
    if (!WriteReplayFile(replay, path, *stage, *start, *progress, true))
        FuzzFail(kName, "the replay cannot be written");
    char* outBuf = nullptr;
    char* errBuf = nullptr;
    size_t outLen = 0, errLen = 0;
    std::FILE* out = ::open_memstream(&outBuf, &outLen);
    std::FILE* err = ::open_memstream(&errBuf, &errLen);
    if (!out || !err) FuzzFail(kName, "open_memstream failed");
    const int status = VerifyReplay(path, "", "", out, err);
    std::fclose(out);
    std::fclose(err);
    const std::string outText = Text(outBuf, outLen), errText = Text(errBuf, errLen);
    if (status != 0) FuzzFail(kName, "stage %s: %s%s", t.name.c_str(), outText.c_str(), errText.c_str());
}

// A seed for a stage: the seed word, no choice, then stretches.
std::vector<uint8_t> Seed(size_t stage, std::initializer_list<uint8_t> stretches) {
    std::vector<uint8_t> s = {static_cast<uint8_t>(stage), 0x2A, 0, 0, 0, 0};
    s.insert(s.end(), stretches);
    return s;
}

void Seeds(const std::string& gameDir, std::vector<FuzzSeed>& out) {
    std::error_code ec;
    size_t stages = 0;
    for (const auto& e : std::filesystem::directory_iterator(std::filesystem::path(gameDir) / "data" / "stg4", ec))
        if (e.is_regular_file() && e.path().extension().string().rfind(".stg4_", 0) == 0) ++stages;
    // Direction bits: 1 left, 2 right, 4 up, 8 down; button bit i is button i.
    for (size_t i = 0; i < stages; ++i) {
        // Right with jumps and shots.
        out.emplace_back("stage" + std::to_string(i) + "-run",
                         Seed(i, {2, 0, 30, 2, 1, 11, 2, 2, 0, 2, 0, 20, 2, 3, 11, 2, 0, 40, 2, 1, 11, 2, 2, 60}));
        // Left, down, up, every button.
        out.emplace_back("stage" + std::to_string(i) + "-mix",
                         Seed(i, {1, 0, 20, 8, 0, 10, 4, 4, 10, 0, 0xFF, 20, 6, 1, 30, 9, 2, 15, 0, 0, 50}));
    }
    // A choice row for a window, and words with every bit.
    std::vector<uint8_t> s = {0, 7, 0, 0, 0, 2, 1, 0xFF, 0xFF, 0xFF, 10, 0x80, 0x80, 10};
    out.emplace_back("choices-and-bits", s);
}

const cFuzzTarget kTarget{kName, Init, Run, Seeds};
const cFuzzTargetRegistration kRegistration(kTarget);

}  // namespace
