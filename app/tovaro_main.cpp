// Entry point of the player:
//   tovaro [GAME_DIR]
//   tovaro --test-play [STAGE_FILE] [GAME_DIR]    (a test play started by the editor)
//   tovaro --verify-replay FILE [GAME_DIR] [--expect HASHES] [--hashes OUT]
//                                                 (plays a replay twice, headless, and compares)
// The game folder (default: the current folder) becomes the working folder.
#include "app/app_init.h"
#include "base/app_state.h"
#include "base/error_box.h"
#include "base/log.h"
#include "base/system_report.h"
#include "base/main_thread.h"
#include "app/main_window.h"
#include "base/quit.h"
#include "app/scene_manager.h"
#include "base/thread.h"
#include "app/verify_replay.h"
#include "platform/cp932.h"
#include "platform/display.h"
#include "platform/fs.h"
#include "platform/instance_lock.h"
#include "platform/message_box.h"


#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
// fontconfig keeps its configuration until the process ends.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif

namespace {

struct Args {
    bool testPlay = false;
    bool verifyReplay = false;
    bool bad = false;
    std::string startFile;
    std::string gameDir;
    std::string expect, hashesOut;  // --verify-replay's hash lists
};

Args ParseArgs(int argc, char** argv) {
    Args a;
    int i = 1;
    if (i < argc && std::strcmp(argv[i], "--verify-replay") == 0) {
        a.verifyReplay = true;
        int plain = 0;
        for (++i; i < argc; ++i) {
            const bool expect = std::strcmp(argv[i], "--expect") == 0;
            if (expect || std::strcmp(argv[i], "--hashes") == 0) {
                if (i + 1 >= argc) a.bad = true;
                else (expect ? a.expect : a.hashesOut) = argv[++i];
            } else if (plain == 0) {
                a.startFile = argv[i], ++plain;
            } else if (plain == 1) {
                a.gameDir = argv[i], ++plain;
            } else {
                a.bad = true;
            }
        }
        if (a.startFile.empty()) a.bad = true;
    } else if (i < argc && std::strcmp(argv[i], "--test-play") == 0) {
        a.testPlay = true;
        ++i;
        if (i < argc) a.startFile = argv[i++];
        if (i < argc) a.gameDir = argv[i++];
    } else if (i < argc) {
        a.gameDir = argv[i++];
    }
    return a;
}

bool ProcessAlive(pid_t pid) { return pid > 0 && (kill(pid, 0) == 0 || errno == EPERM); }

// A start-up failure before the game folder's report exists: on stderr, in
// the report when one can be written, and in a box.
int FailBeforeStart(const std::string& cp932Text) {
    std::fprintf(stderr, "tovaro: %s\n", platform::Cp932ToUtf8(cp932Text).c_str());
    ReportLog(cp932Text);
    ErrorBox(cp932Text);
    return 1;
}

// A stage file named on the command line, as CP932: a relative name is
// taken from the folder the user started in when the file is there (else
// it stays as given, for the game folder).
std::string StartFileFromCommandLine(const std::string& utf8) {
    std::string cp932 = platform::Utf8ToCp932(utf8);
    if (utf8.empty() || utf8[0] == '/' || !platform::PathExists(cp932)) return cp932;
    std::error_code ec;
    const std::filesystem::path here = std::filesystem::current_path(ec);
    if (ec) return cp932;
    // The start folder's own names may have no CP932 form: the file layer
    // keeps its spelling and maps it back after the game folder is entered.
    platform::KeepFolderSpelling(here.string());
    return platform::SpellHostFolder(here.string()) + "\\" + cp932;
}

// A path of the command line made absolute against the folder the user
// started in (empty stays empty).
std::string FromStartFolder(const std::string& utf8) {
    if (utf8.empty() || utf8[0] == '/') return utf8;
    std::error_code ec;
    const std::filesystem::path here = std::filesystem::current_path(ec);
    return ec ? utf8 : (here / utf8).string();
}

// --verify-replay: headless, no report file, no lock (it can run beside a
// playing instance).
int VerifyReplayMain(const Args& args) {
    if (args.bad) {
        std::fprintf(stderr, "usage: tovaro --verify-replay FILE [GAME_DIR] [--expect HASHES] [--hashes OUT]\n");
        return 2;
    }
    const std::string file = StartFileFromCommandLine(args.startFile);
    const std::string expect = FromStartFolder(args.expect), hashesOut = FromStartFolder(args.hashesOut);
    if (!args.gameDir.empty() && !platform::ChangeDirectory(args.gameDir)) {
        std::fprintf(stderr, "tovaro: the game folder %s cannot be opened\n", args.gameDir.c_str());
        return 2;
    }
    return RunVerifyReplay(file, expect, hashesOut);
}

}  // namespace

int main(int argc, char** argv) {
    Args args = ParseArgs(argc, argv);
    if (args.verifyReplay) return VerifyReplayMain(args);
    // The stage file of a test play is where the user started.
    if (args.testPlay && !args.startFile.empty()) g_strStartFile = StartFileFromCommandLine(args.startFile);
    if (!args.gameDir.empty()) {
        const std::string dir = platform::Utf8ToCp932(args.gameDir);
        const char* problem = !platform::PathExists(dir)     ? "ゲームフォルダ %s がありません！"
                              : !platform::IsDirectory(dir) ? "ゲームフォルダ %s はフォルダではありません！"
                              : !platform::ChangeDirectory(args.gameDir) ? "ゲームフォルダ %s を開けません！"
                                                                         : nullptr;
        if (problem) {
            // The report goes where the user started, the game folder having none.
            CreateReport("Report_Game.txt");
            return FailBeforeStart(Format(SJ(problem).c_str(), dir.c_str()));
        }
    }
    SetDebugLog(0, "ZI_Vare.txt");
    if (!CreateReport("Report_Game.txt")) return FailBeforeStart(SJ("Report_Game.txt を作成できません！"));
    ReportLogf("App : ver %s", "1000");
    WriteSystemReport();

    g_bEditorTest = args.testPlay ? 1 : 0;

    platform::cInstanceLock lock(platform::DefaultLockPath("tovaro.lock"));
    if (!lock.TryAcquire()) {
        int answer = platform::ShowMessageBoxOs(
            SJ("既に起動しています。\n実行中のプログラムを閉じて再起動しますか？\n\nWould you like to restart the game?"),
            SJ("二重起動"), platform::MB_YESNO);
        if (answer != platform::IDYES) return 0;
        pid_t owner = lock.OwnerPid();
        if (ProcessAlive(owner)) {
            if (!lock.EndOwner(owner)) {
                platform::ShowMessageBoxOs(SJ("プログラムの終了に失敗しました。"), SJ("二重起動"), platform::MB_OK);
                return 0;
            }
        }
        // No running owner (or it ended): start beside the old lock.
        lock.TryAcquire();
    }

    SetMainThread();
    ClaimGameToken();
    if (!platform::StartVideo() || !g_MainWindow.Create()) {
        ErrorBox(SJ("ウインドウが生成出来ません！"));
        platform::EndVideo();
        return 1;
    }
    InstallMainThreadServices();
    g_MainWindow.CenterOnDesktop();
    if (g_bEditorTest) NotifyEditorStarted();

    if (!AppInit(g_strStartFile, g_bEditorTest)) {
        AppEnd();
        if (g_bEditorTest) NotifyEditorExit(0);
        g_MainWindow.Destroy();
        platform::EndVideo();
        return BootCancelled() ? 0 : 1;  // the user's choice, not a failure
    }
    g_bRunning = 1;
    if (!thGame.Start(GameLoop, nullptr)) {
        ErrorBox(SJ("ウインドウが生成出来ません！"));
        AppEnd();
        g_MainWindow.Destroy();
        platform::EndVideo();
        return 1;
    }
    int status = g_MainWindow.MessageLoop();
    AppEnd();
    Service<platform::IMessageBox>::Restore();
    platform::EndVideo();
    // A run that ended on a fatal error says so to the shell.
    return status != 0 ? status : (g_bQuit ? 1 : 0);
}
