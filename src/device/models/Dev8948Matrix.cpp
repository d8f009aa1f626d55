// Key matrices of the modes and the macro buffers they refer to.
#include <cstdio>
#include <cstring>
#include <string>

#include "config/FunctionNames.h"
#include "config/Log.h"
#include "config/TextEncoding.h"
#include "device/models/Dev8948.h"
#include "platform/MessageBox.h"
#include "storage/MacroStore.h"

namespace {

constexpr int kMaxNumbered = 15; // bullet and gun entries carry their number in 4 bits

std::string MacroName(const StMacro& mac) {
    char16_t szName[MACRO_NAME_LEN];
    std::memcpy(szName, mac.szName, sizeof szName);
    size_t n = 0;
    while (n < MACRO_NAME_LEN && szName[n] != 0)
        ++n;
    uint8_t byName[2 * MACRO_NAME_LEN];
    for (size_t i = 0; i < n; ++i) {
        byName[2 * i] = uint8_t(szName[i]);
        byName[2 * i + 1] = uint8_t(szName[i] >> 8);
    }
    return TextEncoding::Utf16ToUtf8(byName, 2 * n, false);
}

} // namespace

int CDev8948::MatrixPosition(int nButton) const {
    return m_var.Dev.Keys.MsDefKey[0][nButton].Main.nMatrixInx;
}

MsMatrix CDev8948::FillMatrix(const MsMode& mode) {
    return FillMatrix(mode, OwnStores());
}

MsMatrix CDev8948::FillMatrix(const MsMode& mode, const CApplyStores& stores) {
    MsMatrix mx;
    mx.fill(MS_KEY_OFF);
    const int nSet = mode.nKeySet;
    if (nSet < 0 || nSet >= MS_KEY_SETS) {
        LogPrint("FillMatrix: key set %d out of range", nSet);
        return mx;
    }
    for (int i = 0; i < MS_MATRIX_KEYS; ++i) {
        const KeyFun kf = mode.Keys[nSet][i].Main;
        if (kf.dwFun == 0)
            continue;
        const uint32_t dwCode = HardwareCode(kf, stores);
        if (dwCode == HW_CODE_NONE) {
            // A macro or bullet key has no code only when its macro is missing from stores,
            // and a missing macro has no name. The program's name source would look in the
            // live stores, which an apply must not read.
            const uint32_t nClass = FunClass(kf.dwFun);
            const std::string strName =
                nClass == 5 || nClass == 12 ? std::string() : GetFunName(kf, m_var);
            char sz[256];
            std::snprintf(sz, sizeof sz, "Invalid key %d: FunID=0x%x, MacroID=0x%x, Name=%s", i,
                          kf.dwFun, kf.dwMacroId, strName.c_str());
            PlatformMessageBox("", sz);
            continue;
        }
        const int nPos = MatrixPosition(i);
        if (nPos >= 1 && nPos <= MS_MATRIX_KEYS)
            mx[size_t(nPos - 1)] = dwCode;
    }
    int n = 0;
    for (uint32_t& dw : mx) {
        if ((dw & 0xFF) != 0x60)
            continue;
        if (++n > kMaxNumbered) {
            LogPrint("FillMatrix: bullet key %d has no number left", n);
            continue;
        }
        dw |= uint32_t(n);
    }
    return mx;
}

int CDev8948::ModeCount() const {
    if ((m_var.MsFw & 0xF0) != 0 || m_var.Dev.Ms.PopByte1 == 3)
        return 2;
    const SensorCfg* pCfg = m_var.Dev.Ms.pSensorCfg();
    if (!pCfg || pCfg->MDNUM < 1 || pCfg->MDNUM > MS_PROFILE_MODES)
        return 3;
    return pCfg->MDNUM;
}

void CDev8948::ClearBufferIds() {
    ClearBufferIds(OwnStores());
}

void CDev8948::ClearBufferIds(const CApplyStores& stores) {
    for (StMacro& mac : stores.Macros.List())
        mac.byBufferId = 0;
    for (StMacro& mac : stores.Bullets.List())
        mac.byBufferId = 0;
}

void CDev8948::AssignBuffers(const MsSettings& ms, int nModes, MsMacroAreas& areas) {
    AssignBuffers(ms, nModes, areas, OwnStores());
}

void CDev8948::AssignBuffers(const MsSettings& ms, int nModes, MsMacroAreas& areas,
                             const CApplyStores& stores) {
    std::memset(areas.byMacro, 0, sizeof areas.byMacro);
    std::memset(areas.byBullet, 0, sizeof areas.byBullet);
    areas.nMacros = areas.nBullets = areas.nRefused = 0;
    for (MsMatrix& mx : areas.Matrix)
        mx.fill(MS_KEY_OFF);
    // Numbers left over from an apply that never ended would send keys to wrong buffers.
    ClearBufferIds(stores);

    const bool bOwnBulletNumbers = (m_var.MsFw & 0xF) == 2;
    const int nMacroMax = bOwnBulletNumbers ? 10 : MS_MACRO_BUFFERS;
    const int nBulletMax = bOwnBulletNumbers ? 10 : 8;
    const bool bDebug = m_var.Debug != 0;

    // One pass per kind: bullet numbers continue after the last macro of every mode.
    for (int nPass = 0; nPass < 2; ++nPass) {
        const bool bBullet = nPass == 1;
        for (int m = 0; m < nModes && m < MS_PROFILE_MODES; ++m) {
            const MsMode& mode = ms.Mode[m];
            MsMatrix& mx = areas.Matrix[m];
            if (!bBullet)
                mx = FillMatrix(mode, stores);
            const int nSet = mode.nKeySet;
            if (nSet < 0 || nSet >= MS_KEY_SETS)
                continue;
            for (int i = 0; i < MS_MATRIX_KEYS; ++i) {
                const KeyFun kf = mode.Keys[nSet][i].Main;
                if (FunClass(kf.dwFun) != (bBullet ? 12u : 5u))
                    continue;
                StMacro* pMac = (bBullet ? stores.Bullets : stores.Macros).Find(kf.dwMacroId);
                if (!pMac) {
                    LogPrint("Key[%d][%d] Set To Macro NULL", m, i);
                    continue;
                }
                LogPrint("Key[%d][%d] Set To Macro 0x%08x, Macro_Buffer_ID=%d", m, i, pMac->dwId,
                         pMac->byBufferId);
                LogPrint("Macro Name= %s", MacroName(*pMac).c_str());
                const int nPos = kf.nMatrixInx - 1;
                if (pMac->byBufferId == 0) {
                    int& nCount = bBullet ? areas.nBullets : areas.nMacros;
                    const int nMax = bBullet ? nBulletMax : nMacroMax;
                    if (nCount >= nMax) {
                        // No buffer left: the key is switched off instead of pointing at a
                        // buffer that is never written.
                        LogPrint("Key[%d][%d]: no free %s buffer for macro 0x%08x", m, i,
                                 bBullet ? "bullet" : "macro", pMac->dwId);
                        ++areas.nRefused;
                        if (nPos >= 0 && nPos < MS_MATRIX_KEYS)
                            mx[size_t(nPos)] = MS_KEY_OFF;
                        continue;
                    }
                    uint8_t* pBuf = bBullet ? areas.byBullet[nCount] : areas.byMacro[nCount];
                    ++nCount;
                    const int nNumber =
                        bBullet && !bOwnBulletNumbers ? areas.nMacros + nCount : nCount;
                    pMac->byBufferId = uint8_t(nNumber);
                    LogPrint("New Assign Buffer_ID= %d", nNumber);
                    const int nLen = bBullet ? BulletToHdMacro(*pMac, pBuf, MS_MACRO_LEN)
                                             : StMacro_To_HdMacro(*pMac, pBuf, MS_MACRO_LEN);
                    if (bDebug) {
                        LogPrint(bBullet ? "Bullet HdData: " : "HdData: ");
                        LogDump(pBuf, size_t(nLen), 16, "");
                    }
                }
                if (nPos < 0 || nPos >= MS_MATRIX_KEYS) {
                    PlatformMessageBox("Warning", "Matrix inx warning");
                    continue;
                }
                uint32_t& dw = mx[size_t(nPos)];
                const uint32_t byNumber = bBullet ? (pMac->byBufferId | 0x80u) : pMac->byBufferId;
                dw = (dw & ~0xFF00u) | (byNumber & 0xFF) << 8;
            }
        }
    }
}
