// A full screen of text: 40 × 25 CP932 characters of font 1, shadowed, in
// the Direct3D family onto a 640 × 480 32-bit back buffer.
#include <benchmark/benchmark.h>

#include "media/gfx/image.h"
#include "media/gfx/pixel_ops.h"
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

void BM_TextScreenDirect3D(benchmark::State& state) {
    text::TextStyle style;
    style.faceName = SJ("ＭＳ Ｐゴシック");
    style.face = text::cFontFace::Open(style.faceName, 16, 0);
    style.charPitch = 16;
    style.linePitch = 16;
    style.colour = 0xFFFFFFFF;
    style.shadowColour = 0xFF666666;
    style.shadow = true;
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

}  // namespace
