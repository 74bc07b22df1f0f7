// The distance-condition areas drawn round the charas on screen, compared
// with golden images (UPDATE_GOLDEN=1 writes them): every area type in
// both facings, the display modes and the blink counter; and the choice
// between a surface slot and its copy 18 slots on.
#include <gtest/gtest.h>

#include "base/app_state.h"
#include "base/scene_state.h"
#include "media/scene.h"
#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_frame.h"
#include "play/condition_areas.h"
#include "play/scene_play.h"
#include "play/surface_pick.h"
#include "records/system_data.h"
#include "tests/media/gfx/gfx_fixture.h"
#include "tests/media/text/png_golden.h"
#include "tests/support/chara_fixture.h"

using charatest::cTestChara;

namespace {

constexpr int kBackground = 90;

class AreaGolden : public gfxtest::GfxTest {
protected:
    void SetUp() override {
        GfxTest::SetUp();
        m_savedScene = g_lpPlayScene;
        m_savedSystem = g_SystemData;
        g_lpPlayScene = &m_scene;
        m_scene.m_ScrollX.Init(0, 40);
        m_scene.m_ScrollY.Init(1, 40);
        m_scene.m_ScrollX.m_dPos = 0;
        m_scene.m_ScrollY.m_dPos = 0;
        SetConditionAreaBlink(0);
        g_bEditorTest = 0;
    }
    void TearDown() override {
        g_lpPlayScene = m_savedScene;
        g_SystemData = m_savedSystem;
        g_bEditorTest = 0;
        GfxTest::TearDown();
    }
    // An acting chara whose box on screen is (x, y, w, h), listed in group 1.
    cTestChara& Add(int x, int y, int w, int h, int facing) {
        cTestChara& c = m_charas.emplace_back();
        charatest::PlaceOnScreen(c, x, y, w, h);
        c.m_nFacing = facing;
        c.m_bActing = 1;
        m_scene.m_vCharaGroups.at(1).push_back(&c);
        return c;
    }
    // A distance condition of the given type, reach (half blocks, dots),
    // display mode and colour.
    static cCond Area(int type, int halfBlocks, int dots, int mode, int colour, int inactive = 0, int suppressed = 0) {
        cCond c;
        c.m_nKind = COND_DISTANCE;
        c.m_nDirection = static_cast<int8_t>(type);
        c.m_nValue = halfBlocks;
        c.m_nRightVarIndex = static_cast<int16_t>(dots);
        c.m_nLeftSource = static_cast<int8_t>(mode);
        c.m_nLeftItem = static_cast<int8_t>(colour);
        c.m_nRightSource = static_cast<int8_t>(inactive);
        c.m_nRightTarget = static_cast<int8_t>(suppressed);
        return c;
    }
    static uint32_t Pixel(int x, int y) {
        std::vector<uint32_t> px;
        int w = 0, h = 0;
        if (!DDSurfaceToXrgb8888(&g_BackBuffer, px, w, h)) return 0xFFFFFFFF;
        return px[size_t(y) * w + x] & 0xFFFFFF;
    }
    static std::string Compare(const char* name) {
        std::vector<uint32_t> px;
        int w = 0, h = 0;
        if (!DDSurfaceToXrgb8888(&g_BackBuffer, px, w, h)) return "no frame";
        for (uint32_t& p : px) p &= 0xFFFFFF;
        return texttest::CompareGoldenIn("tests/play/golden", name, w, h, px);
    }
    cScenePlay m_scene;
    cScene* m_savedScene = nullptr;
    cSystemData m_savedSystem;
    std::list<cTestChara> m_charas;
};

// Every type round one chara per facing, each type in its own colour: the
// front of a chara facing +x reaches right (and down for the vertical
// forms), its back the other way; the circle is round the box's centre.
TEST_F(AreaGolden, TypesByFacing) {
    ASSERT_TRUE(InitAll(1, 32, 0));
    for (int facing : {1, 0}) {
        SCOPED_TRACE(facing);
        m_scene.m_vCharaGroups.at(1).clear();
        cTestChara& c = Add(300, 220, 32, 40, facing);
        for (int type = 0; type <= 6; ++type) c.m_Def.m_vecCond.push_back(Area(type, 1 + type, 4, 1, type));
        DDFillSurface(&g_BackBuffer, kBackground);
        SetConditionAreaBlink(31);  // steps to 0: the first colour of each group
        DrawConditionAreas(&g_BackBuffer);
        EXPECT_EQ(Compare(facing ? "condition_areas_right_d3d32.png" : "condition_areas_left_d3d32.png"), "");
        // From the centre 316 and half the width 16: the front (type 1,
        // reach 2 x 16 + 4) ends at 316 + 52 facing +x, at 316 - 52 facing
        // -x; the back (type 2, reach 3 x 16 + 4) on the other side.
        EXPECT_EQ(Pixel(facing ? 368 : 264, 5), gfxtest::PalColor(212));
        EXPECT_EQ(Pixel(facing ? 248 : 384, 5), gfxtest::PalColor(216));
    }
}

// Mode 0 never; mode 2 only in a test play from the editor; a chara that
// does not act only when asked (its box is refreshed first), a chara not
// drawn only when asked; dead and off-screen charas never; a flow's
// conditions after the chara's own, except a once-flow of a hidden chara.
TEST_F(AreaGolden, DisplayModesAndWhoIsShown) {
    ASSERT_TRUE(InitAll(1, 32, 0));
    Add(20, 20, 32, 32, 1).m_Def.m_vecCond = {Area(3, 0, 2, 0, 0), Area(3, 0, 4, 2, 1)};
    cTestChara& idle = Add(100, 100, 32, 32, 1);
    idle.m_bActing = 0;
    idle.m_nScrLeft = 500;  // stale: refreshed before drawing
    idle.m_Def.m_vecCond = {Area(0, 0, 0, 1, 2, 1), Area(6, 0, 30, 1, 3)};
    cTestChara& transparent = Add(200, 300, 32, 32, 1);
    transparent.m_Def.m_bTransparent = 1;
    transparent.m_Def.m_vecCond = {Area(3, 0, 0, 1, 4, 0, 1), Area(6, 1, 0, 1, 5)};
    cTestChara& hidden = Add(400, 300, 32, 32, 1);
    hidden.m_bHidden = 1;
    hidden.m_Def.m_vecCond = {Area(6, 1, 8, 1, 6, 0, 1)};
    hidden.m_Def.m_vecFlow.resize(2);
    hidden.m_Def.m_vecFlow[0].m_bCondOnce = 1;
    hidden.m_Def.m_vecFlow[0].m_vecCond = {Area(6, 2, 0, 1, 7, 0, 1)};
    hidden.m_Def.m_vecFlow[1].m_vecCond = {Area(6, 3, 0, 1, 1, 0, 1)};
    cTestChara& dead = Add(500, 100, 32, 32, 1);
    dead.m_bDead = 1;
    dead.m_Def.m_vecCond = {Area(6, 1, 0, 1, 0)};
    cTestChara& away = Add(900, 100, 32, 32, 1);
    away.m_Def.m_vecCond = {Area(6, 20, 0, 1, 0)};  // would reach the screen
    for (int editor : {0, 1}) {
        g_bEditorTest = editor;
        DDFillSurface(&g_BackBuffer, kBackground);
        SetConditionAreaBlink(31);
        DrawConditionAreas(&g_BackBuffer);
        EXPECT_EQ(Compare(editor ? "condition_areas_modes_editor_d3d32.png" : "condition_areas_modes_d3d32.png"), "");
        EXPECT_EQ(Pixel(5, 16), gfxtest::PalColor(editor ? 212 : kBackground)) << "mode 2";
        EXPECT_EQ(Pixel(5, 18), gfxtest::PalColor(kBackground)) << "mode 0";
    }
    EXPECT_EQ(idle.m_nScrLeft, 100);
}

// The counter steps once per call and adds counter / 8 to the colour; an
// 8-bit display that cycles its palette holds it and adds nothing.
TEST_F(AreaGolden, BlinkCounter) {
    ASSERT_TRUE(InitAll(1, 32, 0));
    Add(300, 200, 32, 32, 1).m_Def.m_vecCond = {Area(3, 1, 0, 1, 2)};
    for (int call = 1; call <= 33; ++call) {
        DDFillSurface(&g_BackBuffer, kBackground);
        DrawConditionAreas(&g_BackBuffer);
        EXPECT_EQ(ConditionAreaBlink(), call & 31);
        EXPECT_EQ(Pixel(5, 184), gfxtest::PalColor(216 + (call & 31) / 8)) << call;
    }
}

TEST_F(AreaGolden, EightBitCyclingHoldsTheCounter) {
    for (int cycle : {0, 1}) {
        SCOPED_TRACE(cycle);
        ASSERT_TRUE(InitAll(0, 8, 0));
        g_SystemData.m_bColorCycle = cycle;
        m_scene.m_vCharaGroups.at(1).clear();
        Add(300, 200, 32, 32, 0).m_Def.m_vecCond = {Area(4, 1, 0, 1, 1), Area(5, 1, 0, 1, 3)};
        SetConditionAreaBlink(15);
        DDFillSurface(&g_BackBuffer, kBackground);
        DrawConditionAreas(&g_BackBuffer);
        EXPECT_EQ(ConditionAreaBlink(), cycle ? 15 : 16);
        EXPECT_EQ(Pixel(5, 184), gfxtest::PalColor(cycle ? 212 : 214));  // ahead of a chara facing -x: up
        if (cycle) {
            EXPECT_EQ(Compare("condition_areas_cycle_dd8.png"), "");
        }
        ResetGraphics();
        BuildBitmapTable();
    }
}

// The copy 18 slots on stands in for a slot without a texture, and is
// taken on request when it has one; only in the Direct3D back end.
TEST_F(AreaGolden, PickSurfaceSlot) {
    ASSERT_TRUE(InitAll(1, 32, 0));
    ASSERT_TRUE(SurfaceTable[20].lpDT && SurfaceTable[20].lpDT->lpTexture);
    const int alt = 38;
    const bool altHasTexture = SurfaceTable[alt].lpDT && SurfaceTable[alt].lpDT->lpTexture;
    EXPECT_EQ(PickSurfaceSlot(20, 0), 20);
    EXPECT_EQ(PickSurfaceSlot(20, 1), altHasTexture ? alt : 20);
    auto saved = SurfaceTable[20].lpDT->lpTexture;
    SurfaceTable[20].lpDT->lpTexture.reset();
    EXPECT_EQ(PickSurfaceSlot(20, 0), alt);
    SurfaceTable[20].lpDT->lpTexture = saved;
    EXPECT_EQ(PickSurfaceSlot(60, 0), 60);  // no slot 78
    ResetGraphics();
    BuildBitmapTable();
    ASSERT_TRUE(InitAll(0, 32, 0));
    EXPECT_EQ(PickSurfaceSlot(20, 0), 20);
    EXPECT_EQ(PickSurfaceSlot(20, 1), 20);
}

}  // namespace
