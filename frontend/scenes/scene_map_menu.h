// The map menu (scene kind SCENE_MAPMENU), opened by cancel on the world map:
// on a black screen up to four items of the game's map menu (save into a
// slot, automatic saving on or off, back to the map, back to the title after
// a question) and the sum of the best scores.
#pragma once
#include "frontend/scenes/scene_menu.h"

class cInput;

// The map menu's actions (index into the system data's map menu).
enum eMapMenuAction : int {
    MAPMENU_SAVE = 0,
    MAPMENU_AUTOSAVE = 1,
    MAPMENU_BACK = 2,
    MAPMENU_TITLE = 3,
};

// Saves the story into a slot; a file that could not be written sounds 3 and
// is named in an error box, and the game goes on. True when it was written.
bool SaveStorySlotReported(int slot);

class cSceneMapMenu : public cSceneMenu {
public:
    static constexpr int kMaxItems = 4;
    static constexpr int kBoxX = 264, kBoxY = 192;    // item box
    static constexpr int kTotalY = 260;               // best-total box
    static constexpr int kListX = 152, kListY = 160;  // slot list
    static constexpr int kMaxListRows = 10;

    cSceneMapMenu();
    void Init() override;
    void FadeIn() override;
    void FadeOut() override;

    int m_nItems = 0;
    int m_aItemAction[kMaxItems] = {};
    int m_nListTop = 0;
    int m_nListRows = 0;

private:
    void UpdateMenu();
    void UpdateSave();
    void UpdateAutoSave();
    void UpdateContinue();
    void UpdateToTitle();
    void Draw();
    void DrawMenuBox();
    void DrawBestTotal();
    void DrawCursor();
    void DrawSlots();
    // A yes/no question of texts first and first + 1 centred on x 320 at y:
    // the cursor moved, its sound, and the column's x.
    int MoveQuestion(int first, int y);
    // Back to the items from a question or the slot list.
    void BackToItems();
    // A yes/no question's frame after the decide key: the cancel key goes
    // back to the items, else the question (system text `text`) is drawn.
    void CancelOrDrawQuestion(const cInput& in, int x, int text);
};
