// Reading and writing 10 MB of records (conditions, movement and shot
// definitions) through the record framework, from and to memory.
#include <benchmark/benchmark.h>

#include "records/cond.h"
#include "records/ed_move.h"
#include "records/ed_shot.h"

namespace {

class cBenchFile : public cRecord<cBenchFile> {
public:
    std::vector<cCond> m_vecCond;
    std::vector<cEdMove> m_vecMove;
    std::vector<cEdShot> m_vecShot;
    template <class F>
    void Fields(F& f) {
        f.Vector("m_vecCond", m_vecCond);
        f.Vector("m_vecMove", m_vecMove);
        f.Vector("m_vecShot", m_vecShot);
    }
};

cBenchFile MakeFile() {
    // About a third of the 10 MB in each vector.
    cBenchFile f;
    const size_t third = 10'000'000 / 3;
    f.m_vecCond.resize(third / 42);
    f.m_vecMove.resize(third / 63);
    f.m_vecShot.resize(third / 105);
    for (size_t i = 0; i < f.m_vecCond.size(); ++i) f.m_vecCond[i].m_nValue = static_cast<int32_t>(i);
    for (size_t i = 0; i < f.m_vecShot.size(); ++i) f.m_vecShot[i].m_nPower = static_cast<int32_t>(i);
    return f;
}

void BM_ReadRecords(benchmark::State& state) {
    cBenchFile src = MakeFile();
    const std::vector<uint8_t> bytes = src.SaveBytes();
    for (auto _ : state) {
        cBenchFile f;
        const bool ok = f.LoadBytes(bytes, "bench");
        benchmark::DoNotOptimize(ok);
        if (!ok) state.SkipWithError("load failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_ReadRecords)->Unit(benchmark::kMillisecond);

void BM_WriteRecords(benchmark::State& state) {
    cBenchFile src = MakeFile();
    size_t size = 0;
    for (auto _ : state) {
        std::vector<uint8_t> bytes = src.SaveBytes();
        size = bytes.size();
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(size));
}
BENCHMARK(BM_WriteRecords)->Unit(benchmark::kMillisecond);

}  // namespace
