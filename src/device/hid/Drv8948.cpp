#include "device/hid/Drv8948.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "config/Log.h"
#include "config/SensorTable.h"
#include "device/hid/CurLevels.h"
#include "device/hid/LevelOrdinal.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"

CDrv8948::CDrv8948(CGlobalVar& var, CHidLib* pLib) : CHidDrv(var, pLib) {
    m_nCmdDelay = (var.MsFw & 0xF) == 1 ? 40 : 20;
}

CDrv8948::~CDrv8948() {
    Shutdown();
    ClearHandle();
}

void CDrv8948::ClearHandle() {
    LogPrint("CDrv8948::ClearHandle");
    Close(m_hCmd);
    Close(m_hData);
    Close(m_hNotify);
}

int CDrv8948::IsPresent() {
    const MouseDesc& ms = m_var.Dev.Ms;
    std::string strPattern = MakeDevPattern(uint16_t(ms.VID), uint16_t(ms.PID), false);
    int nFound = 0;
    m_pLib->OpenHidDevice(0xFF00, 1, strPattern.c_str(), FeatureLenFilter(MS_DATA_REPORT), 0, 0, 0,
                          kHidAccessNone, kHidFlagOverlapped, &nFound);
    return nFound;
}

int CDrv8948::FindDev() {
    const MouseDesc& ms = m_var.Dev.Ms;
    std::vector<uint16_t> vPids;
    uint16_t wCfgPid = uint16_t(ms.PID);
    if (wCfgPid != 0x1007 && wCfgPid != 0x28)
        vPids.push_back(wCfgPid);
    vPids.push_back(0x1007);
    vPids.push_back(0x28);

    auto cmdFilter = [](int, int, int, int nFeature) {
        LogPrint("Aly8948_1: nCfgSize=%d, FeatureSize=%d", MS_CMD_REPORT, nFeature);
        return nFeature == MS_CMD_REPORT ? 1 : 0;
    };
    auto dataFilter = [](int, int, int, int nFeature) {
        LogPrint("Aly8948_2: nCfgSize=%d, FeatureSize=%d", MS_DATA_REPORT, nFeature);
        return nFeature == MS_DATA_REPORT ? 1 : 0;
    };
    int nVerbose = m_var.Debug;
    for (uint16_t wPid : vPids) {
        ClearHandle();
        std::string strPattern = MakeDevPattern(uint16_t(ms.VID), wPid, false);
        LogPrint("CDrv8948  FindDev: looking for %s", strPattern.c_str());
        const char* psz = strPattern.c_str();
        HidHandle hCmd = m_pLib->OpenHidDevice(0xFF00, 1, psz, cmdFilter, 0, 0, nVerbose,
                                               kHidAccessNone, kHidFlagOverlapped, nullptr);
        nVerbose = 0;
        HidHandle hData = m_pLib->OpenHidDevice(0xFF00, 1, psz, dataFilter, 0, 0, 0, kHidAccessNone,
                                                kHidFlagOverlapped, nullptr);
        HidHandle hNotify =
            m_pLib->OpenHidDevice(0xFF00, 1, psz, InputLenFilter(MS_NOTIFY_REPORT), 0, 0, 0,
                                  kHidAccessNotify, kHidFlagOverlapped, nullptr);
        Store(m_hCmd, hCmd);
        Store(m_hData, hData);
        Store(m_hNotify, hNotify);
        if (hCmd && hData)
            break;
    }
    m_cvIdle.notify_all(); // the listener may start reading at once
    HidHandle hCmd = Load(m_hCmd), hData = Load(m_hData), hNotify = Load(m_hNotify);
    LogPrint("m_hCmd=0x%x, m_hData=0x%x, m_hNotify=0x%x", HandleId(hCmd), HandleId(hData),
             HandleId(hNotify));
    if (!hCmd || !hData) {
        ClearHandle();
        return 0;
    }
    return Handshake();
}

int CDrv8948::Handshake() {
    MouseDesc& ms = m_var.Dev.Ms;
    uint8_t byCode[4] = {0, 0, 0, 0};
    SleepMs(uint32_t(m_nCmdDelay));
    if (!GetPsd(byCode)) {
        LogPrint("FindDev: GetPsd, err=0x%x", HidLastError());
        PlatformMessageBox("Warning", "GetPsd Err");
        std::memset(byCode, 0, sizeof byCode);
    }
    static const uint8_t kZero[4] = {0, 0, 0, 0};
    if (std::memcmp(ms.PSD, kZero, 4) != 0 && std::memcmp(ms.PSD, byCode, 4) != 0) {
        LogPrint("Psd unmatched: dev=%02x,%02x,%02x,%02x", byCode[0], byCode[1], byCode[2],
                 byCode[3]);
        PlatformMessageBox("Warning", "Psd Unmatch");
        ClearHandle();
        return -1;
    }

    SleepMs(uint32_t(m_nCmdDelay));
    m_nDevMode = GetMode();
    g_nCurMode = m_nDevMode;
    LogPrint("FindDev: GetMode= %d", m_nDevMode);

    uint8_t byGeneral[MS_GENERAL_LEN];
    SleepMs(uint32_t(m_nCmdDelay));
    if (!GetProfile(1, byGeneral)) {
        LogPrint("FindDev: Get general data error, err=0x%x", HidLastError());
        ClearHandle();
        return 0;
    }
    LogPrint("GetProfile");
    LogDump(byGeneral, 80, 16, "");

    int nSensor = GetSenosr(byGeneral[1] & 0x3F);
    m_nSensor = nSensor;
    LogPrint("nMsSensor=0x%x, bAutoSwitch=%x", nSensor, ms.AutoSw);
    if (nSensor == 0) {
        PlatformMessageBox("Warning", "     Senr error    ");
        return 1;
    }
    if (ms.AutoSw) {
        if (FindSensorEntry(ms, nSensor) == nullptr) {
            char sz[64];
            std::snprintf(sz, sizeof sz, "Sensor %04x is not supported", nSensor);
            PlatformMessageBox("Info", sz);
            ClearHandle();
            return 0;
        }
        set_cur_sensor(ms, nSensor);
    } else if (nSensor != ms.Sensor) {
        char sz[80];
        std::snprintf(sz, sizeof sz, "Sensor unmatch: dev=0x%04x, cfg=0x%04x", nSensor, ms.Sensor);
        LogPrint("%s", sz);
        PlatformMessageBox("Warning", sz);
        ClearHandle();
        return -1;
    }

    ReadLevels(0, byGeneral);
    const SensorCfg* pCfg = ms.pSensorCfg();
    int nModes = pCfg ? pCfg->MDNUM : 1;
    for (int nMode = 2; nMode <= 3 && nMode <= nModes; ++nMode) {
        SleepMs(uint32_t(m_nCmdDelay));
        if (GetProfile(nMode, byGeneral))
            ReadLevels(nMode - 1, byGeneral);
    }
    LogPrint("g_nCurDpiLevel = %d, %d, %d", g_nCurDpiLevel[0], g_nCurDpiLevel[1],
             g_nCurDpiLevel[2]);
    if (ms.ShowLOD)
        LogPrint("g_nCurLODLevel = %d, %d, %d", g_nCurLODLevel[0], g_nCurLODLevel[1],
                 g_nCurLODLevel[2]);
    return 1;
}

void CDrv8948::ReadLevels(int nModeIndex, const uint8_t* pGeneral) {
    const MouseDesc& ms = m_var.Dev.Ms;
    const SensorCfg* pCfg = ms.pSensorCfg();
    int nCount = pCfg ? pCfg->DM : 0;
    if (nCount > DPI_LEVEL_MAX)
        nCount = DPI_LEVEL_MAX;
    int nDpi = LevelIndexFromOrdinal(pGeneral[3] >> 4, pGeneral[4], nCount, true);
    if (nDpi >= 0 && nDpi < nCount)
        g_nCurDpiLevel[nModeIndex] = nDpi;
    if (ms.ShowLOD) {
        // Ordinal 0 names no lift-off level, so it keeps the index as it was.
        int nOrd = pGeneral[122] >> 4;
        int nLod = LevelIndexFromOrdinal(nOrd, pGeneral[123], 8, nOrd != 0);
        if (nLod >= 0 && nLod < 8)
            g_nCurLODLevel[nModeIndex] = nLod;
    }
}
