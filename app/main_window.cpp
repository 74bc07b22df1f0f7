#include "app/main_window.h"

#include "base/app_state.h"
#include "base/checked_vector.h"
#include "base/log.h"
#include "base/main_thread.h"
#include "base/messages.h"
#include "base/quit.h"
#include "app/scene_manager.h"
#include "base/thread.h"
#include "frontend/frontend_services.h"
#include "frontend/ui/dialog.h"
#include "frontend/ui/file_select_dialog.h"
#include "media/gfx/dd_blit.h"
#include "media/media_services.h"
#include "platform/cp932.h"
#include "platform/frame_mailbox.h"
#include "platform/keyboard_state.h"
#include "play/scene_play.h"
#include "platform/message_box.h"
#include "platform/window_message_box.h"

#include <algorithm>

// g_MainWindow is built with the other global objects (app/globals.cpp).

namespace {

bool PumpMainWindowNested() {
    g_MainWindow.PumpEventsNested();
    return !g_MainWindow.LoopEnded();
}

constexpr int kWidth = 640;
constexpr int kHeight = 480;

platform::WindowRect WorkArea(const platform::Window* w) {
    return platform::WorkAreaOf(w, platform::WindowRect{0, 0, kWidth, kHeight});
}

// Runs a dialog for the game side: graphics told, threads parked.
template <class F>
void RunDialog(bool& flag, F&& f) {
    DDSetDialogBoxMode(1);
    SuspendAllThreads();
    flag = true;
    f();
    flag = false;
    DDSetDialogBoxMode(0);
    ResumeAllThreads();
}

std::function<int(const std::string&, const std::string&, int)> g_showOnMain;

int ShowBoxOnMainThread(const std::string& text, const std::string& caption, int type) {
    SuspendAllThreads();
    int r = g_showOnMain ? g_showOnMain(text, caption, type)
                         : platform::ShowWindowMessageBox(text, caption, type, g_MainWindow.m_hWnd);
    ResumeAllThreads();
    return r;
}

}  // namespace

cMainWindow::cMainWindow() {
    SetNestedEventPump(PumpMainWindowNested);
    ui::SetDialogHost(this);
}

int MaxZoomFor(int workRight, int workBottom) {
    int n = std::min(workRight / kWidth, workBottom / kHeight);
    return static_cast<int16_t>(n) < 1 ? 1 : static_cast<int16_t>(n);
}

int MaxZoomForWorkArea() {
    const platform::WindowRect r = WorkArea(g_MainWindow.m_hWnd);
    return MaxZoomFor(r.x + r.width, r.y + r.height);
}

int CurrentZoom() {
    if (!g_MainWindow.m_hWnd) return 1;
    const platform::WindowRect r = g_MainWindow.m_hWnd->Placement();
    return std::min(r.width / kWidth, r.height / kHeight);
}

ZoomRect ZoomPlacement(int n, int clientWidth, int left, int top, int workRight, int workBottom) {
    int x = left + clientWidth / 2 - 320 * n;
    int y = top;
    if (x < 0)
        x = 0;
    else if (x + kWidth * n >= workRight)
        x = workRight - kWidth * n;
    if (y < 0)
        y = 0;
    else if (y + kHeight * n >= workBottom)
        y = workBottom - kHeight * n;
    return {x, y, kWidth * n, kHeight * n};
}

int NextZoom(int current, int max) {
    int n = current + 1;
    return n > max ? 1 : n;
}

bool CloseNeedsConfirmation(int closing, int freeStage, int editorTest, int windowed, int sceneKind, int quit) {
    return !closing && !freeStage && !editorTest && windowed && sceneKind != SCENE_TITLE && !quit;
}

void NotifyEditorStarted() { DebugLog("NotifyEditorStarted"); }
void NotifyEditorExit(int value) { DebugLogf("NotifyEditorExit %d", value); }

void InstallMainThreadServices(std::function<int(const std::string&, const std::string&, int)> showOnMain) {
    g_showOnMain = std::move(showOnMain);
    SetMainThread();
    SetCloseRequestHandler([] { platform::PushProgramEvent(platform::UserEvent::Close); });
    SetMainThreadWakeup([] { platform::PushProgramEvent(platform::UserEvent::Request); });
    SetMainWindowHandler([](int msg, intptr_t w, intptr_t l) { return g_MainWindow.OnMessage(msg, w, l); });
    platform::FrameMailbox().SetNotify([] { platform::PushProgramEvent(platform::UserEvent::Frame); });
    static platform::cMessageBoxFn routed([](const std::string& text, const std::string& caption, int type) -> int {
        if (IsMainThread()) return ShowBoxOnMainThread(text, caption, type);
        return static_cast<int>(
            RunOnMainThread([&]() -> intptr_t { return ShowBoxOnMainThread(text, caption, type); }));
    });
    Service<platform::IMessageBox>::Install(&routed);
}

bool cMainWindow::Create() {
    std::unique_ptr<platform::Window> w = platform::Window::Create(100, 100, kWidth, kHeight);
    if (!w) return false;
    m_hWnd = w.release();
    m_bLoopEnded = false;
    if (!m_hWnd->HasRenderer()) DebugLog("frames go to the window surface");
    // Keyboard and joysticks reach the input layer through the event pump.
    platform::ConnectInputDevices();
    return true;
}

void cMainWindow::Destroy() {
    if (!m_hWnd) return;
    DebugLog("WM_DESTROY");
    delete m_hWnd;
    platform::DisconnectInputDevices();
    m_hWnd = nullptr;
    if (g_bEditorTest) NotifyEditorExit(1);
    m_nExitCode = 0;
    m_bLoopEnded = true;
}

void cMainWindow::Show() {
    if (m_hWnd) m_hWnd->Show();
}

void cMainWindow::SetCaption(const std::string& cp932) {
    if (m_hWnd) m_hWnd->SetTitle(platform::Cp932ToUtf8(cp932));
}

void cMainWindow::SetFullScreen(bool on) {
    if (m_hWnd) m_hWnd->SetFullScreen(on);
}

void cMainWindow::AddSizingFrame() {
    if (m_hWnd) m_hWnd->SetResizable();
}

void cMainWindow::CenterOnDesktop() {
    if (m_hWnd) m_hWnd->CenterOnDesktop();
}

void cMainWindow::MoveTo(int x, int y) {
    if (m_hWnd) m_hWnd->MoveTo(x, y);
}

void cMainWindow::SetClientSize(int width, int height) {
    if (m_hWnd) m_hWnd->SetClientSize(width, height);
}

void cMainWindow::Maximize() {
    if (m_hWnd) m_hWnd->Maximize();
}

void cMainWindow::SetPlacementSaver(std::function<void(const WindowPlacementValues&)> saver) {
    m_placementSaver = std::move(saver);
}

void cMainWindow::SetZoom(int n) {
    if (!m_hWnd || n < 1) return;
    const platform::WindowRect now = m_hWnd->Placement();
    const platform::WindowRect work = WorkArea(m_hWnd);
    ZoomRect r = ZoomPlacement(n, now.width, now.x, now.y, work.x + work.width, work.y + work.height);
    m_hWnd->SetClientSize(r.width, r.height);
    m_hWnd->MoveTo(r.x, r.y);
}

void cMainWindow::ZoomToFit() {
    SetZoom(MaxZoomForWorkArea());
    CenterOnDesktop();
}

void cMainWindow::PresentFrame(bool again) {
    const uint32_t* px = platform::FrameMailbox().Take();
    if (!px && again) px = platform::FrameMailbox().Last();
    ShowFrame(px);
}

void cMainWindow::ShowFrame(const uint32_t* pixels) {
    if (!pixels || !m_hWnd) return;
    m_hWnd->ShowFrame(pixels);
}

int cMainWindow::PumpRequests() {
    if (g_nOpenStageRequest.exchange(0)) {
        SendMainWindowMessage(UM_OPENSTAGE);
    } else if (g_nOpenReplayRequest.exchange(0)) {
        SendMainWindowMessage(UM_OPENREPLAY);
    } else if (g_nSaveReplayAsRequest.exchange(0)) {
        SendMainWindowMessage(UM_SAVEREPLAYAS, g_nSaveReplayAsParam.load());
    }
    return 1;
}

void cMainWindow::PlayBgmEntry(int track, int entry) {
    static const int kLevelPercent[8] = {0, 20, 50, 74, 82, 89, 95, 100};
    std::string file;
    int volume = 0;
    BgmRecord(entry, file, volume);
    int level = std::clamp(MusicVolumeLevel(), 0, 7);
    DS_BgmSetTrack(track, file, kLevelPercent[level] * volume / 100);
}

intptr_t cMainWindow::OnMessage(int msg, intptr_t wParam, intptr_t lParam) {
    switch (msg) {
        case UM_NAMEENTRY:
            RunDialog(m_bDialog, [] { RunNameEntryDialog(); });
            g_nNameEntryDone = 1;
            return 0;
        case UM_OPENSTAGE:
        case UM_OPENREPLAY: {
            std::string path;
            bool ok = false;
            int mode = msg == UM_OPENSTAGE ? ui::FSEL_LOADSTAGE : ui::FSEL_LOADREPLAY;
            RunDialog(m_bDialog, [&] {
                ui::cFileSelectDialog dialog(nullptr, &path, mode);
                ok = dialog.DoModal(0) == 1;  // a dialog that cannot show (-1) counts as cancelled
            });
            if (ok && mode == ui::FSEL_LOADSTAGE) {
                if (!StartStageFile(path, 0)) SetQuitAndClose();
            } else if (ok) {
                // A refused replay is reported by the reader; the title stays.
                ok = OpenReplayFile(path);
                if (ok) SetRememberedFilePath(path);
            }
            g_nFileDialogResult = ok ? 1 : 0;
            g_nFileDialogDone = 1;
            return 0;
        }
        case UM_SAVEREPLAYAS: {
            int prev = wParam != 0 ? 1 : 0;
            std::string path;
            MakeReplayFileName(path, prev);
            bool ok = false;
            int replace = 0;
            RunDialog(m_bDialog, [&] {
                ui::cFileSelectDialog dialog(nullptr, &path, ui::FSEL_SAVEREPLAY);
                ok = dialog.DoModal(0) == 1;
                replace = dialog.m_bReplace;
            });
            // A failed write is shown by the writer's box; play goes on.
            if (ok) SaveReplayAfterDialog(prev, path, replace != 0);
            g_nFileDialogResult = ok ? 1 : 0;
            g_nFileDialogDone = 1;
            return 0;
        }
        case UM_SAVEREPLAY: {
            std::string name;
            const int which = wParam != 0 ? 1 : 0;
            RunDialog(m_bDialog, [&] { RunReplaySaveDialog(which, name); });
            if (!name.empty()) SaveReplayAfterDialog(which, name);  // a failure is shown; play goes on
            g_nReplaySaveDone = 1;
            return 0;
        }
        case UM_PLAYSE: {
            int count = DS_SECount();
            if (wParam >= 0 && wParam < count) {
                DS_PlaySE(static_cast<int>(wParam), 0);
            } else {
                ReportBadIndex("V", wParam, count, 4);
                DS_PlaySE(0, 0);
            }
            return 0;
        }
        case UM_PLAYBGM: {
            int slot = static_cast<int>(wParam);
            if (slot >= 0 && slot <= 5) {
                int entry = SceneBgmEntry(slot);
                if (entry == 0) {
                    DS_BgmStop();
                } else {
                    PlayBgmEntry(slot, entry);
                    DS_BgmPlay(0, slot, SceneBgmRepeat(slot), 0, 1);
                }
            } else if (slot == 6) {
                int entry = static_cast<int>(lParam);
                SetPlayingBgmEntry(entry);
                PlayBgmEntry(6, entry);
                if (entry == 0)
                    DS_BgmStop();
                else
                    DS_BgmPlay(0, 6, PlayBgmRepeat(), 0, 1);
            }
            return 0;
        }
        case UM_RESTOREDEVICE:
            DDRestoreSurface();
            return 0;
        default:
            return 0;
    }
}

void cMainWindow::OnClose() {
    if (CloseNeedsConfirmation(g_bClosing, g_bFreeStage, g_bEditorTest, DDBackEnd().windowed,
                               g_SceneState.m_nSceneKind.load(), g_bQuit)) {
        SuspendAllThreads();
        m_bDialog = true;
        bool yes = ConfirmEnd(EnglishSetting());
        m_bDialog = false;
        ResumeAllThreads();
        if (!yes) return;
    }
    if (g_bWindowed && g_bRunning && !g_bQuit && m_hWnd && m_placementSaver && !m_hWnd->Minimized()) {
        const platform::WindowRect r = m_hWnd->Placement();
        WindowPlacementValues v;
        v.x = r.x;
        v.y = r.y;
        v.width = r.width;
        v.height = r.height;
        v.maximized = m_hWnd->Maximized() ? 1 : 0;
        m_placementSaver(v);
    }
    g_bClosing = 1;
    if (thPause.IsRunning()) {
        // A nested frame loop runs: it ends first, and the play code asks to
        // close again when it sees the closing flag.
        DebugLog("WM_CLOSE thPause.m_hThread");
        PlaySceneSetClosing();
        thPause.RequestQuit();
        return;
    }
    DebugLog(SJ("WM_CLOSE 成功！"));
    DS_BgmStop();
    thLoad.Exit();
    thPause.Exit();
    thRanking.Exit();
    DebugLog("thPause.Exit()");
    thGame.Exit();
    DebugLog("thGame.Exit()");
    Destroy();
}

void cMainWindow::HandleEvent(const platform::Event& e) {
    using Kind = platform::Event::Kind;
    platform::NotifyEventObservers(e);
    if (e.kind == Kind::Program) {
        switch (e.program) {
            case platform::UserEvent::Close:
                if (m_nNestedDepth > 0)
                    m_bPendingClose = true;
                else
                    OnClose();
                break;
            case platform::UserEvent::Request:
                ServeMainThreadRequests();
                // A raised file-dialog flag comes with this wake-up too: serve
                // it now, also while the window is inactive.
                if (m_nNestedDepth == 0) PumpRequests();
                break;
            case platform::UserEvent::Frame:
                PresentFrame(false);
                break;
        }
        return;
    }
    switch (e.kind) {
        case Kind::Quit:
            // SIGTERM / SIGINT: the same path as the close box, and the end
            // confirmation answers itself.
            ui::NoteQuitSignal();
            PostCloseRequest();
            break;
        case Kind::Window: {
            if (!m_hWnd || e.windowId != m_hWnd->Id()) break;
            if (e.change == platform::Event::WindowChange::Close) {
                PostCloseRequest();
                break;
            }
            if (e.change == platform::Event::WindowChange::Exposed && (!g_bActive || m_bDialog)) {
                PresentFrame(true);
                break;
            }
            int was = g_bActive.load();
            int now = NextActiveState(was, e);
            if (!was && now && DDBackEnd().direct3D && !DDBackEnd().windowed) OnMessage(UM_RESTOREDEVICE, 0, 0);
            g_bActive = now;
            break;
        }
        case Kind::KeyDown:
            if (e.key == platform::VK_ESCAPE) PostCloseRequest();
            break;
        case Kind::MouseDown:
            if (e.button == platform::Event::Button::Right && DDBackEnd().windowed && m_hWnd) {
                if (m_hWnd->Maximized()) m_hWnd->Restore();
                SetZoom(NextZoom(CurrentZoom(), MaxZoomForWorkArea()));
            }
            break;
        default:
            break;
    }
}

int cMainWindow::MessageLoop() {
    while (!m_bLoopEnded) {
        if (m_bPendingClose) {
            m_bPendingClose = false;
            OnClose();
            continue;
        }
        platform::Event e;
        bool got = platform::WaitEvent(e, g_bActive ? 50 : -1);
        if (got) {
            HandleEvent(e);
            while (!m_bLoopEnded && platform::PollEvent(e)) HandleEvent(e);
        } else if (g_bActive) {
            PumpRequests();
        }
    }
    return m_nExitCode;
}

void cMainWindow::PumpEventsNested() {
    m_nNestedDepth += 1;
    platform::Event e;
    while (platform::PollEvent(e)) HandleEvent(e);
    ServeMainThreadRequests();
    m_nNestedDepth -= 1;
}
