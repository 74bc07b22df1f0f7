#include "platform/input_events.h"
#include "platform/keyboard_state.h"
#include "platform/sdl_keyboard.h"

#include <gtest/gtest.h>

namespace {

using namespace platform;

SDL_Keysym Key(SDL_Scancode sc, SDL_Keycode sym) {
    SDL_Keysym k{};
    k.scancode = sc;
    k.sym = sym;
    return k;
}

TEST(SdlKeyToVirtualKey, CharactersByKeyCodeOthersByScancode) {
    const struct {
        SDL_Scancode sc;
        SDL_Keycode sym;
        int vk;
    } cases[] = {
        {SDL_SCANCODE_A, SDLK_a, 'A'},
        {SDL_SCANCODE_Q, SDLK_a, 'A'},           // a French layout: the letter wins
        {SDL_SCANCODE_Z, SDLK_y, 'Y'},           // a German layout
        {SDL_SCANCODE_F, 0x0430, 'F'},           // no Latin letter: the key's position
        {SDL_SCANCODE_1, SDLK_1, '1'},
        {SDL_SCANCODE_0, SDLK_0, '0'},
        {SDL_SCANCODE_SEMICOLON, SDLK_SEMICOLON, VK_OEM_1},
        {SDL_SCANCODE_APOSTROPHE, SDLK_COLON, VK_OEM_1},  // Japanese ':' key
        {SDL_SCANCODE_LEFTBRACKET, SDLK_AT, VK_OEM_3},     // Japanese '@' key
        {SDL_SCANCODE_SLASH, SDLK_SLASH, VK_OEM_2},
        {SDL_SCANCODE_LEFT, SDLK_LEFT, VK_LEFT},
        {SDL_SCANCODE_DOWN, SDLK_DOWN, VK_DOWN},
        {SDL_SCANCODE_F1, SDLK_F1, VK_F1},
        {SDL_SCANCODE_F12, SDLK_F12, 0x7B},
        {SDL_SCANCODE_F13, SDLK_F13, 0x7C},
        {SDL_SCANCODE_F24, SDLK_F24, 0x87},
        {SDL_SCANCODE_KP_0, SDLK_KP_0, VK_NUMPAD0},
        {SDL_SCANCODE_KP_5, SDLK_KP_5, VK_NUMPAD0 + 5},
        {SDL_SCANCODE_KP_9, SDLK_KP_9, VK_NUMPAD0 + 9},
        {SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, VK_RETURN},
        {SDL_SCANCODE_KP_PLUS, SDLK_KP_PLUS, VK_ADD},
        {SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, VK_ESCAPE},
        {SDL_SCANCODE_RETURN, SDLK_RETURN, VK_RETURN},
        {SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE, VK_BACK},
        {SDL_SCANCODE_TAB, SDLK_TAB, VK_TAB},
        {SDL_SCANCODE_SPACE, SDLK_SPACE, VK_SPACE},
        {SDL_SCANCODE_RSHIFT, SDLK_RSHIFT, VK_RSHIFT},
        {SDL_SCANCODE_LCTRL, SDLK_LCTRL, VK_LCONTROL},
        {SDL_SCANCODE_RALT, SDLK_RALT, VK_RMENU},
        {SDL_SCANCODE_MUTE, SDLK_MUTE, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SdlKeyToVirtualKey(Key(c.sc, c.sym)), c.vk) << "scancode " << c.sc << " key " << c.sym;
}

class KeyEventsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SDL_Init(SDL_INIT_EVENTS), 0) << SDL_GetError();
        ClearKeyTable();
    }
    void TearDown() override {
        ClearKeyTable();
        SDL_Quit();
    }
    // Through SDL's queue, as the event pump gets them.
    void Push(Uint32 type, SDL_Scancode sc, SDL_Keycode sym, bool repeat = false) {
        SDL_Event e{};
        e.type = type;
        e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.key.repeat = repeat;
        e.key.keysym = Key(sc, sym);
        ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
    }
    void Pump() {
        SDL_Event e;
        while (SDL_PollEvent(&e)) HandleInputEvent(e);
    }
};

TEST_F(KeyEventsTest, PressAndReleaseWithAutoRepeat) {
    Push(SDL_KEYDOWN, SDL_SCANCODE_Z, SDLK_z);
    Push(SDL_KEYDOWN, SDL_SCANCODE_Z, SDLK_z, true);
    Push(SDL_KEYDOWN, SDL_SCANCODE_LEFT, SDLK_LEFT);
    Pump();
    EXPECT_TRUE(IsKeyHeld('Z'));
    EXPECT_TRUE(IsKeyHeld(VK_LEFT));
    EXPECT_FALSE(IsKeyHeld('X'));
    Push(SDL_KEYUP, SDL_SCANCODE_Z, SDLK_z);
    Pump();
    EXPECT_FALSE(IsKeyHeld('Z'));
    EXPECT_TRUE(IsKeyHeld(VK_LEFT));
    // A release without a press changes nothing.
    Push(SDL_KEYUP, SDL_SCANCODE_X, SDLK_x);
    Push(SDL_KEYDOWN, SDL_SCANCODE_X, SDLK_x);
    Pump();
    EXPECT_TRUE(IsKeyHeld('X'));
    EXPECT_FALSE(IsKeyHeld(-1));
    EXPECT_FALSE(IsKeyHeld(256));
}

TEST_F(KeyEventsTest, GenericModifiersAndSharedCodesHeldWhileEitherKeyIs) {
    Push(SDL_KEYDOWN, SDL_SCANCODE_LSHIFT, SDLK_LSHIFT);
    Push(SDL_KEYDOWN, SDL_SCANCODE_RSHIFT, SDLK_RSHIFT);
    Push(SDL_KEYDOWN, SDL_SCANCODE_RCTRL, SDLK_RCTRL);
    Push(SDL_KEYDOWN, SDL_SCANCODE_RETURN, SDLK_RETURN);
    Push(SDL_KEYDOWN, SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER);
    Pump();
    EXPECT_TRUE(IsKeyHeld(VK_SHIFT));
    EXPECT_TRUE(IsKeyHeld(VK_CONTROL));
    EXPECT_TRUE(IsKeyHeld(VK_RCONTROL));
    EXPECT_FALSE(IsKeyHeld(VK_LCONTROL));
    EXPECT_FALSE(IsKeyHeld(VK_MENU));
    Push(SDL_KEYUP, SDL_SCANCODE_LSHIFT, SDLK_LSHIFT);
    Push(SDL_KEYUP, SDL_SCANCODE_RETURN, SDLK_RETURN);
    Pump();
    EXPECT_FALSE(IsKeyHeld(VK_LSHIFT));
    EXPECT_TRUE(IsKeyHeld(VK_SHIFT));
    EXPECT_TRUE(IsKeyHeld(VK_RETURN));
    Push(SDL_KEYUP, SDL_SCANCODE_RSHIFT, SDLK_RSHIFT);
    Push(SDL_KEYUP, SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER);
    Pump();
    EXPECT_FALSE(IsKeyHeld(VK_SHIFT));
    EXPECT_FALSE(IsKeyHeld(VK_RETURN));
}

TEST_F(KeyEventsTest, ReleaseUndoesThePressEvenAfterALayoutChange) {
    Push(SDL_KEYDOWN, SDL_SCANCODE_Q, SDLK_a);
    Pump();
    EXPECT_TRUE(IsKeyHeld('A'));
    Push(SDL_KEYUP, SDL_SCANCODE_Q, SDLK_q);
    Pump();
    EXPECT_FALSE(IsKeyHeld('A'));
    EXPECT_FALSE(IsKeyHeld('Q'));
}

TEST_F(KeyEventsTest, FocusLossReleasesEverything) {
    Push(SDL_KEYDOWN, SDL_SCANCODE_LALT, SDLK_LALT);
    Push(SDL_KEYDOWN, SDL_SCANCODE_UP, SDLK_UP);
    Pump();
    EXPECT_TRUE(IsKeyHeld(VK_MENU));
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    ASSERT_EQ(SDL_PushEvent(&e), 1);
    Pump();
    for (int vk = 0; vk < 256; ++vk) EXPECT_FALSE(IsKeyHeld(vk)) << vk;
    // The keys let go while unfocused send no release; pressing again works.
    Push(SDL_KEYUP, SDL_SCANCODE_UP, SDLK_UP);
    Push(SDL_KEYDOWN, SDL_SCANCODE_UP, SDLK_UP);
    Pump();
    EXPECT_TRUE(IsKeyHeld(VK_UP));
    EXPECT_FALSE(IsKeyHeld(VK_MENU));
}

}  // namespace
