// The demo's stages together use the engine whole: every chara and item
// command kind, the two ways of a straight move and the three of a warp,
// every flow trigger, a key sequence, every condition kind, every shot
// trajectory and formation, every chara-effect and screen-effect kind of the
// database records they run, every foot effect of a block, a deadly and a
// latched block, a block chara, auto-scroll and a time limit. What no stage
// uses yet is listed below with its reason; the list must match exactly, so
// the test fails both when a listed feature comes into use and when an
// unlisted one goes missing. Today the stages use everything.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "records/cmd_kinds.h"
#include "records/database.h"
#include "records/ed_block.h"
#include "records/ed_chara.h"
#include "records/ed_flow.h"
#include "records/ed_item.h"
#include "records/ed_shot.h"
#include "records/stage.h"
#include "tests/support/demo_template.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

const char* const kCharaCmdNames[CHARA_CMD_KIND_COUNT] = {
    "none", "wait", "straight move", "ground turn-back move", "circle move", "charge move", "homing move",
    "off-screen avoiding move", "move disable", "facing change", "jump", "shot", "sword", "block summon",
    "chara summon", "item summon", "flow control", "stage clear", "game wait", "message", "warp", "target set",
    "status operation", "status operation 2", "vanish", "item get", "graphic change", "anime set change",
    "anime run", "effect run", "chara effect run", "screen effect run", "picture", "screen colour",
    "background change", "sound effect", "music", "code", "arrange", "loop"};

const char* const kTriggerNames[FLOW_TRIGGER_COUNT] = {
    "always", "damaged (power)", "damaged", "impacted (power)", "impacted", "died", "hit a chara",
    "hit a block chara", "on a block chara", "hit a shot", "hit an item", "hit a block", "block left or right",
    "block left", "block right", "block up or down", "block up", "block down", "ridden by the hero",
    "ridden by a chara", "attack damage (power)", "attack damage", "attack impact (power)", "attack impact",
    "attack hit", "stage start", "none (flow control only)"};

std::string Num(const char* what, int n) { return std::string(what) + " " + std::to_string(n); }

// Every feature the check looks for, by name.
std::set<std::string> AllFeatures() {
    std::set<std::string> all;
    for (int k = 1; k < CHARA_CMD_KIND_COUNT; ++k) all.insert(std::string("command: ") + kCharaCmdNames[k]);
    all.insert("item command: flow change");
    for (int k = 2; k < ITEM_CMD_KIND_COUNT; ++k)
        all.insert(std::string("item command: ") + kCharaCmdNames[ItemCmdToCharaCmd(k)]);
    all.insert("straight move: by direction");
    all.insert("straight move: to target coordinates");
    all.insert("warp: direction and distance");
    all.insert("warp: from a target");
    all.insert("warp: to target coordinates");
    for (int t = 0; t < FLOW_TRIGGER_COUNT; ++t) all.insert(std::string("trigger: ") + kTriggerNames[t]);
    all.insert("key sequence of two steps or more");
    for (int c = 1; c < COND_KIND_COUNT; ++c) all.insert(Num("condition kind", c));
    for (int t = 0; t < SHOT_TRAJECTORY_COUNT; ++t) all.insert(Num("shot trajectory", t));
    for (int f = 0; f < SHOT_FORMATION_COUNT; ++f) all.insert(Num("shot formation", f));
    for (int k = 1; k <= 16; ++k) all.insert(Num("chara effect kind", k));
    for (int k = 1; k <= 13; ++k) all.insert(Num("screen effect kind", k));
    for (int f = 1; f <= cEdBlock::FOOT_RIGHT; ++f) all.insert(Num("block foot effect", f));
    all.insert("deadly block");
    all.insert("latched block");
    all.insert("block chara");
    all.insert("auto-scroll");
    all.insert("time limit");
    return all;
}

// What no demo stage uses, each with the reason.
const std::map<std::string, std::string> kNotUsed = {};

// Walks the stages' flows, commands, conditions and placements and notes
// what each uses.
class cUseWalker {
public:
    explicit cUseWalker(const cDatabase& db) : m_Db(db) {}
    std::set<std::string> used;

    void Stage(const cStage& s) {
        if (s.m_bAutoScrollX || s.m_bAutoScrollY) used.insert("auto-scroll");
        if (s.m_bTimeLimit) used.insert("time limit");
        for (const cEdBlock& b : s.m_vecBlockPalette) Block(b);
        for (const cEdBlock& b : s.m_vecPlacedBlock) Block(b);
        for (const cEdChara& c : s.m_vecCharaPalette) Chara(c);
        // Only the hero's side (0) and the computer's (1) are placed when a
        // stage starts: a chara on another side never appears, nor does
        // anything it would run.
        for (const cEdChara& c : s.m_vecPlacedChara)
            if (c.m_nSide == 0 || c.m_nSide == 1) Chara(c);
        for (const cEdItem& i : s.m_vecItemPalette) Item(i);
        for (const cEdItem& i : s.m_vecPlacedItem) Item(i);
    }

private:
    void Conds(const std::vector<cCond>& conds) {
        for (const cCond& c : conds)
            if (c.m_nKind >= 1 && c.m_nKind < COND_KIND_COUNT) used.insert(Num("condition kind", c.m_nKind));
    }
    void Block(const cEdBlock& b) {
        Conds(b.m_vecCond);
        if (b.m_nGraphic == 0) return;
        if (b.m_bCondLatch && !b.m_vecCond.empty()) used.insert("latched block");
        if (b.m_nHitMode == cEdBlock::HIT_DEADLY) used.insert("deadly block");
        if (b.m_nFootEffect >= 1 && b.m_nFootEffect <= cEdBlock::FOOT_RIGHT)
            used.insert(Num("block foot effect", b.m_nFootEffect));
    }
    void Chara(const cEdChara& c) {
        Conds(c.m_vecCond);
        if (c.m_bBlockChara) used.insert("block chara");
        for (const cEdFlow& f : c.m_vecFlow) Flow(f);
    }
    void Item(const cEdItem& i) {
        Conds(i.m_vecCond);
        for (const cEdFlowCmd& c : i.m_vecCmd) Command(c);
    }
    void Flow(const cEdFlow& f) {
        if (f.m_nTrigger >= 0 && f.m_nTrigger < FLOW_TRIGGER_COUNT)
            used.insert(std::string("trigger: ") + kTriggerNames[f.m_nTrigger]);
        if (f.m_vecKeyCond.size() >= 2) used.insert("key sequence of two steps or more");
        Conds(f.m_vecCond);
        for (const cEdFlowCmd& c : f.m_vecCmd) Command(c);
    }
    int Param(const cEdFlowCmd& c, size_t i) const { return i < c.m_vecParam.size() ? c.m_vecParam[i] : 0; }
    void Command(const cEdFlowCmd& c) {
        if (c.m_spCondList) Conds(c.m_spCondList->m_vecCond);
        for (const cEdFlow& f : c.m_vecFlow) Flow(f);
        int kind = -1;
        if (c.m_nFamily == cEdFlowCmd::FAMILY_CHARA && c.m_nKind >= 1 && c.m_nKind < CHARA_CMD_KIND_COUNT) {
            kind = c.m_nKind;
            used.insert(std::string("command: ") + kCharaCmdNames[kind]);
        } else if (c.m_nFamily == cEdFlowCmd::FAMILY_ITEM && c.m_nKind == ICMD_CHANGE_FLOW) {
            used.insert("item command: flow change");
        } else if (c.m_nFamily == cEdFlowCmd::FAMILY_ITEM && c.m_nKind >= 2 && c.m_nKind < ITEM_CMD_KIND_COUNT) {
            kind = ItemCmdToCharaCmd(c.m_nKind);
            used.insert(std::string("item command: ") + kCharaCmdNames[kind]);
        }
        if (kind == CMD_MOVE_STRAIGHT && c.m_spMove)
            used.insert(c.m_spMove->m_nMoveMode == 1 ? "straight move: to target coordinates"
                                                      : "straight move: by direction");
        if (kind == CMD_WARP && c.m_spMove) {
            const int mode = c.m_spMove->m_nMoveMode;
            used.insert(mode == 0 ? "warp: direction and distance"
                        : mode == 5 ? "warp: to target coordinates"
                                    : "warp: from a target");
        }
        if (kind == CMD_SHOT && c.m_spShot) {
            used.insert(Num("shot trajectory", c.m_spShot->m_nTrajectory));
            used.insert(Num("shot formation", c.m_spShot->m_nFormation));
        }
        if (kind == CMD_RUN_CHARA_EFFECT) {
            const int id = Param(c, 0);
            if (id > 0 && id < static_cast<int>(m_Db.m_vecCharaEffect.size()) &&
                m_Db.m_vecCharaEffect[static_cast<size_t>(id)].m_nKind > 0)
                used.insert(Num("chara effect kind", m_Db.m_vecCharaEffect[static_cast<size_t>(id)].m_nKind));
        }
        if (kind == CMD_RUN_SCREEN_EFFECT) {
            const int id = Param(c, 0);
            if (id > 0 && id < static_cast<int>(m_Db.m_vecScrEffect.size()) &&
                m_Db.m_vecScrEffect[static_cast<size_t>(id)].m_nKind > 0)
                used.insert(Num("screen effect kind", m_Db.m_vecScrEffect[static_cast<size_t>(id)].m_nKind));
        }
    }

    const cDatabase& m_Db;
};

TEST(DemoStageUse, TheStagesUseEveryKindButTheListedOnes) {
    testsupport::TempWorkDir dir;
    testsupport::CopyDemo(dir.Path());
    cDatabase db;
    ASSERT_TRUE(LoadDatabase(db));
    cUseWalker walker(db);
    int stages = 0;
    for (const auto& e : fs::directory_iterator(dir.Path() / "data" / "stg4")) {
        const std::string name = e.path().filename().string();
        if (!e.is_regular_file() || name.find(".stg4_001") == std::string::npos) continue;
        cStage stage;
        ASSERT_TRUE(stage.LoadStageFile("data\\stg4\\" + name)) << name << ": " << LastDataFileError();
        walker.Stage(stage);
        ++stages;
    }
    ASSERT_GT(stages, 0);

    const std::set<std::string> all = AllFeatures();
    for (const auto& [feature, reason] : kNotUsed) {
        SCOPED_TRACE(feature);
        EXPECT_TRUE(all.count(feature)) << "listed, but the check knows no such feature";
        EXPECT_FALSE(reason.empty());
        EXPECT_FALSE(walker.used.count(feature)) << "listed as not used, but a stage uses it: take it off the list";
    }
    for (const std::string& feature : all)
        if (!walker.used.count(feature))
            EXPECT_TRUE(kNotUsed.count(feature)) << "no stage uses " << feature;
}

// Fortress has no goal: its only stage clear is the boss's, run when the
// boss falls.
TEST(DemoStageUse, OnlyTheBossFallClearsTheFortress) {
    testsupport::TempWorkDir dir;
    testsupport::CopyDemo(dir.Path());
    cStage stage;
    ASSERT_TRUE(stage.LoadStageFile("data\\stg4\\Fortress.stg4_001")) << LastDataFileError();
    std::vector<std::string> clears;
    const auto note = [&](const std::string& where, const std::vector<cEdFlowCmd>& cmds, bool item) {
        for (const cEdFlowCmd& c : cmds)
            if ((item ? c.m_nFamily == cEdFlowCmd::FAMILY_ITEM && c.m_nKind == ICMD_STAGE_CLEAR
                      : c.m_nFamily == cEdFlowCmd::FAMILY_CHARA && c.m_nKind == CMD_STAGE_CLEAR))
                clears.push_back(where);
    };
    for (const cEdItem& i : stage.m_vecPlacedItem) note("item " + i.m_strName, i.m_vecCmd, true);
    for (const cEdItem& i : stage.m_vecItemPalette) note("palette item " + i.m_strName, i.m_vecCmd, true);
    for (const cEdChara& c : stage.m_vecPlacedChara)
        for (const cEdFlow& f : c.m_vecFlow)
            note(c.m_strName + (f.m_nTrigger == TRG_DIED ? " falling" : " flow"), f.m_vecCmd, false);
    EXPECT_EQ(clears, std::vector<std::string>{"Boss falling"});
}

}  // namespace
