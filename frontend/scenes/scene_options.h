// The options scene (scene kind SCENE_OPTIONS): the user options as up to ten
// rows, a value changed with up and down and applied at once (colour cycle,
// sound-effect volume), the ranking name through the name entry, and
// user_data\Option.dat saved when the scene is left.
#pragma once
#include <cstdint>
#include <string>

#include "frontend/scenes/scene_menu.h"

// The options' rows by action number (the entry of the system data's options
// menu).
enum eOptionAction : int {
    OPTION_PALETTE = 0,
    OPTION_JOYSTICK = 1,
    OPTION_BGM = 2,
    OPTION_SE = 3,
    OPTION_RANKING = 4,
    OPTION_NAME = 5,
    OPTION_AUTOSAVE = 6,
    OPTION_ORDER = 7,
    OPTION_MESSAGE = 8,
    OPTION_BACK = 9,
    OPTION_ACTIONS = 10,
};

// Switches the music back end to the music volume: off at volume 0, started
// again above it; either switch forgets the current music, so the next
// request plays.
void UpdateMusicBackEnd();

class cSceneOptions : public cSceneMenu {
public:
    static constexpr int kRowsY = 80, kPitch = 16, kLabelX = 64, kCursorX = 48;
    static constexpr int kSlotAccessory = 50, kSlotWindow = 46;

    cSceneOptions();
    void Init() override;
    void FadeOut() override;

    // The x of the row's value: 16 x (the label's characters + 6), at least
    // 224.
    static int ValueX(int action);
    // The value's text (empty for a value outside its list and the rows
    // without a value).
    static std::string ValueText(int action);
    // The option an action edits and its top value (null for the name and
    // back rows).
    static int32_t* OptionValue(int action, int& top);
    // Puts a changed value into effect.
    static void Apply(int action);

    int m_nItems = 0;
    int32_t m_aItemAction[OPTION_ACTIONS] = {};
    int m_nEditRow = 0;
    int m_nEditOld = 0;
    int32_t* m_pEditValue = nullptr;
    int m_nEditMin = 0;
    int m_nEditMax = 0;

private:
    void DrawPage();
    void UpdateRows();
    void ChooseRow();
    void EditValue();
    void ShowCursor();
    void RenderPages() override { DrawPage(); }
    void DrawScreen() override { ShowScreenPage(); }
};
