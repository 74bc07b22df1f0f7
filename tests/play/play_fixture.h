// A play scene of its own for play tests: g_lpPlayScene points at it while
// the test runs, with axes for a stage of the given size in cells.
#pragma once
#include <gtest/gtest.h>

#include "base/quit.h"
#include "base/scene_state.h"
#include "media/scene.h"
#include "play/map_cell.h"
#include "play/scene_play.h"

namespace playtest {

class PlaySceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_saved = g_lpPlayScene;
        g_lpPlayScene = &m_scene;
        g_bQuit = 0;
        SetStage(40, 15);
    }
    void TearDown() override {
        g_lpPlayScene = m_saved;
        g_vMapCells.clear();
        g_bQuit = 0;
    }
    void SetStage(int width, int height) {
        m_scene.m_ScrollX = cScrollAxis{};
        m_scene.m_ScrollY = cScrollAxis{};
        m_scene.m_ScrollX.Init(0, width);
        m_scene.m_ScrollY.Init(1, height);
    }
    cScenePlay m_scene;
    cScene* m_saved = nullptr;
};

}  // namespace playtest
