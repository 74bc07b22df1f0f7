// The stage select (scene kind SCENE_STAGESELECT), the challenge's menu: the
// numbered stages up to the highest one reached (or all of them when the game
// opens all), their cleared signs and best scores, the best total, a ranking
// panel, and the start of the chosen stage. Row r is stage r + 1.
#pragma once
#include <string>

#include "frontend/scenes/scene_menu.h"

class cSceneStageSelect : public cSceneMenu {
public:
    static constexpr int kMaxRows = 10;
    static constexpr int kListY = 160, kPitch = 32, kCursorX = 32;
    static constexpr int kPanelX = 352, kPanelY = 108;

    cSceneStageSelect();
    void Init() override;

    // "data\stg4\c" + two-digit number + "-1.stg4", before the loader picks
    // the file's numbered extension.
    static std::string StageName(int n);

    int m_nListTop = 0;   // first visible row
    int m_nOffered = 0;   // stages listed
    int m_nListRows = 0;  // visible rows

private:
    void UpdateCounts();
    // The progress's stage names of stage n and, with rankings on, its
    // ranking file.
    void PrepareStage(int n);
    void DrawPage();
    void UpdateList();
    void StartStage(int row);
    void RenderPages() override { DrawPage(); }
    void DrawScreen() override { ShowScreenPage(); }
};
