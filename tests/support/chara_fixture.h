// Shared by the play and engine tests: a play scene of its own with a stage
// of a given size and speed level, the system options and the stage
// settings put back after each test, and charas and their flows built in
// code.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "base/main_thread.h"
#include "base/quit.h"
#include "base/scene_state.h"
#include "media/scene.h"
#include "engine/cmd_tables.h"
#include "engine/flow_trigger.h"
#include "play/chara.h"
#include "play/chara_computer.h"
#include "play/chara_player.h"
#include "play/map_cell.h"
#include "play/scene_play.h"
#include "records/database.h"
#include "records/stage.h"
#include "records/system_data.h"
#include "tests/support/play_trace.h"

namespace charatest {

class CharaTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_savedScene = g_lpPlayScene;
        m_savedSystem = g_SystemData;
        m_savedGravity = g_Stage.m_dGravity;
        m_savedLevel = g_Stage.m_nSpeedLevel;
        m_savedBoxes = g_Stage.m_anBoxSetting;
        m_savedAnimeSets = g_Database.m_vecAnimeSet;
        m_savedAnimes = g_Database.m_vecAnime;
        m_savedAnimeSteps = g_vAnimeSteps;
        std::copy(std::begin(CmdExecTable), std::end(CmdExecTable), m_savedExec);
        std::copy(std::begin(CmdSetupTable), std::end(CmdSetupTable), m_savedSetup);
        g_lpPlayScene = &m_scene;
        g_SystemData = cSystemData();
        g_Stage.m_dGravity = 0.4;
        g_Stage.m_anBoxSetting = cStage::DefaultBoxSettings();
        g_Stage.ApplySpeedLevel(1);
        g_bQuit = 0;
        SetMainThread();  // sound requests are served at once
        testsupport::PlayTrace().trigger = nullptr;
        SetStage(40, 15);
    }
    void TearDown() override {
        g_vPlayers.clear();
        g_vMapCells.clear();
        g_lstCharas.clear();
        g_lstItems.clear();
        testsupport::PlayTrace().trigger = nullptr;
        std::copy(std::begin(m_savedExec), std::end(m_savedExec), CmdExecTable);
        std::copy(std::begin(m_savedSetup), std::end(m_savedSetup), CmdSetupTable);
        g_vAnimeSteps = m_savedAnimeSteps;
        g_lpPlayScene = m_savedScene;
        g_SystemData = m_savedSystem;
        g_Stage.m_dGravity = m_savedGravity;
        g_Stage.m_anBoxSetting = m_savedBoxes;
        g_Stage.ApplySpeedLevel(m_savedLevel);
        g_Database.m_vecAnimeSet = m_savedAnimeSets;
        g_Database.m_vecAnime = m_savedAnimes;
        g_bQuit = 0;
    }
    void SetStage(int width, int height) {
        m_scene.m_ScrollX = cScrollAxis{};
        m_scene.m_ScrollY = cScrollAxis{};
        m_scene.m_ScrollX.Init(0, width);
        m_scene.m_ScrollY.Init(1, height);
    }
    // Sub-steps per frame (speed levels 1 to 10).
    static void SetSubSteps(int n) { g_Stage.ApplySpeedLevel(n); }
    // A map of empty cells, the given cells solid for every group.
    void MakeMap(std::initializer_list<std::pair<int, int>> solid = {}) {
        const int stride = m_scene.m_ScrollX.m_nStride;
        cMapCell empty;
        empty.m_nHitMode = 0;
        g_vMapCells.assign(static_cast<size_t>(stride) * m_scene.m_ScrollY.m_nCells, empty);
        for (auto [c, r] : solid) {
            cMapCell& cell = g_vMapCells.at(c + static_cast<long long>(r) * stride);
            cell.m_nGraphic = 1;
            cell.m_nHitMode = 1;
        }
    }
    long long CellIndex(int c, int r) const { return c + static_cast<long long>(r) * m_scene.m_ScrollX.m_nStride; }

    cScenePlay m_scene;
    cScene* m_savedScene = nullptr;
    cSystemData m_savedSystem;
    double m_savedGravity = 0.4;
    int32_t m_savedLevel = 10;
    std::array<int32_t, cStage::kBoxSettings> m_savedBoxes{};
    cCheckedVector<cDbAnimeSet> m_savedAnimeSets;
    cCheckedVector<cDbAnime> m_savedAnimes;
    cCheckedVector<AnimeTrack> m_savedAnimeSteps;
    CmdExecFn m_savedExec[CHARA_CMD_KIND_COUNT] = {};
    CmdSetupFn m_savedSetup[CHARA_CMD_KIND_COUNT] = {};
};

// A chara whose box follows its position the way the concrete classes'
// moves keep it.
class cTestChara : public cChara {
public:
    void AfterMoveX() override { UpdatePosX(); }
    void AfterMoveY() override { UpdatePosY(); }
};

// A walking chara at (x, y) whose screen box (with no scroll) is there too,
// of the given draw size.
inline void PlaceOnScreen(cTestChara& c, double x, double y, int w, int h) {
    c.m_nDrawWidth = c.m_nBaseDrawWidth = w;
    c.m_nDrawHeight = c.m_nBaseDrawHeight = h;
    c.m_nWidth = w;
    c.m_nHeight = h;
    c.m_dX = x;
    c.m_dY = y;
    c.UpdatePosX();
    c.UpdatePosY();
    c.UpdateScreenRect();
}

// A command of the given family and kind; time and its step in tenths.
inline cEdFlowCmd MakeCmd(int family, int kind, std::vector<int32_t> params = {}, int time = 0, int timeStep = 0) {
    cEdFlowCmd c;
    c.m_nFamily = static_cast<int8_t>(family);
    c.m_nKind = static_cast<int8_t>(kind);
    c.m_vecParam = std::move(params);
    c.m_nTime = static_cast<int16_t>(time);
    c.m_nTimeStep = static_cast<int16_t>(timeStep);
    return c;
}
// The ID of the play scene's current flow ("?" without one).
inline std::string CurrentFlowId() {
    const cFlow* f = PlayScene()->m_lpCurFlow;
    return f && f->m_lpDef ? std::to_string(f->m_lpDef->m_nId) : "?";
}

// A wait command marked by its time (tenths), to tell commands apart.
inline cEdFlowCmd Wait(int time) { return MakeCmd(cEdFlowCmd::FAMILY_CHARA, 1, {}, time); }
inline cEdFlowCmd Loop(int times, int length) { return MakeCmd(cEdFlowCmd::FAMILY_CHARA, 39, {times, length}); }

inline cEdFlow MakeFlow(int id, std::vector<cEdFlowCmd> cmds, int trigger = 0) {
    cEdFlow f = cEdFlow::ForReading();
    f.m_nId = static_cast<int8_t>(id);
    f.m_nTrigger = static_cast<int8_t>(trigger);
    f.m_vecCmd = std::move(cmds);
    return f;
}

// A computer-side definition with the given flows.
inline cEdChara MakeCharaDef(std::vector<cEdFlow> flows = {}) {
    cEdChara d;
    d.m_vecFlow = std::move(flows);
    return d;
}

// The times of a command list, in order (the commands made by Wait).
inline std::vector<int> Times(const std::vector<cEdFlowCmd>& cmds) {
    std::vector<int> t;
    for (const cEdFlowCmd& c : cmds) t.push_back(c.m_nTime);
    return t;
}

// Every run record of the chara points at the chara's own definitions.
inline void ExpectOwnDefinitions(const cChara& c) {
    ASSERT_EQ(c.m_vFlows.size(), c.m_Def.m_vecFlow.size());
    for (size_t i = 0; i < c.m_vFlows.size(); ++i) {
        const cFlow& f = c.m_vFlows[i];
        EXPECT_EQ(f.m_nIndex, static_cast<int>(i));
        EXPECT_EQ(f.m_lpDef, &c.m_Def.m_vecFlow[i]);
        ASSERT_EQ(f.m_vCmds.size(), c.m_Def.m_vecFlow[i].m_vecCmd.size());
        for (size_t j = 0; j < f.m_vCmds.size(); ++j) EXPECT_EQ(f.m_vCmds[j].m_lpDef, &c.m_Def.m_vecFlow[i].m_vecCmd[j]);
        ASSERT_EQ(f.m_vKeyConds.size(), c.m_Def.m_vecFlow[i].m_vecKeyCond.size());
        for (size_t j = 0; j < f.m_vKeyConds.size(); ++j)
            EXPECT_EQ(f.m_vKeyConds[j], &c.m_Def.m_vecFlow[i].m_vecKeyCond[j]);
    }
}

}  // namespace charatest
