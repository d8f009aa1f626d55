#include "config/SensorTable.h"

#include <cstring>
#include <initializer_list>
#include <vector>

#include "config/Log.h"
#include "platform/MessageBox.h"

const int32_t g_SensorIds[SENSOR_NUM] = {0x3050, 0x5050, 0x9800, 0x3310, 0x3212, 0x3320, 0x3325,
                                         0x3330, 0x3360, 0x3610, 0x7350, 0x3327, 0x3606, 0x3389};

const uint32_t g_DefaultDpiColors[DPI_LEVEL_MAX] = {
    0x0000FF, 0xFF0000, 0x00FF00, 0xFFFF00, 0xFF00FF, 0xFFFFFF, 0, 0, 0, 0};

namespace {

// Resolution lists are written as single values and inclusive ranges, as the sensors'
// data sheets list them.
struct DpiRun {
    int32_t nFrom, nTo, nStep;
};

std::vector<int32_t> Expand(std::initializer_list<DpiRun> runs) {
    std::vector<int32_t> v;
    for (const DpiRun& r : runs) {
        for (int32_t n = r.nFrom; n <= r.nTo; n += r.nStep) {
            v.push_back(n);
        }
    }
    return v;
}

DpiRun One(int32_t n) {
    return {n, n, 1};
}

std::vector<int32_t> BuiltInDpi(int32_t nSensor) {
    switch (nSensor) {
    case 0x3050:
        return Expand({{500, 2000, 250}, {2500, 4000, 500}});
    case 0x5050:
        return Expand({{500, 1250, 250}, One(1375), {1500, 2000, 250}, One(2500), One(2750)});
    case 0x9800:
        return Expand(
            {{500, 4000, 250}, {4500, 5000, 500}, {6000, 7000, 1000}, One(8200), One(16400)});
    case 0x3310:
        return Expand({{50, 5000, 50}});
    case 0x3212:
        return {500,  750,  1000, 1200, 1600, 2000, 2400, 3000,
                3200, 3500, 4000, 4500, 5000, 5500, 6000, 7200};
    case 0x3320:
        return Expand({{500, 3500, 250}, {4000, 5000, 500}, {6000, 7000, 1000}});
    case 0x3325:
        return Expand({{200, 5000, 100}, {5500, 10000, 500}});
    case 0x3330:
        return Expand({{500, 3500, 250}, {4000, 5000, 500}, One(6000), One(7200), One(14400)});
    case 0x3360:
        return {500,  800,  1000, 1200, 1600, 2000, 2500, 2800,  3000,  3200, 3500,
                4000, 4500, 5000, 6000, 7000, 8000, 9000, 10000, 12000, 24000};
    case 0x3610:
        return {400, 800, 1000, 1200, 1600, 2000, 2400, 2800, 3000, 3200, 4000, 4800, 5600, 6400};
    case 0x7350:
        return {600, 800, 1000, 1200, 1600, 2000, 2400, 3200};
    case 0x3327:
        // 9500 is not among the sensor's steps.
        return Expand({{200, 6200, 100}, {6500, 9000, 500}, {10000, 12000, 500}, One(12400)});
    case 0x3606:
        return {400, 800, 1200, 1700, 2100, 2500, 3000, 3400, 4200, 5000, 6000, 6800};
    case 0x3389:
        return Expand({{100, 16000, 100}, {17000, 26000, 1000}});
    default:
        return {};
    }
}

SensorTableArray MakeSensorTable() {
    SensorTableArray table{};
    for (int i = 0; i < SENSOR_NUM; ++i) {
        SensorEntry& e = table[i];
        e.nSensor = g_SensorIds[i];
        std::vector<int32_t> v = BuiltInDpi(e.nSensor);
        for (int32_t nDpi : v) {
            if (nDpi == 0 || e.nCount >= SENSOR_DPI_MAX) {
                break;
            }
            e.Dpi[e.nCount++] = nDpi;
        }
        // The 0x3606 takes its codes counted from 0, every other sensor from 1.
        const int nBase = e.nSensor == 0x3606 ? 0 : 1;
        for (int j = 0; j < e.nCount; ++j) {
            e.HwCode[j] = static_cast<uint8_t>(j + nBase);
            e.LockCode[j] = static_cast<uint8_t>(j + nBase);
        }
    }
    return table;
}

struct DefaultLevels {
    int32_t nSensor;
    int32_t Levels[DPI_LEVEL_MAX];
};

const DefaultLevels g_DefaultLevels[] = {
    {0x3050, {750, 1000, 1500, 2000, 2500, 3000}},
    {0x5050, {750, 1000, 1500, 2000, 2500, 2750}},
    {0x9800, {1000, 1500, 2000, 3000, 5000, 8200}},
    {0x3212, {750, 1000, 1600, 2400, 3200, 7200}},
    {0x3320, {750, 1000, 1500, 2000, 2500, 3500}},
    {0x3330, {1000, 1500, 2000, 4000, 6000, 7200}},
    {0x3360, {1000, 1600, 2000, 4000, 6000, 8000}},
    {0x3610, {1000, 1600, 2000, 2400, 3000, 4000}},
    {0x3325, {1000, 1500, 2000, 3000, 4000, 5000, 6000, 8000}},
    {0x3327, {1000, 1500, 2000, 3000, 4000, 5000, 6000, 8000}},
    {0x3389, {1000, 1500, 2000, 3000, 4000, 5000, 6000, 8000}},
    {0x3606, {800, 1200, 2500, 3000, 4200, 5000, 6000}},
};

} // namespace

const SensorTableArray& BuiltInSensorTable() {
    static const SensorTableArray s_table = MakeSensorTable();
    return s_table;
}

void BuildSensorTable(MouseDesc& ms) {
    ms.SensorTable = BuiltInSensorTable();
}

int32_t GetSenosr(int nValue) {
    static const int32_t s_byCode[17] = {0,      0x5050, 0x3050, 0x9800, 0x3320, 0x3330,
                                         0x3360, 0x3610, 0x3212, 0x3310, 0,      0x3325,
                                         0x7350, 0,      0x3327, 0x3389, 0x3606};
    const int32_t nSensor = nValue >= 0 && nValue < 17 ? s_byCode[nValue] : 0;
    LogPrint("GetSenosr: nSensor=0x%x, nValue=%d", static_cast<unsigned>(nSensor), nValue);
    return nSensor;
}

const int32_t* DefaultDpiLevels(int32_t nSensor) {
    for (const DefaultLevels& d : g_DefaultLevels) {
        if (d.nSensor == nSensor) {
            return d.Levels;
        }
    }
    return nullptr;
}

const SensorEntry* FindSensorEntry(const MouseDesc& ms, int32_t nSensor) {
    if (nSensor == 0) {
        return nullptr;
    }
    for (const SensorEntry& e : ms.SensorTable) {
        if (e.nSensor == nSensor) {
            return &e;
        }
    }
    return nullptr;
}

SensorEntry* FindSensorEntry(MouseDesc& ms, int32_t nSensor) {
    return const_cast<SensorEntry*>(FindSensorEntry(static_cast<const MouseDesc&>(ms), nSensor));
}

int FindSensorCfgIndex(const MouseDesc& ms, int32_t nSensor) {
    // Records of missing sections hold sensor 0; they never describe a sensor.
    if (nSensor == 0) {
        return -1;
    }
    for (int i = 0; i < SENSOR_CFG_NUM; ++i) {
        if (ms.SensorCfgs[i].Sensor == nSensor) {
            return i;
        }
    }
    return -1;
}

const SensorCfg* FindSensorCfg(const MouseDesc& ms, int32_t nSensor) {
    const int i = FindSensorCfgIndex(ms, nSensor);
    return i < 0 ? nullptr : &ms.SensorCfgs[i];
}

bool GetSensorDpiList(const MouseDesc& ms, int32_t nSensor, const int32_t*& pDpi, int& nCount) {
    const SensorEntry* p = FindSensorEntry(ms, nSensor);
    if (p == nullptr) {
        return false;
    }
    pDpi = p->Dpi;
    nCount = p->nCount < 0 ? 0 : (p->nCount > SENSOR_DPI_MAX ? SENSOR_DPI_MAX : p->nCount);
    return true;
}

int32_t GetSensorDpiAt(const MouseDesc& ms, int32_t nSensor, int nPos) {
    const int32_t* pDpi = nullptr;
    int nCount = 0;
    if (!GetSensorDpiList(ms, nSensor, pDpi, nCount) || nPos < 0 || nPos >= nCount) {
        return 0;
    }
    return pDpi[nPos];
}

int GetSensorDpiCode(const MouseDesc& ms, int32_t nSensor, int32_t nDpi) {
    const SensorEntry* p = FindSensorEntry(ms, nSensor);
    if (p == nullptr) {
        return 0;
    }
    for (int i = 0; i < p->nCount && i < SENSOR_DPI_MAX; ++i) {
        if (p->Dpi[i] == nDpi) {
            return p->HwCode[i];
        }
    }
    return 0;
}

bool SensorHasDpi(const MouseDesc& ms, int32_t nSensor, int32_t nDpi) {
    const int32_t* pDpi = nullptr;
    int nCount = 0;
    if (!GetSensorDpiList(ms, nSensor, pDpi, nCount)) {
        return false;
    }
    for (int i = 0; i < nCount; ++i) {
        if (pDpi[i] == nDpi) {
            return true;
        }
    }
    return false;
}

void set_cur_sensor(MouseDesc& ms, int32_t nSensor) {
    ms.nCurSensor = nSensor;
    ms.nSensorCfgIndex = FindSensorCfgIndex(ms, nSensor);
    if (ms.nSensorCfgIndex < 0) {
        ErrorBox("set_cur_sensor:  pSensorCfg=null for 0x%04x", static_cast<unsigned>(nSensor));
    }
}
