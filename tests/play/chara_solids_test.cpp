// Charas against solid block charas: one table of scenarios (a chara, the
// solids with their speeds and previous boxes, a small map, the switches)
// checked for position, contact flags, riding state, events and result;
// then a ride carried over several frames. The solids are the stage's live
// chara list, so the block-chara probes and the map pass run for real.
#include "play/chara_solids.h"

#include <cmath>
#include <string>
#include <vector>

#include "engine/flow_trigger.h"
#include "tests/support/chara_fixture.h"
#include "tests/support/play_trace.h"

using namespace charatest;

namespace {

std::string g_log;  // "key:trigger/partner" of every event
void Log(const std::string& s) { g_log += (g_log.empty() ? "" : " ") + s; }

void LogTrigger(cChara& c, int trigger, cChara* partner, int) {
    Log(std::to_string(c.m_nKey) + ":" + std::to_string(trigger) + (partner ? "/" + std::to_string(partner->m_nKey) : ""));
}

constexpr int kCharaKey = 1;
constexpr int kFirstSolidKey = 11;

// A solid at (x, y) that moved by (vx, vy) in this sub-step: its box at the
// start of the sub-step lies that far back.
struct SolidSpec {
    double x, y;
    double vx = 0, vy = 0;
    int size = 1;  // 32 x 32 dots per multiple
    int kind = 0;  // kSolid, kDead, kIdle (not acting), kPlain (no block chara)
};
enum SolidKind { kSolid, kDead, kIdle, kPlain };

enum Compat { C808 = 1, C818 = 2, C839 = 4 };

struct Scenario {
    const char* name;
    // The chara: position, this sub-step's move (its box at the start of the
    // sub-step lies that far back), movement mode (0 walking,
    // 1..3 flying with wall mode 0..2), size multiple.
    double x, y;
    double vx = 0, vy = 0;
    int move = 0;
    int size = 1;
    int side = 1;
    int onBlock = 0;
    double impactY = 0;
    std::array<int, 4> contactsBefore{};  // from the map-wall passes
    std::vector<SolidSpec> solids{};
    std::vector<std::pair<int, int>> cells{};  // solid map cells
    int compat = 0;
    // Expected.
    int result = 0;
    double ex = NAN, ey = NAN;  // NAN: unchanged
    std::array<int, 4> contacts{};
    int onBlockAfter = 0;
    int ridden = -1;
    const char* events = "";
    int pushed = 0;
    double speedY = NAN;    // NAN: not checked
    double impactYAfter = NAN;
};

// Walking chara 16 x 24 at (408, y): cells 12..13 across. Flying chara 16 x 16.
const std::vector<Scenario>& Scenarios() {
    static const std::vector<Scenario> s = {
        // Landing.
        {.name = "fast fall lands with the upper half inside", .x = 408, .y = 470, .vy = 10,
         .solids = {{400, 480}}, .ey = 456, .onBlockAfter = 1, .ridden = 11, .events = "11:19/1 1:7 1:8",
         .speedY = 0},
        {.name = "slow fall onto the feet lands", .x = 408, .y = 458, .vy = 1, .solids = {{400, 480}}, .ey = 456,
         .onBlockAfter = 1, .ridden = 11, .events = "11:19/1 1:7 1:8"},
        {.name = "standing on a sinking solid keeps standing", .x = 408, .y = 457, .vy = 2, .onBlock = 1,
         .solids = {{400, 480, 0, 2}}, .ey = 456, .onBlockAfter = 1, .ridden = 11, .events = "1:7 1:8"},
        {.name = "a map cell at a corner drops the landing on a sinking solid", .x = 408, .y = 457, .vy = 2,
         .onBlock = 1, .solids = {{400, 480, 0, 2}}, .cells = {{13, 14}}, .ey = 457, .onBlockAfter = 0,
         .ridden = 11, .events = "1:7"},
        {.name = "landing on a rising solid touches the bottom", .x = 408, .y = 458, .solids = {{400, 477, 0, -3}},
         .ey = 453, .contacts = {0, 0, 0, 1}, .onBlockAfter = 1, .ridden = 11, .events = "11:19/1 1:7 1:8"},
        {.name = "a side-0 chara landing tells both ridden events", .x = 408, .y = 458, .vy = 1, .side = 0,
         .solids = {{400, 480}}, .ey = 456, .onBlockAfter = 1, .ridden = 11,
         .events = "11:18/1 11:19/1 1:7 1:8"},
        // Head pushes.
        {.name = "head under a still solid", .x = 408, .y = 430, .vy = -3, .solids = {{400, 400}}, .ey = 432,
         .events = "1:7", .speedY = 0},
        {.name = "a head pushed into a map cell hits the ceiling there", .x = 408, .y = 430, .vy = -3,
         .solids = {{400, 400}}, .cells = {{12, 13}}, .ey = 448, .contacts = {0, 0, 1, 0}, .events = "1:11 1:15 1:16 1:7",
         .speedY = 0},
        {.name = "head under a rising solid: pushed with its speed", .x = 408, .y = 430, .vy = -3,
         .solids = {{400, 400, 0, -2}}, .ey = 432, .events = "1:7", .speedY = -2},
        {.name = "head push under a rising solid refused by a map corner", .x = 408, .y = 430, .vy = -3,
         .solids = {{400, 400, 0, -2}}, .cells = {{12, 14}}, .ey = 428.5, .events = "1:7", .speedY = -3},
        {.name = "head push under a rising solid refused by a second solid", .x = 408, .y = 430, .vy = -3,
         .solids = {{400, 400, 0, -2}, {423, 446}}, .ex = 406.5, .ey = 430, .contacts = {0, 1, 0, 0},
         .events = "1:7", .pushed = 1, .speedY = -3},
        {.name = "a fast jump that swept past the solid's bottom hits the head", .x = 420, .y = 418, .vy = -16,
         .solids = {{400, 400}}, .ey = 432, .events = "1:7", .speedY = 0},
        {.name = "the same overlap without the sweep is a side hit", .x = 420, .y = 418, .vy = -1,
         .solids = {{400, 400}}, .ex = 432.5, .contacts = {1, 0, 0, 0}, .events = "1:7", .pushed = 1},
        {.name = "a solid moving down touches the top", .x = 408, .y = 430, .vy = -3, .solids = {{400, 400, 0, 1}},
         .ey = 432, .contacts = {0, 0, 1, 0}, .events = "1:7", .speedY = 1},
        {.name = "riding up into a sinking solid: touched at both ends, crushed", .x = 408, .y = 430, .vy = -3,
         .onBlock = 1, .solids = {{400, 400, 0, 1}}, .result = 2, .ey = 432, .contacts = {0, 0, 1, 1},
         .onBlockAfter = 1, .events = "1:7 1:8", .speedY = 1},
        {.name = "808 off: the head push clears the knock-back", .x = 408, .y = 430, .vy = -3, .impactY = -3,
         .solids = {{400, 400}}, .ey = 432, .events = "1:7", .impactYAfter = 0},
        {.name = "808 on: the head push keeps the knock-back", .x = 408, .y = 430, .vy = -3, .impactY = -3,
         .solids = {{400, 400}}, .compat = C808, .ey = 432, .events = "1:7", .impactYAfter = -3},
        // A chara three times the size (48 x 72) whose top lies above the solid's.
        {.name = "839 off: a tall chara's head needs its top below the solid's", .x = 392, .y = 365, .size = 3,
         .solids = {{400, 400}}, .ey = 365, .events = "1:7"},
        {.name = "839 on: a tall chara's head is pushed", .x = 392, .y = 365, .size = 3, .solids = {{400, 400}},
         .compat = C839, .ey = 432, .events = "1:7"},
        // Sides.
        {.name = "side push without a stand-on-top candidate", .x = 406, .y = 440, .solids = {{377, 430, 2, 0}},
         .ex = 409.5, .contacts = {1, 0, 0, 0}, .events = "1:7", .pushed = 1},
        {.name = "moving left tests the left line first", .x = 408, .y = 440, .vx = -1, .solids = {{392, 430}},
         .ex = 424.5, .contacts = {1, 0, 0, 0}, .events = "1:7", .pushed = 1},
        {.name = "standing tests the right line first", .x = 408, .y = 440, .solids = {{392, 430}}, .ex = 375.5,
         .contacts = {0, 1, 0, 0}, .events = "1:7", .pushed = 1},
        {.name = "side push with a stand-on-top candidate", .x = 408, .y = 441, .vy = 1,
         .solids = {{400, 464}, {377, 430, 1, 0}}, .ex = 409.5, .ey = 440, .contacts = {1, 0, 0, 0},
         .onBlockAfter = 1, .ridden = 11, .events = "11:19/1 1:7 1:8", .pushed = 1},
        {.name = "both sides and a stand-on-top candidate: no landing, crushed", .x = 408, .y = 441, .vy = 1,
         .solids = {{400, 464}, {377, 430, 1, 0}, {423, 430, -1, 0}}, .result = 2, .ex = 406.5,
         .contacts = {1, 1, 0, 0}, .ridden = 11, .events = "1:7", .pushed = 1},
        {.name = "both sides at the head, nothing underfoot: below the first solid", .x = 408, .y = 441, .vy = 1,
         .solids = {{377, 430}, {423, 420}}, .ey = 462, .events = "1:7", .speedY = 0},
        {.name = "both sides at the head, the other solid first", .x = 408, .y = 441, .vy = 1,
         .solids = {{423, 420}, {377, 430}}, .ey = 452, .events = "1:7"},
        {.name = "head push between two sides: x back, below the head solid", .x = 408, .y = 440, .vy = -1,
         .solids = {{400, 409}, {377, 430}, {423, 430}}, .ex = 408, .ey = 441, .events = "1:7", .pushed = 1},
        {.name = "the solid the chara rides on does not count as a push", .x = 406, .y = 440, .onBlock = 1,
         .solids = {{377, 430, 2, 0}, {400, 466}}, .ex = 409.5, .contacts = {1, 0, 0, 0}, .onBlockAfter = 1,
         .ridden = 12, .events = "1:7 1:8"},  // then it rides the solid 2 dots below
        {.name = "leaving the solid it rode on counts as pushed", .x = 406, .y = 440, .onBlock = 1,
         .solids = {{377, 430, 2, 0}}, .ex = 409.5, .contacts = {1, 0, 0, 0}, .events = "1:7 1:8", .pushed = 1},
        // Crushing.
        {.name = "pushed against a map wall of the same sub-step", .x = 406, .y = 440,
         .contactsBefore = {0, 1, 0, 0}, .solids = {{377, 430, 2, 0}}, .result = 2, .ex = 409.5,
         .contacts = {1, 1, 0, 0}, .events = "1:7", .pushed = 1},
        {.name = "wedged between a head solid and the solid it lands on", .x = 408, .y = 440,
         .solids = {{400, 420}, {400, 460}}, .result = 2, .ey = 436, .onBlockAfter = 1, .ridden = 12,
         .events = "12:19/1 1:7 1:8", .speedY = 0},
        // Freeing from map walls: at most 15 steps of 0.1 dot.
        {.name = "818 off: stepping out by the landing candidate", .x = 408, .y = 458, .vy = 1,
         .solids = {{400, 480}}, .cells = {{12, 14}}, .ey = 457.5, .onBlockAfter = 1, .ridden = 11,
         .events = "11:19/1 1:7 1:8"},
        {.name = "818 on: no contact flag, no stepping", .x = 408, .y = 458, .vy = 1, .solids = {{400, 480}},
         .cells = {{12, 14}}, .compat = C818, .ey = 456, .onBlockAfter = 1, .ridden = 11,
         .events = "11:19/1 1:7 1:8"},
        {.name = "818 on: stepping by a contact flag of the map pass", .x = 408, .y = 458, .vy = 1,
         .contactsBefore = {1, 0, 0, 0}, .solids = {{400, 480}}, .cells = {{12, 14}}, .compat = C818, .ex = 406.5,
         .ey = 456, .contacts = {1, 0, 0, 0}, .onBlockAfter = 1, .ridden = 11, .events = "11:19/1 1:7 1:8"},
        // Flyers.
        {.name = "wall mode 0 passes through", .x = 408, .y = 440, .move = 1, .solids = {{400, 410, 0, 2}}},
        {.name = "wall mode 1: pushed down by a solid moving down", .x = 408, .y = 440, .move = 2,
         .solids = {{400, 410, 0, 2}}, .ey = 442, .contacts = {0, 0, 1, 0}, .events = "1:7"},
        {.name = "wall mode 1: a solid rising away does not drag", .x = 408, .y = 440, .move = 2,
         .solids = {{416, 410, 0, -2}}, .ex = 400, .ey = 440, .contacts = {0, 1, 0, 0}, .events = "1:7",
         .pushed = 1},
        {.name = "wall mode 1: rising after a rising solid is pushed", .x = 408, .y = 440, .vy = -1, .move = 2,
         .solids = {{416, 410, 0, -2}}, .ey = 442, .contacts = {0, 0, 1, 0}, .events = "1:7"},
        {.name = "wall mode 1: pushed sideways", .x = 408, .y = 440, .move = 2, .solids = {{380, 436, 3, 0}},
         .ex = 412, .contacts = {1, 0, 0, 0}, .events = "1:7", .pushed = 1},
        {.name = "wall mode 1: stands on a solid below", .x = 408, .y = 440, .move = 2, .solids = {{400, 454}},
         .ey = 438, .contacts = {0, 0, 0, 1}, .events = "1:7"},
        {.name = "wall mode 1: a solid sinking away below does not drag", .x = 408, .y = 440, .move = 2,
         .solids = {{416, 454, 0, 2}}, .ex = 400, .ey = 440, .contacts = {0, 1, 0, 0}, .events = "1:7",
         .pushed = 1},
        {.name = "wall mode 1: a solid moving away sideways is settled on both vertical lines", .x = 408, .y = 440,
         .move = 2, .solids = {{420, 436, 3, 0}}, .ey = 420, .contacts = {0, 0, 1, 1}, .events = "1:7"},
        {.name = "wall mode 2: merely touching crushes", .x = 408, .y = 440, .move = 3, .solids = {{400, 409}},
         .result = 2, .contacts = {0, 0, 1, 0}, .events = "1:7"},
        // What is not a solid.
        {.name = "touching by one dot crushes", .x = 408, .y = 440, .move = 3, .solids = {{423, 440}}, .result = 2,
         .contacts = {0, 1, 0, 0}, .events = "1:7"},
        {.name = "one dot apart", .x = 408, .y = 440, .move = 3, .solids = {{424, 440}}},
        {.name = "dead, idle and plain charas are no solids", .x = 408, .y = 440, .move = 3,
         .solids = {{400, 440, 0, 0, 1, kDead}, {400, 440, 0, 0, 1, kIdle}, {400, 440, 0, 0, 1, kPlain}}},
    };
    return s;
}

class CharaSolidsTest : public CharaTest {
protected:
    void SetUp() override {
        CharaTest::SetUp();
        SetSubSteps(1);
        g_log.clear();
        testsupport::PlayTrace().trigger = LogTrigger;
    }
    static cEdChara Def(int moveType, int block, int size) {
        cEdChara d;
        d.m_nMoveType = static_cast<int8_t>(moveType);
        d.m_bBlockChara = static_cast<int8_t>(block);
        d.m_nSize = static_cast<int8_t>(size);
        return d;
    }
    static void Place(cCharaComputer& c, double x, double y, double vx, double vy) {
        c.m_dX = x;
        c.m_dY = y;
        c.AfterMoveX();
        c.AfterMoveY();
        c.m_dSpeedX = vx;
        c.m_dSpeedY = vy;
        c.m_adSavedBox[0] = x - vx;
        c.m_adSavedBox[1] = y - vy;
        c.m_adSavedBox[2] = c.m_dRight - vx;
        c.m_adSavedBox[3] = c.m_dBottom - vy;
    }
    cCharaComputer& AddSolid(int key, const SolidSpec& s) {
        cCharaComputer& solid = g_lstCharas.emplace_back();
        solid.InitComputer(key, Def(0, s.kind == kPlain ? 0 : 1, s.size), nullptr, nullptr, 0);
        solid.m_bActing = s.kind != kIdle;
        solid.m_bDead = s.kind == kDead;
        Place(solid, s.x, s.y, s.vx, s.vy);
        return solid;
    }
};

TEST_F(CharaSolidsTest, Scenarios) {
    for (const Scenario& sc : Scenarios()) {
        SCOPED_TRACE(sc.name);
        g_SystemData.m_bCompat808 = (sc.compat & C808) != 0;
        g_SystemData.m_bCompat818 = (sc.compat & C818) != 0;
        g_SystemData.m_bCompat839 = (sc.compat & C839) != 0;
        MakeMap({});
        for (auto [c, r] : sc.cells) g_vMapCells.at(CellIndex(c, r)) = [] {
            cMapCell cell;
            cell.m_nGraphic = 1;
            cell.m_nHitMode = 1;
            return cell;
        }();
        g_lstCharas.clear();
        for (size_t i = 0; i < sc.solids.size(); ++i) AddSolid(kFirstSolidKey + static_cast<int>(i), sc.solids[i]);

        cCharaComputer c;
        c.InitComputer(kCharaKey, Def(sc.move, 0, sc.size), nullptr, nullptr, 0);
        ASSERT_EQ(c.m_nWidth, 16 * sc.size);
        ASSERT_EQ(c.m_nHeight, (sc.move ? 16 : 24) * sc.size);
        c.m_nSide = sc.side;
        c.m_bActing = 1;
        Place(c, sc.x, sc.y, sc.vx, sc.vy);
        c.m_bOnBlockChara = sc.onBlock;
        if (sc.onBlock) c.m_nRiddenKey = kFirstSolidKey;
        c.m_dImpactY = c.m_dPrevImpactY = sc.impactY;
        for (int i = 0; i < 4; ++i) c.m_abContact[i] = sc.contactsBefore[i];
        g_log.clear();

        EXPECT_EQ(CollideSolids(c, g_lstCharas), sc.result);
        EXPECT_NEAR(c.m_dX, std::isnan(sc.ex) ? sc.x : sc.ex, 1e-9);
        EXPECT_NEAR(c.m_dY, std::isnan(sc.ey) ? sc.y : sc.ey, 1e-9);
        EXPECT_DOUBLE_EQ(c.m_dBottom, c.m_dY + c.m_nHeight - 1);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(c.m_abContact[i], sc.contacts[i]) << "contact " << i;
        EXPECT_EQ(c.m_bOnBlockChara, sc.onBlockAfter);
        EXPECT_EQ(c.m_nRiddenKey, sc.ridden == -1 && sc.onBlock ? kFirstSolidKey : sc.ridden);
        EXPECT_EQ(g_log, sc.events);
        EXPECT_EQ(c.m_bPushed, sc.pushed);
        if (!std::isnan(sc.speedY)) {
            EXPECT_DOUBLE_EQ(c.m_dSpeedY, sc.speedY);
        }
        if (!std::isnan(sc.impactYAfter)) {
            EXPECT_DOUBLE_EQ(c.m_dImpactY, sc.impactYAfter);
        }
    }
}

// A chara lands on a solid, rides it up and sideways over several frames,
// changes to the solid found below it, and leaves when nothing carries it.
TEST_F(CharaSolidsTest, RideAcrossFrames) {
    g_vPlayers.resize(1);
    g_vPlayers.at(0).m_bFootBlockJump = 1;
    cCharaComputer& s = AddSolid(11, {400, 480});
    cCharaComputer& other = AddSolid(12, {700, 480});
    cCharaComputer c;
    c.InitComputer(kCharaKey, Def(0, 0, 1), nullptr, nullptr, 0);
    c.m_nSide = 0;  // on the hero's side
    c.m_bActing = 1;
    auto frame = [&](double solidVx, double solidVy, double charaVy) {
        g_log.clear();
        c.ClearContacts();
        c.m_bPushed = 0;
        Place(s, s.m_dX + solidVx, s.m_dY + solidVy, solidVx, solidVy);
        Place(c, c.m_dX, c.m_dY + charaVy, 0, charaVy);
        return CollideSolids(c, g_lstCharas);
    };
    auto riddenBox = [&c] { return std::vector<double>(c.m_adRiddenBox, c.m_adRiddenBox + 4); };
    Place(c, 408, 456, 0, 0);

    // Falls 2 dots onto it: both ridden events once, the hero may not use a
    // foot-block jump.
    EXPECT_EQ(frame(0, 0, 2), 0);
    EXPECT_EQ(g_log, "11:18/1 11:19/1 1:7 1:8");
    EXPECT_DOUBLE_EQ(c.m_dY, 456);
    EXPECT_EQ(c.m_bOnBlockChara, 1);
    EXPECT_EQ(g_vPlayers.at(0).m_bFootBlockJump, 0);

    // The solid rises 3 dots into the chara: lifted, touched from below, no
    // second boarding.
    g_vPlayers.at(0).m_bFootBlockJump = 1;
    EXPECT_EQ(frame(0, -3, 0), 0);
    EXPECT_EQ(g_log, "1:7 1:8");
    EXPECT_DOUBLE_EQ(c.m_dY, 453);
    EXPECT_EQ(c.m_abContact[CONTACT_BOTTOM], 1);
    EXPECT_DOUBLE_EQ(c.m_adPusher[CONTACT_BOTTOM], -3);
    EXPECT_EQ(riddenBox(), (std::vector<double>{400, 477, 431, 508}));
    EXPECT_EQ(g_vPlayers.at(0).m_bFootBlockJump, 0);

    // It moves sideways, just clear of the chara's feet: still ridden, and
    // the record follows the solid.
    c.m_nGraceCounter = 3;
    c.m_bKnockedBack = 1;
    EXPECT_EQ(frame(4, 0, 0), 0);
    EXPECT_EQ(g_log, "1:7 1:8");
    EXPECT_EQ(c.m_bOnBlockChara, 1);
    EXPECT_EQ(c.m_nRiddenKey, 11);
    EXPECT_EQ(riddenBox(), (std::vector<double>{404, 477, 435, 508}));
    EXPECT_EQ(c.m_nGraceCounter + c.m_bKnockedBack, 0);

    // It moves away while another solid lies 1 dot below the feet: the chara
    // changes to that one.
    Place(other, 400, 478, 0, 0);
    EXPECT_EQ(frame(200, 0, 0), 0);
    EXPECT_EQ(c.m_bOnBlockChara, 1);
    EXPECT_EQ(c.m_nRiddenKey, 12);
    EXPECT_EQ(riddenBox(), (std::vector<double>{400, 478, 431, 509}));

    // Nothing below: it leaves, pushed, its fall stopped.
    Place(other, 700, 478, 0, 0);
    c.m_dSpeedY = 1;
    EXPECT_EQ(frame(0, 0, 0), 0);
    EXPECT_EQ(g_log, "1:7 1:8");  // still on it when the events fire
    EXPECT_EQ(c.m_bOnBlockChara, 0);
    EXPECT_EQ(c.m_bPushed, 1);
    EXPECT_DOUBLE_EQ(c.m_dSpeedY, 0);

    // Knocked upwards it leaves even with its solid right below.
    Place(other, 400, 478, 0, 0);
    c.m_bOnBlockChara = 1;
    c.m_dImpactY = -2;
    EXPECT_EQ(frame(0, 0, 0), 0);
    EXPECT_EQ(c.m_bOnBlockChara, 0);
    EXPECT_EQ(c.m_bPushed, 1);
}

}  // namespace
