#include "config/KeyTablesLoader.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "config/KeyLookup.h"
#include "config/Log.h"
#include "platform/FileLookup.h"
#include "platform/MessageBox.h"

namespace {

constexpr size_t KB_ENTRY_BUF = 260;
constexpr uint32_t KB_POS_MAX = 149; // matrix and light positions index 150-entry tables
constexpr int32_t LINK_FROM_FREE = 255;
constexpr int KB_FW_816 = 20; // [OPT] KbFw of the 816 family, the one with an Fn table

std::string KeyName(const char* pszFormat, int n) {
    char szKey[32];
    snprintf(szKey, sizeof(szKey), pszFormat, n);
    return szKey;
}

void ReportSharedMatrix(const KeyTables& keys) {
    for (int i = 0; i < KB_KEY_MAX; ++i) {
        const KeyFun& a = keys.g_defKEY[i].Main;
        if (a.dwFun == 0)
            continue;
        for (int j = 0; j < KB_KEY_MAX; ++j) {
            const KeyFun& b = keys.g_defKEY[j].Main;
            if (j == i || b.dwFun == 0 || b.nMatrixInx != a.nMatrixInx)
                continue;
            char szText[96];
            snprintf(szText, sizeof(szText), "Key%d and Key%d has the same matrix index", i, j);
            PlatformMessageBox("Warning", szText);
            break;
        }
    }
}

int32_t ClampCoord(int64_t n) {
    return static_cast<int32_t>(std::clamp<int64_t>(n, INT32_MIN, INT32_MAX));
}

} // namespace

void LoadKbKeyTable(const CIniFile& cfg, CGlobalVar& var) {
    KeyTables& keys = var.Dev.Keys;
    for (auto& ka : keys.g_defKEY)
        ka = KeyAssign{};
    keys.nKbKeyNum = 0;
    for (int n = 1; keys.nKbKeyNum < KB_KEY_MAX; ++n) {
        std::string strValue = cfg.GetString("KBKEY", KeyName("K%d", n), "", KB_ENTRY_BUF);
        if (strValue.empty())
            break;
        cfg.NoteHexPrefixes("KBKEY", KeyName("K%d", n), strValue, kKbKeyEntryBases, 9);
        KbKeyEntry e = ParseKbKeyEntry(strValue);
        if (e.nMatrix > KB_POS_MAX || e.nLight > KB_POS_MAX) {
            PlatformMessageBox("Warning", "Wrong matrix index value!");
            continue;
        }
        KeyAssign& ka = keys.g_defKEY[keys.nKbKeyNum];
        ka = KeyAssign{};
        ka.Main.rcKey = e.rcKey;
        ka.Main.nMatrixInx = static_cast<int32_t>(e.nMatrix);
        ka.Fn.nLink = static_cast<int32_t>(e.nLight);
        if ((e.dwClass & 0xFF) == 2) {
            ka.Main.dwFun = 0x020000A0;
            ka.Main.byVk = static_cast<uint8_t>(e.dwCode);
            ka.Main.byMod = static_cast<uint8_t>(e.dwParam);
            ApplyModifierKey(ka.Main, ka.Main.byVk);
        } else {
            ka.Main.dwFun = MakeFun(e.dwClass & 0xFF, e.dwCode);
            if ((e.dwClass & 0xFF) == 9)
                ka.Main.dwParam = e.dwParam;
        }
        ++keys.nKbKeyNum;
    }
    if (var.Debug != 0)
        ReportSharedMatrix(keys);
}

void LoadFnTable(const CIniFile& cfg, CGlobalVar& var) {
    KeyTables& keys = var.Dev.Keys;
    for (auto& ka : keys.g_defKEY)
        ka.Main.nLink = -1;
    int nRead = 0;
    for (int i = 0; i < KB_KEY_MAX; ++i) {
        std::string strValue = cfg.GetString("FN", KeyName("K%d", i + 1), "", KB_ENTRY_BUF);
        if (strValue.empty())
            continue;
        if (nRead >= FN_ENTRY_MAX) {
            // One box for the whole surplus: every further entry is dropped the same way.
            PlatformMessageBox("Warning", "k>=64");
            break;
        }
        ++nRead;
        cfg.NoteHexPrefixes("FN", KeyName("K%d", i + 1), strValue, kFnKeyEntryBases, 4);
        FnKeyEntry e = ParseFnKeyEntry(strValue);
        // Links index the keyboard's Fn tables: larger ones are cut to the last entry.
        int32_t nLink = e.nLast == static_cast<uint32_t>(LINK_FROM_FREE)
                            ? LINK_FROM_FREE
                            : static_cast<int32_t>(std::min<uint32_t>(e.nLast, FN_LINK_NUM - 1));
        KeyAssign& ka = keys.g_defKEY[i];
        ka.Main.nLink = nLink;
        FillKbKeyFun(ka.Fn, e.dwClass, e.dwCode, e.dwParam);
    }
    for (int i = 0; i < KB_KEY_MAX; ++i) {
        KeyAssign& ka = keys.g_defKEY[i];
        if (ka.Main.nLink != LINK_FROM_FREE)
            continue;
        int nFree = GetFreeLinkIndex(keys);
        if (nFree < 0) {
            LogPrint("ERROR: Get wrong index for g_defKEY[%d]", i);
            ka.Main.nLink = -1;
        } else {
            ka.Main.nLink = nFree;
        }
    }
}

void LoadGestTable(const CIniFile& cfg, CGlobalVar& var) {
    KeyTables& keys = var.Dev.Keys;
    for (auto& ka : keys.Gest)
        ka = KeyAssign{};
    for (int n = 1; n <= GEST_KEY_NUM; ++n) {
        std::string strValue = cfg.GetString("GEST", KeyName("K%d", n), "", KB_ENTRY_BUF);
        if (strValue.empty())
            continue;
        cfg.NoteHexPrefixes("GEST", KeyName("K%d", n), strValue, kFnKeyEntryBases, 4);
        FnKeyEntry e = ParseGestKeyEntry(strValue);
        KeyFun& kf = keys.Gest[n - 1].Main;
        FillKbKeyFun(kf, e.dwClass, e.dwCode, e.dwParam);
        kf.nMatrixInx = static_cast<int32_t>(e.nLast);
    }
}

MouseKeyEntryParams MouseKeyParamsFrom(const CGlobalVar& var) {
    const MouseDesc& ms = var.Dev.Ms;
    MouseKeyEntryParams params;
    static_assert(sizeof(params.ExKey) == sizeof(ms.ExKey));
    static_assert(sizeof(params.GunValue) == sizeof(ms.GunValue));
    static_assert(sizeof(params.GunColor) == sizeof(ms.GunColor));
    memcpy(params.ExKey, ms.ExKey, sizeof(params.ExKey));
    memcpy(params.GunValue, ms.GunValue, sizeof(params.GunValue));
    memcpy(params.GunColor, ms.GunColor, sizeof(params.GunColor));
    params.nShootSpeed = ms.ShootSpeed;
    return params;
}

void LoadProCfg(const CIniFile& proCfg, CGlobalVar& var) {
    LoadProCfg(proCfg, MouseKeyParamsFrom(var), var);
}

void LoadProCfg(const CIniFile& proCfg, const MouseKeyEntryParams& params, CGlobalVar& var) {
    KeyTables& keys = var.Dev.Keys;
    for (auto& preset : keys.ProPreset)
        for (auto& mode : preset)
            for (auto& ka : mode)
                ka = KeyAssign{};
    for (int p = 0; p < PRESET_NUM; ++p) {
        std::string strSection = KeyName("PRO%d", p + 1);
        for (int m = 0; m < MS_MODE_NUM; ++m) {
            int nTaken = ReadMouseKeyEntries(proCfg, strSection, m, params, keys.ProPreset[p][m],
                                             &keys.nCustomKeyParam);
            if (m > 0 && nTaken == 0)
                memcpy(keys.ProPreset[p][m], keys.ProPreset[p][0], sizeof(MsKeyTable));
        }
    }
}

void BuildDefaultMouseKeys(CGlobalVar& var, const KeyAssign (*pSource)[MS_MODE_NUM][MS_KEY_MAX]) {
    const SensorCfg* pCfg = var.Dev.Ms.pSensorCfg();
    if (var.MsFw == 0 || pCfg == nullptr)
        return;
    KeyTables& keys = var.Dev.Keys;
    memcpy(keys.MsDefKey, pSource ? *pSource : pCfg->Keys, sizeof(keys.MsDefKey));

    // The key panel lists the buttons in rows; a second view re-uses the places of the first.
    // KEYY and KEYH come from the configuration: rows are computed wide and held to the
    // coordinate range, so absurd values give far-away rows, not an overflow.
    int nView = var.ViewKeyNum < 1 ? MS_KEY_MAX : var.ViewKeyNum;
    int64_t nRowH = static_cast<int64_t>(pCfg->KEYH) + 25;
    RECT aRect[MS_KEY_MAX];
    for (int i = 0; i < MS_KEY_MAX; ++i) {
        if (i < nView) {
            int64_t nTop = static_cast<int64_t>(pCfg->KEYY) + i * nRowH;
            aRect[i] = RECT{45, ClampCoord(nTop), 224, ClampCoord(nTop + 25)};
        } else {
            aRect[i] = aRect[i - nView];
        }
    }
    for (int m = 0; m < MS_MODE_NUM; ++m)
        for (int i = 0; i < MS_KEY_MAX; ++i) {
            keys.MsDefKey[m][i].Main.rcKey = aRect[i];
            keys.MsDefKey[m][i].Main.nMatrixInx = pCfg->Keys[m][i].Main.nMatrixInx;
        }
    for (int i = 0; i < MS_KEY_MAX; ++i)
        if (pCfg->Keys[0][i].Main.nMatrixInx != pCfg->Keys[1][i].Main.nMatrixInx)
            PlatformMessageBox("Warning", "Md1 and Md2 Matrix index diff");
}

void LoadKeyPresets(CGlobalVar& var) {
    const CIniFile proCfg(FileLookup::Resolve(var.szProgramDir, "ProCfg.ini"));
    LoadProCfg(proCfg, var);
    const auto& vNotes = proCfg.HexPrefixNotes();
    var.vHexPrefixNotes.insert(var.vHexPrefixNotes.end(), vNotes.begin(), vNotes.end());
}

void LoadKeyTables(const CIniFile& cfg, CGlobalVar& var,
                   const KeyAssign (*pKyg)[MS_MODE_NUM][MS_KEY_MAX]) {
    if (var.MsFw != 0)
        BuildDefaultMouseKeys(var, pKyg);
    if (var.KbFw == KB_FW_816) {
        LoadFnTable(cfg, var);
        if (var.Dev.Kb.ShowGest != 0)
            LoadGestTable(cfg, var);
    }
}
