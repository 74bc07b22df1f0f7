#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <vector>

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

// Turned, sheared and degenerate quads: the triangle walk's one run per row
// gives the pixels that testing every pixel of the bounding box gives,
// edges, corners and the top-left rule included.
TEST(PixelCore, QuadRowRunsEqualPerPixelTests) {
    std::mt19937 rng(23);
    auto rnd = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const PixelFormat fmts[] = {PixelFormat::ARGB8888, PixelFormat::ARGB1555, PixelFormat::RGB565,
                                PixelFormat::XRGB8888};
    for (int n = 0; n < 600; ++n) {
        const PixelFormat tf = fmts[n % 2], df = fmts[rnd(0, 3)];
        cImage tex(tf, rnd(1, 9), rnd(1, 9));
        for (int y = 0; y < tex.Height(); ++y)
            for (int x = 0; x < tex.Width(); ++x) tex.Set(x, y, uint32_t(rng()));
        cImage a(df, 28, 22);
        for (int y = 0; y < a.Height(); ++y)
            for (int x = 0; x < a.Width(); ++x) a.Set(x, y, uint32_t(rng()));
        cImage b = a;
        QuadParams q;
        q.texture = n % 7 == 0 ? nullptr : &tex;
        q.diffuse = n % 3 ? 0xFFFFFFFFu : uint32_t(rng());
        q.blend = rnd(0, 1);
        // Corners on whole, half and quarter pixels, some shared or in line.
        for (QuadVertex& v : q.v)
            v = {float(rnd(-40, 150) / 4.0), float(rnd(-40, 120) / 4.0), float(rnd(-40, 40) / 4.0),
                 float(rnd(-40, 40) / 4.0)};
        if (n % 11 == 0) q.v[3] = q.v[1];
        if (n % 13 == 0) q.v[2].x = q.v[0].x;
        DrawQuad(a, q, QuadPath::General);
        DrawQuad(b, q, QuadPath::PerPixel);
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

namespace {

// Random cases for the fast rows: seeded, so every run draws the same ones.
struct Rng {
    std::mt19937 g{19};
    int operator()(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(g); }
    uint32_t Bits() { return uint32_t(g()); }
};

// Pixels drawn from a few values so that keys and alpha classes recur.
void Scribble(cImage& img, Rng& rng, const std::vector<uint32_t>& pool) {
    for (int y = 0; y < img.Height(); ++y)
        for (int x = 0; x < img.Width(); ++x)
            img.Set(x, y, rng(0, 3) == 0 || pool.empty() ? rng.Bits() : pool[size_t(rng(0, int(pool.size()) - 1))]);
}

}  // namespace

// Solid fills, opaque, keyed, translucent and stretched texels into 16- and
// 32-bit targets: the row paths give exactly what pixel-by-pixel drawing gives.
TEST(PixelCore, QuadRowsEqualGeneralPathOnRandomCases) {
    Rng rng;
    const PixelFormat targets[] = {PixelFormat::XRGB8888, PixelFormat::ARGB8888, PixelFormat::RGB565,
                                   PixelFormat::ARGB1555};
    for (int n = 0; n < 400; ++n) {
        const PixelFormat df = targets[rng(0, 3)];
        const bool wide = n % 25 == 0;  // runs longer than one block of columns
        const PixelFormat tf = BytesPerPixel(df) == 4 ? PixelFormat::ARGB8888 : PixelFormat::ARGB1555;
        const int kind = rng(0, 3);  // 0 untextured, 1 opaque, 2 keyed, 3 any alpha
        cImage tex(tf, rng(1, wide ? 300 : 40), rng(1, 40));
        std::vector<uint32_t> pool;
        if (tf == PixelFormat::ARGB8888) {
            for (int i = 0; i < 4; ++i) {
                const uint32_t rgb = rng.Bits() & 0xFFFFFF;
                pool.push_back(kind == 1 || (kind == 2 && i % 2) ? rgb | 0xFF000000u
                               : kind == 2                        ? rgb
                                                                  : rng.Bits());
            }
        }
        Scribble(tex, rng, pool);
        if (kind == 1 || kind == 2)
            for (int y = 0; y < tex.Height(); ++y)
                for (int x = 0; x < tex.Width(); ++x) {
                    uint32_t v = tex.Get(x, y);
                    if (tf == PixelFormat::ARGB8888) v = (v >> 31) || kind == 1 ? v | 0xFF000000u : v & 0xFFFFFF;
                    tex.Set(x, y, v);
                }
        cImage a(df, wide ? 700 : 48, 40);
        Scribble(a, rng, {});
        cImage b = a;
        QuadParams q;
        q.texture = kind == 0 ? nullptr : &tex;
        q.blend = rng(0, 3) != 0;
        if (kind == 0) {
            // The fills of the graphics layer: the factor or the vertex colour
            // selected, alpha often 255 or 0.
            q.stage.colorOp = q.stage.alphaOp = rng(0, 1) ? TOP_SELECTARG2 : rng(1, 4);
            q.stage.colorArg2 = q.stage.alphaArg2 = rng(0, 1) ? TA_TFACTOR : TA_DIFFUSE;
            const uint32_t alpha[] = {0xFF000000u, 0, uint32_t(rng(1, 254)) << 24};
            q.stage.tfactor = (rng.Bits() & 0xFFFFFF) | alpha[rng(0, 2)];
            q.diffuse = (rng.Bits() & 0xFFFFFF) | alpha[rng(0, 2)];
        } else if (rng(0, 4) == 0) {
            q.diffuse = rng.Bits();
            q.stage.colorOp = rng(1, 4);
        }
        const int w = wide ? rng(-700, 700) : rng(-50, 50), h = rng(-40, 40);
        const int x = rng(-20, a.Width()), y = rng(-20, a.Height());
        const double sx = rng(-80, 80) / 4.0, sy = rng(-80, 80) / 4.0;
        const double sw = rng(0, 2) ? w : rng(-tex.Width() * 8, tex.Width() * 8) / 4.0;
        const double sh = rng(0, 2) ? h : rng(-tex.Height() * 8, tex.Height() * 8) / 4.0;
        BlitQuadVertices(q.v, x, y, w, h, sx, sy, sw, sh);
        DrawQuad(a, q, QuadPath::Auto);
        DrawQuad(b, q, QuadPath::General);
        ASSERT_TRUE(a == b) << "case " << n << " kind " << kind << " format " << int(df);
    }
}

// Triangles step their texel coordinates along the row: a quad whose s runs
// down and t across draws the texture transposed.
TEST(PixelCore, TrianglesSampleAtPixelCentres) {
    cImage tex(PixelFormat::ARGB8888, 5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) tex.Set(x, y, 0xFF000000u | uint32_t(y * 16 + x));
    cImage d(PixelFormat::ARGB8888, 3, 5);
    QuadParams q;
    q.texture = &tex;
    q.blend = false;
    q.v[0] = {-0.5f, -0.5f, 0, 0};
    q.v[1] = {-0.5f, 4.5f, 5, 0};
    q.v[2] = {2.5f, -0.5f, 0, 3};
    q.v[3] = {2.5f, 4.5f, 5, 3};
    DrawQuad(d, q);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(d.Get(x, y), 0xFF000000u | uint32_t(x * 16 + y)) << x << "," << y;
}

// The DirectDraw family's copies, stretches and fills: block-wise rows give
// exactly the pixel-by-pixel result for every pixel size, rule and conversion.
TEST(PixelCore, BlitRowsEqualGeneralPathOnRandomCases) {
    Rng rng;
    const PixelFormat fmts[] = {PixelFormat::Index8, PixelFormat::RGB565, PixelFormat::ARGB1555,
                                PixelFormat::RGB888, PixelFormat::XRGB8888, PixelFormat::ARGB8888};
    const Skip skips[] = {Skip::None, Skip::Key, Skip::Alpha0, Skip::Test16};
    for (int n = 0; n < 600; ++n) {
        const PixelFormat f = fmts[rng(0, 5)];
        const bool wide = n % 20 == 0;
        std::vector<uint32_t> pool;
        for (int i = 0; i < 3; ++i) pool.push_back(rng.Bits() & (f == PixelFormat::Index8 ? 0xFF : 0xFFFFFFFF));
        cImage src(f, rng(1, wide ? 400 : 40), rng(1, 30));
        Scribble(src, rng, pool);
        cImage a(f, wide ? 600 : 50, 30);
        Scribble(a, rng, {});
        cImage b = a;
        SkipRule rule{skips[rng(0, 3)], rng(0, 3) ? pool[0] & (BytesPerPixel(f) == 4 ? ~0u : 0xFFFFu) : rng.Bits()};
        if (BytesPerPixel(f) == 1 && rule.kind == Skip::Key && rng(0, 1)) rule.key = pool[0] & 0xFF;
        const Convert conv = BytesPerPixel(f) == 2 && rng(0, 1) ? Convert::SurfToBack565 : Convert::None;
        const int w = wide ? rng(1, 600) : rng(-5, 50), h = rng(-5, 30);
        const int x = rng(-30, a.Width()), y = rng(-20, a.Height()), sx = rng(-10, src.Width()),
                  sy = rng(-10, src.Height());
        const int op = rng(0, 2);
        if (op == 0) {
            CopyRect(a, x, y, src, sx, sy, w, h, rule, conv, PixelPath::Auto);
            CopyRect(b, x, y, src, sx, sy, w, h, rule, conv, PixelPath::General);
        } else if (op == 1) {
            const int sw = rng(-src.Width(), src.Width() * 2), sh = rng(-src.Height(), src.Height() * 2);
            StretchTrunc(a, x, y, w, h, src, sx, sy, sw, sh, rule, conv, PixelPath::Auto);
            StretchTrunc(b, x, y, w, h, src, sx, sy, sw, sh, rule, conv, PixelPath::General);
        } else {
            const uint32_t px = rng.Bits();
            FillRect(a, x, y, w, h, px);
            for (int yy = std::max(y, 0); yy < std::min(y + h, b.Height()); ++yy)
                for (int xx = std::max(x, 0); xx < std::min(x + w, b.Width()); ++xx) b.Set(xx, yy, px);
        }
        ASSERT_TRUE(a == b) << "case " << n << " op " << op << " format " << int(f) << " rule " << int(rule.kind);
    }
    // A copy within one image reads what it has written, as pixel by pixel.
    cImage s(PixelFormat::XRGB8888, 40, 2), t(PixelFormat::XRGB8888, 40, 2);
    Scribble(s, rng, {});
    t = s;
    CopyRect(s, 1, 0, s, 0, 0, 39, 2, {}, Convert::None, PixelPath::Auto);
    CopyRect(t, 1, 0, t, 0, 0, 39, 2, {}, Convert::None, PixelPath::General);
    EXPECT_TRUE(s == t);
}
