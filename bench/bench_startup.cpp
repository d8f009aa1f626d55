// Start-up loading of a large installation: cfg.ini with every [OPT] key and many
// filler sections, plus the text catalogue and lang.ini, as the program reads them.
#include <benchmark/benchmark.h>

#include <string>

#include "config/GlobalVar.h"
#include "config/Log.h"
#include "config/Startup.h"
#include "platform/MessageBox.h"
#include "support/TestDirs.h"

namespace {

std::string LargeCfg() {
    std::string s =
        "[OPT]\r\nappdir=Bench\r\nMacProtocol=1\r\nHideDrvOpt=2\r\nTitle=Bench\r\nVer=1.0\r\n";
    for (int n = 1; n <= 10; ++n)
        s += "Skins" + std::to_string(n) + "=Skin " + std::to_string(n) + ",skin" +
             std::to_string(n) + "\r\n";
    for (int n = 1; n <= 10; ++n)
        s += "Lang" + std::to_string(n) + "=Lang " + std::to_string(n) + ",l" + std::to_string(n) +
             "\r\n";
    s += "ptKeyMsDlg=30,40\r\nrcHomePageBtn=1,2,3,4\r\nClrPopWndBkg=6,6,7\r\nrcMacroList=40,46,230,"
         "356\r\n";
    for (int nSec = 0; nSec < 200; ++nSec) {
        s += "[FILLER" + std::to_string(nSec) + "]\r\n";
        for (int k = 0; k < 50; ++k)
            s += "Key" + std::to_string(k) + "=" + std::to_string(k * 7) + ",1,2,3,4,5,6,7,8,9\r\n";
    }
    return s;
}

std::string LargeText() {
    std::string s = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<texts><config>\n";
    for (int i = 1; i <= 36; ++i)
        s += "<tc_macro_msg" + std::to_string(i) + ">Macro message &amp; text " +
             std::string(150, 'x') + "</tc_macro_msg" + std::to_string(i) + ">\n";
    for (int i = 1; i <= 30; ++i)
        s += "<tc_msg" + std::to_string(i) + ">General message &eacute; " + std::string(150, 'y') +
             "</tc_msg" + std::to_string(i) + ">\n";
    s += "<tc_title>Bench</tc_title></config></texts>\n";
    return s;
}
} // namespace

static void BM_LoadConfiguration(benchmark::State& state) {
    CDiscardingMessageSink sink;
    SetMessageBoxSink(&sink);
    CTempDir prog, data, desk;
    prog.Write("cfg.ini", LargeCfg());
    prog.Write("Text/l1/text.xml", LargeText());
    data.Write("Bench/lang.ini", "[OPT]\r\nLangIndex=0\r\nSkinsIndex=0\r\n");
    CGlobalVar var;
    CMacroLimits limits;
    for (auto _ : state) {
        bool bOk =
            LoadConfiguration(StartupDirs{prog.Path(), data.Path(), desk.Path()}, var, limits);
        benchmark::DoNotOptimize(bOk);
    }
    state.counters["cfg_bytes"] = static_cast<double>(LargeCfg().size());
    LogReset();
    SetMessageBoxSink(nullptr);
}
BENCHMARK(BM_LoadConfiguration)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

static void BM_ParseLargeIni(benchmark::State& state) {
    std::string strCfg = LargeCfg();
    for (auto _ : state) {
        CIniFile ini;
        ini.LoadFromBytes(strCfg.data(), strCfg.size());
        benchmark::DoNotOptimize(ini.GetInt("FILLER199", "Key49", 0));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(strCfg.size()));
}
BENCHMARK(BM_ParseLargeIni)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
