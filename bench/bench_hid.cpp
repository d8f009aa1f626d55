// Feature-report round trip through the simulated back-end and report-descriptor parsing
// of a descriptor as large as the kernel hands out.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "device/hid/HidLib.h"
#include "device/hid/ReportDescriptor.h"
#include "device/sim/SimBackend.h"
#include "device/sim/SimDescriptors.h"
#include "device/sim/SimMouse8948.h"

namespace {

void BM_SimFeatureRoundTrip(benchmark::State& state) {
    CSimBackend backend;
    const uint8_t byCode[4] = {1, 2, 3, 4};
    backend.Attach(std::make_shared<CSimMouse8948>("mouse", 0x258A, 0x1007, byCode, 6));
    CHidLib lib(&backend);
    HidHandle h = lib.OpenHidDevice(0xFF00, 1, "VID_258a&PID_1007", FeatureLenFilter(6), 0, 0, 0, 0,
                                    0, nullptr);
    if (!h) {
        state.SkipWithError("no simulated mouse");
        return;
    }
    const uint8_t byCmd[6] = {5, 0x02, 0, 0, 0, 0};
    uint8_t byReply[6];
    for (auto _ : state) {
        lib.SetFeature(h, byCmd, sizeof byCmd);
        byReply[0] = 5;
        lib.GetFeature(h, byReply, sizeof byReply);
        benchmark::DoNotOptimize(byReply);
    }
}
BENCHMARK(BM_SimFeatureRoundTrip)->Repetitions(5)->ReportAggregatesOnly(true);

// 4096 bytes (the kernel's largest descriptor): vendor collections with two reports each,
// nested logical collections and push/pop around every second report.
std::vector<uint8_t> LargeDescriptor() {
    std::vector<uint8_t> v;
    for (int i = 0; v.size() < 4000 && i < 60; ++i) {
        std::vector<uint8_t> c = {0x06, 0x00, 0xFF, 0x09, uint8_t(1 + i % 4), 0xA1, 0x01};
        for (int k = 0; k < 8; ++k) {
            c.insert(c.end(), {0xA1, 0x02, 0xA4, 0x85,           uint8_t(1 + (i * 4 + k) % 250),
                               0x15, 0x00, 0x26, 0xFF,           0x00,
                               0x75, 0x08, 0x95, uint8_t(8 + k), 0x09,
                               0x01, 0xB1, 0x02, 0x81,           0x02,
                               0xB4, 0xC0});
        }
        c.push_back(0xC0);
        if (v.size() + c.size() > 4096)
            break;
        v.insert(v.end(), c.begin(), c.end());
    }
    return v;
}

void BM_ParseLargeDescriptor(benchmark::State& state) {
    std::vector<uint8_t> v = LargeDescriptor();
    for (auto _ : state) {
        CReportDescriptor rd = ParseReportDescriptor(v.data(), v.size());
        benchmark::DoNotOptimize(rd);
    }
    state.counters["bytes"] = double(v.size());
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(v.size()));
}
BENCHMARK(BM_ParseLargeDescriptor)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
