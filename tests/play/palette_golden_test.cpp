// Palette icons and block pictures drawn through both graphics families,
// compared with golden images (UPDATE_GOLDEN=1 writes them).
#include <gtest/gtest.h>

#include "records/system_ini.h"
#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_frame.h"
#include "base/scene_state.h"
#include "media/scene.h"
#include "play/chara_computer.h"
#include "play/chara_player.h"
#include "play/item.h"
#include "play/message_window.h"
#include "play/palette_sprite.h"
#include "play/scene_play.h"
#include "media/gfx/run_time_surfaces.h"
#include "records/database.h"
#include "records/ed_block.h"
#include "records/stage.h"
#include "tests/media/gfx/gfx_fixture.h"
#include "tests/media/text/png_golden.h"

namespace {

// A sheet of cells: each cell a frame of its own colour with a transparent
// margin, a dark mark in its top-left quarter (to show mirroring) and a
// stripe whose length tells the cell's number. A sparse sheet keeps only
// the cell's bottom-right corner.
std::vector<uint8_t> CellSheet(int w, int h, int cw, int ch, int seed, bool sparse = false) {
    std::vector<uint32_t> colors(256);
    for (int i = 0; i < 256; ++i) colors[i] = gfxtest::PalColor(i);
    std::vector<uint8_t> px(size_t(w) * h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int cx = x / cw, cy = y / ch, lx = x % cw, ly = y % ch;
            const int k = cx * (h / ch) + cy;
            const int m = cw / 8;
            uint8_t v = 0;
            if (lx >= m && ly >= m && lx < cw - m && ly < ch - m) v = uint8_t(1 + (k * 37 + seed) % 200);
            if (lx >= m && lx < cw / 2 && ly >= m && ly < ch / 2 - m) v = 250;
            if (ly == ch - 2 * m && lx >= m && lx < m + (k % 12) * cw / 16) v = 240;
            // Overlay icons: only a small square at the bottom right.
            if (sparse) v = lx >= cw * 5 / 8 && ly >= ch * 5 / 8 && lx < cw - m && ly < ch - m ? v ? v : 1 : 0;
            px[size_t(y) * w + x] = v;
        }
    return testbmp::Make8(w, h, colors, px);
}

class PaletteGolden : public gfxtest::GfxTest {
protected:
    void SetUp() override {
        GfxTest::SetUp();
        testbmp::Write("bmp\\Block.bmp", CellSheet(64, 480, 32, 32, 3));
        testbmp::Write("bmp\\Character1.bmp", CellSheet(128, 480, 32, 32, 60));
        testbmp::Write("bmp\\Item.bmp", CellSheet(128, 480, 32, 32, 110));
        testbmp::Write("bmp\\Item_Mini.bmp", CellSheet(64, 240, 16, 16, 150));
        testbmp::Write("bmp\\Mark.bmp", CellSheet(64, 480, 32, 32, 20, true));
        testbmp::Write("bmp\\Own.bmp", CellSheet(128, 64, 32, 32, 90));
        m_savedIni = g_SystemIni.Direct3D;
        m_savedBmp = g_Database.m_vecBmpCharaExc;
        g_Database.m_vecBmpCharaExc.assign(2, cDbBmpCharaExc{});
    }
    void TearDown() override {
        for (auto& s : g_vDedicatedSurfaces) DDReleaseSurfaceData(&s);
        g_vDedicatedSurfaces.clear();
        g_SystemIni.Direct3D = m_savedIni;
        g_Database.m_vecBmpCharaExc = m_savedBmp;
        SelectIconSurfaces();
        GfxTest::TearDown();
    }
    bool Start(int d3d, int bpp) {
        g_SystemIni.Direct3D = d3d;
        if (!InitAll(d3d, bpp, 0)) return false;
        g_vDedicatedSurfaces.assign(4, DDSURFACEDATA{});
        for (auto& s : g_vDedicatedSurfaces)
            if (DDCreateSurfaceFromFile(&s, "bmp\\Own.bmp", 1, bpp, 0, 0, 0, 0, 0, 0, 0) != 0) return false;
        // The shot sheet: shots centred in 32 x 32 cells.
        DDFillSurface(&SurfaceTable[64], 0);
        for (int k = 0; k < 4; ++k) DDFillRect(&SurfaceTable[64], 8 + 64 * (k / 2), 8 + 32 * (k % 2), 16, 16, 30 + 40 * k);
        SelectIconSurfaces();
        return true;
    }
    static void Draw() {
        DDFillSurface(&g_BackBuffer, 3);
        const int icons[][3] = {{0, 0, 0},  {0, 16, 0}, {0, 29, 0}, {1, 1, 1},  {1, 1, 21}, {1, 200, 0},
                                {3, 0, 0},  {3, 31, 0}, {2, 1, 0},  {2, 16, 0}, {4, 1, 1},  {4, 1, 6}};
        int x = 4;
        for (const auto& i : icons) {
            DrawPaletteIcon(&g_BackBuffer, x, 4, i[0], i[1], i[2]);
            x += 20;
        }
        struct {
            int kind, graphic, cell, overlay, icon;
        } blocks[] = {{0, 5, 0, 1, 16}, {0, 20, 0, 0, 0}, {1, 2, 1, 0, 0}, {2, 1, 1, 0, 0},
                      {3, 1, 0, 0, 0},  {4, 1, 2, 1, 0},  {1, 500, 0, 1, 3}};
        x = 4;
        for (const auto& b : blocks) {
            cEdBlock block;
            block.m_nGraphicKind = int8_t(b.kind);
            block.m_nGraphic = int16_t(b.graphic);
            block.m_nGraphicCell = int16_t(b.cell);
            block.m_bOverlay = int8_t(b.overlay);
            block.m_nOverlayIcon = int16_t(b.icon);
            block.DrawIcon(&g_BackBuffer, x, 28);
            x += 36;
        }
    }
    static std::string Compare(const char* name) {
        std::vector<uint32_t> px;
        int w = 0, h = 0;
        if (!DDSurfaceToXrgb8888(&g_BackBuffer, px, w, h)) return "no frame";
        const int cw = 256, ch = 64;
        std::vector<uint32_t> crop(size_t(cw) * ch);
        for (int y = 0; y < ch; ++y)
            for (int x = 0; x < cw; ++x) crop[size_t(y) * cw + x] = px[size_t(y) * w + x] & 0xFFFFFF;
        return texttest::CompareGoldenIn("tests/play/golden", name, cw, ch, crop);
    }
    int m_savedIni = 0;
    cCheckedVector<cDbBmpCharaExc> m_savedBmp;
};

TEST_F(PaletteGolden, Direct3D32) {
    ASSERT_TRUE(Start(1, 32));
    Draw();
    EXPECT_EQ(Compare("palette_icons_d3d32.png"), "");
}

TEST_F(PaletteGolden, DirectDraw8) {
    ASSERT_TRUE(Start(0, 8));
    Draw();
    EXPECT_EQ(Compare("palette_icons_dd8.png"), "");
}

// Items at their screen boxes: the two pictures of the track, a double-size
// item stretched, the overlay icons 15 and 16, and a hidden item (nothing).
TEST_F(PaletteGolden, Items) {
    ASSERT_TRUE(Start(1, 32));
    cScenePlay scene;
    cScene* saved = g_lpPlayScene;
    g_lpPlayScene = &scene;
    scene.m_ScrollX.Init(0, 40);
    scene.m_ScrollY.Init(1, 40);
    DDFillSurface(&g_BackBuffer, 3);
    struct {
        int graphic, size, overlay, icon, hidden, ticks, left;
    } items[] = {{1, 1, 0, 0, 0, 0, 4},    {1, 1, 0, 0, 0, 15, 40},  {16, 2, 0, 0, 0, 0, 76},
                 {2, 1, 1, 15, 0, 0, 144}, {2, 2, 1, 16, 0, 15, 180}, {3, 1, 0, 0, 1, 0, 248}};
    for (const auto& k : items) {
        cEdItem def;
        def.m_nGraphicKind = 2;
        def.m_nGraphic = int16_t(k.graphic);
        def.m_nSize = int8_t(k.size);
        def.m_bOverlay = int8_t(k.overlay);
        def.m_nOverlayIcon = int16_t(k.icon);
        def.m_bHidden = int8_t(k.hidden);
        cItem it;
        it.InitItem(1, def, 0);
        for (int i = 1; i < k.ticks; ++i) it.m_Anime.AdvanceFrame();
        it.m_nScrLeft = k.left;
        it.m_nScrTop = 4;
        it.DrawItem(&g_BackBuffer, k.ticks > 0);
    }
    g_lpPlayScene = saved;
    EXPECT_EQ(Compare("items_d3d32.png"), "");
}

// The carried item's icon above a chara: nothing before the 64th call,
// then half an item height above the chara, centred on it; a double-size
// chara and a double-size item.
TEST_F(PaletteGolden, CarriedItemIcon) {
    ASSERT_TRUE(Start(1, 32));
    cScenePlay scene;
    cScene* saved = g_lpPlayScene;
    g_lpPlayScene = &scene;
    scene.m_ScrollX.Init(0, 40);
    scene.m_ScrollY.Init(1, 40);
    DDFillSurface(&g_BackBuffer, 3);
    struct {
        int charaSize, itemSize, calls, left;
    } cases[] = {{1, 1, 63, 4}, {1, 1, 64, 44}, {1, 2, 95, 84}, {2, 1, 64, 124}, {1, 1, 96, 196}};
    for (const auto& k : cases) {
        cEdChara d;
        d.m_nSize = int8_t(k.charaSize);
        cEdItem def;
        def.m_nGraphicKind = 2;
        def.m_nGraphic = 4;
        def.m_nSize = int8_t(k.itemSize);
        cItem item;
        item.InitItem(1, def, 0);
        cCharaComputer c;
        c.InitComputer(2, d, &item, nullptr, 0);
        c.m_bShowCarriedItem = 1;
        c.m_bInView = 1;
        c.m_nScrLeft = k.left;
        c.m_nScrTop = 36;
        DDFillRect(&g_BackBuffer, c.m_nScrLeft, c.m_nScrTop, c.m_nDrawWidth, c.m_nDrawHeight, 60);
        for (int i = 0; i < k.calls; ++i) c.DrawCarriedItemIcon(&g_BackBuffer);
        EXPECT_EQ(c.m_nIconCounter, k.calls == 96 ? 0 : k.calls);  // restarts after 95
    }
    g_lpPlayScene = saved;
    EXPECT_EQ(Compare("carried_item_icon_d3d32.png"), "");
}

// The popup of a taken item rises above the chara that took it and shows
// the item's own palette graphic: items 1 and 16 of the item sheet (the
// second with cell 1) and an item drawn with block 5.
TEST_F(PaletteGolden, PickupPopupShowsTheItemsGraphic) {
    ASSERT_TRUE(Start(1, 32));
    cScenePlay scene;
    cScene* saved = g_lpPlayScene;
    g_lpPlayScene = &scene;
    scene.m_ScrollX.Init(0, 40);
    scene.m_ScrollY.Init(1, 40);
    scene.m_ScrollX.m_dPos = scene.m_ScrollY.m_dPos = 0;
    DDFillSurface(&g_BackBuffer, 3);
    struct {
        int kind, graphic, cell;
    } items[] = {{2, 1, 0}, {2, 16, 1}, {0, 5, 0}};
    g_vPlayers.resize(3);
    for (int i = 0; i < 3; ++i) {
        cCharaPlayer& taker = g_vPlayers[size_t(i)];
        taker.m_nKey = i + 1;
        taker.m_dX = 20 + 60 * i;
        taker.m_dY = 40;
        taker.m_nDrawWidth = taker.m_nDrawHeight = 32;
        taker.m_nHP = 1;
        cEdItem def;
        def.m_nGraphicKind = int8_t(items[i].kind);
        def.m_nGraphic = int16_t(items[i].graphic);
        def.m_nGraphicCell = int16_t(items[i].cell);
        def.m_bPickupWindow = 1;
        cItem item;
        item.InitItem(1, def, 0);
        item.m_bActive = 1;
        EXPECT_EQ(GiveItem(&item, &taker), PlayResult::Continue);
    }
    ASSERT_EQ(scene.m_lstMessages.size(), 3u);
    UpdateMessageWindows(scene, 0);
    g_vPlayers.clear();
    scene.m_lstMessages.clear();
    g_lpPlayScene = saved;
    EXPECT_EQ(Compare("pickup_popup_d3d32.png"), "");
}

}  // namespace
