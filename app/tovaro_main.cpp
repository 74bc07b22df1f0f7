// Entry point of the player:
//   tovaro [GAME_DIR]
//   tovaro --test-play [STAGE_FILE] [GAME_DIR]    (a test play started by the editor)
// The game folder (default: the current folder) becomes the working folder.
#include "app/app_init.h"
#include "app/app_state.h"
#include "app/error_box.h"
#include "app/log.h"
#include "app/system_report.h"
#include "app/main_thread.h"
#include "app/main_window.h"
#include "app/quit.h"
#include "app/scene_manager.h"
#include "app/thread.h"
#include "platform/cp932.h"
#include "platform/fs.h"
#include "platform/instance_lock.h"
#include "platform/message_box.h"

#include <SDL.h>

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
    std::string startFile;
    std::string gameDir;
};

Args ParseArgs(int argc, char** argv) {
    Args a;
    int i = 1;
    if (i < argc && std::strcmp(argv[i], "--test-play") == 0) {
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
    return platform::Utf8ToCp932(here.string()) + "/" + cp932;
}

}  // namespace

int main(int argc, char** argv) {
    Args args = ParseArgs(argc, argv);
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
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0 || !g_MainWindow.Create()) {
        ErrorBox(SJ("ウインドウが生成出来ません！"));
        SDL_Quit();
        return 1;
    }
    InstallMainThreadServices();
    g_MainWindow.CenterOnDesktop();
    if (g_bEditorTest) NotifyEditorStarted();

    if (!AppInit(g_strStartFile, g_bEditorTest)) {
        AppEnd();
        if (g_bEditorTest) NotifyEditorExit(0);
        g_MainWindow.Destroy();
        SDL_Quit();
        return BootCancelled() ? 0 : 1;  // the user's choice, not a failure
    }
    g_bRunning = 1;
    if (!thGame.Start(GameLoop, nullptr)) {
        ErrorBox(SJ("ウインドウが生成出来ません！"));
        AppEnd();
        g_MainWindow.Destroy();
        SDL_Quit();
        return 1;
    }
    int status = g_MainWindow.MessageLoop();
    AppEnd();
    platform::SetMessageBoxImpl({});
    SDL_Quit();
    // A run that ended on a fatal error says so to the shell.
    return status != 0 ? status : (g_bQuit ? 1 : 0);
}
