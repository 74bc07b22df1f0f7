// A full screen of text: 40 × 25 CP932 characters of font 1, shadowed, in
// the Direct3D family onto a 640 × 480 32-bit back buffer.
#include <benchmark/benchmark.h>

#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_init.h"
#include "media/gfx/image.h"
#include "media/gfx/pixel_ops.h"
#include "media/text/cached_text.h"
#include "media/text/font.h"
#include "media/text/image_text.h"
#include "platform/cp932.h"

namespace {

std::string ScreenText() {
    const std::string pool = platform::Utf8ToCp932(
        "ゲームスタート！はじめからつづきからオプション漢字表示ＡＢＣ０１２３abcXYZ（）「」ｱｲｳ");
    std::vector<std::string> chars;
    for (size_t i = 0; i < pool.size();) {
        size_t n = (static_cast<unsigned char>(pool[i]) >= 0x81 && static_cast<unsigned char>(pool[i]) <= 0x9F) ||
                           static_cast<unsigned char>(pool[i]) >= 0xE0
                       ? 2
                       : 1;
        chars.push_back(pool.substr(i, n));
        i += n;
    }
    std::string s;
    for (int row = 0; row < 25; ++row) {
        for (int col = 0; col < 40; ++col) s += chars[(row * 40 + col) % chars.size()];
        if (row < 24) s += '\n';
    }
    return s;
}

text::TextStyle Font1Shadowed() {
    text::TextStyle style;
    style.faceName = SJ("ＭＳ Ｐゴシック");
    style.face = text::cFontFace::Open(style.faceName, 16, 0);
    style.charPitch = 16;
    style.linePitch = 16;
    style.colour = 0xFFFFFFFF;
    style.shadowColour = 0xFF666666;
    style.shadow = true;
    return style;
}

// Glyph cache off: every character through the layout and the glyph cache of
// the face.
void BM_TextScreenDirect3D(benchmark::State& state) {
    text::TextStyle style = Font1Shadowed();
    if (!style.face) {
        state.SkipWithError("no Japanese face");
        return;
    }
    gfx::cImage back(gfx::PixelFormat::XRGB8888, 640, 480);
    gfx::FillRect(back, 0, 0, 640, 480, 0x203060);
    text::cImageTextTarget target(back, text::TextFamily::kDirect3D);
    const std::string s = ScreenText();
    text::DrawTextBody(target, style, 0, 0, s, false);  // glyphs rendered once
    for (auto _ : state) {
        text::DrawTextBody(target, style, 0, 0, s, false);
        benchmark::DoNotOptimize(back.Bits());
    }
}
BENCHMARK(BM_TextScreenDirect3D)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Glyph cache on: characters copied from the two atlases.
void BM_TextScreenDirect3DCached(benchmark::State& state) {
    text::TextStyle style = Font1Shadowed();
    if (!style.face) {
        state.SkipWithError("no Japanese face");
        return;
    }
    const auto grid = text::FullAtlasGrid(true, 16, 16, 640, 480);
    text::cGlyphAtlas half(text::kFastFontHalf, 16, 16, 16, 16);
    text::cGlyphAtlas full(text::kFastFontFull, 16, 16, grid.columns, grid.rows);
    text::FillHalfAtlas(half, style);
    text::FillFullAtlas(full, style, false);
    gfx::cImage back(gfx::PixelFormat::XRGB8888, 640, 480);
    gfx::FillRect(back, 0, 0, 640, 480, 0x203060);
    text::cImageTextTarget target(back, text::TextFamily::kDirect3D);
    const std::string s = ScreenText();
    text::DrawTextBodyCached(target, style, 0, 0, s, false, half, full);
    for (auto _ : state) {
        text::DrawTextBodyCached(target, style, 0, 0, s, false, half, full);
        benchmark::DoNotOptimize(back.Bits());
    }
}
BENCHMARK(BM_TextScreenDirect3DCached)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The game's road: font 1 of the start-up with its glyph cache, shadowed
// (atlases rebuilt after the setting, as after a device recovery), drawing
// onto the Direct3D 32-bit back buffer.
void BM_TextScreenFontDirect3D(benchmark::State& state) {
    BuildBitmapTable();
    if (!DDInit(1, nullptr, 640, 480, 32, 0, 1, 1, 60, 0, SurfaceTable, BitmapTable, 72, 0)) {
        state.SkipWithError("DDInit failed");
        return;
    }
    FontSettings settings;
    settings.faceName = SJ("ＭＳ Ｐゴシック");
    settings.decoration = 1;
    SetUpFonts(settings);
    g_Fonts[1].RestoreFont();
    const std::string s = ScreenText();
    DDFillRectRGB(&g_BackBuffer, 0, 0, 640, 480, 0xFF203060);
    g_Fonts[1].DrawString(&g_BackBuffer, 0, 0, s);
    for (auto _ : state) {
        g_Fonts[1].DrawString(&g_BackBuffer, 0, 0, s);
    }
}
BENCHMARK(BM_TextScreenFontDirect3D)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
