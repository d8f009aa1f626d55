#pragma once
// What the apply benchmarks share: the demo installation in gVar, its simulated devices on a
// private back-end, the three family models over them and a full profile: every mouse mode
// with macro keys (14 distinct macros of 170 events, the most one apply sends) and bullet
// keys, keyboard keys bound to macros, the pad's default lighting.
#include <cstring>
#include <memory>
#include <string>

#include "config/GlobalVar.h"
#include "config/Startup.h"
#include "device/hid/HidLib.h"
#include "device/models/Dev816.h"
#include "device/models/Dev8948.h"
#include "device/models/DevPad.h"
#include "device/sim/SimBackend.h"
#include "device/sim/SimInstallation.h"
#include "platform/MessageBox.h"
#include "storage/MacroFile.h"
#include "storage/MacroStore.h"
#include "storage/ProfileStore.h"
#include "support/TestDirs.h"

inline constexpr int BENCH_MOUSE_MACRO_KEYS = 20;
inline constexpr int BENCH_MOUSE_MACROS = 14;
inline constexpr int BENCH_BULLETS = 6;
inline constexpr int BENCH_KB_MACROS = 10;

struct CApplyBench {
    CTempDir data;
    CDiscardingMessageSink sink;
    CSimBackend backend;
    CHidLib lib{&backend};
    CMacroStore macros, bullets;
    std::unique_ptr<CDev8948> pMs;
    std::unique_ptr<CDev816> pKb;
    std::unique_ptr<CDevPad> pPad;
    std::unique_ptr<Profile> pPro = std::make_unique<Profile>();

    ~CApplyBench() { SetMessageBoxSink(nullptr); }

    static void FillMacro(StMacro& m, uint32_t dwId, bool bBullet) {
        NewMacroRecord(m, (bBullet ? "Bullet" : "Macro") + std::to_string(dwId));
        m.dwId = dwId;
        for (int i = 0; i + 1 < MACRO_EVENT_MAX; ++i) {
            MacroEvent& e = m.Events[i];
            if (bBullet && i % 2 == 1) {
                e.byCode = 252; // movement: horizontal and vertical amount
                e.wPress = uint16_t(0x0301);
            } else {
                e.byCode = bBullet ? 240 : uint8_t(0x41 + i % 26);
                e.wPress = uint16_t((i / 2) % 2 == 0 ? 1 : 0);
            }
            e.dwDelay = 10 + uint32_t(i % 7);
        }
    }

    // False with the reason when the demo installation or a device is missing.
    bool Init(std::string& strError) {
        SetMessageBoxSink(&sink);
        if (!LoadConfiguration(
                StartupDirs{VELKIN_SOURCE_DIR "/install/demo/", data.Path(), data.Path()}, gVar,
                MacroLimits)) {
            strError = "the demo installation cannot be loaded";
            return false;
        }
        AttachInstallationDevices(gVar, backend);
        pMs = std::make_unique<CDev8948>(gVar, &lib, &macros, &bullets);
        pKb = std::make_unique<CDev816>(gVar, &lib, &macros);
        pPad = std::make_unique<CDevPad>(gVar, &lib, &macros);
        if (pMs->Drv()->FindDev() != 1 || pKb->Drv()->FindDev() != 1 ||
            pPad->Drv()->FindDev() != 1) {
            strError = "a simulated device was not found";
            return false;
        }
        CProList store(gVar);
        store.CreateDefault(*pPro, "Bench");

        auto pMac = std::make_unique<StMacro>();
        for (int i = 0; i < BENCH_MOUSE_MACROS; ++i) {
            FillMacro(*pMac, 0x100 + uint32_t(i), false);
            macros.Add(*pMac);
        }
        for (int i = 0; i < BENCH_BULLETS; ++i) {
            FillMacro(*pMac, 0x200 + uint32_t(i), true);
            bullets.Add(*pMac);
        }
        // Buttons 0 and 1 keep their clicks; 2..8 of every mode play macros (20 keys in
        // all), 9..10 of every mode bullets.
        int nBound = 0;
        for (int m = 0; m < MS_PROFILE_MODES; ++m) {
            MsMode& mode = pPro->Ms.Mode[m];
            KeyAssign* pKeys = mode.Keys[mode.nKeySet];
            for (int k = 2; k <= 8 && nBound < BENCH_MOUSE_MACRO_KEYS; ++k, ++nBound) {
                pKeys[k].Main.dwFun = 0x05000000;
                pKeys[k].Main.dwMacroId = 0x100 + uint32_t(nBound % BENCH_MOUSE_MACROS);
            }
            for (int k = 9; k <= 10; ++k) {
                pKeys[k].Main.dwFun = 0x0C000000;
                pKeys[k].Main.dwMacroId = 0x200 + uint32_t((2 * m + k - 9) % BENCH_BULLETS);
            }
        }
        for (int k = 0; k < BENCH_KB_MACROS; ++k) {
            KeyAssign& ka = pPro->Kb.KbKeys[10 + k];
            ka.Main.dwFun = 0x05000000;
            ka.Main.dwMacroId = 0x100 + uint32_t(k);
        }
        return true;
    }

    // Feature reports the simulated devices saw, since the last call.
    size_t TakeReports() {
        size_t n = 0;
        for (const SimDevicePtr& p : backend.Devices()) {
            n += p->Trace().size();
            p->ClearTrace();
        }
        return n;
    }
};
