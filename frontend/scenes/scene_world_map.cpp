#include "frontend/scenes/scene_world_map.h"

#include <algorithm>
#include <span>
#include <string>

#include "base/error_box.h"
#include "base/quit.h"
#include "base/scene_state.h"
#include "records/stage_loader.h"
#include "engine/compare_op.h"
#include "frontend/data/game_progress.h"
#include "frontend/data/number_format.h"
#include "frontend/data/ranking.h"
#include "frontend/frontend_services.h"
#include "frontend/scenes/scene_map_menu.h"
#include "media/text/cmd_menu.h"
#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_layer.h"
#include "media/gfx/dd_present.h"
#include "media/input/input_list.h"
#include "media/sound/ds_sound.h"
#include "media/text/font.h"
#include "platform/cp932.h"
#include "play/stage_setup.h"
#include "records/stage.h"
#include "records/system_data.h"

namespace {

// Bitmap slots: map background, chips, entry pictures, hero and icons,
// window frame, the rendered map page.
constexpr int kSlotBack = 55, kSlotChips = 53, kSlotEvents = 54, kSlotAccessory = 50, kSlotWindow = 46,
              kSlotMapPage = 68;
constexpr int kStory = 0;  // the story's game kind
constexpr int kViewColumns = 20, kViewRows = 15;
constexpr int kTextCentreX = 304;

bool StoryRankingOn() { return g_SystemData.m_vecRankingSets.at(kStory).m_bEnabled != 0; }

std::span<const uint8_t> RankingKinds() {
    const cCheckedVector<uint8_t>& kinds = g_SystemData.m_vecRankingSets.at(g_SceneState.g_nGameKind).m_vecKinds;
    return std::span<const uint8_t>(kinds.data(), kinds.size());
}

MenuCursorPos& Hero() { return g_MenuCursor.Cur(); }

void StageFileError(const std::string& file) {
    ErrorBoxf(SJ("ステージファイル %s が読み込めません！").c_str(), file.c_str());
}

}  // namespace

int cSceneWorldMap::s_nHeroFrame = 0;

const cWorldEntry* FindActiveEntry(const cWorldPoint* point) {
    if (!point) return nullptr;
    const cGameProgress& p = g_Progress;
    for (const cWorldEntry& e : point->m_vecEntry) {
        if (e.m_nNeedOpened > 0 && p.m_vecOpened.at(e.m_nNeedOpened) == 0) continue;
        if (e.m_nCondVar != 0 && !CompareByOp(p.m_vecCommonVar.at(e.m_nCondVar), e.m_nCondValue, e.m_nCondOp))
            continue;
        if (p.m_nBestTotal < e.m_nNeedTotal) continue;
        return &e;
    }
    return nullptr;
}

int IsEntryCleared(const cWorldEntry* entry) {
    if (!entry) return 0;
    return g_Progress.m_vecOpened.at(entry->m_nOpenIndex) != 0 ? 1 : 0;
}

int IsEntryPassable(const cWorldEntry* entry) {
    if (!entry) return 0;
    return entry->m_bPassable || IsEntryCleared(entry) ? 1 : 0;
}

int WorldCellIndex(int column, int row) {
    const cWorldMap& map = g_WorldMap;
    const int x = std::clamp(column, 0, std::max(map.m_nWidth - 1, 0));
    if (row < 0) return x;
    const int y = std::min(row, map.m_nHeight - 1);
    return x + (std::max(y, 0) << map.m_nRowShift);
}

cSceneWorldMap::cSceneWorldMap()
    : cSceneMenu(SCENE_WORLDMAP, 1, kMenuButtons4,
                 {kSlotBack, kSlotChips, kSlotEvents, kSlotAccessory, kSlotWindow, kSlotMapPage}) {
    SetHandlers<cSceneWorldMap>(
        {&cSceneWorldMap::FadeIn, &cSceneWorldMap::UpdateMove, &cSceneWorldMap::UpdateConfirm,
         &cSceneWorldMap::FadeOut});
}

void cSceneWorldMap::Init() {
    BitmapTable[kSlotBack].strFileName = g_WorldMap.m_strBackPicture;
    BeginInit();
    if (g_bQuit) return;
    cGameProgress& p = g_Progress;
    p.RecalcBestTotal(g_WorldMap);
    MenuCursorPos& hero = Hero();
    hero.m_nX = p.m_nMapX;
    hero.m_nY = p.m_nMapY;
    hero.m_nPixelX = kHeroX;
    hero.m_nPixelY = kHeroY;
    UpdateView();
    m_nFacing = p.m_nMapFacing;
    FindHere();
    m_PrevPos = hero;
    BuildRankingPage();
    if (m_pEntry && m_pEntry->m_nKind == WORLD_ENTRY_STAGE) {
        PrepareEntry();
        m_PreparedPos = hero;
    }
    // The automatic save after every stage of a game that saves into a slot.
    if (p.m_bSlotSave && g_SceneState.m_nPrevSceneKind == SCENE_PLAY) SaveStorySlotReported(p.m_nSlot);
    BuildMapPage();
    m_nStep = 0;
}

void cSceneWorldMap::UpdateView() {
    m_nViewX = Hero().m_nX - 9;
    m_nViewY = Hero().m_nY - 7;
}

void cSceneWorldMap::FindHere() {
    m_pPoint = g_WorldMap.FindPointAt(Hero().m_nX, Hero().m_nY);
    m_pEntry = FindActiveEntry(m_pPoint);
}

void cSceneWorldMap::PrepareEntry() {
    cGameProgress& p = g_Progress;
    const cWorldEntry& e = *m_pEntry;
    p.ParseStageVariation(e.m_strStageFile, e.m_bVariation, e.m_nVariationVar, e.m_nVariationValue);
    m_nEntryBest = p.GetStageBest(p.m_strStageKey);
    if (!g_SceneState.g_bRankingOn) return;
    LoadRanking(g_Ranking, g_SceneState.g_nGameKind, p.m_strStageBase, p.m_bVariation, p.m_nVariationVar,
                p.m_nVariationValue);
    p.StepRankCategory(RankingKinds(), 0);
    DrawRankingPage();
}

void cSceneWorldMap::BuildRankingPage() {
    ReleasePages();
    if (AddPage(kPanelW, kPanelH)) DrawRankingPage();
}

void cSceneWorldMap::DrawRankingPage() {
    if (g_SceneSurfaces.empty()) return;
    DDSURFACEDATA* page = &g_SceneSurfaces.at(0);
    DDFillSurface(page, 0);
    g_Ranking.Draw(page, 0, 0, g_Progress.m_nRankCategory, -1);
    page->bLost = 0;
}

void cSceneWorldMap::BuildMapPage() {
    const cWorldMap& map = g_WorldMap;
    DDSURFACEDATA* page = &SurfaceTable[kSlotMapPage];
    DDFillSurface(page, static_cast<uint32_t>(map.m_nBackColor));
    if (map.m_bBackPicture) {
        // A view left of or above the map moves the picture right or down.
        int dx = 0, dy = 0, sx = 32 * m_nViewX, sy = 32 * m_nViewY;
        if (m_nViewX < 0) dx = -sx, sx = 0;
        if (m_nViewY < 0) dy = -sy, sy = 0;
        DDBlt(page, dx, dy, 640, 480, &SurfaceTable[kSlotBack], sx, sy, 0);
    }
    DDBeginLayer(0);
    for (int i = 0; i < kViewRows; ++i) {
        const int row = m_nViewY + i;
        if (row < 0 || row >= map.m_nHeight) continue;
        for (int j = 0; j < kViewColumns; ++j) {
            const int column = m_nViewX + j;
            if (column < 0 || column >= map.m_nWidth) continue;
            const int chip = map.m_vecChip.at(WorldCellIndex(column, row));
            const int picture = map.m_vecChipAttr.at(chip).m_nChipPicture;
            DDBlt(page, 32 * j, 32 * i, 32, 32, &SurfaceTable[kSlotChips], 32 * (picture % 5), 32 * (picture / 5), 1);
        }
    }
    DDEndLayer();
    DDBeginLayer(0);
    for (const cWorldPoint& point : map.m_vecPoint) {
        const int j = point.m_nPointX - m_nViewX, i = point.m_nPointY - m_nViewY;
        if (j < 0 || j >= kViewColumns || i < 0 || i >= kViewRows) continue;
        const cWorldEntry* e = FindActiveEntry(&point);
        if (!e) continue;
        DDBlt(page, 32 * j, 32 * i, 32, 32, &SurfaceTable[kSlotEvents], IsEntryCleared(e) ? 32 : 0, 32 * e->m_nPicture,
              1);
    }
    DDEndLayer();
    page->bLost = 0;
    m_bPageBuilt = true;
    m_nPageViewX = m_nViewX;
    m_nPageViewY = m_nViewY;
    ++m_nMapPageBuilds;
}

void cSceneWorldMap::MoveHero(int dir) {
    cGameProgress& p = g_Progress;
    MenuCursorPos& hero = Hero();
    if (dir & (INPUT_LEFT | INPUT_RIGHT | INPUT_UP | INPUT_DOWN)) {
        p.m_nMapCursorX = hero.m_nX;
        p.m_nMapCursorY = hero.m_nY;
        m_PrevPos = hero;
    }
    // One step a frame, at the pace of the key repeat.
    if (dir & INPUT_LEFT) {
        m_nFacing = 2;
        hero.m_nX = std::max(hero.m_nX - 1, 0);
    } else if (dir & INPUT_RIGHT) {
        m_nFacing = 3;
        hero.m_nX = std::max(std::min(hero.m_nX + 1, g_WorldMap.m_nWidth - 1), 0);
    } else if (dir & INPUT_UP) {
        m_nFacing = 1;
        hero.m_nY = std::max(hero.m_nY - 1, 0);
    } else if (dir & INPUT_DOWN) {
        m_nFacing = 0;
        hero.m_nY = std::max(std::min(hero.m_nY + 1, g_WorldMap.m_nHeight - 1), 0);
    }
    FindHere();
    const int chip = g_WorldMap.m_vecChip.at(WorldCellIndex(hero.m_nX, hero.m_nY));
    const bool blocked = (!m_pEntry && g_WorldMap.m_vecChipAttr.at(chip).m_nMoveAttr != 0) ||
                         (m_pEntry && m_pEntry->m_nKind == WORLD_ENTRY_WALL);
    if (blocked) {
        hero = m_PrevPos;
    } else {
        UpdateView();
        p.m_nMapFacing = m_nFacing;
        if (!m_bPageBuilt || m_nViewX != m_nPageViewX || m_nViewY != m_nPageViewY) BuildMapPage();
    }
    hero.m_nPixelX = kHeroX;
    hero.m_nPixelY = kHeroY;
}

void cSceneWorldMap::RankingButtons(const cInput& in) {
    cGameProgress& p = g_Progress;
    if (in.m_wButton & 4) {
        if (StoryRankingOn()) {
            PlaySe(6);
            p.m_bShowRanking = p.m_bShowRanking ? 0 : 1;
        } else if (p.m_bShowRanking) {
            p.m_bShowRanking = 0;
        }
        DrawRankingPage();
    }
    if ((in.m_wButton & 8) && StoryRankingOn()) {
        if (g_SystemData.CountEnabled(g_SceneState.g_nGameKind) >= 2) {
            PlaySe(6);
            p.StepRankCategory(RankingKinds(), 1);
        }
        DrawRankingPage();
    }
}

void cSceneWorldMap::UpdateMove() {
    const cInput& in = g_InputList.at(0);
    cGameProgress& p = g_Progress;
    MoveHero(in.m_sDir);
    DS_PlayCursorSE(in.m_sDir, 3, 0);
    FindHere();
    if (m_pEntry && m_pEntry->m_nKind == WORLD_ENTRY_STAGE) {
        MenuCursorPos& hero = Hero();
        if (hero.m_nX != m_PreparedPos.m_nX || hero.m_nY != m_PreparedPos.m_nY) {
            PrepareEntry();
            m_PreparedPos = hero;
        }
        // An entry that must be played is entered as soon as the hero steps
        // on it; a cleared one is played again only when it allows it.
        bool enter = !IsEntryPassable(m_pEntry);
        if (!enter && (in.m_wButton & kButtonDecide)) {
            if (!m_pEntry->m_bReplayable && IsEntryCleared(m_pEntry)) return;
            enter = true;
        }
        if (enter) {
            p.m_nMapX = hero.m_nX;
            p.m_nMapY = hero.m_nY;
            g_MenuCursor.Push(0);
            m_nStep = 0;
            m_nState = 2;
            return;
        }
        RankingButtons(in);
    }
    if (in.m_wButton & kButtonCancel) {
        PlaySe(4);
        p.m_nMapX = Hero().m_nX;
        p.m_nMapY = Hero().m_nY;
        m_nStep = 0;
        Leave(SCENE_MAPMENU);
        return;
    }
    Draw(true);
}

void cSceneWorldMap::UpdateConfirm() {
    const cInput& in = g_InputList.at(0);
    if (m_nStep == 0) {
        PlaySe(1);
        m_bStageLoaded = LoadStageWithMessagePump(m_pEntry->m_strStageFile, true, &g_StageStart, &g_HeroDef) ? 1 : 0;
        if (!m_bStageLoaded) StageFileError(m_pEntry->m_strStageFile);
        g_MenuCursor.Cur().m_nY = 1;
        m_nStep = 1;
    }
    const int x = g_SystemData.MenuColumnCenterX(kTextCentreX, 10, 2, 1);
    g_MenuCursor.MoveGrid(in.m_sDir, x, kAnswerY, 0, 16, 1, 2);
    DS_PlayCursorSE(in.m_sDir, 2, 0);
    if (in.m_wButton & kButtonDecide) {
        PlaySe(1);
        if (g_MenuCursor.Cur().m_nY == 0 && m_bStageLoaded) {
            g_Progress.m_nMapFacing = m_nFacing;
            StartEntry();
            m_nStep = 0;
            Leave(SCENE_PLAY);
            return;
        }
        BackToWalking();
        return;
    }
    if (in.m_wButton & kButtonCancel) {
        PlaySe(2);
        BackToWalking();
        return;
    }
    RankingButtons(in);
    Draw(true);
    DrawMenuStrings(g_SystemData, x, kAnswerY, 10, 2, 1);
    const MenuCursorPos& c = g_MenuCursor.Cur();
    DDBlt(&g_BackBuffer, c.m_nPixelX, c.m_nPixelY, 16, 16, &SurfaceTable[kSlotAccessory], 64, 0, 1);
}

void cSceneWorldMap::BackToWalking() {
    const bool passable = IsEntryPassable(m_pEntry) != 0;
    g_MenuCursor.Pop(1);
    if (!passable) {
        // The hero goes back to the cell he came from, and the view with him.
        Hero() = m_PrevPos;
        UpdateView();
        if (m_nViewX != m_nPageViewX || m_nViewY != m_nPageViewY) BuildMapPage();
        FindHere();
    }
    m_nStep = 0;
    m_nState = 1;
}

void cSceneWorldMap::StartEntry() {
    cGameProgress& p = g_Progress;
    const cWorldEntry& e = *m_pEntry;
    p.m_nClearAction = e.m_nClearAction;
    // The loader's path: the file of the newest numbered version.
    p.ParseStageVariation(g_Stage.m_strPath, e.m_bVariation, e.m_nVariationVar, e.m_nVariationValue);
    p.m_nSeriesIndex = e.m_nOpenIndex;
    p.m_nStageNumber = 1;
    if (g_SystemData.m_vecInfiniteLives.at(kStory)) {
        p.m_nStartLives = p.m_nLives = kUnlimitedLives;
        return;
    }
    // The life in play is not counted in m_nLives.
    p.m_nStartLives = g_SystemData.m_bMapAppliesLives ? p.m_nLives + 1 : g_SystemData.m_vecStartLives.at(kStory);
    p.m_nLives = p.m_nStartLives - 1;
}

void cSceneWorldMap::FadeIn() {
    cGameProgress& p = g_Progress;
    if (DDIsPalettized()) DrawRankingPage();
    Draw(!p.m_bMapReturn);
    StepFadeIn();
    if (m_nState != 1 || !m_pEntry || m_pEntry->m_nKind != WORLD_ENTRY_STAGE) return;
    if (p.m_bMapReturn) {
        // Back from a stage left unfinished: off the entry if it is still
        // not cleared.
        p.m_bMapReturn = 0;
        if (IsEntryCleared(m_pEntry)) return;
        MenuCursorPos& hero = Hero();
        p.MapReturnCell(g_WorldMap, hero.m_nX, hero.m_nY);
        m_PrevPos = hero;
        UpdateView();
        BuildMapPage();
        FindHere();
        return;
    }
    if (g_SceneState.m_nPrevSceneKind == SCENE_MAPMENU || IsEntryPassable(m_pEntry)) return;
    // An entry that must be played starts at once.
    if (!LoadStageWithMessagePump(m_pEntry->m_strStageFile, true, &g_StageStart, &g_HeroDef)) {
        StageFileError(m_pEntry->m_strStageFile);
        SetQuitAndClose();
        return;
    }
    StartEntry();
    p.m_nMapCursorX = Hero().m_nX;
    p.m_nMapCursorY = Hero().m_nY;
    Leave(SCENE_PLAY);
}

void cSceneWorldMap::FadeOut() {
    Draw(true);
    StepFadeOut(SCENE_WORLDMAP);
}

bool cSceneWorldMap::PanelShown() const { return StoryRankingOn() && g_Progress.m_bShowRanking; }

void cSceneWorldMap::Draw(bool entryTexts) {
    DDSURFACEDATA* page = &SurfaceTable[kSlotMapPage];
    if (page->bLost) BuildMapPage();
    DDBlt(&g_BackBuffer, 0, 0, 640, 480, page, 0, 0, 0);
    DrawHero();
    if (g_SystemData.m_bMapShowLives) DrawLives();
    if (entryTexts && m_pEntry && m_pEntry->m_nKind == WORLD_ENTRY_STAGE) DrawEntryTexts();
}

void cSceneWorldMap::DrawHero() {
    // Cells (first, second) by facing: down, up, left, right.
    static constexpr int kCells[4][2] = {{0, 64}, {64, 64}, {64, 96}, {0, 96}};
    if (++s_nHeroFrame >= 80) s_nHeroFrame = 0;
    const int f = std::clamp(m_nFacing, 0, 3);
    const int second = s_nHeroFrame > 40 ? 32 : 0;
    DDBlt(&g_BackBuffer, kHeroX, kHeroY, 32, 32, &SurfaceTable[kSlotAccessory], kCells[f][0] + second, kCells[f][1],
          1);
}

void cSceneWorldMap::DrawLives() {
    const int lives = g_Progress.m_nLives;
    const bool unlimited = lives == kUnlimitedLives;
    const int n = unlimited ? 1 : std::min(CountDigits(lives), 10);
    const int x = 605 - 16 * n;
    Font& normal = g_Fonts[1];
    normal.DrawTextBox(&g_BackBuffer, x, 17, 16 * (n + 1), 20);
    DDBlt(&g_BackBuffer, x, 19, 16, 16, &SurfaceTable[kSlotAccessory], 0, 48, 1);
    if (unlimited)
        normal.DrawString(&g_BackBuffer, x + 16, 19, SJ("∞"));
    else
        normal.DrawStringF(&g_BackBuffer, x + 16, 19, "%d", lives);
}

void cSceneWorldMap::DrawEntryTexts() {
    const bool panel = PanelShown();
    if (panel && !g_SceneSurfaces.empty()) {
        DDSURFACEDATA* page = &g_SceneSurfaces.at(0);
        if (page->bLost) DrawRankingPage();
        DDBlt(&g_BackBuffer, kPanelX, kPanelY, kPanelW, kPanelH, page, 0, 0, 0);
    }
    const bool best = g_SystemData.m_bMapShowEntryInfo && m_nEntryBest > 0;
    const int y = best ? 184 : 204;
    // A box centred on the hero, moved left of the ranking panel.
    auto boxX = [panel](int w) {
        int x = kTextCentreX - w / 2;
        if (panel && x + w > kPanelX) x = std::max(kPanelX - w, 1);
        return x;
    };
    Font& normal = g_Fonts[1];
    const std::string& name = m_pEntry->m_strName;
    const int n = SjisCharCount(name);
    if (n > 0) normal.DrawMultiLineF(&g_BackBuffer, boxX(16 * n), y, 16 * n, 16, "%s", name.c_str());
    if (!best) return;
    const std::string& label = g_SystemData.m_vecTexts.at(2);
    const int w = 16 * (SjisCharCount(label) + CountDigits(m_nEntryBest));
    normal.DrawMultiLineF(&g_BackBuffer, boxX(w), y + 20, w, 16, "%s%d", label.c_str(), m_nEntryBest);
}
