// The item command table and the flow change: slots that differ from the
// chara form, flow changes by ID and mode, the player's queue, and items
// got by command.
#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/main_thread.h"
#include "media/media_services.h"
#include "base/log.h"
#include "base/quit.h"
#include "base/thread.h"
#include "engine/flow_runtime.h"
#include "engine/item_commands.h"
#include "engine/target_commands.h"
#include "engine/warp.h"
#include "records/common_palette.h"
#include "tests/engine/command_world.h"
#include "tests/support/call_trace.h"
#include "tests/support/message_device.h"
#include "tests/support/nested_loop.h"
#include "tests/support/sound_log.h"
#include "tests/support/temp_dir.h"

using namespace cmdtest;
using charatest::MakeFlow;
using charatest::Wait;

namespace {

// What the fakes saw and the user sounds played, in order.
using calltrace::Trace;
std::vector<std::string> Traced() { return calltrace::Traced(17); }
[[maybe_unused]] long CountTraced(const std::string& line) { return calltrace::CountTraced(line, 17); }

// An item command; its sounds are heard wherever the chara is.
cEdFlowCmd Item(int kind, std::initializer_list<std::pair<int, int32_t>> set = {}) {
    cEdFlowCmd c = Command(kind, set, cEdFlowCmd::FAMILY_ITEM);
    c.m_bSoundOnScreenOnly = 0;
    return c;
}
// A flow change with nested flows of the given IDs (one wait each).
cEdFlowCmd Change(int mode, int32_t id, std::initializer_list<int> ids) {
    cEdFlowCmd c = Item(ICMD_CHANGE_FLOW, {{0, mode}, {1, id}});
    for (int i : ids) c.m_vecFlow.push_back(MakeFlow(i, {Wait(1)}));
    return c;
}
std::string Ids(const cChara& c) {
    std::string s;
    for (const cFlow& f : c.m_vFlows) s += static_cast<char>('A' + f.m_lpDef->m_nId - 1);
    return s;
}

class ItemCommandTest : public CommandWorld {
protected:
    void SetUp() override {
        CommandWorld::SetUp();
    SetMainThread();  // sound requests are served at once
    SetMediaCallLog(true);
        ClearMediaCallLog();
        m_savedItems = g_CommonPalette.m_vecItemPalette;
    }
    void TearDown() override {
        SetDebugLog(0, "");
        g_CommonPalette.m_vecItemPalette = m_savedItems;
        CommandWorld::TearDown();
    }
    // The hero's flows from definitions, built as a player's.
    cCharaPlayer& PlayerWith(std::vector<cEdFlow> flows) {
        cEdChara def = charatest::MakeCharaDef(std::move(flows));
        def.m_nSide = 0;
        cCharaPlayer& p = Hero();
        p.InitPlayer(def, 1);
        p.m_vTargets.assign(kTargetSlots, nullptr);
        return p;
    }
    std::vector<cEdItem> m_savedItems;
    testsupport::TempWorkDir m_dir;
};

TEST_F(ItemCommandTest, NothingRunsAfterAStageClear) {
    std::vector<cEdFlowCmd> cmds{Item(ICMD_PLAY_SE, {{0, 1}}), Item(ICMD_STAGE_CLEAR), Item(ICMD_PLAY_SE, {{0, 2}})};
    int32_t vars[2] = {};
    EXPECT_EQ(Hero().RunItemCommands(cmds, vars), PlayResult::StageClear);
    EXPECT_EQ(Traced(), (std::vector<std::string>{"se 1"}));
}

// The first message of an item opens unchained, every later one chained
// (no sound 12, no start delay: answered two frames after it opens, as the
// keys are scripted), whatever the first one waited for.
TEST_F(ItemCommandTest, MessagesChainFromTheFirst) {
    testsupport::cMessageDevice device;
    ASSERT_TRUE(device.Open(m_scene));
    struct Case {
        int firstWait, draws;
        std::vector<int> sounds;
    };
    const Case cases[] = {
        {2, 4, {13, 13}},            // timed first: no frame, then two chained ones
        {0, 24, {12, 13, 13, 13}},  // a button first: 20 frames, then the two chained ones
    };
    for (const Case& k : cases) {
        testsupport::cNestedLoopDriver loop;
        loop.PressEveryOtherFrame();
        soundlog::Scope sounds;
        std::vector<cEdFlowCmd> cmds{Item(ICMD_MESSAGE, {{6, k.firstWait}, {8, 1}}), Item(ICMD_MESSAGE, {{8, 1}}),
                                     Item(ICMD_MESSAGE, {{8, 1}})};
        int32_t vars[2] = {};
        m_scene.m_bItemMessageShown = 1;  // the runner clears it
        loop.RunAsGame([&] { Hero().RunItemCommands(cmds, vars); });
        EXPECT_EQ(loop.draws, k.draws) << k.firstWait;
        EXPECT_EQ(soundlog::Played(), k.sounds) << k.firstWait;
        EXPECT_EQ(m_scene.m_bItemMessageShown, 1);
    }
}

// The warp and the status operation report into the item's own pair.
TEST_F(ItemCommandTest, WarpReportsIntoTheItemsPair) {
    MakeMap({{20, 14}, {20, 15}, {20, 16}, {20, 17}});  // a wall right of the hero
    cCharaPlayer& p = PlayerWith({});
    p.m_dX = 600;
    p.m_dY = 500;
    p.AfterMoveX();
    p.AfterMoveY();
    cEdFlowCmd warp = Item(ICMD_WARP, {{0, 1}});
    cEdMove& m = warp.m_spMove.Create();
    m.m_nDirection = 2;
    m.m_nDistance = 2;
    cEdFlowCmd away = warp;
    away.m_spMove->m_nDirection = 3;
    away.m_spMove->m_nDistance = 4;  // into the wall
    std::vector<cEdFlowCmd> cmds{warp};
    int32_t item[2] = {0, 7};
    const int32_t flowVars[2] = {m_vars[0], m_vars[1]};
    g_SystemData.m_bCompat981 = 1;
    Hero().RunItemCommands(cmds, item);
    EXPECT_EQ(item[0], 1);
    EXPECT_EQ(item[1], 0);
    EXPECT_EQ(p.m_dX, 600 - 32);
    cmds = {away};
    Hero().RunItemCommands(cmds, item);
    EXPECT_EQ(item[0], 2);
    EXPECT_EQ(m_vars[0], flowVars[0]);
    EXPECT_EQ(m_vars[1], flowVars[1]);
}

TEST_F(ItemCommandTest, ChangeFlowByModeAndId) {
    struct Case {
        const char* name;
        cEdFlowCmd cmd;
        const char* flows;
    };
    const Case cases[] = {
        {"add", Change(0, 0, {4, 5}), "ABADE"},
        {"replace A: at the first A", Change(1, 1, {4, 5}), "DEB"},
        {"replace B", Change(1, 2, {4}), "ADA"},
        {"replace by the low byte", Change(1, 0x102, {4}), "ADA"},
        {"replace a missing ID: at the end", Change(1, 3, {4}), "ABAD"},
        {"replace all", Change(1, 0, {4, 5}), "DE"},
        {"delete A", Change(2, 1, {4}), "B"},
        {"delete all", Change(2, 0, {4}), ""},
        {"another mode", Change(3, 1, {4}), "ABA"},
    };
    for (const Case& k : cases) {
        cTestChara& c = Add(2);
        c.InitChara(nullptr, nullptr, 0);
        c.m_Def.m_vecFlow = {MakeFlow(1, {Wait(1)}), MakeFlow(2, {Wait(1)}), MakeFlow(1, {Wait(1)})};
        c.InsertFlows(c.m_Def.m_vecFlow, 0, 0);
        m_scene.m_lpCurChara = &c;
        DoChangeFlow(c, k.cmd, 0);
        EXPECT_EQ(Ids(c), k.flows) << k.name;
        charatest::ExpectOwnDefinitions(c);
    }
}

// While the first player runs its flows, changes wait in its queue, in
// order, as copies of their own.
TEST_F(ItemCommandTest, ThePlayersQueue) {
    cCharaPlayer& p = PlayerWith({MakeFlow(1, {Wait(1)})});
    m_scene.m_lpCurChara = &p;
    cEdFlowCmd first = Change(0, 0, {4});
    first.m_spMove.Create().m_nDistance = 3;
    DoChangeFlow(p, first, 0);
    DoChangeFlow(p, Change(2, 1, {}), 0);
    first.m_spMove->m_nDistance = 9;
    first.m_vecFlow.clear();
    ASSERT_EQ(p.m_vecPendingFlowChange.size(), 2u);
    EXPECT_EQ(Ids(p), "A");
    const cEdFlowCmd& q = p.m_vecPendingFlowChange[0];
    EXPECT_EQ(q.m_spMove->m_nDistance, 3);
    EXPECT_NE(q.m_spMove.get(), first.m_spMove.get());
    EXPECT_EQ(q.m_vecFlow.size(), 1u);
    // Forced, or for another current chara, the change is made at once.
    DoChangeFlow(p, Change(0, 0, {5}), 1);
    EXPECT_EQ(Ids(p), "AE");
    m_scene.m_lpCurChara = nullptr;
    DoChangeFlow(p, Change(0, 0, {6}), 0);
    EXPECT_EQ(Ids(p), "AEF");
}

// A flow change got by an item in the player's own flow: the new flow is
// there after the update, has not run, and runs once trigger 0 starts it.
TEST_F(ItemCommandTest, AFlowChangeByGetItemInThePlayersFlow) {
    cEdItem def;
    def.m_vecCmd = {Change(0, 0, {4})};
    def.m_vecCmd[0].m_vecFlow[0].m_vecCmd[0].m_nSound = 44;
    g_CommonPalette.m_vecItemPalette = {def};
    static int waits;
    waits = 0;
    CmdExecTable[CMD_WAIT] = [](cChara&, cFlowCmd& cmd) { waits += cmd.m_lpDef->m_nSound == 44; };
    cCharaPlayer& p = PlayerWith({MakeFlow(1, {Command(CMD_GET_ITEM, {{0, 0}, {1, 0}}), Wait(10)})});
    StartFlow(p.m_vFlows[0]);
    EXPECT_EQ(p.UpdateChara(0), 0);
    EXPECT_EQ(Ids(p), "AD");
    EXPECT_EQ(p.m_vFlows[1].m_bRunning, 0);
    EXPECT_TRUE(p.m_vecPendingFlowChange.empty());
    EXPECT_EQ(waits, 0);
    // The next sub-step: trigger 0 starts the always-flow, which runs.
    for (cFlow& f : p.m_vFlows)
        if (!f.m_bRunning) StartFlow(f);
    p.UpdateChara(0);
    EXPECT_EQ(waits, 1);
}

TEST_F(ItemCommandTest, GetItemSetsTheStageEndRequest) {
    cEdItem clear, plain;
    clear.m_vecCmd = {Item(ICMD_PLAY_SE, {{0, 3}}), Item(ICMD_STAGE_CLEAR)};
    g_CommonPalette.m_vecItemPalette = {plain, clear};
    g_Stage.m_vecItemPalette = {clear};
    struct Case {
        int palette, index, before, after;
        const char* trace;
    };
    const Case cases[] = {
        {0, 1, 0, 1, "se 3"},
        {1, 0, 0, 1, "se 3"},
        {0, 0, 2, 0, ""},  // 0 overwrites too
        {2, 1, 2, 2, ""},  // another palette: nothing
    };
    for (const Case& k : cases) {
        ClearMediaCallLog();
        m_scene.m_nStageEndRequest = k.before;
        cEdFlowCmd cmd = Command(CMD_GET_ITEM, {{0, k.palette}, {1, k.index}});
        cFlowCmd inst;
        inst.m_lpDef = &cmd;
        CmdExecTable[CMD_GET_ITEM](Hero(), inst);
        EXPECT_EQ(m_scene.m_nStageEndRequest, k.after) << k.palette << k.index;
        EXPECT_EQ(Traced(), k.trace[0] ? std::vector<std::string>{k.trace} : std::vector<std::string>{});
        EXPECT_EQ(m_scene.m_lpCurFlowVars, m_vars);  // back on the flow's pair
    }
    // A bad index is reported and entry 0 given.
    cEdFlowCmd bad = Command(CMD_GET_ITEM, {{0, 1}, {1, 5}});
    m_scene.m_nStageEndRequest = 0;
    DoGetItem(Hero(), bad);
    EXPECT_EQ(m_scene.m_nStageEndRequest, 1);
    EXPECT_EQ(g_bQuit, 1);
    g_bQuit = 0;
}

// An item that gets itself stops at the nesting cap with a line in the
// debug log; on a worker thread's stack.
TEST_F(ItemCommandTest, AnItemGettingItselfStopsAtTheCap) {
    const std::filesystem::path log = m_dir.Path() / "ZI_Vare.txt";
    SetDebugLog(1, log.string());
    cEdItem self;
    self.m_vecCmd = {Item(ICMD_PLAY_SE, {{0, 1}}), Item(ICMD_GET_ITEM, {{0, 0}, {1, 0}})};
    g_CommonPalette.m_vecItemPalette = {self};
    ClearMediaCallLog();
    cThread worker;
    ASSERT_TRUE(worker.Start(
        [](void*) -> unsigned {
            SetMainThread();  // its sound requests are served at once
            DoGetItem(g_vPlayers[0], Command(CMD_GET_ITEM, {{0, 0}, {1, 0}}));
            return 0;
        },
        nullptr));
    worker.Wait();
    SetMainThread();
    EXPECT_EQ(static_cast<int>(Traced().size()), kCmdNestingCap);
    std::ifstream in(log);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("deeper than 1000"), std::string::npos) << text.str();
    // The depth unwinds: the next get runs again.
    ClearMediaCallLog();
    g_CommonPalette.m_vecItemPalette[0].m_vecCmd.pop_back();
    DoGetItem(Hero(), Command(CMD_GET_ITEM, {{0, 0}, {1, 0}}));
    EXPECT_EQ(Traced().size(), 1u);
}

// The presentation kinds run the presentation commands' workers on the
// chara that got the item.
TEST_F(ItemCommandTest, PresentationCommandsRunTheirWorkers) {
    const std::vector<cEdBackground> savedBackgrounds = g_Stage.m_vecBackground;
    g_Stage.m_vecBackground.assign(2, cEdBackground{});
    for (cEdBackground& b : g_Stage.m_vecBackground) b.m_bShow = 0;
    m_scene.m_lstEffects.emplace_back();
    std::vector<cEdFlowCmd> cmds{Item(ICMD_CHANGE_GRAPHIC, {{0, 2}, {1, 17}, {2, 3}}), Item(ICMD_PLAY_SE, {{0, 9}}),
                                 Item(ICMD_PLAY_BGM, {{0, 1}, {1, 4}}), Item(ICMD_CHANGE_BACKGROUND, {{0, 2}}),
                                 Item(ICMD_RUN_EFFECT, {{0, 0}})};
    int32_t vars[2] = {};
    EXPECT_EQ(Hero().RunItemCommands(cmds, vars), PlayResult::Continue);
    EXPECT_EQ(Hero().m_Def.m_nGraphicKind, 2);
    EXPECT_EQ(Hero().m_nGraphic, 17);
    EXPECT_EQ(Hero().m_Def.m_nGraphicCell, 3);
    EXPECT_EQ(Traced(), (std::vector<std::string>{"se 9", "bgm 4 1"}));
    EXPECT_EQ(g_Stage.m_vecBackground[0].m_bShow + 2 * g_Stage.m_vecBackground[1].m_bShow, 2);
    EXPECT_TRUE(m_scene.m_lstEffects.empty());  // effect 0 clears them
    g_Stage.m_vecBackground = savedBackgrounds;
}

TEST_F(ItemCommandTest, KindsOutsideTheTableRunNothing) {
    cEdFlowCmd odd = Item(ICMD_NONE);
    odd.m_nKind = 40;
    EXPECT_EQ(RunItemCommand(Hero(), odd), 0);
    odd.m_nKind = ICMD_LOOP;
    EXPECT_EQ(RunItemCommand(Hero(), odd), 0);
}

}  // namespace
