// The demo started headless in each of the five device modes (Direct3D 16
// and 32 bits, DirectDraw 8, 16 and 32 bits), in a window and full screen:
// the real start-up, window and game loop, with a first scene that draws
// the loading picture. The frame the window shows must hold it.
#include <gtest/gtest.h>
#include <SDL.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/app_init.h"
#include "base/app_state.h"
#include "app/globals.h"
#include "base/log.h"
#include "base/main_thread.h"
#include "app/main_window.h"
#include "base/quit.h"
#include "media/scene.h"
#include "app/scene_manager.h"
#include "records/system_ini.h"
#include "base/system_report.h"
#include "base/thread.h"
#include "frontend/data/boot_data.h"
#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_state.h"
#include "media/media_services.h"
#include "platform/cp932.h"
#include "platform/event_pump.h"
#include "platform/frame_mailbox.h"
#include "platform/message_box.h"
#include "records/system_data.h"
#include "tests/support/demo_template.h"
#include "tests/support/temp_dir.h"
#include "platform/sdl_events.h"

namespace {

namespace fs = std::filesystem;
using testsupport::TempWorkDir;

constexpr int kPictureX = 240, kPictureY = 224;

// The pixels of an 8-bit Windows bitmap as XRGB.
struct Picture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
};

Picture ReadBmp8(const fs::path& path) {
    Picture pic;
    auto bytes = platform::ReadWholeFile(path.string());
    if (!bytes || bytes->size() < 54) return pic;
    const std::vector<uint8_t>& b = *bytes;
    auto le32 = [&](size_t at) {
        return int32_t(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24);
    };
    const int32_t offset = le32(10), header = le32(14);
    pic.width = le32(18);
    pic.height = le32(22);
    const size_t stride = (size_t(pic.width) + 3) & ~size_t(3);
    pic.pixels.resize(size_t(pic.width) * pic.height);
    for (int y = 0; y < pic.height; ++y)
        for (int x = 0; x < pic.width; ++x) {
            const uint8_t index = b[offset + size_t(pic.height - 1 - y) * stride + x];
            const size_t entry = 14 + size_t(header) + size_t(index) * 4;
            pic.pixels[size_t(y) * pic.width + x] =
                uint32_t(b[entry + 2]) << 16 | uint32_t(b[entry + 1]) << 8 | b[entry];
        }
    return pic;
}

// Pixels of the frame unlike the picture at its place (each channel may be
// off by 8, the steps of 16-bit colour).
int Mismatches(const uint32_t* frame, const Picture& pic) {
    int bad = 0;
    for (int y = 0; y < pic.height; ++y)
        for (int x = 0; x < pic.width; ++x) {
            const uint32_t got = frame[size_t(kPictureY + y) * 640 + kPictureX + x];
            const uint32_t want = pic.pixels[size_t(y) * pic.width + x];
            for (int shift : {0, 8, 16})
                if (std::abs(int((got >> shift) & 0xFF) - int((want >> shift) & 0xFF)) > 8) {
                    ++bad;
                    break;
                }
        }
    return bad;
}

// The first scene: the loading picture on the back buffer every frame.
class LoadingScene : public cScene {
public:
    LoadingScene() { SetHandlers<LoadingScene>({&LoadingScene::Draw}); }
    void Run() override { RunStates(); }
    void Draw() {
        const DDSURFACEDATA& loading = SurfaceTable[45];
        DDBlt(&g_BackBuffer, kPictureX, kPictureY, loading.nWidth, loading.nHeight, &SurfaceTable[45], 0, 0, 0);
    }
};

struct Mode {
    const char* name;
    int direct3D, bpp, windowMode;
};

void PrintTo(const Mode& m, std::ostream* os) { *os << m.name; }

// One start in a process of its own: the graphics layer and the window keep
// state from one start to the next that no program run shares. The empty
// text when the loading picture was shown, else what went wrong.
std::string StartAndLook(const Mode& m) {
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) return std::string("SDL_Init: ") + SDL_GetError();
    ClaimGameToken();
    g_SceneState.m_nSceneKind = SCENE_TITLE;
    SetSceneFactory(SCENE_TITLE, [] { return static_cast<cScene*>(new LoadingScene()); });
    // A desktop of the window's depth (a window takes the desktop's).
    SetScreenSizeOverride(1920, 1080, m.windowMode != 0 ? m.bpp : 32);
    TempWorkDir dir;
    testsupport::CopyDemo(dir.Path());
    dir.WriteFile("System.ini", "Direct3D=" + std::to_string(m.direct3D) + "\r\nWindowMode=" +
                                    std::to_string(m.windowMode) + "\r\nBpp=" + std::to_string(m.bpp) +
                                    "\r\nVSync=0\r\nExit\r\n");
    const Picture picture = ReadBmp8(dir.Path() / "bmp" / "Loading.bmp");
    if (picture.width != 160) return "bmp/Loading.bmp cannot be read";
    if (!CreateReport((dir.Path() / "Report_Game.txt").string())) return "no report file";
    auto report = [&] { return "\n" + platform::Cp932ToUtf8(dir.ReadFile("Report_Game.txt")); };

    if (!g_MainWindow.Create()) return "no window";
    InstallMainThreadServices();
    platform::CapturedMessageBoxes boxes;
    if (!AppInit("", 0)) return "the start-up failed" + report();
    if (g_SystemIni.Direct3D != m.direct3D || g_DD.nBpp != m.bpp || DDBackEnd().windowed != (m.windowMode != 0))
        return "started in another mode: Direct3D=" + std::to_string(g_SystemIni.Direct3D) + ", " +
               std::to_string(g_DD.nBpp) + " bits" + report();
    if (!boxes.Boxes().empty()) return "a box: " + platform::Cp932ToUtf8(boxes.Boxes().front().text);

    // The message loop's first events (the window shown), then the game loop.
    for (int i = 0; i < 200 && !g_bActive; ++i) {
        SDL_Event e;
        while (SDL_PollEvent(&e)) g_MainWindow.HandleEvent(platform::FromSdlEvent(e));
        SDL_Delay(1);
    }
    if (!g_bActive) return "the window never became active";
    g_bRunning = 1;
    if (!thGame.Start(GameLoop, nullptr)) return "no game thread";
    int bad = -1;
    for (int i = 0; i < 3000 && bad != 0; ++i) {
        g_MainWindow.PumpEventsNested();
        if (const uint32_t* shown = platform::FrameMailbox().Last()) bad = Mismatches(shown, picture);
        SDL_Delay(1);
    }
    SDL_Event esc{};
    esc.type = SDL_KEYDOWN;
    esc.key.keysym.sym = SDLK_ESCAPE;
    g_MainWindow.HandleEvent(platform::FromSdlEvent(esc));
    const int status = g_MainWindow.MessageLoop();
    AppEnd();
    if (bad != 0) return std::to_string(bad) + " pixels of the loading picture not shown" + report();
    if (status != 0) return "the window closed with status " + std::to_string(status);
    return {};
}

class FiveModes : public ::testing::TestWithParam<Mode> {};

TEST_P(FiveModes, DemoStartsAndShowsTheLoadingPicture) {
    const Mode& m = GetParam();
    testsupport::DemoTemplate();  // built here once; the child finds it
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const std::string fault = StartAndLook(m);
            if (!fault.empty()) std::fprintf(stderr, "%s: %s\n", m.name, fault.c_str());
            std::fflush(stderr);
            _exit(fault.empty() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

INSTANTIATE_TEST_SUITE_P(
    Demo, FiveModes,
    ::testing::Values(Mode{"Direct3D16Window", 1, 16, 1},
                      Mode{"Direct3D16FullScreen", 1, 16, 0},
                      Mode{"Direct3D32Window", 1, 32, 1},
                      Mode{"Direct3D32FullScreen", 1, 32, 0},
                      Mode{"DirectDraw8FullScreen", 0, 8, 0},
                      Mode{"DirectDraw16Window", 0, 16, 1}, Mode{"DirectDraw16FullScreen", 0, 16, 0},
                      Mode{"DirectDraw32Window", 0, 32, 1}, Mode{"DirectDraw32FullScreen", 0, 32, 0}),
    [](const ::testing::TestParamInfo<Mode>& info) { return std::string(info.param.name); });

}  // namespace
