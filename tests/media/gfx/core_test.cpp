#include <gtest/gtest.h>

#include <array>
#include <random>

#include "media/gfx/pixel_ops.h"
#include "media/gfx/quad.h"

using namespace gfx;

TEST(PixelCore, ConversionsPerFormat) {
    struct Case {
        PixelFormat f;
        Argb in;
        uint32_t px;
        Argb back;
    } cases[] = {
        {PixelFormat::RGB565, {255, 255, 0, 0}, 0xF800, {255, 255, 0, 0}},
        {PixelFormat::RGB565, {0, 8, 4, 8}, 0x0821, {255, 8, 4, 8}},  // 8*31/255 rounds to 1; alpha dropped
        {PixelFormat::ARGB1555, {255, 0, 255, 0}, 0x83E0, {255, 0, 255, 0}},
        {PixelFormat::ARGB1555, {100, 132, 0, 0}, 0x4000, {0, 132, 0, 0}},  // 132 -> 16 -> widened 132
        {PixelFormat::XRGB8888, {7, 1, 2, 3}, 0x010203, {255, 1, 2, 3}},
        {PixelFormat::ARGB8888, {7, 1, 2, 3}, 0x07010203, {7, 1, 2, 3}},
        {PixelFormat::RGB888, {0, 9, 8, 7}, 0x090807, {255, 9, 8, 7}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.f));
        EXPECT_EQ(EncodePixel(c.f, c.in), c.px);
        EXPECT_EQ(DecodePixel(c.f, c.px), c.back);
    }
    // The game's own rule and its inverse truncate.
    EXPECT_EQ(ScaleDown(255, 31), 31u);
    EXPECT_EQ(ScaleDown(8, 31), 0u);
    EXPECT_EQ(ScaleUp(1, 31), 8u);
    EXPECT_EQ(SurfToBack565(0x8000 | 31 << 10 | 16 << 5 | 3), uint32_t(31 << 11 | 32 << 5 | 3));
    EXPECT_EQ(LayoutOf(PixelFormat::RGB565), (PixelLayout{11, 5, 0, 16, 31, 63, 31, 0}));
}

namespace {
cImage Ramp(PixelFormat f, int w, int h) {
    cImage img(f, w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.Set(x, y, uint32_t(0xFF000000u | (y * 16 + x)));
    return img;
}
std::vector<int> RowTexels(const cImage& img, int w) {
    std::vector<int> r;
    for (int x = 0; x < w; ++x) r.push_back(int(img.Get(x, 0) & 0xFF));
    return r;
}
}  // namespace

TEST(PixelCore, TwoSamplingRules) {
    const cImage src = Ramp(PixelFormat::ARGB8888, 4, 1);
    struct Case {
        int sw, w;
        std::vector<int> trunc, centre;
    } cases[] = {{4, 3, {0, 1, 2}, {0, 2, 3}}, {3, 4, {0, 0, 1, 2}, {0, 1, 1, 2}}, {-4, 3, {3, 2, 1}, {3, 2, 0}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sw);
        const int sx = c.sw < 0 ? 4 : 0;
        cImage a(PixelFormat::ARGB8888, c.w, 1), b(PixelFormat::ARGB8888, c.w, 1);
        StretchTrunc(a, 0, 0, c.w, 1, src, sx, 0, c.sw, 1);
        QuadParams q;
        q.texture = &src;
        q.blend = false;
        BlitQuadVertices(q.v, 0, 0, c.w, 1, sx, 0, c.sw, 1);
        DrawQuad(b, q);
        EXPECT_EQ(RowTexels(a, c.w), c.trunc);
        EXPECT_EQ(RowTexels(b, c.w), c.centre);
    }
}

TEST(PixelCore, StageOperationsAndBlend) {
    const Argb tex{200, 100, 50, 255}, dif{128, 255, 100, 10};
    struct Case {
        int op;
        Argb expect;  // colour op and alpha op both set to op
    } cases[] = {
        {TOP_DISABLE, {128, 255, 100, 10}},  {TOP_SELECTARG1, {200, 100, 50, 255}},
        {TOP_SELECTARG2, {128, 255, 100, 10}}, {TOP_MODULATE, {100, 100, 20, 10}},
        {TOP_ADD, {255, 255, 150, 255}},      {TOP_SUBTRACT, {72, 0, 0, 245}},
        {TOP_BLENDFACTORALPHA, {164, 177, 75, 133}},  // factor alpha 0x80
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.op);
        StageState st;
        st.colorOp = st.alphaOp = c.op;
        st.tfactor = 0x80000000;
        EXPECT_EQ(StageColor(st, tex, dif), c.expect);
    }
    EXPECT_EQ(BlendSrcAlpha({255, 1, 2, 3}, {0, 9, 9, 9}), (Argb{255, 1, 2, 3}));
    EXPECT_EQ(BlendSrcAlpha({0, 1, 2, 3}, {7, 9, 9, 9}), (Argb{7, 9, 9, 9}));
    EXPECT_EQ(BlendSrcAlpha({128, 255, 0, 0}, {255, 0, 0, 255}), (Argb{191, 128, 0, 127}));
}

TEST(PixelCore, QuadFastPathEqualsGeneralPath) {
    std::mt19937 rng(7);
    auto rnd = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const PixelFormat fmts[] = {PixelFormat::ARGB8888, PixelFormat::ARGB1555, PixelFormat::RGB565};
    for (int n = 0; n < 300; ++n) {
        const PixelFormat tf = fmts[n % 2], df = fmts[rnd(0, 2)];
        cImage tex(tf, rnd(1, 9), rnd(1, 9));
        for (int y = 0; y < tex.Height(); ++y)
            for (int x = 0; x < tex.Width(); ++x) tex.Set(x, y, uint32_t(rng()));
        cImage a(df, 24, 20);
        for (int y = 0; y < a.Height(); ++y)
            for (int x = 0; x < a.Width(); ++x) a.Set(x, y, uint32_t(rng()));
        cImage b = a;
        QuadParams q;
        q.texture = &tex;
        q.diffuse = uint32_t(rng());
        q.stage.colorOp = rnd(1, 4);
        q.stage.alphaOp = rnd(1, 4);
        q.blend = rnd(0, 1);
        const int x = rnd(-6, 20), y = rnd(-6, 18), w = rnd(-12, 14), h = rnd(-12, 14);
        const double sx = rnd(-40, 40) / 4.0, sy = rnd(-40, 40) / 4.0, sw = rnd(-60, 60) / 4.0, sh = rnd(-60, 60) / 4.0;
        BlitQuadVertices(q.v, x, y, w, h, sx, sy, sw, sh);
        DrawQuad(a, q, QuadPath::Auto);
        DrawQuad(b, q, QuadPath::General);
        ASSERT_TRUE(a == b) << "case " << n;
    }
}

// The fast rows of 32-bit sprites (a row of opaque texels copied, a row of
// colour-keyed texels kept or replaced, stretched rows gathered first) give
// what the general path gives, on targets with and without alpha, whatever
// the targets' alpha bytes hold.
TEST(PixelCore, QuadFastRowsEqualTheGeneralPathForSprites) {
    std::mt19937 rng(11);
    auto rnd = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    enum Rows { kOpaque, kKeyed, kMixed, kAnyRow };
    for (int n = 0; n < 400; ++n) {
        const PixelFormat df = n % 2 ? PixelFormat::XRGB8888 : PixelFormat::ARGB8888;
        const Rows kind = Rows(n / 2 % 4);
        cImage tex(PixelFormat::ARGB8888, rnd(1, 12), rnd(1, 6));
        for (int y = 0; y < tex.Height(); ++y) {
            const Rows row = kind == kAnyRow ? Rows(rnd(0, 2)) : kind;
            for (int x = 0; x < tex.Width(); ++x) {
                uint32_t a = 255;
                if (row == kKeyed) a = rnd(0, 1) ? 255 : 0;
                if (row == kMixed) a = std::array<uint32_t, 3>{0, 128, 255}[size_t(rnd(0, 2))];
                tex.Set(x, y, a << 24 | (uint32_t(rng()) & 0xFFFFFFu));
            }
        }
        cImage a(df, 40, 12);
        for (int y = 0; y < a.Height(); ++y)
            for (int x = 0; x < a.Width(); ++x) a.Set(x, y, uint32_t(rng()));
        cImage b = a;
        QuadParams q;
        q.texture = &tex;  // the stage passes the texel as it is, blended
        const bool stretched = rnd(0, 1);
        const int w = stretched ? rnd(1, 36) : tex.Width(), h = stretched ? rnd(1, 10) : tex.Height();
        BlitQuadVertices(q.v, rnd(-4, 30), rnd(-2, 8), w, h, 0, 0, tex.Width(), tex.Height());
        DrawQuad(a, q, QuadPath::Auto);
        DrawQuad(b, q, QuadPath::General);
        ASSERT_TRUE(a == b) << "case " << n << (df == PixelFormat::XRGB8888 ? " XRGB" : " ARGB") << " rows " << kind
                            << (stretched ? " stretched" : "");
    }
}

TEST(PixelCore, QuadCoversExactlyTheBlitRectangle) {
    cImage t(PixelFormat::ARGB8888, 1, 1);
    t.Set(0, 0, 0xFFFFFFFF);
    for (QuadPath p : {QuadPath::Auto, QuadPath::General}) {
        cImage d(PixelFormat::XRGB8888, 6, 6);
        QuadParams q;
        q.texture = &t;
        BlitQuadVertices(q.v, 1, 2, 3, 2, 0, 0, 1, 1);
        DrawQuad(d, q, p);
        int covered = 0;
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 6; ++x) {
                const bool in = x >= 1 && x < 4 && y >= 2 && y < 4;
                covered += d.Get(x, y) != 0;
                EXPECT_EQ(d.Get(x, y) != 0, in) << x << "," << y;
            }
        EXPECT_EQ(covered, 6);
    }
}

TEST(PixelCore, CopyRectSkipRulesAndClipping) {
    struct Case {
        PixelFormat f;
        SkipRule rule;
        uint32_t skipped, kept;
    } cases[] = {
        {PixelFormat::Index8, {Skip::Key, 5}, 5, 6},
        {PixelFormat::ARGB1555, {Skip::Test16, 0}, 0x1FFF, 0x2000},
        {PixelFormat::ARGB8888, {Skip::Alpha0, 0}, 0x00FFFFFF, 0x01000000},
        {PixelFormat::RGB888, {Skip::Key, 0x102030}, 0x102030, 0x102031},
    };
    for (const Case& c : cases) {
        cImage src(c.f, 2, 1), dst(c.f, 3, 2);
        src.Set(0, 0, c.skipped);
        src.Set(1, 0, c.kept);
        FillRect(dst, 0, 0, 3, 2, 0x77);
        ASSERT_TRUE(CopyRect(dst, 1, 1, src, 0, 0, 5, 5, c.rule));
        EXPECT_EQ(dst.Get(1, 1), 0x77u);
        EXPECT_EQ(dst.Get(2, 1), c.kept);
        EXPECT_EQ(dst.Get(0, 0), 0x77u);
    }
    // Negative positions read and write only the overlapping part.
    cImage s(PixelFormat::Index8, 4, 4), d(PixelFormat::Index8, 4, 4);
    for (int i = 0; i < 16; ++i) s.Set(i % 4, i / 4, i);
    CopyRect(d, -1, 0, s, 0, -1, 4, 4);
    EXPECT_EQ(d.Get(0, 1), 1u);
    EXPECT_EQ(d.Get(0, 0), 0u);
    EXPECT_EQ(d.Get(2, 3), 11u);
    EXPECT_FALSE(CopyRect(d, 0, 0, cImage(PixelFormat::RGB565, 1, 1), 0, 0, 1, 1));
}
