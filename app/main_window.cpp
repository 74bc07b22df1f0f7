#include "app/main_window.h"

#include "app/app_state.h"
#include "app/checked_vector.h"
#include "app/log.h"
#include "app/main_thread.h"
#include "app/messages.h"
#include "app/quit.h"
#include "app/scene_manager.h"
#include "app/thread.h"
#include "frontend/frontend_services.h"
#include "frontend/ui/dialog.h"
#include "frontend/ui/file_select_dialog.h"
#include "media/gfx/dd_blit.h"
#include "platform/input_events.h"
#include "media/media_services.h"
#include "platform/cp932.h"
#include "platform/event_pump.h"
#include "platform/frame_mailbox.h"
#include "platform/frame_renderer.h"
#include "platform/message_box.h"
#include "platform/sdl_message_box.h"

#include <algorithm>

// g_MainWindow is built with the other global objects (app/globals.cpp).

std::atomic<int> g_nOpenStageRequest{0};
std::atomic<int> g_nOpenReplayRequest{0};
std::atomic<int> g_nSaveReplayAsRequest{0};
std::atomic<int> g_nSaveReplayAsParam{0};
std::atomic<int> g_nFileDialogResult{0};
std::atomic<int> g_nFileDialogDone{0};
std::atomic<int> g_nNameEntryDone{0};
std::atomic<int> g_nReplaySaveDone{0};

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

SDL_Rect WorkArea(SDL_Window* w) {
    int display = w ? SDL_GetWindowDisplayIndex(w) : 0;
    if (display < 0) display = 0;
    SDL_Rect r{0, 0, kWidth, kHeight};
    if (SDL_GetDisplayUsableBounds(display, &r) != 0) SDL_GetDisplayBounds(display, &r);
    return r;
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
                         : platform::ShowSdlMessageBox(text, caption, type, g_MainWindow.m_hWnd);
    ResumeAllThreads();
    return r;
}

}  // namespace

int MaxZoomFor(int workRight, int workBottom) {
    int n = std::min(workRight / kWidth, workBottom / kHeight);
    return static_cast<int16_t>(n) < 1 ? 1 : static_cast<int16_t>(n);
}

int MaxZoomForWorkArea() {
    SDL_Rect r = WorkArea(g_MainWindow.m_hWnd);
    return MaxZoomFor(r.x + r.w, r.y + r.h);
}

int CurrentZoom() {
    if (!g_MainWindow.m_hWnd) return 1;
    int w = 0, h = 0;
    SDL_GetWindowSize(g_MainWindow.m_hWnd, &w, &h);
    return std::min(w / kWidth, h / kHeight);
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

int NextActiveState(int active, const SDL_Event& e) {
    if (e.type != SDL_WINDOWEVENT) return active;
    switch (e.window.event) {
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_FOCUS_GAINED:
        case SDL_WINDOWEVENT_RESTORED:
            return 1;
        case SDL_WINDOWEVENT_FOCUS_LOST:
        case SDL_WINDOWEVENT_HIDDEN:
        case SDL_WINDOWEVENT_MINIMIZED:
            return 0;
        default:
            return active;
    }
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
    SDL_Window* w = SDL_CreateWindow("", 100, 100, kWidth, kHeight, SDL_WINDOW_HIDDEN);
    if (!w) return false;
    m_hWnd = w;
    m_bLoopEnded = false;
    m_renderer = platform::CreateHardwareFrameRenderer(w);
    if (m_renderer) {
        SDL_RenderSetLogicalSize(m_renderer, kWidth, kHeight);
        SDL_RenderSetIntegerScale(m_renderer, SDL_TRUE);
        m_texture = SDL_CreateTexture(m_renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, kWidth,
                                      kHeight);
    }
    if (!m_texture) DebugLog("frames go to the window surface");
    // SDL starts with text input on, and an input method would then take the
    // game's keys: it stays off (a text field turns it on while it has focus).
    SDL_StopTextInput();
    // Keyboard and joysticks reach the input layer through the event pump.
    platform::InitInputDevices();
    platform::AddSdlEventObserver(platform::HandleInputEvent);
    return true;
}

void cMainWindow::Destroy() {
    if (!m_hWnd) return;
    DebugLog("WM_DESTROY");
    if (m_texture) SDL_DestroyTexture(m_texture);
    if (m_renderer) SDL_DestroyRenderer(m_renderer);
    SDL_DestroyWindow(m_hWnd);
    platform::ShutdownInputDevices();
    m_texture = nullptr;
    m_renderer = nullptr;
    m_hWnd = nullptr;
    if (g_bEditorTest) NotifyEditorExit(1);
    m_nExitCode = 0;
    m_bLoopEnded = true;
}

void cMainWindow::Show() {
    if (m_hWnd) SDL_ShowWindow(m_hWnd);
}

void cMainWindow::SetCaption(const std::string& cp932) {
    if (m_hWnd) SDL_SetWindowTitle(m_hWnd, platform::Cp932ToUtf8(cp932).c_str());
}

void cMainWindow::SetFullScreen(bool on) {
    if (m_hWnd) SDL_SetWindowFullscreen(m_hWnd, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

void cMainWindow::AddSizingFrame() {
    if (m_hWnd) SDL_SetWindowResizable(m_hWnd, SDL_TRUE);
}

void cMainWindow::CenterOnDesktop() {
    if (m_hWnd) SDL_SetWindowPosition(m_hWnd, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}

void cMainWindow::MoveTo(int x, int y) {
    if (m_hWnd) SDL_SetWindowPosition(m_hWnd, x, y);
}

void cMainWindow::SetClientSize(int width, int height) {
    if (m_hWnd) SDL_SetWindowSize(m_hWnd, width, height);
}

void cMainWindow::Maximize() {
    if (m_hWnd) SDL_MaximizeWindow(m_hWnd);
}

void cMainWindow::SetPlacementSaver(std::function<void(const WindowPlacementValues&)> saver) {
    m_placementSaver = std::move(saver);
}

void cMainWindow::SetZoom(int n) {
    if (!m_hWnd || n < 1) return;
    int w = 0, h = 0, left = 0, top = 0;
    SDL_GetWindowSize(m_hWnd, &w, &h);
    SDL_GetWindowPosition(m_hWnd, &left, &top);
    SDL_Rect work = WorkArea(m_hWnd);
    ZoomRect r = ZoomPlacement(n, w, left, top, work.x + work.w, work.y + work.h);
    SDL_SetWindowSize(m_hWnd, r.width, r.height);
    SDL_SetWindowPosition(m_hWnd, r.x, r.y);
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
    if (!pixels) return;
    if (!m_texture) {
        platform::PresentToWindowSurface(m_hWnd, pixels, kWidth, kHeight);
        return;
    }
    SDL_UpdateTexture(m_texture, nullptr, pixels, kWidth * 4);
    SDL_SetRenderDrawColor(m_renderer, 0, 0, 0, 255);
    SDL_RenderClear(m_renderer);
    SDL_RenderCopy(m_renderer, m_texture, nullptr, nullptr);
    SDL_RenderPresent(m_renderer);
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
                               g_SceneManager.m_nSceneKind.load(), g_bQuit)) {
        SuspendAllThreads();
        m_bDialog = true;
        bool yes = ConfirmEnd(EnglishSetting());
        m_bDialog = false;
        ResumeAllThreads();
        if (!yes) return;
    }
    if (g_bWindowed && g_bRunning && !g_bQuit && m_hWnd && m_placementSaver &&
        !(SDL_GetWindowFlags(m_hWnd) & SDL_WINDOW_MINIMIZED)) {
        WindowPlacementValues v;
        SDL_GetWindowPosition(m_hWnd, &v.x, &v.y);
        SDL_GetWindowSize(m_hWnd, &v.width, &v.height);
        v.maximized = (SDL_GetWindowFlags(m_hWnd) & SDL_WINDOW_MAXIMIZED) ? 1 : 0;
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

void cMainWindow::HandleEvent(const SDL_Event& e) {
    platform::NotifySdlEventObservers(e);
    if (e.type == platform::ProgramEventType() && e.type != 0) {
        switch (static_cast<platform::UserEvent>(e.user.code)) {
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
    switch (e.type) {
        case SDL_QUIT:
            // SIGTERM / SIGINT: the same path as the close box, and the end
            // confirmation answers itself.
            ui::NoteQuitSignal();
            PostCloseRequest();
            break;
        case SDL_WINDOWEVENT: {
            if (!m_hWnd || e.window.windowID != SDL_GetWindowID(m_hWnd)) break;
            if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
                PostCloseRequest();
                break;
            }
            if (e.window.event == SDL_WINDOWEVENT_EXPOSED && (!g_bActive || m_bDialog)) {
                PresentFrame(true);
                break;
            }
            int was = g_bActive.load();
            int now = NextActiveState(was, e);
            if (!was && now && DDBackEnd().direct3D && !DDBackEnd().windowed) OnMessage(UM_RESTOREDEVICE, 0, 0);
            g_bActive = now;
            break;
        }
        case SDL_KEYDOWN:
            if (e.key.keysym.sym == SDLK_ESCAPE) PostCloseRequest();
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.button == SDL_BUTTON_RIGHT && DDBackEnd().windowed && m_hWnd) {
                if (SDL_GetWindowFlags(m_hWnd) & SDL_WINDOW_MAXIMIZED) SDL_RestoreWindow(m_hWnd);
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
        SDL_Event e;
        bool got = platform::WaitSdlEvent(e, g_bActive ? 50 : -1);
        if (got) {
            HandleEvent(e);
            while (!m_bLoopEnded && SDL_PollEvent(&e)) HandleEvent(e);
        } else if (g_bActive) {
            PumpRequests();
        }
    }
    return m_nExitCode;
}

void cMainWindow::PumpEventsNested() {
    m_nNestedDepth += 1;
    SDL_Event e;
    while (SDL_PollEvent(&e)) HandleEvent(e);
    ServeMainThreadRequests();
    m_nNestedDepth -= 1;
}
