// The player's hit-box display and light circle, compared with golden
// images (UPDATE_GOLDEN=1 writes them).
#include <gtest/gtest.h>

#include "base/scene_state.h"
#include "media/scene.h"
#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_frame.h"
#include "play/chara_player.h"
#include "play/scene_play.h"
#include "records/stage.h"
#include "tests/media/gfx/gfx_fixture.h"
#include "tests/media/text/png_golden.h"

namespace {

class PlayerGolden : public gfxtest::GfxTest {
protected:
    void SetUp() override {
        GfxTest::SetUp();
        m_savedScene = g_lpPlayScene;
        m_savedBoxes = g_Stage.m_anBoxSetting;
        m_savedLevel = g_Stage.m_nSpeedLevel;
        g_lpPlayScene = &m_scene;
        m_scene.m_ScrollX.Init(0, 40);
        m_scene.m_ScrollY.Init(1, 40);
        g_Stage.ApplySpeedLevel(1);
    }
    void TearDown() override {
        DDReleaseSurfaceData(&m_mask);
        g_lpPlayScene = m_savedScene;
        g_Stage.m_anBoxSetting = m_savedBoxes;
        g_Stage.ApplySpeedLevel(m_savedLevel);
        GfxTest::TearDown();
    }
    // A player whose screen box starts at (left, top).
    static cCharaPlayer MakePlayer(int size, int flying, int hitRange, int left, int top) {
        cEdChara def;
        def.m_nSide = 0;
        def.m_nSize = static_cast<int8_t>(size);
        def.m_nMoveType = static_cast<int8_t>(flying);
        def.m_nHitRange = static_cast<int8_t>(hitRange);
        cCharaPlayer p;
        p.InitPlayer(def, 1);
        p.m_nScrLeft = left;
        p.m_nScrTop = top;
        return p;
    }
    static std::string Compare(const char* name, int cw, int ch) {
        std::vector<uint32_t> px;
        int w = 0, h = 0;
        if (!DDSurfaceToXrgb8888(&g_BackBuffer, px, w, h)) return "no frame";
        std::vector<uint32_t> crop(size_t(cw) * ch);
        for (int y = 0; y < ch; ++y)
            for (int x = 0; x < cw; ++x) crop[size_t(y) * cw + x] = px[size_t(y) * w + x] & 0xFFFFFF;
        return texttest::CompareGoldenIn("tests/play/golden", name, cw, ch, crop);
    }
    cScenePlay m_scene;
    cScene* m_savedScene = nullptr;
    std::array<int32_t, cStage::kBoxSettings> m_savedBoxes{};
    int32_t m_savedLevel = 10;
    DDSURFACEDATA m_mask;
};

TEST_F(PlayerGolden, HitBoxes) {
    ASSERT_TRUE(InitAll(1, 32, 0));
    auto& b = g_Stage.m_anBoxSetting;
    // Collision and item boxes as frames, body and shot boxes filled.
    b[16] = 2, b[17] = 1, b[18] = 1, b[19] = 2;
    b[20] = 0, b[21] = 1, b[22] = 3, b[23] = 7;
    DDFillSurface(&g_BackBuffer, 200);
    cCharaPlayer walking = MakePlayer(1, 0, 0, 16, 16);
    cCharaPlayer flying = MakePlayer(1, 1, 3, 80, 16);
    cCharaPlayer large = MakePlayer(2, 0, 1, 144, 16);
    for (int i = 0; i < 9; ++i) walking.DrawHitBoxes(&g_BackBuffer);  // the rainbow moves on
    flying.DrawHitBoxes(&g_BackBuffer);
    large.DrawHitBoxes(&g_BackBuffer);
    EXPECT_EQ(Compare("player_hit_boxes_d3d32.png", 224, 96), "");
}

TEST_F(PlayerGolden, Light) {
    ASSERT_TRUE(InitAll(1, 32, 0));
    // A dark mask twice the screen with a clear square at its centre.
    ASSERT_TRUE(DDCreateSurface(&m_mask, 1280, 960, 1, 0, 0, 0, 0));
    DDFillSurface(&m_mask, 200);
    DDFillRect(&m_mask, 640 - 48, 480 - 48, 96, 96, 0);
    DDFillRect(&m_mask, 640 - 4, 480 - 4, 8, 8, 60);  // marks the centre
    // Round the chara.
    DDFillSurface(&g_BackBuffer, 90);
    cCharaPlayer round = MakePlayer(1, 0, 0, 100, 80);
    round.m_Def.m_nLightShape = 1;
    round.DrawLight(&g_BackBuffer, &m_mask);
    cCharaPlayer none = MakePlayer(1, 0, 0, 0, 0);
    none.DrawLight(&g_BackBuffer, &m_mask);  // no light shape: nothing
    EXPECT_EQ(Compare("player_light_round_d3d32.png", 320, 200), "");
    // Ahead of a chara facing right, near the screen's corner: the window
    // is clamped inside the mask.
    DDFillSurface(&g_BackBuffer, 90);
    cCharaPlayer ahead = MakePlayer(1, 0, 0, 2, -30);
    ahead.m_Def.m_nLightShape = 2;
    ahead.m_nFacing = 1;
    ahead.m_nLightRadius = 40;
    ahead.DrawLight(&g_BackBuffer, &m_mask);
    EXPECT_EQ(Compare("player_light_ahead_d3d32.png", 320, 200), "");
}

}  // namespace
