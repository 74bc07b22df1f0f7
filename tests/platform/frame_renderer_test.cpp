#include "platform/event_pump.h"
#include "platform/frame_renderer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

namespace {

class FramePresentation : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError(); }
    void TearDown() override { SDL_Quit(); }
};

}  // namespace

TEST(FrameRenderer, SoftwareRasterisersAreRecognised) {
    struct Case {
        const char* name;
        bool software;
    } cases[] = {
        {"llvmpipe (LLVM 15.0.6, 256 bits)", true}, {"softpipe", true}, {"Software Rasterizer", true},
        {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", false}, {"AMD Radeon RX 6600 (navi23, LLVM 15.0.6)", false},
        {"", false}, {nullptr, false},
    };
    for (const Case& c : cases) EXPECT_EQ(platform::IsSoftwareGlRenderer(c.name), c.software) << (c.name ? c.name : "null");
}

// Without a graphics processor (the headless drivers) frames go to the window
// surface: enlarged by whole factors, centred, black around.
TEST_F(FramePresentation, WindowSurfaceTakesTheFrameEnlargedAndCentred) {
    SDL_Window* w = SDL_CreateWindow("", 0, 0, 13, 9, SDL_WINDOW_HIDDEN);
    ASSERT_NE(w, nullptr) << SDL_GetError();
    EXPECT_EQ(platform::CreateHardwareFrameRenderer(w), nullptr);
    const int fw = 5, fh = 3;
    std::vector<uint32_t> frame(fw * fh);
    for (int i = 0; i < fw * fh; ++i) frame[size_t(i)] = 0x010203u * uint32_t(i + 1);
    for (int size : {0, 1}) {
        if (size) SDL_SetWindowSize(w, 16, 11);
        ASSERT_TRUE(platform::PresentToWindowSurface(w, frame.data(), fw, fh));
        SDL_Surface* s = SDL_GetWindowSurface(w);
        ASSERT_EQ(s->format->format, Uint32(SDL_PIXELFORMAT_RGB888));
        const int zoom = std::min(s->w / fw, s->h / fh), ox = (s->w - fw * zoom) / 2, oy = (s->h - fh * zoom) / 2;
        EXPECT_EQ(zoom, size ? 3 : 2);
        for (int y = 0; y < s->h; ++y)
            for (int x = 0; x < s->w; ++x) {
                const uint32_t got = static_cast<const uint32_t*>(s->pixels)[size_t(y) * s->pitch / 4 + x] & 0xFFFFFF;
                const bool in = x >= ox && x < ox + fw * zoom && y >= oy && y < oy + fh * zoom;
                const uint32_t want = in ? frame[size_t((y - oy) / zoom * fw + (x - ox) / zoom)] : 0;
                ASSERT_EQ(got, want) << x << "," << y << " window " << s->w << "x" << s->h;
            }
    }
    SDL_DestroyWindow(w);
}

// Under the headless drivers the main thread's wait ends on the program's own
// events at once and otherwise at its time, without polling every millisecond.
TEST_F(FramePresentation, WaitEndsOnProgramEventsAndOnTime) {
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
    }
    auto t0 = std::chrono::steady_clock::now();
    EXPECT_FALSE(platform::WaitSdlEvent(e, 30));
    EXPECT_GE(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(25));
    std::thread pusher([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        platform::PushProgramEvent(platform::UserEvent::Frame);
    });
    ASSERT_TRUE(platform::WaitSdlEvent(e, -1));
    pusher.join();
    EXPECT_EQ(e.type, platform::ProgramEventType());
    EXPECT_EQ(e.user.code, int(platform::UserEvent::Frame));
}
