// CPU time of encoding and writing a full profile with each family's ApplySetting against
// the simulated devices: no transfer latency and a clock whose pauses return at once, so the
// figure is the encoders' work plus the simulator's handling of every report (copies and
// its trace), without any waiting.
#include <benchmark/benchmark.h>

#include "ApplyBenchSetup.h"
#include "device/models/ApplyThread.h"
#include "support/FakeClock.h"

namespace {

void RunEncode(benchmark::State& state, int nFamily) {
    CFakeClock clock;
    CApplyBench bench;
    std::string strError;
    if (!bench.Init(strError)) {
        state.SkipWithError(strError.c_str());
        return;
    }
    CHidDev* pDev = nFamily == 0   ? static_cast<CHidDev*>(bench.pMs.get())
                    : nFamily == 1 ? static_cast<CHidDev*>(bench.pKb.get())
                                   : static_cast<CHidDev*>(bench.pPad.get());
    const int nFlag = nFamily == 0   ? APPLY_FULL_MOUSE
                      : nFamily == 1 ? APPLY_FULL_KEYBOARD
                                     : APPLY_FULL_PAD;
    bench.TakeReports(); // discovery's
    // One apply outside the timing shows that the profile is accepted as a whole.
    if (pDev->ApplySetting(*bench.pPro, nullptr, APPLY_PROGRESS_MSG, nFlag) != 1) {
        state.SkipWithError("the full apply failed");
        return;
    }
    const size_t nReports = bench.TakeReports();
    for (auto _ : state) {
        int nResult = pDev->ApplySetting(*bench.pPro, nullptr, APPLY_PROGRESS_MSG, nFlag);
        benchmark::DoNotOptimize(nResult);
        // The simulator's trace would otherwise grow without end inside the timing.
        state.PauseTiming();
        bench.TakeReports();
        state.ResumeTiming();
    }
    state.counters["reports"] = double(nReports);
}

void BM_EncodeMouseFullProfile(benchmark::State& state) {
    RunEncode(state, 0);
}
void BM_EncodeKeyboardFullProfile(benchmark::State& state) {
    RunEncode(state, 1);
}
void BM_EncodePadFullProfile(benchmark::State& state) {
    RunEncode(state, 2);
}

BENCHMARK(BM_EncodeMouseFullProfile)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_EncodeKeyboardFullProfile)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_EncodePadFullProfile)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
