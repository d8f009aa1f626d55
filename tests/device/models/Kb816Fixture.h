#pragma once
// A small 816 keyboard for the encoder tests: eight keys with their matrix and LED
// positions, two light effects, three colour groups and a simulated keyboard behind it.
#include <gtest/gtest.h>

#include <memory>

#include "ModelFixture.h"
#include "device/models/Dev816.h"
#include "device/sim/SimKb816.h"
#include "storage/MacroStore.h"

inline KeyFun Kb816Key(uint8_t byMod, uint8_t byVk) {
    KeyFun k{};
    k.dwFun = MakeFun(2, byMod ? 0xA1 : 0xA0);
    k.byMod = byMod;
    k.byVk = byVk;
    return k;
}

inline KeyFun Kb816Fun(uint32_t nClass, uint32_t nCode, uint32_t dwParam = 0) {
    KeyFun k{};
    k.dwFun = MakeFun(nClass, nCode);
    k.dwParam = dwParam;
    return k;
}

inline KeyFun Kb816Macro(uint32_t dwId) {
    KeyFun k = Kb816Fun(5, 0);
    k.dwMacroId = dwId;
    return k;
}

// A data report as the keyboard receives it: id 6, command, address, byte 3, data at 7.
inline Bytes Kb816Data(uint8_t byCmd, uint8_t byAddr, uint8_t byB3,
                       std::initializer_list<std::pair<size_t, Bytes>> il) {
    Bytes v(1032, 0);
    v[0] = 6;
    v[1] = byCmd;
    v[2] = byAddr;
    v[4] = byB3;
    for (auto& [nOff, b] : il)
        std::copy(b.begin(), b.end(), v.begin() + 8 + long(nOff));
    return v;
}

// The 4-byte big-endian form of a code.
inline Bytes Be(uint32_t dw) {
    return {uint8_t(dw >> 24), uint8_t(dw >> 16), uint8_t(dw >> 8), uint8_t(dw)};
}

class CKb816Test : public CDrvTest {
protected:
    // Matrix positions of the keys (key index = position in the table).
    enum { kEsc, kA, kEnter, kPadEnter, kRWin, kF1, kMacro1, kMacro2, kKeys };
    static constexpr int kPos[kKeys] = {0, 5, 81, 130, 20, 75, 10, 11};
    static constexpr int kLed[kKeys] = {0, 35, 57, 100, 7, 131, 140, 12};

    void SetUp() override {
        CGlobalVar& v = *m_pVar;
        v.KbFw = 20;
        KbDesc& kb = v.Dev.Kb;
        const uint8_t byPsd[6] = {0x16, 0x08, 0x20, 0, 0, 0};
        std::copy(byPsd, byPsd + 6, kb.PSD);
        kb.LedModeSelectOffset = 4;
        kb.EffectBase = 1;
        kb.EffectOffset = 18;
        kb.EffectNum = 2;
        kb.RGBIndex[0] = 2;
        kb.RGBIndex[1] = 1;
        kb.RGBIndex[2] = 0;
        kb.OurCfg = 0x11;
        kb.DefCfg = 0x22;
        kb.GaoshouIndex = 13;
        kb.StartGp = 32;
        kb.GaoshouAddr = 172;
        kb.GaoshouGroupNum = 3;
        kb.SyncKB = 0;
        kb.Effects[0].nCode = 5;
        kb.Effects[1].nCode = 7;
        kb.Direct[0][0] = 7; // effect code 7: direction 1 sends 3, direction 2 sends 4
        kb.Direct[0][1] = 3;
        kb.Direct[0][2] = 4;

        KeyTables& keys = v.Dev.Keys;
        const KeyFun kMain[kKeys] = {
            Kb816Key(0, 27),   Kb816Key(0, 65),  Kb816Key(0, 13),   Kb816Key(0, 13),
            Kb816Key(0x80, 0), Kb816Key(0, 112), Kb816Fun(0x0B, 1), Kb816Fun(0x0B, 2),
        };
        for (int k = 0; k < kKeys; ++k) {
            KeyAssign& a = keys.g_defKEY[k];
            a.Main = kMain[k];
            a.Main.nMatrixInx = kPos[k];
            a.Main.nLink = -1;
            a.Fn.nLink = kLed[k];
        }
        keys.g_defKEY[kRWin].Main.byModVk = 92;
        keys.g_defKEY[kF1].Main.nLink = 3; // Fn + F1 plays/pauses
        keys.g_defKEY[kF1].Fn.dwFun = MakeFun(3, 34);
        keys.nKbKeyNum = kKeys;

        m_pKb = std::make_shared<CSimKb816>("kb816", 0x258A, 0x0049);
        CSimKb816::CState st;
        for (int i = 1; i < 8; ++i)
            st.byCfg[size_t(i)] = uint8_t(0xA0 + i); // the keyboard's global settings
        st.byCfg[13] = 0x77;
        st.byCfg[14] = 0x66;
        st.byCfg[100] = 0xEE;
        m_pKb->SetState(st);
        m_backend.Attach(m_pKb);

        StMacro m{};
        m.dwMagic = MACRO_MAGIC;
        m.dwId = 0x111;
        m.nLoopMode = 1;
        m.wLoopCount = 2;
        m.Events[0] = {65, 0, 1, 10};  // A down, 10 ms
        m.Events[1] = {65, 0, 0, 200}; // A up, 200 ms
        m_macros.Add(m);
        m = StMacro{};
        m.dwMagic = MACRO_MAGIC;
        m.dwId = 0x222;
        m.nLoopMode = 0;
        m.Events[0] = {240, 0, 1, 0}; // left button down
        m_macros.Add(m);

        m_pDev = std::make_unique<CDev816>(v, &m_lib, &m_macros);
        ASSERT_EQ(m_pDev->Drv()->FindDev(), 1);

        m_pPro = std::make_unique<Profile>();
        m_pPro->dwId = 0x1234;
        KbSettings& set = m_pPro->Kb;
        for (int k = 0; k < kKeys; ++k)
            set.KbKeys[k] = keys.g_defKEY[k];
        set.KbKeys[kMacro1].Main = Kb816Macro(0x111);
        set.KbKeys[kMacro2].Main = Kb816Macro(0x222);
        for (int k : {kMacro1, kMacro2}) {
            set.KbKeys[k].Main.nMatrixInx = kPos[k];
            set.KbKeys[k].Main.nLink = -1;
        }
        set.nKbLedEffect = 1;
        set.wColorGroup = 2;
        set.Led[0] = {3, 4, 2, 1, {0x332211}, 0, 0, 0};
        set.Led[1] = {16, 1, 2, 0, {0xCCBBAA, 0, 0, 0, 0, 0, 0x030201}, 0, 0x25, 0};
        m_pKb->ClearTrace();
    }

    int Apply(int nFlag, IProgressSink* pWnd = nullptr) {
        return m_pDev->ApplySetting(*m_pPro, pWnd, 1067, nFlag);
    }
    // Every report the keyboard took, in order (6-byte commands and 1032-byte data).
    std::vector<Bytes> Sent() {
        std::vector<Bytes> v;
        for (const CSimTraceEntry& e : m_pKb->Trace())
            if (e.strDirection == "out" && e.nResult == 1)
                v.push_back(e.vBytes);
        return v;
    }
    // The data report that wrote the key matrix.
    Bytes SentMatrix() {
        for (const Bytes& b : Sent())
            if (b.size() == 1032 && b[1] == 4)
                return b;
        return {};
    }
    bool BufferNumbersClear() {
        for (const StMacro& m : m_macros.List())
            if (m.byBufferId != 0)
                return false;
        return true;
    }

    CMacroStore m_macros;
    std::shared_ptr<CSimKb816> m_pKb;
    std::unique_ptr<CDev816> m_pDev;
    std::unique_ptr<Profile> m_pPro;
};
