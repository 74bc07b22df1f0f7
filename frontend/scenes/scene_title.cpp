#include "frontend/scenes/scene_title.h"

#include <algorithm>

#include "base/app_state.h"
#include "base/log.h"
#include "base/main_thread.h"
#include "base/quit.h"
#include "base/scene_state.h"
#include "media/frame_loop.h"
#include "frontend/data/game_progress.h"
#include "frontend/data/save_slots.h"
#include "frontend/data/world_map.h"
#include "frontend/frontend_services.h"
#include "media/input/menu_cursor.h"
#include "frontend/scenes/slot_list_draw.h"
#include "media/gfx/dd_blit.h"
#include "media/input/input_list.h"
#include "media/sound/ds_sound.h"
#include "media/text/dd_frames.h"
#include "media/text/font.h"
#include "play/stage_results.h"
#include "records/system_data.h"

namespace {

// Bitmap slots of the title: the picture, the item pictures, the cursors,
// the panel background.
constexpr int kSlotTitle = 48, kSlotGameMode = 49, kSlotAccessory = 50, kSlotWindow = 46;

// The game mode an action chooses (story, challenge, free play, replay).
constexpr int kActionMode[5] = {0, 0, 1, 2, 3};

void DrawTitlePicture() { DDBlt(&g_BackBuffer, 0, 0, 640, 480, &SurfaceTable[kSlotTitle], 0, 0, 0); }

cInput& MenuInput() { return g_InputList.at(0); }

// The game saves into this story slot at its stage clears.
void SaveInto(int slot) {
    g_Progress.m_nSlot = slot;
    g_Progress.m_bSlotSave = 1;
}

}  // namespace

cSceneTitle::cSceneTitle() : cSceneMenu(SCENE_TITLE, 0, kMenuButtons2, {kSlotTitle, kSlotGameMode, kSlotAccessory, kSlotWindow}) {
    SetHandlers<cSceneTitle>({&cSceneTitle::FadeIn, &cSceneTitle::UpdateMenu, &cSceneTitle::UpdateNewGame,
                              &cSceneTitle::UpdateLoadGame, &cSceneTitle::FadeOut});
}

bool cSceneTitle::UsesPictures() { return g_SystemData.m_bTitleMenuCentred != 0; }

void cSceneTitle::Init() {
    BeginInit();
    const int saveMode = g_SystemData.m_nSaveMode;
    if (saveMode == 2) ScanStorySlots(g_SaveSlots);
    const bool slot0Used = g_SaveSlots.at(0).m_bUsed != 0;
    m_nItems = 0;
    const cCheckedVector<cCmd>& menu = g_SystemData.m_vecTitleMenu;
    for (size_t i = 0; i < menu.size() && m_nItems < kMaxItems; ++i) {
        if (!menu[i].m_nEnabled) continue;
        if (saveMode == 2 && i == TITLE_NEWGAME && slot0Used) continue;
        if (saveMode == 2 && i == TITLE_CONTINUE && !slot0Used) continue;
        m_aItemAction[m_nItems++] = static_cast<int>(i);
    }
    if (m_nItems == 0) {
        m_aItemAction[0] = TITLE_NEWGAME;
        m_nItems = 1;
    }
    // The row of the last choice; a row out of range is wrapped to 0 by the
    // first move.
    int row = g_SceneState.g_nGameType;
    if (g_bSinglePlay) {
        row = 0;
        g_bSinglePlay = 0;
        g_bFreeStage = 0;
    } else {
        for (int r = 0; r < m_nItems; ++r)
            if (m_aItemAction[r] == g_SceneState.g_nGameType) row = r;
    }
    g_MenuCursor.Cur().m_nY = row;
    m_nPanelX = kPanelX;
    if (UsesPictures()) m_nPanelX = 288 - SurfaceTable[kSlotGameMode].nWidth / 2;
    BuildMenuPage();
    m_nStep = 0;
}

void cSceneTitle::BuildMenuPage() {
    ReleasePages();
    int width = 0;
    if (UsesPictures()) {
        width = SurfaceTable[kSlotGameMode].nWidth + 32;
    } else {
        int longest = 0;
        for (int r = 0; r < m_nItems; ++r)
            longest = std::max(longest, SjisCharCount(g_SystemData.m_vecTitleMenu.at(m_aItemAction[r]).m_strLabel));
        width = 32 * longest + 34;
    }
    if (!AddPage(width, 32 * m_nItems + 2)) return;
    DrawMenuPage();
}

void cSceneTitle::DrawMenuPage() {
    if (g_SceneSurfaces.empty()) return;
    DDSURFACEDATA* page = &g_SceneSurfaces.at(0);
    if (UsesPictures()) {
        DDSURFACEDATA* strips = &SurfaceTable[kSlotGameMode];
        DDFillSurface(page, 0);
        for (int r = 0; r < m_nItems; ++r)
            DDBlt(page, 32, 32 * r, strips->nWidth, 32, strips, 0, 32 * m_aItemAction[r], 0);
        return;
    }
    DDBltFramed(page, 1, 1, page->nWidth - 2, page->nHeight - 2, &SurfaceTable[kSlotWindow], 1, 240);
    for (int r = 0; r < m_nItems; ++r)
        g_Fonts[2].DrawString(page, 32, 32 * r, g_SystemData.m_vecTitleMenu.at(m_aItemAction[r]).m_strLabel);
}

void cSceneTitle::Draw() {
    DrawTitlePicture();
    if (!g_SceneSurfaces.empty()) {
        DDSURFACEDATA* page = &g_SceneSurfaces.at(0);
        if (page->bLost) {
            DrawMenuPage();
            page->bLost = 0;
        }
        DDBlt(&g_BackBuffer, m_nPanelX, kPanelY, page->nWidth, page->nHeight, page, 0, 0, 1);
    }
    CycleColors();
}

void cSceneTitle::DrawSlotScreen() {
    DrawTitlePicture();
    CycleColors();
    DrawSaveSlotList(&g_BackBuffer, kListX, kListY, g_SaveSlots, m_nListTop, m_nListRows);
    const MenuCursorPos& c = g_MenuCursor.Cur();
    DDBlt(&g_BackBuffer, c.m_nPixelX, c.m_nPixelY, 16, 16, &SurfaceTable[kSlotAccessory], 64, 0, 1);
}

void cSceneTitle::MoveInSlotList(const cInput& in, bool moves) {
    const int count = static_cast<int>(g_SaveSlots.size());
    m_nListRows = std::min(kMaxListRows, count);
    if (!moves) return;
    g_MenuCursor.MoveList(in.m_sDir, 1, m_nListTop, kListY, 16, kListX, m_nListRows, count, 1, 0);
    DS_PlayCursorSE(in.m_sDir, 3, 0);
}

void cSceneTitle::CancelOrDrawSlots(const cInput& in) {
    if (in.m_wButton & kButtonCancel) {
        PlaySe(2);
        BackToMenu();
        return;
    }
    DrawSlotScreen();
}

void cSceneTitle::BackToMenu() {
    g_MenuCursor.Pop(1);
    m_nState = 1;
    m_nStep = 0;
}

void cSceneTitle::UpdateMenu() {
    cInput& in = MenuInput();
    g_MenuCursor.MoveGrid(in.m_sDir, m_nPanelX, kPanelY, 0, 32, 1, m_nItems);
    DS_PlayCursorSE(in.m_sDir, 2, 0);
    if (!(in.m_wButton & kButtonDecide)) {
        Draw();
        const MenuCursorPos& c = g_MenuCursor.Cur();
        DDBlt(&g_BackBuffer, c.m_nPixelX, c.m_nPixelY, 32, 32, &SurfaceTable[kSlotAccessory], 0, 0, 1);
        return;
    }
    PlaySe(1);
    const int action = m_aItemAction[std::clamp(g_MenuCursor.Cur().m_nY, 0, m_nItems - 1)];
    g_SceneState.g_nGameType = action;
    if (action >= TITLE_NEWGAME && action <= TITLE_REPLAY) {
        const int mode = kActionMode[action];
        g_SceneState.g_nGameKind = mode;
        g_SceneState.g_bRankingOn = g_SystemData.m_vecRankingSets.at(mode).m_bEnabled;
    }
    switch (action) {
        case TITLE_NEWGAME:
            g_MenuCursor.Push(0);
            m_nStep = 0;
            m_nState = 2;
            break;
        case TITLE_CONTINUE:
            g_MenuCursor.Push(0);
            m_nStep = 0;
            m_nState = 3;
            break;
        case TITLE_CHALLENGE:
            if (!g_Progress.LoadChallenge()) g_Progress.Reset(g_SystemData.m_nStageCount);
            Leave(SCENE_STAGESELECT);
            break;
        case TITLE_FREE:
            if (!g_SystemData.OptNoStageList)
                Leave(SCENE_STAGELIST);
            else if (WaitOpenStage())
                Leave(SCENE_PLAY);
            break;
        case TITLE_REPLAY:
            if (!g_SystemData.OptNoStageList) {
                Leave(SCENE_REPLAYLIST);
            } else if (WaitMainThreadRequest(g_nOpenReplayRequest, g_nFileDialogDone) && g_nFileDialogResult) {
                Leave(SCENE_PLAY);
            }
            break;
        case TITLE_OPTIONS:
            Leave(SCENE_OPTIONS);
            break;
        case TITLE_END:
            // The close path decides; the menu runs on until the window closes.
            PostCloseRequest();
            break;
        default:
            break;
    }
}

void cSceneTitle::UpdateNewGame() {
    cInput& in = MenuInput();
    if (m_nStep == 0) {
        const int saveMode = g_SystemData.m_nSaveMode;
        if (saveMode == 0 || saveMode == 2) {
            NewGameReset();
            if (saveMode == 2) SaveInto(0);
            Leave(SCENE_WORLDMAP);
            return;
        }
        ScanStorySlots(g_SaveSlots);
        g_MenuCursor.Cur() = MenuCursorPos{};
        m_nListTop = 0;
        m_nStep = 1;
    }
    MoveInSlotList(in, true);
    if (in.m_wButton & kButtonDecide) {
        const int slot = g_MenuCursor.Cur().m_nY;
        if (g_SaveSlots.at(slot).m_bUsed) {
            PlaySe(3);  // a new game needs a free slot
            return;
        }
        PlaySe(1);
        NewGameReset();
        SaveInto(slot);
        Leave(SCENE_WORLDMAP);
        return;
    }
    CancelOrDrawSlots(in);
}

void cSceneTitle::UpdateLoadGame() {
    cInput& in = MenuInput();
    const bool single = g_SystemData.m_nSaveMode == 2;  // slot 0 only, no list
    if (m_nStep == 0) {
        g_MenuCursor.Cur() = MenuCursorPos{};
        m_nListTop = 0;
        m_nStep = 1;
        ScanStorySlots(g_SaveSlots);
    }
    MoveInSlotList(in, !single);
    if ((in.m_wButton & kButtonDecide) || single) {
        const int slot = g_MenuCursor.Cur().m_nY;
        // An empty slot, or one that cannot be read, keeps the progress as
        // it is: no other game's progress is played on. Without a list the
        // title goes back to its menu.
        const cGameProgress before = g_Progress;
        if (!g_SaveSlots.at(slot).m_bUsed || !g_Progress.LoadStorySlot(slot)) {
            PlaySe(3);
            if (single) BackToMenu();
            return;
        }
        // A save that resumes a stage must name a stage file that exists;
        // one that does not is refused like an unreadable slot.
        std::string stageFile;
        if (g_Progress.m_bResume && !MakeStageFileName(stageFile, g_Progress.m_nStageNumber, 0)) {
            ReportLogf("Story%02d: no stage file to resume (stage %d)", slot + 1, g_Progress.m_nStageNumber);
            g_Progress = before;
            PlaySe(3);
            if (single) BackToMenu();
            return;
        }
        if (!single) PlaySe(1);
        if (single) SaveInto(0);
        Leave(g_Progress.m_bResume ? SCENE_PLAY : SCENE_WORLDMAP);
        return;
    }
    CancelOrDrawSlots(in);
}

int cSceneTitle::WaitOpenStage() {
    if (!WaitMainThreadRequest(g_nOpenStageRequest, g_nFileDialogDone)) return 0;
    return g_nFileDialogResult != 0 ? 1 : 0;
}

void NewGameReset() {
    g_Progress.Reset(g_SystemData.m_nStageCount);
    g_Progress.m_nMapX = g_WorldMap.m_nStartX;
    g_Progress.m_nMapY = g_WorldMap.m_nStartY;
    g_Progress.m_nWorld = 0;
    if (g_SystemData.m_vecInfiniteLives.at(0)) {
        g_Progress.m_nStartLives = g_Progress.m_nLives = kUnlimitedLives;
    } else {
        g_Progress.m_nStartLives = g_SystemData.m_vecStartLives.at(0);
        g_Progress.m_nLives = g_Progress.m_nStartLives - 1;
    }
}
