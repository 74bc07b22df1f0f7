#include "tools/mkdemo/blend_tables.h"

#include <array>
#include <cstdio>
#include <map>

#include "app/scene_manager.h"
#include "tools/mkdemo/canvas.h"

namespace demo {

namespace {

using Rgb = std::array<int, 3>;

// Where each entry of palette cycle n comes from in the demo palette: the
// cycle applied to a palette whose entries hold their own index.
std::array<int, 256> CycleSource(int n) {
    uint8_t ids[256][4] = {};
    for (int i = 0; i < 256; ++i) ids[i][0] = ids[i][1] = ids[i][2] = static_cast<uint8_t>(i);
    ApplyPaletteCycle(ids, n);
    std::array<int, 256> src{};
    for (int i = 0; i < 256; ++i) src[i] = ids[i][0];
    return src;
}

std::vector<uint8_t> BlendTable(const std::vector<Rgb>& palette) {
    std::map<Rgb, uint8_t> nearest;  // mixes repeat: each is searched once
    auto find = [&](const Rgb& c) {
        auto it = nearest.find(c);
        if (it != nearest.end()) return it->second;
        int best = 0, bestDist = 1 << 30;
        for (int i = 0; i < 256; ++i) {
            int d = 0;
            for (int k = 0; k < 3; ++k) d += (palette[i][k] - c[k]) * (palette[i][k] - c[k]);
            if (d < bestDist) best = i, bestDist = d;
        }
        return nearest[c] = static_cast<uint8_t>(best);
    };
    std::vector<uint8_t> table(65536);
    for (int a = 0; a < 256; ++a)
        for (int b = a; b < 256; ++b) {
            const Rgb mix{(palette[a][0] + palette[b][0]) / 2, (palette[a][1] + palette[b][1]) / 2,
                          (palette[a][2] + palette[b][2]) / 2};
            table[a * 256 + b] = table[b * 256 + a] = find(mix);
        }
    return table;
}

}  // namespace

std::vector<BlendTableFile> DemoBlendTables() {
    const std::vector<uint8_t>& base = DemoPalette();
    std::vector<BlendTableFile> out;
    std::vector<uint8_t> first;  // the table of cycle 0
    for (int n = 0; n < kPaletteCycles; ++n) {
        const std::array<int, 256> src = CycleSource(n);
        std::array<int, 256> back{};
        back.fill(-1);
        for (int i = 0; i < 256; ++i) back[src[i]] = i;
        bool bPermutation = true;
        for (int v : back) bPermutation = bPermutation && v >= 0;
        std::vector<uint8_t> table;
        if (bPermutation && !first.empty()) {
            // The cycle only moves colours: the table of cycle 0, moved alike.
            table.resize(65536);
            for (int a = 0; a < 256; ++a)
                for (int b = 0; b < 256; ++b)
                    table[a * 256 + b] = static_cast<uint8_t>(back[first[src[a] * 256 + src[b]]]);
        } else {
            std::vector<Rgb> palette(256);
            for (int i = 0; i < 256; ++i)
                for (int k = 0; k < 3; ++k) palette[i][k] = base[src[i] * 3 + k];
            table = BlendTable(palette);
        }
        if (n == 0) first = table;
        char name[32];
        std::snprintf(name, sizeof name, "bmp\\hbt\\hbt%02d.dat", n);
        out.push_back({name, std::move(table)});
    }
    return out;
}

}  // namespace demo
