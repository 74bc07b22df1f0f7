// Effects at run time: the frames an effect is drawn on, standing still while
// frozen, the hit effect's place and size, and the draw pass reaching them.
#include <gtest/gtest.h>

#include "base/random.h"
#include "play/draw_stage.h"
#include "play/effect.h"
#include "media/gfx/run_time_surfaces.h"
#include "play/scene_play.h"
#include "records/database.h"
#include "tests/play/play_fixture.h"

namespace {

class EffectTest : public playtest::PlaySceneTest {
protected:
    void SetUp() override {
        PlaySceneTest::SetUp();
        m_savedEffects = g_Database.m_vecEffect;
        m_savedSteps = g_vEffectSteps;
        cDbEffect e;
        e.m_vecParts.clear();
        for (int d : {1, 1, 2}) {
            cDbEffectPart part;
            part.m_nPicture = static_cast<int>(e.m_vecParts.size());
            part.m_nDuration = d;
            e.m_vecParts.push_back(part);
        }
        cDbEffect scalable = e;
        scalable.m_bScalable = 1;
        cDbEffect empty = e;
        empty.m_vecParts.clear();
        g_Database.m_vecEffect = {cDbEffect{}, e, scalable, empty};
        CompileEffectSteps(g_Database.m_vecEffect, g_vEffectSteps);
        g_vEffectSurfaces.assign(8, DDSURFACEDATA{});
    }
    void TearDown() override {
        g_Database.m_vecEffect = m_savedEffects;
        g_vEffectSteps = m_savedSteps;
        g_vEffectSurfaces.clear();
        PlaySceneTest::TearDown();
    }
    cEffect Make(int id, int runWhileFrozen) {
        cEffect fx;
        EffectRequest r;
        r.nId = id;
        r.nWidth = r.nHeight = 32;
        r.bRunWhileFrozen = runWhileFrozen;
        fx.Init(r);
        return fx;
    }
    cCheckedVector<cDbEffect> m_savedEffects;
    cCheckedVector<AnimeTrack> m_savedSteps;
};

TEST_F(EffectTest, PartsOfOneOneTwoTenthsDrawOnTwentyThreeFrames) {
    cEffect fx = Make(1, 0);
    EXPECT_EQ(fx.m_bStretched, 0);
    std::vector<int> frames;
    int draws = 0;
    while (fx.Draw(&g_BackBuffer, 0) == 0 && draws < 100) {
        frames.push_back(fx.m_Anime.GetFrame());
        ++draws;
    }
    EXPECT_EQ(draws, 23);
    // 5 ticks of the first cell (the first draw already advanced one), 6 of
    // the second, 12 of the third.
    EXPECT_EQ(std::count(frames.begin(), frames.end(), 0), 5);
    EXPECT_EQ(std::count(frames.begin(), frames.end(), 1), 6);
    EXPECT_EQ(std::count(frames.begin(), frames.end(), 2), 12);
    // An entry without parts is over at once.
    cEffect none = Make(3, 0);
    EXPECT_EQ(none.Draw(&g_BackBuffer, 0), 1);
}

TEST_F(EffectTest, FrozenStandsStillUnlessRunWhileFrozen) {
    for (int run : {0, 1}) {
        cEffect fx = Make(1, run);
        for (int i = 0; i < 10; ++i) fx.Draw(&g_BackBuffer, 0);
        const int ticks = fx.m_Anime.m_nTicks, step = fx.m_Anime.m_nStep;
        for (int i = 0; i < 5; ++i) EXPECT_EQ(fx.Draw(&g_BackBuffer, 1), 0);
        if (run) {
            EXPECT_NE(fx.m_Anime.m_nStep, step);
        } else {
            EXPECT_EQ(fx.m_Anime.m_nStep, step);
            EXPECT_EQ(fx.m_Anime.m_nTicks, ticks);
        }
    }
}

TEST_F(EffectTest, HitEffectAtTheOverlapWithASeededSpread) {
    const double a[4] = {90, 40, 115, 65}, b[4] = {100, 50, 130, 80};
    struct Case {
        int id, scale;
        int w, stretched, spread;
    } cases[] = {{1, 1, 32, 0, 4}, {1, 3, 32, 0, 4}, {2, 3, 96, 1, 12}, {2, 1, 32, 0, 4}, {2, -3, 32, 0, 12}};
    for (const Case& c : cases) {
        SRand(77);
        const int rx = RandRange(-c.spread, c.spread), ry = RandRange(-c.spread, c.spread);
        SRand(77);
        cEffect fx;
        fx.InitAtOverlap(c.id, a, b, c.scale);
        EXPECT_EQ(fx.m_nWidth, c.w) << c.id << " " << c.scale;
        EXPECT_EQ(fx.m_bStretched, c.stretched);
        EXPECT_EQ(fx.m_nLayer, 1);
        // Overlap (100, 50)-(115, 65): 100 + 8 - w / 2.
        EXPECT_EQ(fx.m_dX, 100 + 8 - c.w / 2 + rx) << c.id << " " << c.scale;
        EXPECT_EQ(fx.m_dY, 50 + 8 - c.w / 2 + ry);
    }
    // Boxes that do not meet: the area is all 0.
    const double far[4] = {500, 500, 510, 510};
    SRand(5);
    const int rx = RandRange(-4, 4);
    SRand(5);
    cEffect fx;
    fx.InitAtOverlap(1, a, far, 1);
    EXPECT_EQ(fx.m_dX, 0 + 0 - 16 + rx);
}

TEST_F(EffectTest, DrawPassDrawsItsLayerAndRemovesTheFinished) {
    m_scene.m_lstEffects.push_back(Make(1, 0));
    m_scene.m_lstEffects.push_back(Make(1, 0));
    m_scene.m_lstEffects.back().m_nLayer = 1;
    for (int i = 0; i < 23; ++i) DrawEffects(m_scene, 0, 0);
    EXPECT_EQ(m_scene.m_lstEffects.size(), 2u);
    DrawEffects(m_scene, 0, 0);
    ASSERT_EQ(m_scene.m_lstEffects.size(), 1u);
    EXPECT_EQ(m_scene.m_lstEffects.front().m_nLayer, 1);
    EXPECT_EQ(m_scene.m_lstEffects.front().m_Anime.m_nTicks, 0) << "the other layer was not drawn";
    // The hit effect of a damage goes to the live scene's list.
    const double box[4] = {100, 50, 115, 65};
    AddHitEffect(1, box, box, 1);
    EXPECT_EQ(m_scene.m_lstEffects.size(), 2u);
}

}  // namespace
