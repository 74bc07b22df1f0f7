// The play step: the order of one frame over every kind of object, the
// time-out miss, a stage-end request, removals during the walks, the hero's
// input, the play time and the stage time, item pickups and the carrier.
#include <algorithm>
#include <string>
#include <vector>

#include "engine/flow_trigger.h"
#include "frontend/replay/replay_file.h"
#include "tests/support/temp_dir.h"
#include "base/frame_timing.h"
#include "engine/cmd_tables.h"
#include "engine/flow_runtime.h"
#include "media/input/input_list.h"
#include "media/media_services.h"
#include "play/chara_removal.h"
#include "play/draw_stage.h"
#include "tests/support/replay_io.h"
#include "tests/support/stage_builder.h"
#include "tests/support/play_trace.h"

using namespace stagetest;

namespace {

std::vector<std::string> g_trace;
cScenePlay* g_scene = nullptr;
cCharaComputer* g_victim = nullptr;  // what the scripted command removes

void TraceTrigger(cChara& c, int trigger, cChara*, int) {
    g_trace.push_back("ev" + std::to_string(trigger) + " k" + std::to_string(c.m_nKey));
}
void TraceOnce(cChara& c) { g_trace.push_back("once k" + std::to_string(c.m_nKey)); }
void TraceShot(cShot& s) { g_trace.push_back("shot " + std::to_string(s.m_nKey)); }

std::vector<std::string> Sounds() {
    std::vector<std::string> out;
    for (const std::string& call : MediaCallLog())
        if (call.rfind("PlaySe", 0) == 0) out.push_back(call);
    return out;
}

// The hero's item box, kept and put back.
struct CharaBox {
    explicit CharaBox(const cCharaPlayer& c) { std::copy(c.m_HitBox3.box, c.m_HitBox3.box + 4, box); }
    void Restore(cCharaPlayer& c) const { std::copy(box, box + 4, c.m_HitBox3.box); }
    double box[4];
};

class PlayStepTest : public StageTest {
protected:
    void SetUp() override {
        StageTest::SetUp();
        g_scene = &m_scene;
        g_trace.clear();
        m_savedType = g_SceneState.g_nGameType;
        g_SceneState.g_nGameType = 3;
        testsupport::PlayTrace().trigger = TraceTrigger;
        testsupport::PlayTrace().onceReset = TraceOnce;
        testsupport::PlayTrace().shotStep = TraceShot;
        testsupport::ReplayIo().Reset();
        SetMediaCallLog(true);
        ClearMediaCallLog();
        g_InputList.at(0).ClearDirInput();
        g_InputList.at(0).ClearButtonInput();
    }
    void TearDown() override {
        testsupport::PlayTrace().drawn = nullptr;
        testsupport::PlayTrace().trigger = nullptr;
        testsupport::PlayTrace().onceReset = nullptr;
        testsupport::PlayTrace().shotStep = nullptr;
        testsupport::ReplayIo().Reset();
        SetMediaCallLog(false);
        g_SceneState.g_nGameType = m_savedType;
        m_scene.m_lstShots.clear();
        StageTest::TearDown();
    }
    // A stage of the builder set up and in PLAY; trace cleared.
    void Start(StageBuilder& b) {
        b.Install();
        Setup();
        m_scene.m_nState = CSCENEPLAY_PLAY;
        g_trace.clear();
        ClearMediaCallLog();
    }
    // One frame; "draw" joins the trace when the draw pass ran.
    void Frame() {
        std::vector<std::string> drawn;
        testsupport::PlayTrace().drawn = &drawn;
        m_scene.UpdatePlay();
        testsupport::PlayTrace().drawn = nullptr;
        if (!drawn.empty()) g_trace.push_back("draw");
    }
    cCharaComputer& CharaKey(int key) {
        for (cCharaComputer& c : g_lstCharas)
            if (c.m_nKey == key) return c;
        ADD_FAILURE() << "no chara " << key;
        return g_lstCharas.front();
    }
    int m_savedType = 0;
};

TEST_F(PlayStepTest, OneFrameRunsItsStepsInOrder) {
    StageBuilder b(20, 10, 2);  // two sub-steps
    b.Hero(2, 5);
    b.Chara(6, 5).m_bBlockChara = 1;  // key 1
    b.Chara(9, 5);                    // key 2
    b.Item(2, 5);                     // under the hero: taken once
    Start(b);
    AddShot(1, 620, 420).m_nKey = 7;  // in view: not out of the area

    Frame();
    const std::vector<std::string> subStep = {"ev0 k1", "ev0 k0", "ev0 k2", "shot 7"};
    std::vector<std::string> want = {"once k0", "once k1", "once k2"};
    want.insert(want.end(), subStep.begin(), subStep.end());
    want.push_back("ev10 k0");  // the item, then it is gone
    want.insert(want.end(), subStep.begin(), subStep.end());
    want.push_back("draw");
    EXPECT_EQ(g_trace, want);
    EXPECT_TRUE(g_lstItems.empty());
    EXPECT_EQ(m_scene.m_nFrame, 1);
    EXPECT_EQ(m_scene.m_nSubStepTotal, 2);
    EXPECT_EQ(m_scene.m_nSubStep, 0);
}

TEST_F(PlayStepTest, ShotsFallUnlessTheyFly) {
    StageBuilder b(20, 10);
    b.Hero(2, 5);
    Start(b);
    // In view, so that no shot is out of the area.
    cShot& falling = AddShot(1, 620, 420);
    cShot& flying = AddShot(1, 720, 420);
    flying.m_bFlying = 1;
    const double g = g_Stage.m_dGravityStep;
    ASSERT_GT(g, 0.0);

    Frame();
    ASSERT_EQ(m_scene.m_lstShots.size(), 2u);
    // The gravity of a sub-step is in its vertical move already.
    EXPECT_DOUBLE_EQ(falling.m_dSpeedY, g);
    EXPECT_DOUBLE_EQ(falling.m_dY, 420 + g);
    EXPECT_DOUBLE_EQ(flying.m_dSpeedY, 0.0);
    EXPECT_DOUBLE_EQ(flying.m_dY, 420);
    Frame();
    ASSERT_EQ(m_scene.m_lstShots.size(), 2u);
    EXPECT_DOUBLE_EQ(falling.m_dY, 420 + 3 * g);
}

TEST_F(PlayStepTest, TimeOutMissesBeforeAnySubStep) {
    StageBuilder b(20, 10);
    b.Hero(2, 5);
    b.Chara(9, 5);
    b.Stage().m_bTimeLimit = 1;
    b.Stage().m_nTimeLimit = 1;
    Start(b);
    for (int i = 0; i < 59; ++i) FrameSkipCounter(1, 60);  // the 60th frame counts a second

    Frame();
    EXPECT_EQ(m_scene.m_nTimeLeft, 0);
    EXPECT_EQ(Sounds(), (std::vector<std::string>{"PlaySe 9"}));
    EXPECT_EQ(g_trace, (std::vector<std::string>{"ev5 k0"}));  // the hero's death only: no sub-step, no draw
    EXPECT_TRUE(HeroChara().m_bDead);
    EXPECT_EQ(m_scene.m_nSubStepTotal, 0);

    // With the hero dead, running out of time again does nothing.
    ClearMediaCallLog();
    for (int i = 0; i < 59; ++i) FrameSkipCounter(1, 60);
    m_scene.m_nTimeLeft = 1;
    Frame();
    EXPECT_TRUE(Sounds().empty());
}

TEST_F(PlayStepTest, StageEndRequestIsTakenAtTheHerosStep) {
    StageBuilder b(20, 10);
    b.Hero(2, 5);
    b.Chara(6, 5).m_bBlockChara = 1;  // key 1 asks for the stage end
    b.Chara(9, 5);                    // key 2
    Start(b);
    testsupport::PlayTrace().trigger = [](cChara& c, int trigger, cChara* p, int g) {
        if (c.m_nKey == 1 && trigger == 0) g_scene->m_nStageEndRequest = 1;
        TraceTrigger(c, trigger, p, g);
    };
    const double x = HeroChara().m_dX;

    Frame();
    EXPECT_EQ(m_scene.m_nState, CSCENEPLAY_STAGEEND);
    EXPECT_EQ(g_trace, (std::vector<std::string>{"once k0", "once k1", "once k2", "ev0 k1", "ev0 k0"}));
    EXPECT_EQ(HeroChara().m_dX, x);
    EXPECT_EQ(Sounds(), (std::vector<std::string>{"PlaySe 15"}));
}

// A command of chara 1 leaves chara 2 (the walk's next node) to vanish;
// the HP pass removes it at once and the walk goes on without it.
void VanishVictim(cChara&, cFlowCmd&) {
    g_victim->m_bDiesNow = 1;
    g_scene->m_bDeathPending = 1;
}

TEST_F(PlayStepTest, RemovalOfTheWalksNextCharaIsSeenAtOnce) {
    StageBuilder b(20, 10);
    b.Hero(2, 5);
    b.Chara(6, 5).m_vecFlow = {charatest::MakeFlow(1, {charatest::Wait(10)})};
    b.Chara(9, 5);
    b.Chara(12, 5);
    Start(b);
    CmdExecTable[1] = VanishVictim;
    g_victim = &CharaKey(2);
    StartFlow(CharaKey(1).m_vFlows.at(0));

    Frame();
    EXPECT_EQ(std::count(g_trace.begin(), g_trace.end(), "ev0 k2"), 0);
    EXPECT_EQ(std::count(g_trace.begin(), g_trace.end(), "ev0 k3"), 1);
    std::vector<int> keys;
    for (const cCharaComputer& c : g_lstCharas) keys.push_back(c.m_nKey);
    EXPECT_EQ(keys, (std::vector<int>{1, 3}));
    for (const std::list<cChara*>& group : m_scene.m_vCharaGroups)
        for (const cChara* member : group) EXPECT_NE(member->m_nKey, 2);
    EXPECT_EQ(FindCharaById(2), nullptr);
}

TEST_F(PlayStepTest, ARemovalDuringAWalkMarksAndTheEndOfTheWalkErases) {
    StageBuilder b(20, 10);
    b.Hero(2, 5);
    b.Chara(6, 5);
    b.Chara(9, 5);
    Start(b);
    cCharaComputer& c = CharaKey(1);
    m_scene.m_nCharaWalks = 1;
    c.m_bDiesNow = 1;
    EXPECT_FALSE(m_scene.CheckPlayerHP());
    EXPECT_TRUE(c.m_bRemoved);
    EXPECT_EQ(FindCharaById(1), nullptr);
    EXPECT_EQ(c.TargetSlot(0), nullptr);  // unlinked at once
    EXPECT_EQ(g_lstCharas.size(), 2u);
    m_scene.m_nCharaWalks = 0;
    PurgeRemovedCharas();
    ASSERT_EQ(g_lstCharas.size(), 1u);
    EXPECT_EQ(g_lstCharas.front().m_nKey, 2);
    for (const std::list<cChara*>& group : m_scene.m_vCharaGroups)
        for (const cChara* member : group) EXPECT_NE(member->m_nKey, 1);
}

TEST_F(PlayStepTest, InputHoldLatchAndRecording) {
    StageBuilder b(20, 10);
    b.Hero(2, 5);
    Start(b);
    static std::vector<int> recorded;
    recorded.clear();
    testsupport::ReplayIo().record = [](const int16_t words[2]) { recorded.push_back(words[1]); };
    g_SystemData.OptReplayRecord = 1;
    cInput& in = g_InputList.at(0);
    m_scene.m_bHoldButtons = 1;
    in.m_wButton = 1;
    Frame();  // held: the buttons read as released
    EXPECT_EQ(in.m_wButton, 0);
    in.m_wButton = 0;
    Frame();  // all released: the latch opens
    EXPECT_EQ(m_scene.m_bHoldButtons, 0);
    in.m_wButton = 2;
    HeroChara().m_bButtonLock = 1;
    Frame();
    EXPECT_EQ(recorded, (std::vector<int>{0, 0, 0}));
    HeroChara().m_bButtonLock = 0;
    in.m_wButton = 2;
    Frame();
    EXPECT_EQ(recorded.back(), 2);
}

TEST_F(PlayStepTest, PlayTimeAndStageTime) {
    m_scene.m_nPlayFrames = 359998;
    m_scene.m_nPlayTime = 599996;
    m_scene.UpdatePlayTime();
    EXPECT_EQ(m_scene.m_nPlayTime, 599998);
    m_scene.UpdatePlayTime();
    EXPECT_EQ(m_scene.m_nPlayTime, 599999);
    m_scene.UpdatePlayTime();
    EXPECT_EQ(m_scene.m_nPlayTime, 599999);
    EXPECT_EQ(m_scene.m_nPlayFrames, 360000);

    FrameSkipCounter(0, 60);
    m_scene.m_bNoTimeLimit = 0;
    m_scene.m_nTimeLeft = 999;
    int ticks = 0;
    for (int i = 0; i < 120; ++i) ticks += m_scene.CountDownTime(+5) ? 1 : 0;
    EXPECT_EQ(m_scene.m_nTimeLeft, 999);  // held below 1000
    m_scene.m_nTimeLeft = 2;
    for (int i = 0; i < 119; ++i) ticks += m_scene.CountDownTime(-1);
    EXPECT_EQ(ticks, 0);
    EXPECT_EQ(m_scene.m_nTimeLeft, 1);
    EXPECT_EQ(m_scene.CountDownTime(-1), 1);
    EXPECT_EQ(m_scene.m_nTimeLeft, 0);
    m_scene.m_bNoTimeLimit = 1;
    for (int i = 0; i < 60; ++i) EXPECT_EQ(m_scene.CountDownTime(-1), 0);
}

TEST_F(PlayStepTest, ItemsOfEachTakeMode) {
    StageBuilder b(20, 10);
    b.Hero(2, 5);
    cEdItem& always = b.Item(2, 5);
    always.m_nTakeMode = cEdItem::TAKE_ALWAYS;
    always.m_nSound = 4;
    b.Item(2, 5).m_nTakeMode = cEdItem::TAKE_NEVER;
    b.Item(2, 5).m_nSound = 3;
    Start(b);
    for (cItem& item : g_lstItems) item.m_bActive = 1;
    EXPECT_EQ(TouchItems(HeroChara(), g_lstItems), PlayResult::Continue);
    EXPECT_EQ(g_lstItems.size(), 2u);  // the once item is gone
    EXPECT_EQ(Sounds(), (std::vector<std::string>{"PlaySe 21", "PlaySe 20"}));  // user sounds 4 and 3
    EXPECT_EQ(g_trace, (std::vector<std::string>{"ev10 k0", "ev10 k0"}));
    // Still touching: the hit event, but the always item waits to be left.
    TouchItems(HeroChara(), g_lstItems);
    EXPECT_EQ(Sounds().size(), 2u);
    CharaBox saved(HeroChara());
    HeroChara().m_HitBox3.box[0] = HeroChara().m_HitBox3.box[2] = 5000;
    TouchItems(HeroChara(), g_lstItems);
    saved.Restore(HeroChara());
    TouchItems(HeroChara(), g_lstItems);
    EXPECT_EQ(Sounds().size(), 3u);
    EXPECT_EQ(GiveItem(nullptr, &HeroChara()), PlayResult::Continue);
}

TEST_F(PlayStepTest, RiderFollowsItsCarrier) {
    StageBuilder b(20, 10);
    b.Hero(2, 5);
    b.Chara(6, 5).m_bBlockChara = 1;
    Start(b);
    cCharaComputer& carrier = CharaKey(1);
    cCharaPlayer& hero = HeroChara();
    hero.m_nRiddenKey = 1;
    hero.m_adRiddenBox[0] = carrier.m_dX - 3;
    hero.m_adRiddenBox[1] = carrier.m_dY + 2;
    hero.m_dSpeedX = 1;
    carrier.m_bFlying = 1;
    carrier.m_bActing = 1;
    RideCarrier(hero, g_lstCharas);
    EXPECT_DOUBLE_EQ(hero.m_dSpeedX, 4);
    EXPECT_DOUBLE_EQ(hero.m_dSpeedY, -2);
    EXPECT_EQ(g_trace, (std::vector<std::string>{"ev18 k1", "ev19 k1"}));
}

}  // namespace

namespace {

TEST_F(PlayStepTest, PlaybackTakesTheRecordedInputAndItsEndStartsTheNextReplay) {
    StageBuilder b(20, 10);
    b.Hero(2, 5);
    Start(b);
    // The replay played again at the streams' end is read from its file.
    testsupport::TempWorkDir dir;
    const std::string path = (dir.Path() / "next.rpl4_1000").string();
    ASSERT_EQ(WriteReplayFile(g_Replay, path, g_Stage, g_StageStart, g_Progress), 1);
    g_Stage.m_strPath = path;
    g_SceneState.g_nGameType = 4;
    static int frames = 0;
    frames = 0;
    testsupport::ReplayIo().play = [](int16_t words[2]) {
        if (++frames > 2) return 1;
        words[0] = INPUT_RIGHT;
        words[1] = 1;
        return 0;
    };
    cInput& in = g_InputList.at(0);
    Frame();
    EXPECT_EQ(in.m_sDir, INPUT_RIGHT);
    EXPECT_EQ(in.m_nDirNumber, 6);
    EXPECT_EQ(in.m_wButton, 1);
    Frame();
    Frame();  // the streams are exhausted
    EXPECT_EQ(m_scene.m_nState, CSCENEPLAY_READY);
    EXPECT_EQ(g_trace.back(), "ev25 k0");  // the stage was set up again, not drawn
}

// A knock-back wears off by 1 / sub-steps at the end of each sub-step of a
// chara: an impact of 10 at 4 sub-steps is gone after 10 frames, and a
// walker knocked upwards gets its gravity back and falls again.
TEST_F(PlayStepTest, KnockBackWearsOff) {
    StageBuilder b(40, 20, 4);
    b.Hero(2, 5);
    b.Stage().m_vecPlacedChara.back().m_nMoveType = 1;  // the hero flies: no floor needed
    cEdChara& flyer = b.Chara(8, 5);                    // key 1
    flyer.m_nMoveType = 1;
    flyer.m_nActivationRange = 3;
    b.Chara(12, 4).m_nActivationRange = 3;  // key 2, a walker in the air
    Start(b);
    cCharaComputer& knocked = CharaKey(1);
    cCharaComputer& lifted = CharaKey(2);
    knocked.m_dImpactX = 10;
    lifted.m_dImpactY = -2;
    lifted.m_dPrevImpactY = -2;
    for (int frame = 1; frame <= 12; ++frame) {
        Frame();
        SCOPED_TRACE(frame);
        EXPECT_EQ(knocked.m_dImpactX, std::max(0, 10 - frame));
        if (frame == 2) EXPECT_EQ(lifted.m_dImpactY, 0.0) << "-2 wears off in 8 sub-steps";
    }
    const double x = knocked.m_dX;
    Frame();
    EXPECT_EQ(knocked.m_dX, x) << "stopped";
    EXPECT_GT(lifted.m_dSpeedY, 0.0) << "falling again";
    EXPECT_EQ(lifted.m_bDead, 0);
}

}  // namespace
