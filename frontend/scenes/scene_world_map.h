// The world map (scene kind SCENE_WORLDMAP), the story mode's hub: a
// scrolling map of 32-pixel cells with the hero in the middle of the screen,
// walked cell by cell; the name, best score and ranking of the stage entry
// under the hero; the start of its stage after a yes/no question (at once for
// an entry that must be played); cancel opens the map menu.
#pragma once
#include "frontend/data/world_map.h"
#include "media/input/menu_cursor.h"
#include "frontend/scenes/scene_menu.h"

class cInput;

// The first entry of the place whose conditions hold now (opened flag,
// common variable, best total), or null; null for a null place.
const cWorldEntry* FindActiveEntry(const cWorldPoint* point);
// The entry's opened flag is set (0 for a null entry).
int IsEntryCleared(const cWorldEntry* entry);
// The hero may stand on the entry without playing it: it is passable or
// cleared (0 for a null entry).
int IsEntryPassable(const cWorldEntry* entry);
// Index into the map's chip grid of a cell: the column clamped into the map,
// a negative row gives the column alone, a row past the map its last row.
int WorldCellIndex(int column, int row);

class cSceneWorldMap : public cSceneMenu {
public:
    static constexpr int kHeroX = 288, kHeroY = 224;  // the hero's cell on screen
    static constexpr int kPanelX = 367, kPanelY = 64;  // ranking panel
    static constexpr int kPanelW = 272, kPanelH = 353;
    static constexpr int kAnswerY = 260;  // yes/no column

    cSceneWorldMap();
    void Init() override;
    void FadeIn() override;
    void FadeOut() override;

    // The hero's walking picture counter, shared by every draw of the hero
    // (tests set it for a known picture).
    static int s_nHeroFrame;

    int m_nViewX = 0, m_nViewY = 0;  // map cell at the screen's top-left
    const cWorldPoint* m_pPoint = nullptr;
    const cWorldEntry* m_pEntry = nullptr;
    int m_nFacing = 0;  // 0 down, 1 up, 2 left, 3 right
    MenuCursorPos m_PrevPos;
    MenuCursorPos m_PreparedPos{-1, -1, 0, 0};
    int m_nEntryBest = 0;
    int m_bStageLoaded = 0;  // the question's stage file was loaded
    int m_nMapPageBuilds = 0;  // times the map page was drawn

private:
    void UpdateMove();
    void UpdateConfirm();
    void UpdateView();
    void FindHere();
    void MoveHero(int dir);
    void PrepareEntry();
    void StartEntry();
    void BuildMapPage();
    void BuildRankingPage();
    void DrawRankingPage();
    // Buttons 4 (ranking panel on and off) and 8 (next ranking table).
    void RankingButtons(const cInput& in);
    // Back from the question to walking.
    void BackToWalking();
    void Draw(bool entryTexts);
    void DrawHero();
    void DrawLives();
    void DrawEntryTexts();
    bool PanelShown() const;
    void RenderPages() override { DrawRankingPage(); }

    bool m_bPageBuilt = false;
    int m_nPageViewX = 0, m_nPageViewY = 0;  // view origin the map page shows
};
