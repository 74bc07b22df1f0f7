// The input records over the real keyboard table and joystick snapshot,
// driven by SDL events under the dummy video driver.
#include "media/input/input_list.h"
#include "platform/input_events.h"
#include "platform/keyboard_state.h"

#include <gtest/gtest.h>

namespace {

class SdlInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        ASSERT_TRUE(platform::InitInputDevices()) << SDL_GetError();
        platform::ClearKeyTable();
        Pump();
    }
    void TearDown() override {
        platform::ShutdownInputDevices();
        SDL_Quit();
    }
    void Pump() {
        SDL_Event e;
        while (SDL_PollEvent(&e)) platform::HandleInputEvent(e);
    }
    void Key(Uint32 type, SDL_Scancode sc, SDL_Keycode sym) {
        SDL_Event e{};
        e.type = type;
        e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.key.keysym.scancode = sc;
        e.key.keysym.sym = sym;
        ASSERT_EQ(SDL_PushEvent(&e), 1);
    }
    cCheckedVector<cInput> list = cCheckedVector<cInput>(1);
    cJoystickDetector det;
};

TEST_F(SdlInputTest, PushedKeysGiveBits) {
    Key(SDL_KEYDOWN, SDL_SCANCODE_LEFT, SDLK_LEFT);
    Key(SDL_KEYDOWN, SDL_SCANCODE_RIGHT, SDLK_RIGHT);
    Key(SDL_KEYDOWN, SDL_SCANCODE_X, SDLK_x);
    Key(SDL_KEYDOWN, SDL_SCANCODE_F, SDLK_f);
    Pump();
    cInput& in = list.at(0);
    in.PollInput(0, 3, 60);
    EXPECT_EQ(in.m_sDir, INPUT_LEFT | INPUT_RIGHT);
    EXPECT_EQ(in.m_nDirNumber, 5);
    EXPECT_EQ(in.m_wButton, 0x82);
    Key(SDL_KEYUP, SDL_SCANCODE_RIGHT, SDLK_RIGHT);
    Key(SDL_KEYDOWN, SDL_SCANCODE_DOWN, SDLK_DOWN);
    Key(SDL_KEYUP, SDL_SCANCODE_X, SDLK_x);
    Pump();
    in.PollInput(0, 3, 60);
    EXPECT_EQ(in.m_sDir, INPUT_LEFT | INPUT_DOWN);
    EXPECT_EQ(in.m_nDirNumber, 7);
    EXPECT_EQ(in.m_wButton, 0x80);
}

TEST_F(SdlInputTest, VirtualJoystickAxisAtThresholdAndHat) {
    int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 8, 1);
    ASSERT_GE(index, 0) << SDL_GetError();
    SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(index);
    Pump();
    SDL_Joystick* j = SDL_JoystickFromInstanceID(id);
    ASSERT_NE(j, nullptr);

    det.Detect(60, list);
    cInput& in = list.at(0);
    ASSERT_EQ(in.m_bJoyPresent, 1);
    EXPECT_EQ(in.m_dwJoyId, 0u);
    EXPECT_EQ(in.m_dwThresholdLeft, 21845u);
    EXPECT_EQ(in.m_dwThresholdRight, 43690u);
    EXPECT_EQ(in.m_bPovUsable, 1);

    struct Case {
        int16_t x, y;
        Uint8 hat;
        int dir, number;
    };
    const Case cases[] = {
        {-10923, 0, SDL_HAT_CENTERED, INPUT_LEFT, 4},   // 21845: at the threshold
        {-10922, 0, SDL_HAT_CENTERED, 0, 5},
        {0, 10922, SDL_HAT_CENTERED, INPUT_DOWN, 8},    // 43690
        {0, 0, SDL_HAT_RIGHTUP, INPUT_UP | INPUT_RIGHT, 3},  // 4500
        {-32768, 0, SDL_HAT_RIGHTUP, INPUT_LEFT, 4},    // stick wins over the hat
    };
    for (const auto& c : cases) {
        SDL_JoystickSetVirtualAxis(j, 0, c.x);
        SDL_JoystickSetVirtualAxis(j, 1, c.y);
        SDL_JoystickSetVirtualHat(j, 0, c.hat);
        Pump();
        in.PollInput(0, 3, 60);
        EXPECT_EQ(in.m_sDir, c.dir) << c.x << "," << c.y << " hat " << int(c.hat);
        EXPECT_EQ(in.m_nDirNumber, c.number) << c.x << "," << c.y << " hat " << int(c.hat);
    }

    // A joystick button hides the button keys; the arrows stay hidden while
    // the stick is deflected.
    SDL_JoystickSetVirtualButton(j, 3, SDL_PRESSED);
    Key(SDL_KEYDOWN, SDL_SCANCODE_Z, SDLK_z);
    Key(SDL_KEYDOWN, SDL_SCANCODE_RIGHT, SDLK_RIGHT);
    Pump();
    in.PollInput(0, 3, 60);
    EXPECT_EQ(in.m_wButton, 0x8);
    EXPECT_EQ(in.m_sDir, INPUT_LEFT);

    // Unplugged: the record loses it at the next poll and the keys take over.
    SDL_JoystickDetachVirtual(index);
    Pump();
    in.PollInput(0, 3, 60);
    EXPECT_EQ(in.m_bJoyPresent, 0);
    EXPECT_EQ(in.m_wButton, 0x1);
    EXPECT_EQ(in.m_sDir, INPUT_RIGHT);
}

}  // namespace
