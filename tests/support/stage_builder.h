// Shared by the stage-play tests: a stage built in code (size, hero,
// placed charas, items and blocks), installed as the loaded stage with its
// start copy and the loader's hero copy, and a fixture that runs the stage
// set-up on it and puts the globals back afterwards.
#pragma once
#include <gtest/gtest.h>

#include <vector>

#include "base/scene_state.h"
#include "frontend/data/game_progress.h"
#include "play/chara_computer.h"
#include "play/shot.h"
#include "play/stage_setup.h"
#include "tests/support/chara_fixture.h"

namespace stagetest {

class StageBuilder {
public:
    StageBuilder(int width, int height, int speedLevel = 1) {
        m_stage.m_nWidth = width;
        m_stage.m_nHeight = height;
        m_stage.m_nPixelWidth = static_cast<int32_t>(static_cast<int64_t>(width) * 32);
        m_stage.m_nPixelHeight = height * 32;
        m_stage.m_nSpeedLevel = speedLevel;
        m_stage.m_vecPlacedChara.clear();
        m_stage.m_vecPlacedItem.clear();
        m_stage.m_vecPlacedBlock.clear();
    }
    StageBuilder& Hero(int x, int y, int group = 0) {
        Chara(x, y, 0, -1, group).m_nSide = 0;
        return *this;
    }
    // A computer chara placement; the returned definition may be adjusted.
    cEdChara& Chara(int x, int y, int copies = 0, int carried = -1, int group = 1) {
        cEdChara& c = m_stage.m_vecPlacedChara.emplace_back();
        c.m_nX = static_cast<int16_t>(x);
        c.m_nY = static_cast<int16_t>(y);
        c.m_nSide = 1;
        c.m_nGraphic = 1;
        c.m_nGroup = static_cast<int8_t>(group);
        c.m_nCopies = static_cast<int8_t>(copies);
        c.m_nCarriedItem = carried;
        return c;
    }
    cEdItem& Item(int x, int y) {
        cEdItem& i = m_stage.m_vecPlacedItem.emplace_back();
        i.m_nX = static_cast<int16_t>(x);
        i.m_nY = static_cast<int16_t>(y);
        i.m_nGraphic = 1;
        return i;
    }
    cEdBlock& Block(int x, int y, int hitMode = cEdBlock::HIT_SOLID) {
        cEdBlock& b = m_stage.m_vecPlacedBlock.emplace_back();
        b.m_nX = static_cast<int16_t>(x);
        b.m_nY = static_cast<int16_t>(y);
        b.m_nGraphic = 1;
        b.m_nHitMode = static_cast<int8_t>(hitMode);
        return b;
    }
    cStage& Stage() { return m_stage; }

    // g_Stage, its start copy and the loader's hero copy.
    void Install() {
        g_Stage = m_stage;
        g_Stage.ApplySpeedLevel(m_stage.m_nSpeedLevel);
        g_StageStart.TakeStartCopyOf(g_Stage);
        const int hero = g_Stage.FindHeroIndex();
        if (hero >= 0) g_HeroDef = g_Stage.m_vecPlacedChara[static_cast<size_t>(hero)];
    }

private:
    cStage m_stage;
};

class StageTest : public charatest::CharaTest {
protected:
    void SetUp() override {
        CharaTest::SetUp();
        m_savedStage = g_Stage;
        m_savedStart = g_StageStart;
        m_savedProgress = g_Progress;
        m_savedHero = g_HeroDef;
        m_savedFrameRate = g_SceneState.m_nFrameRate;
    }
    void TearDown() override {
        g_SceneState.m_nFrameRate = m_savedFrameRate;  // a set-up takes the stage's
        g_lstCharas.clear();
        g_lstItems.clear();
        g_Stage = m_savedStage;
        g_StageStart = m_savedStart;
        g_Progress = m_savedProgress;
        g_HeroDef = m_savedHero;
        CharaTest::TearDown();
    }
    // A stage set-up as at a retry (restart 1, same stage).
    void Setup(int restart = 1, int newStage = 0) { m_scene.SetupStage(restart, newStage); }
    cCharaPlayer& HeroChara() { return g_vPlayers[0]; }
    std::vector<int> CharaKeys() const {
        std::vector<int> keys;
        for (const cCharaComputer& c : g_lstCharas) keys.push_back(c.m_nKey);
        return keys;
    }
    // A shot of the group with its attack box, in the scene's lists.
    cShot& AddShot(int group, double x, double y, int size = 16) {
        cShot& s = m_scene.m_lstShots.emplace_back();
        s.m_nKey = static_cast<int32_t>(m_scene.m_lstShots.size());
        s.m_nGroup = group;
        s.m_EdShot.m_nSide = static_cast<int8_t>(group);
        s.m_dX = x;
        s.m_dY = y;
        s.m_dRight = x + size - 1;
        s.m_dBottom = y + size - 1;
        s.m_adHitBox[0] = x;
        s.m_adHitBox[1] = y;
        s.m_adHitBox[2] = x + size - 1;
        s.m_adHitBox[3] = y + size - 1;
        s.m_bInView = 1;
        m_scene.m_vShotGroups.at(group).push_back(&s);
        return s;
    }

    cStage m_savedStage;
    cStage m_savedStart;
    cGameProgress m_savedProgress;
    cEdChara m_savedHero;
    int m_savedFrameRate = 0;
};

}  // namespace stagetest
