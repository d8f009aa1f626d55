// The 816 key matrix of a profile: codes for the 132 key positions, the Fn single-key and
// combination tables, the gesture keys and the macros the keys play.
#include <algorithm>
#include <cstdio>

#include "config/KeyLookup.h"
#include "config/Log.h"
#include "device/models/Dev816.h"
#include "platform/MessageBox.h"
#include "storage/MacroStore.h"
#include "storage/WideField.h"

namespace {

// Positions 75 and 80 are one key on the boards of this family.
constexpr int kJoinedKeyA = 75;
constexpr int kJoinedKeyB = 80;
constexpr int kGestBase = KB816_KEYS; // gesture g is key kGestBase + g in the macro walk
constexpr int kWalkKeys = KB816_KEYS + KB_GEST_KEYS;

bool IsKeyPos(int nPos) {
    return nPos >= 0 && nPos < KB816_KEYS;
}

} // namespace

uint32_t Kb816ReadCode(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

void Kb816WriteCode(uint8_t* p, uint32_t dw) {
    p[0] = uint8_t(dw >> 24);
    p[1] = uint8_t(dw >> 16);
    p[2] = uint8_t(dw >> 8);
    p[3] = uint8_t(dw);
}

void Kb816MatrixOut(const CKb816Matrix& mx, uint8_t byOut[KB816_CODES * 4]) {
    for (int i = 0; i < KB816_CODES; ++i)
        Kb816WriteCode(byOut + 4 * i, mx.dwCode[i]);
}

void Kb816MergeMatrix(const CKb816Matrix& mx, uint8_t byDev[KB816_CODES * 4]) {
    for (int i = 0; i < KB816_CODES; ++i)
        if (mx.bPlaced[i])
            Kb816WriteCode(byDev + 4 * i, mx.dwCode[i]);
}

bool CDev816::FillMatrix(const Profile& pro, CKb816Matrix& mx) {
    return FillMatrix(pro, mx, OwnStores());
}

bool CDev816::FillMatrix(const Profile& pro, CKb816Matrix& mx, const CApplyStores& stores) {
    LogPrint("FillMatrix 0x%08X---------------------------------------", pro.dwId);
    const KeyTables& keys = m_var.Dev.Keys;
    const KbSettings& kb = pro.Kb;
    // Records past the configured key count are no keys of this keyboard.
    const int nKeys = std::clamp(keys.nKbKeyNum, 0, KB816_KEYS);
    // Where each key's code went (the macro number goes there too), -1 when nowhere.
    int nTarget[kWalkKeys];
    std::fill(std::begin(nTarget), std::end(nTarget), -1);

    for (int k = 0; k < nKeys; ++k) {
        const KeyAssign& key = kb.KbKeys[k];
        if (key.Main.dwFun == 0)
            continue;
        const int nPos = keys.g_defKEY[k].Main.nMatrixInx;
        const uint32_t dwCode = HardwareCodeAt(key.Main, nPos, stores);
        if (dwCode == HW_CODE_NONE) {
            char sz[96];
            std::snprintf(sz, sizeof sz, "Get Invaild keycode, key index=%d, MatrixInx=%d", k,
                          nPos);
            LogPrint("%s", sz);
            PlatformMessageBox("Error", sz);
            continue;
        }
        if (!IsKeyPos(nPos)) {
            LogPrint("Error: nMatrixInx=%d", nPos);
            continue;
        }
        if (mx.bPlaced[nPos]) {
            LogPrint("Error: Matrix[ %d ]=0x%x", nPos, mx.dwCode[nPos]);
            continue;
        }
        const int nLink = key.Main.nLink;
        if (nLink != -1 && (nLink < 0 || nLink >= FN_LINK_NUM)) {
            LogPrint("Error: key %d has Fn index %d", k, nLink);
        } else if (nLink >= 0) {
            const uint32_t dwFn = HardwareCodeAt(key.Fn, nPos, stores);
            if (dwFn == HW_CODE_NONE) {
                // Without an Fn function the key keeps its own code at its position.
                LogPrint("Key %d: Fn function 0x%08x has no code, Fn index %d unused", k,
                         key.Fn.dwFun, nLink);
            } else if (mx.bPlaced[KB816_FN_SINGLE + nLink]) {
                // Two keys on one Fn entry would play each other's functions.
                LogPrint("Error: Fn index %d of key %d is already taken", nLink, k);
            } else {
                mx.Place(KB816_FN_SINGLE + nLink, dwCode);
                mx.Place(KB816_FN_COMBO + nLink, dwFn);
                mx.Place(nPos, KB816_CODE_FN_LINK | uint32_t(nLink));
                nTarget[k] = KB816_FN_SINGLE + nLink;
                continue;
            }
        }
        mx.Place(nPos, dwCode);
        nTarget[k] = nPos;
    }

    if (mx.dwCode[kJoinedKeyA] != mx.dwCode[kJoinedKeyB]) {
        if (mx.dwCode[kJoinedKeyB] != 0)
            mx.Place(kJoinedKeyA, mx.dwCode[kJoinedKeyB]);
        else if (mx.dwCode[kJoinedKeyA] != 0)
            mx.Place(kJoinedKeyB, mx.dwCode[kJoinedKeyA]);
    }

    for (int g = 0; g < KB_GEST_KEYS; ++g) {
        const KeyFun& fun = kb.Gest[g].Main;
        if (fun.dwFun == 0)
            continue;
        const int nPos = fun.nMatrixInx;
        if (!IsKeyPos(nPos)) {
            LogPrint("Error: nMatrixInx=%d", nPos);
            continue;
        }
        const uint32_t dwCode = HardwareCodeAt(fun, nPos, stores);
        if (dwCode == HW_CODE_NONE) {
            LogPrint("Gesture %d: function 0x%08x has no code", g, fun.dwFun);
            continue;
        }
        mx.Place(nPos, dwCode);
        nTarget[kGestBase + g] = nPos;
    }

    for (int i = 0; i < kWalkKeys; ++i) {
        const bool bGest = i >= kGestBase;
        if (!bGest && i >= nKeys)
            continue;
        const KeyFun& fun = bGest ? kb.Gest[i - kGestBase].Main : kb.KbKeys[i].Main;
        if (FunClass(fun.dwFun) != 5)
            continue;
        const int nLayer = bGest ? 1 : 0;
        const int nIndex = bGest ? i - kGestBase : i;
        StMacro* pMac = stores.Macros.Find(fun.dwMacroId);
        if (!pMac) {
            LogPrint("Key[%d][%d] Set To Macro NULL", nLayer, nIndex);
            continue;
        }
        LogPrint("Key[%d][%d] Set To Macro %s(0x%08x), Macro_Buffer_ID=%d", nLayer, nIndex,
                 GetWideField(pMac->szName, MACRO_NAME_LEN).c_str(), pMac->dwId, pMac->byBufferId);
        const int nPos = bGest ? fun.nMatrixInx : keys.g_defKEY[i].Main.nMatrixInx;
        if (!IsKeyPos(nPos)) {
            PlatformMessageBox("Warning", "Matrix inx warning");
            continue;
        }
        const int t = nTarget[i];
        if (t < 0)
            continue; // the key did not get its place; its number must not land elsewhere
        if (pMac->byBufferId == 0 || pMac->byBufferId > KB816_MACRO_SLOTS) {
            if (mx.nMacros >= KB816_MACRO_NUMBERS) {
                LogPrint("Key[%d][%d]: macro 0x%08x finds no buffer, %d macros at most", nLayer,
                         nIndex, pMac->dwId, KB816_MACRO_NUMBERS);
                return false;
            }
            // Buffer numbers were cleared before the walk, so the lowest free number is the
            // next slot: the device finds a macro by its number - 1.
            const int nNumber = ++mx.nMacros;
            pMac->byBufferId = uint8_t(nNumber);
            LogPrint("New Assign Buffer_ID= %d", nNumber);
            StMacro_To_HdMacro(*pMac, mx.byMacro + (nNumber - 1) * KB816_MACRO_LEN,
                               KB816_MACRO_LEN);
        }
        const uint32_t dwOld = mx.dwCode[t];
        const uint32_t dwNew = (dwOld & ~0xFFu) | uint32_t(pMac->byBufferId - 1);
        mx.Place(t, dwNew);
        // The other half of the joined key carries the same macro.
        const int nOther = t == kJoinedKeyA ? kJoinedKeyB : t == kJoinedKeyB ? kJoinedKeyA : -1;
        if (nOther >= 0 && mx.dwCode[nOther] == dwOld)
            mx.Place(nOther, dwNew);
        LogPrint("Matrix[%d][%d] = 0x%08x", nLayer, t, dwNew);
    }
    LogPrint("Gest------");
    for (int g = 0; g < KB_GEST_KEYS; ++g)
        if (kb.Gest[g].Main.dwFun != 0)
            LogPrint("Gest[%d]: nMatrixInx=%d", g, kb.Gest[g].Main.nMatrixInx);
    return true;
}

void CDev816::SetKeySwitchKeys(CKb816Matrix& mx) {
    const MouseDesc& ms = m_var.Dev.Ms;
    for (uint8_t byVk : ms.KeySwVk) {
        if (byVk == 0)
            continue;
        const int nPos = FindKeyMatrixInx(m_var.Dev.Keys, byVk);
        if (nPos < 0)
            continue;
        if (!IsKeyPos(nPos)) {
            LogPrint("Error: nMatrixInx=%d", nPos);
            continue;
        }
        mx.Place(nPos, KB816_CODE_KEY_SWITCH + byVk);
    }
}
