#include "platform/input_events.h"
#include "platform/joystick.h"
#include "platform/sdl_joystick.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace platform;

// SDL's virtual joysticks under the dummy video driver, fed through the
// input layer's event handler as the pump would.
class VirtualJoystickTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        ASSERT_TRUE(InitInputDevices()) << SDL_GetError();
        Pump();
    }
    void TearDown() override {
        ShutdownInputDevices();
        SDL_Quit();
    }
    void Pump() {
        SDL_Event e;
        while (SDL_PollEvent(&e)) HandleInputEvent(e);
    }
    // Attaches a pad and gives the handle opened by the layer.
    SDL_Joystick* Attach(int axes, int buttons, int hats) {
        int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, axes, buttons, hats);
        EXPECT_GE(index, 0) << SDL_GetError();
        SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(index);
        Pump();
        SDL_Joystick* j = SDL_JoystickFromInstanceID(id);
        EXPECT_NE(j, nullptr) << "the layer opened the device";
        return j;
    }
    void Detach(SDL_Joystick* j) {
        SDL_JoystickID id = SDL_JoystickInstanceID(j);
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
        Pump();
    }
    JoyInfoEx Read(unsigned id) {
        JoyInfoEx info;
        EXPECT_TRUE(JoyGetPosEx(id, info)) << id;
        return info;
    }
};

TEST_F(VirtualJoystickTest, CapabilitiesAndRanges) {
    SDL_Joystick* j = Attach(3, 12, 1);
    ASSERT_NE(j, nullptr);
    JoyCaps caps;
    ASSERT_TRUE(JoyGetDevCaps(0, caps));
    EXPECT_EQ(caps.wXmin, 0u);
    EXPECT_EQ(caps.wXmax, 65535u);
    EXPECT_EQ(caps.wYmax, 65535u);
    EXPECT_EQ(caps.wNumButtons, 12u);
    EXPECT_EQ(caps.wNumAxes, 3u);
    EXPECT_EQ(caps.wCaps, JOYCAPS_HASZ | JOYCAPS_HASPOV | JOYCAPS_POV4DIR);
    EXPECT_EQ(JoyGetNumDevs(), 16u);
    EXPECT_EQ(Read(0).dwPOV, JOY_POVCENTERED);

    const struct {
        int16_t sdl;
        uint32_t joy;
    } axes[] = {{-32768, 0}, {32767, 65535}, {0, 32768}, {-10923, 21845}, {10922, 43690}};
    for (const auto& a : axes) {
        ASSERT_EQ(SDL_JoystickSetVirtualAxis(j, 0, a.sdl), 0);
        ASSERT_EQ(SDL_JoystickSetVirtualAxis(j, 1, a.sdl), 0);
        Pump();
        EXPECT_EQ(Read(0).dwXpos, a.joy) << a.sdl;
        EXPECT_EQ(Read(0).dwYpos, a.joy) << a.sdl;
    }

    const struct {
        Uint8 hat;
        uint32_t pov;
    } hats[] = {{SDL_HAT_UP, 0},          {SDL_HAT_RIGHTUP, 4500},   {SDL_HAT_RIGHT, 9000},
                {SDL_HAT_RIGHTDOWN, 13500}, {SDL_HAT_DOWN, 18000},    {SDL_HAT_LEFTDOWN, 22500},
                {SDL_HAT_LEFT, 27000},     {SDL_HAT_LEFTUP, 31500},   {SDL_HAT_CENTERED, JOY_POVCENTERED}};
    for (const auto& h : hats) {
        ASSERT_EQ(SDL_JoystickSetVirtualHat(j, 0, h.hat), 0);
        Pump();
        EXPECT_EQ(Read(0).dwPOV, h.pov) << int(h.hat);
    }

    SDL_JoystickSetVirtualButton(j, 0, SDL_PRESSED);
    SDL_JoystickSetVirtualButton(j, 11, SDL_PRESSED);
    Pump();
    EXPECT_EQ(Read(0).dwButtons, 0x801u);
    EXPECT_EQ(Read(0).dwButtonNumber, 2u);
    SDL_JoystickSetVirtualButton(j, 0, SDL_RELEASED);
    Pump();
    EXPECT_EQ(Read(0).dwButtons, 0x800u);
}

TEST_F(VirtualJoystickTest, DevicesTakeTheLowestFreeIdAndLeaveItFree) {
    SDL_Joystick* a = Attach(2, 4, 0);
    SDL_Joystick* b = Attach(2, 4, 1);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    JoyCaps caps;
    ASSERT_TRUE(JoyGetDevCaps(0, caps));
    EXPECT_EQ(caps.wCaps & JOYCAPS_HASPOV, 0u);
    ASSERT_TRUE(JoyGetDevCaps(1, caps));
    EXPECT_NE(caps.wCaps & JOYCAPS_HASPOV, 0u);

    SDL_JoystickSetVirtualButton(b, 2, SDL_PRESSED);
    Pump();
    Detach(a);
    JoyInfoEx info;
    EXPECT_FALSE(JoyGetPosEx(0, info));
    EXPECT_FALSE(JoyGetDevCaps(0, caps));
    EXPECT_EQ(Read(1).dwButtons, 0x4u);

    SDL_Joystick* c = Attach(6, 32, 1);
    ASSERT_NE(c, nullptr);
    ASSERT_TRUE(JoyGetDevCaps(0, caps));
    EXPECT_EQ(caps.wNumAxes, 6u);
    EXPECT_EQ(caps.wCaps & 0x0F, JOYCAPS_HASZ | JOYCAPS_HASR | JOYCAPS_HASU | JOYCAPS_HASV);
    SDL_JoystickSetVirtualButton(c, 31, SDL_PRESSED);
    Pump();
    EXPECT_EQ(Read(0).dwButtons, 0x80000000u);
    EXPECT_FALSE(JoyGetPosEx(16, info));
}

TEST_F(VirtualJoystickTest, ButtonOnlyDeviceReadsCentred) {
    ASSERT_NE(Attach(0, 2, 0), nullptr);
    EXPECT_EQ(Read(0).dwXpos, 32767u);
    EXPECT_EQ(Read(0).dwYpos, 32767u);
}

}  // namespace
