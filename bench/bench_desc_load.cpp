// Loading the device descriptions of a large installation: section MS with every key, ten
// sensor sections with 250-value resolution and code lists, all 63 button entries and 21
// marks each, a keyboard with 18 effects, 10 colour groups of 150 keys and 150 KBKEY keys,
// and a pad.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "config/GlobalVar.h"
#include "config/IniFile.h"
#include "config/KbPadDescLoader.h"
#include "config/MouseDescLoader.h"
#include "platform/MessageBox.h"

namespace {

const int32_t g_Sensors[10] = {0x3050, 0x5050, 0x9800, 0x3310, 0x3212,
                               0x3320, 0x3325, 0x3330, 0x3360, 0x3389};

std::string List(int nCount, int nFirst, int nStep) {
    std::string s;
    for (int i = 0; i < nCount; ++i) {
        s += (i ? "," : "") + std::to_string(nFirst + i * nStep);
    }
    return s;
}

std::string LargeCfg() {
    std::string s = "[OPT]\r\nMsFw=0x10\r\nKbFw=20\r\nPadFw=40\r\n[MS]\r\n"
                    "VID=0x258A\r\nPID=0x1011\r\nPop=1\r\nShowEffect=1\r\nShowLOD=1\r\n"
                    "AutoSw=1\r\nLOD=0x40203\r\nRGBIndex=0,1,2\r\nDPIRGBIndex=0,1,2\r\n"
                    "clrEffectTail=" +
                    List(21, 1, 11) +
                    "\r\nKeySwVk=0,0,0\r\nclrChijiBkg=4,106,157\r\nExKey1=0x51\r\n"
                    "ScrollKey=0x0706\r\nLedParam=" +
                    List(20, 1, 1) + "\r\nLedParam2=" + List(20, 2, 1) + "\r\nSnipMenu=1,15," +
                    List(15, 1, 3) + "\r\nPSD=89,48,10,01\r\nPickColor=" + List(60, 1, 4) +
                    "\r\nGunColor=" + List(30, 1, 8) + "\r\nGunValue=" + List(21, 1, 1) +
                    "\r\nShowUsbRateForPUBG=125,250,500,1000\r\nSensor=0x3389\r\n";
    for (int n = 1; n <= 15; ++n) {
        s += "LedOpt" + std::to_string(n) + "=1,0,1,0,8," + List(24, 10, 9) + "\r\n";
    }
    for (int n = 1; n <= 10; ++n) {
        s += "[SENSOR_" + std::to_string(n) + "]\r\nSensor=" + std::to_string(g_Sensors[n - 1]) +
             "\r\nRATE1=0x125\r\nRATE2=0x250\r\nRATE3=0x500\r\nRATE4=0x1000\r\nDR=0x1000\r\n"
             "DM=10\r\nDEFLEVEL=2\r\nDPISET=" +
             List(250, 100, 100) + "\r\nDPIHW=" + List(250, 1, 1) + "\r\nDPILK=" + List(250, 1, 1) +
             "\r\nDPI=" + List(10, 100, 100) + "\r\nDC=" + List(30, 5, 8) +
             "\r\nKEYH=6\r\nMOUSEX=360\r\nMOUSEY=50\r\nMDNUM=9\r\nKM=42\r\n";
        for (int m = 1; m <= 3; ++m) {
            for (int k = 1; k <= 21; ++k) {
                s += "K" + std::to_string(k) + "_" + std::to_string(m) + "=8,c0,3021," +
                     std::to_string(k - 1) + "\r\n";
            }
        }
        for (int k = 1; k <= 21; ++k) {
            s += "Mark" + std::to_string(k) + "=" + std::to_string(10 * k) + ",20,18,18\r\n";
        }
    }
    s += "[KB]\r\nVID=0x258A\r\nPID=0x0090\r\nShowGest=1\r\nClrKeyOv=0,170,255\r\n"
         "NeonSpeed=50,40,30,20,15\r\nPSD=16,08,20,00,00,00\r\nrcKB=280,180,674,185\r\n"
         "DefLed=" +
         List(20, 0, 1) + "\r\nUnRectKey=70," + List(48, 10, 10) +
         "\r\nEffectNum=17\r\nLEDParam=" + List(40, 16, 1) + "\r\nGaoshouGroupNum=10\r\n";
    for (int g = 1; g <= 10; ++g) {
        s += "GaoshouKey" + std::to_string(g) + "=" + List(150, 1, 1) + "\r\n";
    }
    for (int n = 1; n <= 18; ++n) {
        s += "LedOpt" + std::to_string(n) + "=" + List(26, n, 3) + "\r\n";
    }
    s += "[KBKEY]\r\n";
    for (int n = 1; n <= 150; ++n) {
        s += "K" + std::to_string(n) + "=" + std::to_string(n * 10) + ",0," +
             std::to_string(n * 10 + 9) + ",9,2," + std::to_string(0x41 + n % 26) + ",0," +
             std::to_string(n - 1) + "," + std::to_string(n - 1) + "\r\n";
    }
    s += "[PAD]\r\nVID=0x258A\r\nPID=0x00A0\r\nPSD=40,01\r\nptPadDlg=360,100\r\nLedParam=" +
         List(20, 1, 1) + "\r\nptEft1=23,47\r\nptEft2=484,372\r\n";
    return s;
}

void LoadAll(const CIniFile& ini, CGlobalVar& var) {
    var.MsFw = 0x10;
    var.KbFw = 20;
    var.PadFw = 40;
    LoadMsSection(ini, var);
    LoadKbSection(ini, var);
    LoadPadSection(ini, var);
}

// The description sections from a parsed cfg.ini.
void BM_DescLoadSections(benchmark::State& state) {
    CDiscardingMessageSink sink;
    SetMessageBoxSink(&sink);
    const std::string strCfg = LargeCfg();
    CIniFile ini;
    ini.LoadFromBytes(strCfg.data(), strCfg.size());
    auto pVar = std::make_unique<CGlobalVar>();
    for (auto _ : state) {
        LoadAll(ini, *pVar);
        benchmark::DoNotOptimize(pVar->Dev.Ms.nSensorCfgIndex);
    }
    state.counters["cfg_bytes"] = static_cast<double>(strCfg.size());
    SetMessageBoxSink(nullptr);
}
BENCHMARK(BM_DescLoadSections)->Unit(benchmark::kMillisecond);

// The whole installation: reading the file's bytes, a cleared record, every section.
void BM_DescLoadInstallation(benchmark::State& state) {
    CDiscardingMessageSink sink;
    SetMessageBoxSink(&sink);
    const std::string strCfg = LargeCfg();
    for (auto _ : state) {
        CIniFile ini;
        ini.LoadFromBytes(strCfg.data(), strCfg.size());
        auto pVar = std::make_unique<CGlobalVar>();
        LoadAll(ini, *pVar);
        benchmark::DoNotOptimize(pVar->Dev.Ms.nSensorCfgIndex);
    }
    SetMessageBoxSink(nullptr);
}
BENCHMARK(BM_DescLoadInstallation)->Unit(benchmark::kMillisecond);

} // namespace
