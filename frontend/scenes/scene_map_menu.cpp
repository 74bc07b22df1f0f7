#include "frontend/scenes/scene_map_menu.h"

#include <algorithm>
#include <string>

#include "base/error_box.h"
#include "base/scene_state.h"
#include "media/text/cmd_menu.h"
#include "media/frame_loop.h"
#include "frontend/data/game_progress.h"
#include "frontend/data/number_format.h"
#include "frontend/data/save_slots.h"
#include "frontend/frontend_services.h"
#include "media/input/menu_cursor.h"
#include "frontend/scenes/slot_list_draw.h"
#include "media/gfx/dd_blit.h"
#include "media/input/input_list.h"
#include "media/sound/ds_sound.h"
#include "media/text/dd_frames.h"
#include "media/text/font.h"
#include "platform/cp932.h"
#include "records/system_data.h"

namespace {

constexpr int kSlotWindow = 46, kSlotAccessory = 50;
constexpr int kBlack = 16;          // palette number of the screen's fill
constexpr int kSaveModeFixed = 2;   // one fixed slot: no save items
constexpr int kQuestionX = 320;

const cInput& MenuInput() { return g_InputList.at(0); }

void FillScreen() { DDFillSurface(&g_BackBuffer, kBlack); }

}  // namespace

bool SaveStorySlotReported(int slot) {
    if (g_Progress.SaveStorySlot(slot)) return true;
    std::string name;
    StorySlotFileName(name, slot);
    PlaySe(3);
    ErrorBoxf(SJ("セーブファイル %s の保存に失敗しました！").c_str(), name.c_str());
    return false;
}

cSceneMapMenu::cSceneMapMenu() : cSceneMenu(SCENE_MAPMENU, 1, kMenuButtons2, {kSlotWindow, kSlotAccessory}) {
    SetHandlers<cSceneMapMenu>({&cSceneMapMenu::FadeIn, &cSceneMapMenu::UpdateMenu, &cSceneMapMenu::UpdateSave,
                                &cSceneMapMenu::UpdateAutoSave, &cSceneMapMenu::UpdateContinue,
                                &cSceneMapMenu::UpdateToTitle, &cSceneMapMenu::FadeOut});
}

void cSceneMapMenu::Init() {
    BeginInit();
    const cCheckedVector<cCmd>& menu = g_SystemData.m_vecMapMenu;
    const bool fixedSlot = g_SystemData.m_nSaveMode == kSaveModeFixed;
    m_nItems = 0;
    for (size_t i = 0; i < menu.size() && m_nItems < kMaxItems; ++i) {
        if (!menu[i].m_nEnabled) continue;
        if (fixedSlot && (i == MAPMENU_SAVE || i == MAPMENU_AUTOSAVE)) continue;
        m_aItemAction[m_nItems++] = static_cast<int>(i);
    }
    if (m_nItems == 0) {
        m_aItemAction[0] = MAPMENU_SAVE;
        m_nItems = 1;
    }
    m_nStep = 0;
}

void cSceneMapMenu::Draw() {
    FillScreen();
    DrawMenuBox();
    DrawBestTotal();
    CycleColors();
}

void cSceneMapMenu::DrawMenuBox() {
    const cCheckedVector<cCmd>& menu = g_SystemData.m_vecMapMenu;
    int longest = 0;
    for (int i = 0; i < m_nItems; ++i) longest = std::max(longest, SjisCharCount(menu.at(m_aItemAction[i]).m_strLabel));
    const int w = 16 * (longest + 1), h = 16 * m_nItems;
    DDBltFramed(&g_BackBuffer, kBoxX, kBoxY, w, h, &SurfaceTable[kSlotWindow], 1, 240);
    Font& normal = g_Fonts[1];
    for (int i = 0; i < m_nItems; ++i)
        normal.DrawString(&g_BackBuffer, kBoxX + 16, kBoxY + 16 * i, menu.at(m_aItemAction[i]).m_strLabel);
    normal.DrawTextFrame(&g_BackBuffer, kBoxX, kBoxY, w, h);
}

void cSceneMapMenu::DrawBestTotal() {
    const int total = g_Progress.m_nBestTotal;
    if (!g_SystemData.m_bMapMenuShowTotal || total <= 0) return;
    const std::string& label = g_SystemData.m_vecTexts.at(4);
    const int w = 16 * (SjisCharCount(label) + CountDigits(total));
    Font& normal = g_Fonts[1];
    normal.DrawTextBox(&g_BackBuffer, kBoxX, kTotalY, w, 16);
    normal.DrawStringF(&g_BackBuffer, kBoxX, kTotalY, "%s%d", label.c_str(), total);
    normal.DrawTextFrame(&g_BackBuffer, kBoxX, kTotalY, w, 16);
}

void cSceneMapMenu::DrawCursor() {
    const MenuCursorPos& c = g_MenuCursor.Cur();
    DDBlt(&g_BackBuffer, c.m_nPixelX, c.m_nPixelY, 16, 16, &SurfaceTable[kSlotAccessory], 64, 0, 1);
}

void cSceneMapMenu::DrawSlots() {
    FillScreen();
    DrawSaveSlotList(&g_BackBuffer, kListX, kListY, g_SaveSlots, m_nListTop, m_nListRows);
}

int cSceneMapMenu::MoveQuestion(int first, int y) {
    const int x = g_SystemData.MenuColumnCenterX(kQuestionX, first, 2, 1);
    g_MenuCursor.MoveGrid(MenuInput().m_sDir, x, y, 0, 16, 1, 2);
    DS_PlayCursorSE(MenuInput().m_sDir, 2, 0);
    return x;
}

void cSceneMapMenu::BackToItems() {
    g_MenuCursor.Pop(1);
    m_nStep = 0;
    m_nState = 1;
}

void cSceneMapMenu::FadeIn() {
    Draw();
    DDBlt(&g_BackBuffer, kBoxX, kBoxY, 16, 16, &SurfaceTable[kSlotAccessory], 64, 0, 1);
    StepFadeIn();
}

void cSceneMapMenu::UpdateMenu() {
    const cInput& in = MenuInput();
    g_MenuCursor.MoveGrid(in.m_sDir, kBoxX, kBoxY, 0, 16, 1, m_nItems);
    DS_PlayCursorSE(in.m_sDir, 2, 0);
    if (in.m_wButton & kButtonDecide) {
        PlaySe(1);
        m_nState = m_aItemAction[std::clamp(g_MenuCursor.Cur().m_nY, 0, m_nItems - 1)] + 2;
        g_MenuCursor.Push(0);
        return;
    }
    if (in.m_wButton & kButtonCancel) {
        PlaySe(2);
        m_nState = 4;
        return;
    }
    Draw();
    DrawCursor();
}

void cSceneMapMenu::UpdateSave() {
    const cInput& in = MenuInput();
    cGameProgress& p = g_Progress;
    if (m_nStep == 0) {
        // A game without a slot yet opens the list on row -1, which the
        // list's first move puts on its first row.
        g_MenuCursor.Cur() = MenuCursorPos{};
        g_MenuCursor.Cur().m_nY = p.m_nSlot;
        ScanStorySlots(g_SaveSlots);
        m_nListRows = std::min(kMaxListRows, static_cast<int>(g_SaveSlots.size()));
        m_nListTop = p.m_nSlot;
        m_nStep = 1;
    }
    if (m_nStep == 1) {
        g_MenuCursor.MoveList(in.m_sDir, 1, m_nListTop, kListY, 16, kListX, m_nListRows,
                              static_cast<int>(g_SaveSlots.size()), 1, 0);
        DS_PlayCursorSE(in.m_sDir, 3, 0);
        if (in.m_wButton & kButtonDecide) {
            PlaySe(1);
            g_MenuCursor.Push(0);
            g_MenuCursor.Cur().m_nY = 1;
            m_nStep = 2;
            return;
        }
        if (in.m_wButton & kButtonCancel) {
            PlaySe(2);
            BackToItems();
            return;
        }
        DrawSlots();
        DrawCursor();
        return;
    }
    const int x = MoveQuestion(12, 400);
    const bool decide = (in.m_wButton & kButtonDecide) != 0;
    if (decide || (in.m_wButton & kButtonCancel)) {
        if (decide && g_MenuCursor.Cur().m_nY == 0) {
            // The slot of the list row under the question.
            const int slot = g_MenuCursor.Prev() ? g_MenuCursor.Prev()->m_nY : p.m_nSlot;
            // The chosen slot stays the game's slot also when the write
            // fails (the failure is reported); the next save goes there.
            p.m_nSlot = slot;
            if (SaveStorySlotReported(slot)) PlaySe(5);
        } else {
            PlaySe(decide ? 1 : 2);
        }
        g_MenuCursor.Pop(1);
        m_nStep = 1;
        return;
    }
    DrawSlots();
    DrawMenuStrings(g_SystemData, x, 400, 12, 2, 1);
    if (const MenuCursorPos* row = g_MenuCursor.Prev())
        DDBlt(&g_BackBuffer, row->m_nPixelX, row->m_nPixelY, 16, 16, &SurfaceTable[kSlotAccessory], 80, 0, 1);
    DrawCursor();
}

void cSceneMapMenu::UpdateAutoSave() {
    const cInput& in = MenuInput();
    cGameProgress& p = g_Progress;
    if (m_nStep == 0) {
        g_MenuCursor.Cur() = MenuCursorPos{};
        g_MenuCursor.Cur().m_nY = p.m_bSlotSave ? 0 : 1;
        m_nStep = p.m_nSlot == -1 ? 2 : 1;
        return;
    }
    if (m_nStep == 2) {
        // No slot known yet: only the notice.
        if (in.m_wButton & (kButtonDecide | kButtonCancel)) {
            PlaySe(in.m_wButton & kButtonDecide ? 1 : 2);
            BackToItems();
            return;
        }
        FillScreen();
        DrawMenuStrings(g_SystemData, g_SystemData.MenuColumnCenterX(kQuestionX, 16, 1, 0), 232, 16, 1, 0);
        return;
    }
    const int x = MoveQuestion(14, 224);
    if (in.m_wButton & kButtonDecide) {
        PlaySe(1);
        if (g_MenuCursor.Cur().m_nY == 0) {
            // The slot's file says that the game saves itself.
            p.m_bSlotSave = 1;
            SaveStorySlotReported(p.m_nSlot);
        } else {
            p.m_bSlotSave = 0;
        }
        BackToItems();
        return;
    }
    CancelOrDrawQuestion(in, x, 14);
}

void cSceneMapMenu::CancelOrDrawQuestion(const cInput& in, int x, int text) {
    if (in.m_wButton & kButtonCancel) {
        PlaySe(2);
        BackToItems();
        return;
    }
    FillScreen();
    DrawMenuStrings(g_SystemData, x, 224, text, 2, 1);
    DrawCursor();
}

void cSceneMapMenu::UpdateContinue() {
    m_nStep = 0;
    Leave(SCENE_WORLDMAP);
}

void cSceneMapMenu::UpdateToTitle() {
    const cInput& in = MenuInput();
    if (m_nStep == 0) {
        g_MenuCursor.Cur() = MenuCursorPos{};
        g_MenuCursor.Cur().m_nY = 1;
        m_nStep = 1;
    }
    const int x = MoveQuestion(17, 224);
    if (in.m_wButton & kButtonDecide) {
        PlaySe(1);
        if (g_MenuCursor.Cur().m_nY == 0)
            Leave(SCENE_TITLE);
        else
            BackToItems();
        return;
    }
    CancelOrDrawQuestion(in, x, 17);
}

void cSceneMapMenu::FadeOut() {
    // The next scene resets the cursor; this one starts anew when shown again.
    if (StepFadeOut(SCENE_MAPMENU, false)) m_nState = -1;
}
