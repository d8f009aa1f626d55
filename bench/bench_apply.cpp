// Wall time of a full apply through the apply thread against the simulated devices, with no
// transfer latency and the real clock, beside the sum of the pauses the protocol asks for
// (the progress-window look-ups, the encoders' waits, the pause at 100 and the close). A
// clock wrapper counts every pause; the "overhead_pct" counter is how far the wall time lies
// above that sum, "reports" the feature reports of one full apply. The wall time includes the
// request's snapshot of the profile and its macros, taken on the requesting thread as the
// program does.
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <mutex>

#include "ApplyBenchSetup.h"
#include "device/models/ApplyThread.h"
#include "platform/Clock.h"

namespace {

// The real clock, with the pauses summed.
class CPauseCountingClock : public IClock {
public:
    explicit CPauseCountingClock(IClock& real) : m_real(real) {}
    uint64_t NowMs() override { return m_real.NowMs(); }
    LocalTime Now() override { return m_real.Now(); }
    void SleepMs(uint32_t nMs) override {
        m_nSleptMs += nMs;
        m_real.SleepMs(nMs);
    }
    uint64_t Take() { return m_nSleptMs.exchange(0); }

private:
    IClock& m_real;
    std::atomic<uint64_t> m_nSleptMs{0};
};

// A progress window that is always shown and ignores what it is told.
class CSilentProgress : public IProgressSink, public IProgressFinder {
public:
    void PostMessage(uint32_t, uintptr_t, intptr_t) override {}
    void Close() override {}
    IProgressSink* Find(const char*) override { return this; }
};

void RunApply(benchmark::State& state, int nFamily) {
    CPauseCountingClock clock(GetClock());
    SetClock(&clock);
    {
        CApplyBench bench;
        std::string strError;
        if (!bench.Init(strError)) {
            state.SkipWithError(strError.c_str());
            SetClock(nullptr);
            return;
        }
        CHidDev* pDev = nFamily == 0   ? static_cast<CHidDev*>(bench.pMs.get())
                        : nFamily == 1 ? static_cast<CHidDev*>(bench.pKb.get())
                                       : static_cast<CHidDev*>(bench.pPad.get());
        const int nFlag = nFamily == 0   ? APPLY_FULL_MOUSE
                          : nFamily == 1 ? APPLY_FULL_KEYBOARD
                                         : APPLY_FULL_PAD;
        CSilentProgress progress;
        // No listener: the outcomes are only kept, nothing is shown or set on the desktop.
        CApplyThread thread(gVar, &progress);
        thread.Start(pDev);
        bench.TakeReports();
        clock.Take();
        double dWallMs = 0, dPauseMs = 0, dReports = 0;
        int nApplies = 0;
        for (auto _ : state) {
            const auto t0 = std::chrono::steady_clock::now();
            // No sink: the window is looked up by title, as the protocol's pauses assume.
            thread.Request(nFlag, MakeApplySnapshot(*bench.pPro, bench.macros, bench.bullets),
                           nullptr);
            thread.WaitHandled(nApplies + 1, 60000);
            const auto t1 = std::chrono::steady_clock::now();
            ++nApplies;
            const double dMs = std::chrono::duration<double, std::milli>(t1 - t0).count();
            state.SetIterationTime(dMs / 1000.0);
            dWallMs += dMs;
            dPauseMs += double(clock.Take());
            dReports += double(bench.TakeReports());
            if (thread.LastResult() != 1) {
                state.SkipWithError("the full apply failed");
                break;
            }
        }
        thread.Stop();
        if (nApplies > 0) {
            state.counters["pauses_ms"] = dPauseMs / nApplies;
            state.counters["overhead_pct"] = (dWallMs - dPauseMs) / dPauseMs * 100.0;
            state.counters["reports"] = dReports / nApplies;
        }
    }
    SetClock(nullptr);
}

void BM_FullApplyMouse(benchmark::State& state) {
    RunApply(state, 0);
}
void BM_FullApplyKeyboard(benchmark::State& state) {
    RunApply(state, 1);
}
void BM_FullApplyPad(benchmark::State& state) {
    RunApply(state, 2);
}

BENCHMARK(BM_FullApplyMouse)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_FullApplyKeyboard)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_FullApplyPad)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

} // namespace
