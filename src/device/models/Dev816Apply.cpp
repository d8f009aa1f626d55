// Writing a profile to the 816 keyboard: device code, configuration block and colour table,
// per-key colour pages, macros and key matrix, each followed by the pause the firmware
// needs before the next transfer.
#include <cstring>
#include <memory>

#include "config/Log.h"
#include "device/hid/HidHandle.h"
#include "device/models/Dev816.h"
#include "platform/Clock.h"
#include "storage/MacroStore.h"

namespace {

constexpr int kFlagKeys = 1;
constexpr int kFlagConfig = 2;
constexpr int kFlagLedAll = 4;
constexpr int kFlagLedCurrent = 0x10;
constexpr uint8_t kMacroAddr = 0xCC; // first 1024-byte macro part, 4 further per part

unsigned LastError() {
    return unsigned(HidLastError());
}

// Buffer numbers belong to one apply: none may survive it, and none left over from an
// earlier run may decide where a macro goes.
class CMacroNumbers {
public:
    explicit CMacroNumbers(CMacroStore& store) : m_store(store) { Clear(); }
    ~CMacroNumbers() { Clear(); }
    CMacroNumbers(const CMacroNumbers&) = delete;
    CMacroNumbers& operator=(const CMacroNumbers&) = delete;

private:
    void Clear() {
        for (StMacro& m : m_store.List())
            m.byBufferId = 0;
    }
    CMacroStore& m_store;
};

} // namespace

int CDev816::ApplySetting(CApplySnapshot& snap, IProgressSink* pWnd, uint32_t nMsg, int nFlag) {
    const Profile& pro = snap.Pro();
    // Refused before anything is written: the defaults are still to be written next time.
    if (!m_pDrv || pro.dwId == 0)
        return 0;
    // The reset flag is taken once: the window thread may set it again for the next apply.
    const int nReset = m_nReset.exchange(0);
    CMacroNumbers numbers(snap.Macros());
    if (!pWnd)
        LogPrint("ApplySetting: hWnd=0");
    Progress(pWnd, nMsg, 20);

    int nResult = 0;
    do {
        if (!SendPassword())
            break;
        uint8_t byCfg[KB_CFG_LEN] = {};
        bool bCfgRead = false;
        if (nFlag & kFlagConfig) {
            if (!LoadConfig(pro, byCfg, bCfgRead, nReset))
                break;
            Progress(pWnd, nMsg, 40);
        }
        if ((nFlag & (kFlagLedAll | kFlagLedCurrent)) &&
            pro.Kb.nKbLedEffect == m_var.Dev.Kb.GaoshouIndex && !SendLedPages(pro, nFlag))
            break;
        if ((nFlag & kFlagKeys) && !SendKeys(pro, snap.Stores()))
            break;
        nResult = 1;
        if (nFlag & kFlagConfig) {
            if (m_var.Debug) {
                LogDump(byCfg, KB816_CFG_PRO1, KB816_CFG_PRO1, "Cfg(Save-Global): ");
                LogDump(byCfg + KB816_CFG_PRO1, KB816_CFG_PRO1_LEN, 16, "Cfg(Save-Pro1): ");
            }
            // A block that could not be read is not written: zeros would replace the
            // keyboard's own settings.
            if (bCfgRead) {
                if (!Drv816().SetProfile(byCfg)) {
                    LogPrint("SetProfile error, err=0x%x", LastError());
                    nResult = GoOn() ? 1 : 0;
                }
                SleepMs(10);
            }
        }
    } while (false);

    if (pWnd)
        ProgressDone(pWnd, nMsg);
    SleepMs(20);
    return nResult;
}

bool CDev816::SendPassword() {
    const uint8_t* pPsd = m_var.Dev.Kb.PSD;
    bool bAny = false;
    for (size_t i = 0; i < sizeof m_var.Dev.Kb.PSD; ++i)
        bAny = bAny || pPsd[i] != 0;
    if (!bAny)
        return true;
    LogDump(pPsd, sizeof m_var.Dev.Kb.PSD, 16, "Send Psd: ");
    bool bOk = Drv816().SetPassword(pPsd) != 0;
    if (!bOk)
        LogPrint("SetPassword err=0x%x", LastError());
    SleepMs(20);
    return bOk || GoOn();
}

bool CDev816::LoadConfig(const Profile& pro, uint8_t byCfg[KB_CFG_LEN], bool& bRead, int nReset) {
    bRead = Drv816().GetProfile(byCfg) != 0;
    if (!bRead) {
        LogPrint("GetProfile error, err=0x%x", LastError());
        if (!GoOn())
            return false;
        std::memset(byCfg, 0, KB_CFG_LEN);
    }
    if (m_var.Debug) {
        LogDump(byCfg, KB816_CFG_PRO1, KB816_CFG_PRO1, "Cfg(Load-Global): ");
        LogDump(byCfg + KB816_CFG_PRO1, KB816_CFG_PRO1_LEN, 16, "Cfg(Load-Pro1): ");
    }
    SleepMs(10);
    if (bRead) {
        // The effect and group bytes go out cleared first; the keyboard takes the new
        // lighting only as a change.
        byCfg[13] = 0;
        byCfg[14] = 0;
        Drv816().SetProfile(byCfg);
        SleepMs(20);
    }
    const KbDesc& kb = m_var.Dev.Kb;
    Kb816SetLighting(kb, pro.Kb, nReset != 0, byCfg);
    if (pro.Kb.nKbLedEffect == kb.GaoshouIndex)
        return true;
    uint8_t byTable[KB_COLOR_TABLE_MAX] = {};
    const int nLen = Kb816ColorTable(kb, pro.Kb, byTable, sizeof byTable);
    LogDump(byTable, size_t(nLen), 21, "rgbTab: ");
    const bool bOk = Drv816().SetColorTable(byTable, nLen) != 0;
    if (!bOk)
        LogPrint("SetProfile error, err=0x%x", LastError());
    SleepMs(40);
    return bOk || GoOn();
}

bool CDev816::SendLedPages(const Profile& pro, int nFlag) {
    const KbDesc& kb = m_var.Dev.Kb;
    const int nPairs = (Kb816GroupCount(kb) + 1) / 2;
    int nFirst = 0;
    int nCount = nPairs;
    if (!(nFlag & kFlagLedAll)) {
        // Only the pair that holds the group being edited.
        nFirst = pro.Kb.wColorGroup / 2;
        nCount = 1;
        if (nFirst >= nPairs) {
            LogPrint("SendLedPages: colour group %d is not configured", int(pro.Kb.wColorGroup));
            return true;
        }
    }
    for (int p = nFirst; p < nFirst + nCount; ++p) {
        const uint8_t byAddr = uint8_t(kb.GaoshouAddr + 4 * p);
        auto pPage = std::make_unique<uint8_t[]>(KB_LED_MATRIX_LEN);
        Kb816LedPage(m_var.Dev.Keys, pro.Kb, p, pPage.get());
        if (m_var.Debug) {
            LogPrint("ColorGroup[%d]: Addr=%x", p, byAddr);
            LogDump(pPage.get(), KB_LED_MATRIX_LEN, KB816_PLANE / 4, "");
        }
        const bool bOk = Drv816().SetLedMatrix(byAddr, pPage.get()) != 0;
        if (!bOk)
            LogPrint("SetLedMatrix(0x%X), err=0x%x", byAddr, LastError());
        SleepMs(25);
        if (!bOk && !GoOn())
            return false;
    }
    return true;
}

bool CDev816::SendKeys(const Profile& pro, const CApplyStores& stores) {
    auto pMx = std::make_unique<CKb816Matrix>();
    CKb816Matrix& mx = *pMx;
    if (!FillMatrix(pro, mx, stores))
        return false;
    const int nParts = (mx.nMacros + KB816_MACROS_PER_PART - 1) / KB816_MACROS_PER_PART;
    for (int n = 0; n < nParts; ++n) {
        const uint8_t byAddr = uint8_t(kMacroAddr + 4 * n);
        const uint8_t* pPart = mx.byMacro + n * KB_MACRO_LEN;
        LogPrint("Macro(0x%X):", byAddr);
        LogDump(pPart, KB_MACRO_LEN, 16, "");
        const bool bOk = Drv816().SetMacroData(byAddr, pPart) != 0;
        if (!bOk)
            LogPrint("SetMacroData(%x) error, err=0x%x", byAddr, LastError());
        SleepMs(25);
        if (!bOk && !GoOn())
            return false;
    }
    SetKeySwitchKeys(mx);
    if (m_var.Debug) {
        LogPrint("Key Matrix----------------------------");
        LogDump(mx.dwCode, 4 * KB816_KEYS, 16, "");
        LogPrint("Fn Matrix (Single key func)----------------------------");
        LogDump(mx.dwCode + KB816_FN_SINGLE, 4 * FN_LINK_NUM, 16, "");
        LogPrint("Fn Matrix (Fn Combo key func)----------------------------");
        LogDump(mx.dwCode + KB816_FN_COMBO, 4 * FN_LINK_NUM, 16, "");
    }
    return SendMatrix(mx);
}

bool CDev816::SendMatrix(const CKb816Matrix& mx) {
    uint8_t byOut[KB_MATRIX_LEN];
    bool bMerged = false;
    if (m_var.Dev.Kb.SyncKB) {
        // Codes the profile does not place stay as the keyboard has them.
        if (Drv816().GetCommand(byOut)) {
            LogPrint("bSyncKB");
            Kb816MergeMatrix(mx, byOut);
            SleepMs(20);
            bMerged = true;
        } else {
            LogPrint("bSyncKB: key matrix not read, err=0x%x; the whole matrix is sent",
                     LastError());
        }
    }
    if (!bMerged)
        Kb816MatrixOut(mx, byOut);
    LogPrint("FwMatrix--------");
    LogDump(byOut, sizeof byOut, 16, "");
    const bool bOk = Drv816().SetKeyMatrix(byOut) != 0;
    if (!bOk)
        LogPrint("SetKeyMatrix error, err=0x%x", LastError());
    SleepMs(10);
    return bOk || GoOn();
}
