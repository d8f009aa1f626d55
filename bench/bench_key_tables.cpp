// The key tables load at every start-up: 150 keyboard keys, their Fn functions, the gesture
// keys and four presets of 63 buttons must take a small part of the whole installation's
// 5 ms budget.
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "config/KeyTablesLoader.h"
#include "platform/MessageBox.h"

namespace {

std::string BuildCfg() {
    std::string str = "[OPT]\r\nKbFw=20\r\n[KBKEY]\r\n";
    for (int n = 0; n < 150; ++n) {
        char szLine[128];
        snprintf(szLine, sizeof(szLine), "K%d=%d,%d,%d,%d,2,%X,0,%d,%d\r\n", n + 1,
                 282 + (n % 22) * 29, 182 + (n / 22) * 29, 309 + (n % 22) * 29, 209 + (n / 22) * 29,
                 n % 7 == 0 ? 0xA0 + n % 6 : 0x30 + n % 90, n, n);
        str += szLine;
    }
    str += "[FN]\r\n";
    for (int n = 0; n < 64; ++n) {
        char szLine[64];
        if (n % 2)
            snprintf(szLine, sizeof(szLine), "K%d=3,%X,0\r\n", n * 2 + 1, 0x21 + n % 8);
        else
            snprintf(szLine, sizeof(szLine), "K%d=8,A8,0,%d\r\n", n * 2 + 1, n / 2);
        str += szLine;
    }
    str += "[GEST]\r\n";
    for (int n = 1; n <= 10; ++n)
        str += "K" + std::to_string(n) + "=3,22,0," + std::to_string(130 + n) + "\r\n";
    return str;
}

std::string BuildProCfg() {
    static const char* const aValues[] = {"1,11,0,%X",      "2,4341,3,%X", "8,c0,3021,%X",
                                          "8,a4,f00305,%X", "5,0,1,%X",    "3,22,0,%X"};
    std::string str;
    for (int p = 1; p <= 4; ++p) {
        str += "[PRO" + std::to_string(p) + "]\r\n";
        for (int m = 1; m <= 3; ++m)
            for (int k = 1; k <= 21; ++k) {
                char szValue[64], szLine[96];
                snprintf(szValue, sizeof(szValue), aValues[(k + m + p) % 6], k - 1);
                snprintf(szLine, sizeof(szLine), "K%d_%d=%s\r\n", k, m, szValue);
                str += szLine;
            }
    }
    return str;
}

void BM_LoadKeyTables(benchmark::State& state) {
    std::string strDir = (std::filesystem::temp_directory_path() / "velkin-bench-XXXXXX").string();
    if (!mkdtemp(strDir.data())) {
        state.SkipWithError("mkdtemp failed");
        return;
    }
    std::ofstream(strDir + "/cfg.ini", std::ios::binary) << BuildCfg();
    std::ofstream(strDir + "/ProCfg.ini", std::ios::binary) << BuildProCfg();
    CDiscardingMessageSink sink;
    SetMessageBoxSink(&sink);
    auto pVar = std::make_unique<CGlobalVar>();
    pVar->KbFw = 20;
    pVar->Dev.Kb.ShowGest = 1;
    pVar->szProgramDir = strDir + "/";
    for (auto _ : state) {
        CIniFile cfg(strDir + "/cfg.ini");
        LoadKbKeyTable(cfg, *pVar);
        LoadKeyPresets(*pVar);
        LoadKeyTables(cfg, *pVar);
        benchmark::DoNotOptimize(pVar->Dev.Keys.g_defKEY[149].Fn.dwFun);
    }
    if (pVar->Dev.Keys.nKbKeyNum != 150 || pVar->Dev.Keys.Gest[9].Main.dwFun == 0 ||
        pVar->Dev.Keys.ProPreset[3][2][20].Main.dwFun == 0)
        state.SkipWithError("the tables did not load");
    SetMessageBoxSink(nullptr);
    std::filesystem::remove_all(strDir);
}
BENCHMARK(BM_LoadKeyTables)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

} // namespace
