#pragma once
// What the 8948 encoder tests share: a mouse with sensor 0x3360 on the simulator, two
// macro stores, a recording pointer back-end, and the reports the mouse received written
// out as readable rows.
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ModelFixture.h"
#include "device/hid/CurLevels.h"
#include "device/models/Dev8948.h"
#include "device/sim/SimMouse8948.h"
#include "platform/PointerSettings.h"
#include "storage/MacroStore.h"

class CFakePointer : public IPointerSettings {
public:
    bool Supported(EPointerKey eKey) override { return m_mapCur.count(eKey) != 0; }
    bool Get(EPointerKey eKey, PointerValue& v) override {
        auto it = m_mapCur.find(eKey);
        if (it == m_mapCur.end())
            return false;
        v = it->second;
        return true;
    }
    bool Set(EPointerKey eKey, const PointerValue& v) override {
        char sz[96];
        std::snprintf(sz, sizeof sz, "%s=%d,%d,%d", PointerKeyName(eKey), v.n[0], v.n[1], v.n[2]);
        m_vSets.push_back(sz);
        m_mapCur[eKey] = v;
        return true;
    }
    std::map<EPointerKey, PointerValue> m_mapCur;
    std::vector<std::string> m_vSets;
};

inline std::string Hex(const uint8_t* p, size_t n) {
    std::string s;
    char sz[4];
    for (size_t i = 0; i < n; ++i) {
        std::snprintf(sz, sizeof sz, i ? " %02X" : "%02X", p[i]);
        s += sz;
    }
    return s;
}

inline StMacro MakeMacro(uint32_t dwId, int nLoopMode, uint16_t wLoopCount,
                         std::initializer_list<MacroEvent> il) {
    StMacro m{};
    m.dwMagic = MACRO_MAGIC;
    m.dwId = dwId;
    m.nLoopMode = nLoopMode;
    m.wLoopCount = wLoopCount;
    m.szName[0] = u'M';
    int i = 0;
    for (const MacroEvent& e : il)
        m.Events[i++] = e;
    return m;
}

class CDev8948Test : public CDrvTest {
protected:
    void SetUp() override {
        CGlobalVar& v = *m_pVar;
        MouseDesc& ms = v.Dev.Ms;
        ms.SensorCfgs[0].DEFLEVEL = 2;
        for (int k = 0; k < 3; ++k) {
            ms.RGBIndex[k] = k;
            ms.DPIRGBIndex[k] = 2 - k; // the device takes level colours as blue, green, red
        }
        ms.LedOffVal = 3;
        for (int e = 0; e < 11; ++e) // variant A offers effects 0..10; 10 is lights off
            ms.Effects[e].bPresent = 1;
        for (int m = 0; m < 3; ++m)
            for (int i = 0; i < 21; ++i)
                v.Dev.Keys.MsDefKey[m][i].Main.nMatrixInx = i + 1;
        const uint8_t byCode[4] = {0, 0, 0, 0};
        m_pMouse = std::make_shared<CSimMouse8948>("mouse", 0x258A, 0x1234, byCode, 6);
        m_backend.Attach(m_pMouse);
        m_pDev = std::make_unique<CDev8948>(v, &m_lib, &m_macros, &m_bullets);
        ASSERT_EQ(m_pDev->Drv()->FindDev(), 1);
        g_nCurDpiLevel[0] = g_nCurDpiLevel[1] = g_nCurDpiLevel[2] = 0;
        m_pPro = std::make_unique<Profile>();
        m_pPro->dwId = 5;
        for (MsMode& mode : m_pPro->Ms.Mode)
            for (auto& set : mode.Keys)
                for (int i = 0; i < 21; ++i)
                    set[i].Main.nMatrixInx = i + 1;
        SetPointerSettings(&m_pointer);
        m_pMouse->ClearTrace();
        m_nSleeps0 = m_clock.Sleeps().size();
    }
    void TearDown() override { SetPointerSettings(nullptr); }

    KeyFun& Key(int nMode, int nButton) { return m_pPro->Ms.Mode[nMode].Keys[0][nButton].Main; }
    int Apply(int nFlag, IProgressSink* pWnd = nullptr) {
        return m_pDev->ApplySetting(*m_pPro, pWnd, 1067, nFlag);
    }
    std::vector<uint32_t> SleepsSinceSetUp() {
        auto v = m_clock.Sleeps();
        return std::vector<uint32_t>(v.begin() + long(m_nSleeps0), v.end());
    }

    // Every report the host wrote, one readable row each. General data rows list only the
    // bytes that differ from the block before (mode numbers 1..3 as the device counts).
    std::vector<std::string> Rows() {
        std::vector<std::string> v;
        for (const CSimTraceEntry& e : m_pMouse->Trace()) {
            if (e.strOperation != "SetFeature" || e.nResult != 1)
                continue;
            const uint8_t* r = e.vBytes.data();
            char sz[64];
            if (r[0] == 5) {
                v.push_back("Cmd " + Hex(r + 1, 5));
                continue;
            }
            const uint8_t* p = r + 1;
            if (p[0] == 0x30 && p[1] == 0x02) {
                const size_t n = 2 + 3 * size_t(p[8] << 8 | p[9]);
                std::snprintf(sz, sizeof sz, "SetMacro %d: ", p[7]);
                v.push_back(sz + Hex(p + 8, n));
            } else if ((p[0] & 15) == 2 && p[2] == 0x50) {
                std::snprintf(sz, sizeof sz, "SetMatrix %d:", p[0] >> 4);
                std::string s = sz;
                for (int i = 0; i < 20; ++i) {
                    const uint8_t* c = p + 7 + 4 * i;
                    std::snprintf(sz, sizeof sz, " %02X%02X%02X%02X", c[3], c[2], c[1], c[0]);
                    s += sz;
                }
                v.push_back(s);
            } else if ((p[0] & 15) == 1 && p[2] == 0x7B) {
                std::snprintf(sz, sizeof sz, "SetProfile %d", p[0] >> 4);
                v.push_back(sz);
                m_vProfiles.emplace_back(p + 7, p + 7 + 140);
            } else if (p[0] == 0x32 && p[2] == 0x25) {
                v.push_back("SetGunData: " + Hex(p + 7, 63));
            } else {
                v.push_back("? " + Hex(p, 8));
            }
        }
        return v;
    }

    std::shared_ptr<CSimMouse8948> m_pMouse;
    CMacroStore m_macros, m_bullets;
    CFakePointer m_pointer;
    std::unique_ptr<CDev8948> m_pDev;
    std::unique_ptr<Profile> m_pPro;
    std::vector<Bytes> m_vProfiles; // general data sent, in order (filled by Rows)
    size_t m_nSleeps0 = 0;
};

// A general-data block as the simulated mouse starts: sensor code 6, first level, first
// lift-off level; then the listed bytes.
inline Bytes GeneralBlock(std::initializer_list<std::pair<int, Bytes>> il) {
    Bytes b(140, 0);
    b[1] = 6;
    b[3] = 0x10;
    b[122] = 0x10;
    for (const auto& [nAt, v] : il)
        for (size_t i = 0; i < v.size(); ++i)
            b[size_t(nAt) + i] = v[i];
    return b;
}
