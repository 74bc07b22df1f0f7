// Reading a generated stage with 10,000 placed objects (8,000 blocks, 1,500
// charas with a flow each, 500 items), many of them inheriting from the
// stage palettes, the way the loader thread reads it (temporary record,
// upgrades, normalisation, commit).
#include <benchmark/benchmark.h>

#include "records/stage.h"

namespace {

std::vector<uint8_t> MakeStage() {
    cStage s;
    s.m_strName = "bench";
    s.m_nWidth = 400;
    s.m_nHeight = 60;
    s.m_vecBlockPalette.resize(20);
    s.m_vecCharaPalette.resize(10);
    s.m_vecItemPalette.resize(5);
    for (size_t i = 1; i < s.m_vecBlockPalette.size(); ++i) s.m_vecBlockPalette[i].m_nGraphic = static_cast<int16_t>(i);
    for (size_t i = 1; i < s.m_vecCharaPalette.size(); ++i) {
        s.m_vecCharaPalette[i].m_nGraphic = static_cast<int16_t>(i);
        s.m_vecCharaPalette[i].m_vecFlow.resize(1);
        s.m_vecCharaPalette[i].m_vecFlow[0].m_nId = static_cast<int8_t>(i);
    }
    for (size_t i = 1; i < s.m_vecItemPalette.size(); ++i) s.m_vecItemPalette[i].m_nGraphic = static_cast<int16_t>(i);

    s.m_vecPlacedBlock.resize(8000);
    for (size_t i = 0; i < s.m_vecPlacedBlock.size(); ++i) {
        cEdBlock& b = s.m_vecPlacedBlock[i];
        b.m_nX = static_cast<int16_t>(i % 400);
        b.m_nY = static_cast<int16_t>(i / 400);
        b.m_nGraphic = 1;
        if (i % 2 == 0) {
            b.m_nPaletteSource = PAL_STAGE;
            b.m_nPaletteIndex = static_cast<int16_t>(1 + i % 19);
            b.m_vecInherit.assign(cEdBlock::kGroups, 1);
        }
    }
    s.m_vecPlacedChara.resize(1500);
    for (size_t i = 0; i < s.m_vecPlacedChara.size(); ++i) {
        cEdChara& c = s.m_vecPlacedChara[i];
        c.m_nX = static_cast<int16_t>(i % 400);
        c.m_nGraphic = 2;
        c.m_nSide = i == 0 ? 0 : 1;
        c.m_nPaletteSource = PAL_STAGE;
        c.m_nPaletteIndex = static_cast<int16_t>(1 + i % 9);
        c.m_vecInherit.assign(cEdChara::kGroups, 1);
    }
    s.m_vecPlacedItem.resize(500);
    for (size_t i = 0; i < s.m_vecPlacedItem.size(); ++i) {
        cEdItem& it = s.m_vecPlacedItem[i];
        it.m_nX = static_cast<int16_t>(i % 400);
        it.m_nPaletteSource = PAL_STAGE;
        it.m_nPaletteIndex = static_cast<int16_t>(1 + i % 4);
        it.m_vecInherit.assign(cEdItem::kGroups, 1);
    }
    // Written with its own palettes as the stage palettes.
    const cDefContextScope scope(s.Context());
    return s.SaveBytes();
}

void BM_LoadStage10000Objects(benchmark::State& state) {
    const std::vector<uint8_t> bytes = MakeStage();
    cStage stage;
    for (auto _ : state) {
        const bool ok = stage.LoadStageBytes(bytes, "bench");
        benchmark::DoNotOptimize(ok);
        if (!ok || stage.m_vecPlacedBlock.size() != 8000) state.SkipWithError("load failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_LoadStage10000Objects)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
