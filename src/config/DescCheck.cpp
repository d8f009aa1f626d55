#include "config/DescCheck.h"

#include <cstdarg>
#include <cstdio>

#include "config/PngSize.h"
#include "config/SensorTable.h"
#include "platform/FileLookup.h"

namespace {

constexpr int kMouseMatrixPositions = 20; // positions 1..20 of the 8948 key matrix

class CProblems {
public:
    void Add(const char* pszFormat, ...) __attribute__((format(printf, 2, 3))) {
        char sz[512];
        va_list ap;
        va_start(ap, pszFormat);
        vsnprintf(sz, sizeof(sz), pszFormat, ap);
        va_end(ap);
        m_v.emplace_back(sz);
    }
    std::vector<std::string> m_v;
};

void CheckSensorCfg(const MouseDesc& ms, int n, CProblems& p) {
    const SensorCfg& c = ms.SensorCfgs[n];
    const int nSec = n + 1;
    const SensorEntry* pEntry = FindSensorEntry(ms, c.Sensor);
    if (pEntry == nullptr || pEntry->nCount <= 0) {
        return; // reported while loading
    }
    if (c.DM < 1 || c.DM > DPI_LEVEL_MAX) {
        p.Add("SENSOR_%d: DM %d is not a level count from 1 to %d", nSec, c.DM, DPI_LEVEL_MAX);
    }
    if (c.DEFLEVEL < -1 || (c.DM >= 1 && c.DEFLEVEL >= c.DM)) {
        p.Add("SENSOR_%d: DEFLEVEL %d is not one of the %d levels", nSec, c.DEFLEVEL, c.DM);
    }
    if (c.MDNUM == 0) {
        p.Add("SENSOR_%d: MDNUM is not 3, 6 or 9; the section was read only up to it", nSec);
        return;
    }
    if (c.KM == 0) {
        p.Add("SENSOR_%d: KM is not an even number from 2 to 42; the section was read only up "
              "to it",
              nSec);
        return;
    }
    const int nRates[4] = {c.RATE1, c.RATE2, c.RATE3, c.RATE4};
    const int nDefaults[3] = {c.DR, c.DR_2, c.DR_3};
    const char* const pszDr[3] = {"DR", "DR_2", "DR_3"};
    for (int m = 0; m < c.MDNUM && m < 3; ++m) {
        bool bOffered = false;
        for (int r : nRates) {
            bOffered = bOffered || (r != 0 && r == nDefaults[m]);
        }
        if (!bOffered) {
            p.Add("SENSOR_%d: %s 0x%x is none of the offered rates RATE1..RATE4", nSec, pszDr[m],
                  static_cast<unsigned>(nDefaults[m]));
        }
    }
    for (int m = 0; m < c.MDNUM && m < MS_MODE_NUM; ++m) {
        for (int i = 0; i < c.KM; ++i) {
            const KeyFun& a = c.Keys[m][i].Main;
            if (a.dwFun == 0) {
                continue;
            }
            // The mouse's key matrix has positions 1..20; a button elsewhere is never written.
            if (a.nMatrixInx < 1 || a.nMatrixInx > kMouseMatrixPositions) {
                p.Add("SENSOR_%d: K%d_%d has matrix position %d outside 1..%d", nSec, i + 1, m + 1,
                      a.nMatrixInx, kMouseMatrixPositions);
            }
            for (int j = i + 1; j < c.KM; ++j) {
                const KeyFun& b = c.Keys[m][j].Main;
                if (b.dwFun != 0 && b.nMatrixInx == a.nMatrixInx) {
                    p.Add("SENSOR_%d: K%d_%d and K%d_%d have the same matrix index %d", nSec, i + 1,
                          m + 1, j + 1, m + 1, a.nMatrixInx);
                    break;
                }
            }
        }
        for (int i = c.KM; i < MS_KEY_MAX; ++i) {
            if (c.Keys[m][i].Main.dwFun != 0) {
                p.Add("SENSOR_%d: K%d_%d is beyond the %d buttons of KM", nSec, i + 1, m + 1, c.KM);
            }
        }
    }
    for (int i = 0; i < c.KM; ++i) {
        const RECT& rc = c.Mark[i];
        if (rc.right < rc.left || rc.bottom < rc.top) {
            p.Add("SENSOR_%d: Mark%d has a negative width or height", nSec, i + 1);
        }
    }
}

// Every skin must show the mouse, and every key mark must lie on its picture.
void CheckMarksOnPicture(const CGlobalVar& var, CProblems& p) {
    std::vector<std::string> vSkinDirs;
    if (var.Skins.empty()) {
        vSkinDirs.push_back(GetSkinDir(var));
    } else {
        for (const SkinEntry& skin : var.Skins)
            vSkinDirs.push_back(FileLookup::Resolve(var.szProgramDir, skin.szFolder) + "/");
    }
    const MouseDesc& ms = var.Dev.Ms;
    for (const std::string& strDir : vSkinDirs) {
        const std::string strPicture = FileLookup::Resolve(strDir, "mouse/mouse_nr.png");
        auto size = ReadPngSizeFile(strPicture);
        if (!size) {
            p.Add("skin %s: mouse/mouse_nr.png is missing or not a PNG image", strDir.c_str());
            continue;
        }
        for (int n = 0; n < SENSOR_CFG_NUM; ++n) {
            const SensorCfg& c = ms.SensorCfgs[n];
            if (c.Sensor == 0)
                continue;
            for (int i = 0; i < c.KM && i < MS_KEY_MAX; ++i) {
                const RECT& rc = c.Mark[i];
                if (rc.right <= rc.left || rc.bottom <= rc.top)
                    continue; // hidden mark
                if (rc.left < 0 || rc.top < 0 || int64_t(rc.right) > int64_t(size->nWidth) ||
                    int64_t(rc.bottom) > int64_t(size->nHeight))
                    p.Add("SENSOR_%d: Mark%d (%d,%d,%d,%d) lies outside the %ux%u mouse picture of "
                          "skin %s",
                          n + 1, i + 1, rc.left, rc.top, rc.right, rc.bottom, size->nWidth,
                          size->nHeight, strDir.c_str());
            }
        }
    }
}

void CheckMouse(const CGlobalVar& var, CProblems& p) {
    const MouseDesc& ms = var.Dev.Ms;
    if (FindSensorCfg(ms, ms.Sensor) == nullptr) {
        p.Add("MS: Sensor 0x%04x has no SENSOR_%%d section describing it",
              static_cast<unsigned>(ms.Sensor));
    }
    for (int n = 0; n < SENSOR_CFG_NUM; ++n) {
        CheckSensorCfg(ms, n, p);
        const int nFirst = FindSensorCfgIndex(ms, ms.SensorCfgs[n].Sensor);
        if (nFirst >= 0 && nFirst < n) {
            p.Add("SENSOR_%d: sensor 0x%04x is already described by SENSOR_%d, which is used",
                  n + 1, static_cast<unsigned>(ms.SensorCfgs[n].Sensor), nFirst + 1);
        }
    }
    for (const SensorEntry& e : ms.SensorTable) {
        for (int i = 1; i < e.nCount && i < SENSOR_DPI_MAX; ++i) {
            if (e.Dpi[i] <= e.Dpi[i - 1]) {
                p.Add("Sensor 0x%04x: DPISET is not ascending at value %d (%d)",
                      static_cast<unsigned>(e.nSensor), i + 1, e.Dpi[i]);
                break;
            }
        }
    }
    if ((ms.LOD & 0xFF) > 8) {
        p.Add("MS: LOD offers %d lift-off levels, at most 8 exist", ms.LOD & 0xFF);
    }
    const SensorCfg* pCur = ms.pSensorCfg();
    if (ms.SnipMenu[0] != 0) {
        const SensorEntry* pEntry = FindSensorEntry(ms, ms.nCurSensor);
        const int nCount = pEntry ? pEntry->nCount : 0;
        for (int i = 0; i < ms.SnipMenu[1] && i < 26; ++i) {
            if (ms.SnipMenu[2 + i] >= nCount) {
                p.Add("MS: SnipMenu position %d is past the %d resolutions of sensor 0x%04x",
                      ms.SnipMenu[2 + i], nCount, static_cast<unsigned>(ms.nCurSensor));
            }
        }
    }
    if (ms.ScrollKey != -1 && pCur != nullptr && pCur->KM > 0) {
        const int nKeys[2] = {ms.ScrollKey & 0xFF, (ms.ScrollKey >> 8) & 0xFF};
        for (int k : nKeys) {
            if (k >= pCur->KM) {
                p.Add("MS: ScrollKey button index %d is past the %d buttons", k, pCur->KM);
            }
        }
    }
    if (ms.KeySwVk[0] != 0 && var.Dev.Kb.PID == 0) {
        p.Add("MS: KeySwVk names a keyboard part but [KB] PID is 0");
    }
}

void CheckKeyboard(const CGlobalVar& var, CProblems& p) {
    const KbDesc& kb = var.Dev.Kb;
    const KeyTables& keys = var.Dev.Keys;
    if (kb.VID == 0 || kb.PID == 0) {
        p.Add("KB: VID and PID must both be set to find the keyboard");
    }
    const int nKeys =
        keys.nKbKeyNum < 0 ? 0 : (keys.nKbKeyNum > KB_KEY_MAX ? KB_KEY_MAX : keys.nKbKeyNum);
    if (var.KbFw == 20 && nKeys == 0) {
        p.Add("KBKEY: the keyboard has no keys");
    }
    for (int i = 0; i < nKeys; ++i) {
        const KeyFun& a = keys.g_defKEY[i].Main;
        if (a.dwFun == 0) {
            continue;
        }
        for (int j = i + 1; j < nKeys; ++j) {
            const KeyFun& b = keys.g_defKEY[j].Main;
            if (b.dwFun != 0 && b.nMatrixInx == a.nMatrixInx) {
                p.Add("KBKEY: K%d and K%d have the same matrix index %d", i + 1, j + 1,
                      a.nMatrixInx);
                break;
            }
        }
    }
    if (kb.EffectNum >= KB_EFFECT_NUM) {
        p.Add("KB: EffectNum %d exceeds the %d effects", kb.EffectNum, KB_EFFECT_NUM);
    }
    if (kb.nLEDParamNum < kb.EffectNum) {
        p.Add("KB: LEDParam has %d pairs for %d effects", kb.nLEDParamNum, kb.EffectNum);
    }
    if (kb.GaoshouIndex >= KB_EFFECT_NUM) {
        p.Add("KB: GaoshouIndex %d is not an effect", kb.GaoshouIndex);
    }
    if (kb.nGaoshouGroupRead > 0 &&
        (kb.CustomGp[0] > kb.CustomGp[1] || kb.CustomGp[1] >= kb.nGaoshouGroupRead)) {
        p.Add("KB: CustomGp %d..%d is not within the %d colour groups read", kb.CustomGp[0],
              kb.CustomGp[1], kb.nGaoshouGroupRead);
    }
    if (kb.nGaoshouGroupRead > 0 && kb.nGaoshouGroupRead < kb.GaoshouGroupNum) {
        p.Add("KB: GaoshouGroupNum is %d but only GaoshouKey1..GaoshouKey%d are given",
              kb.GaoshouGroupNum, kb.nGaoshouGroupRead);
    }
    if (kb.MaxEftKeyIndex > nKeys) {
        p.Add("KB: MaxEftKeyIndex %d is past the %d keys", kb.MaxEftKeyIndex, nKeys);
    }
    if (kb.NoColorKey >= nKeys) {
        p.Add("KB: NoColorKey %d is past the %d keys", kb.NoColorKey, nKeys);
    }
    if (kb.nUnRectPtNum > 0 && (kb.nUnRectKey < 0 || kb.nUnRectKey >= nKeys)) {
        p.Add("KB: UnRectKey names key %d, past the %d keys", kb.nUnRectKey, nKeys);
    }
}

// Other installations stop at such an item, and so does this program; the author meant the
// number, so the fix is named with it.
void CheckHexPrefixes(const CGlobalVar& var, CProblems& p) {
    for (const CIniHexPrefixNote& n : var.vHexPrefixNotes) {
        p.Add("%s%s[%s] %s: item %s has a 0x prefix; this value takes bare hexadecimal digits "
              "(%s), so reading stops before it",
              n.strFile.c_str(), n.strFile.empty() ? "" : " ", n.strSection.c_str(),
              n.strKey.c_str(), n.strItem.c_str(), n.strItem.substr(2).c_str());
    }
}

void CheckPad(const CGlobalVar& var, CProblems& p) {
    if (var.Dev.Pad.VID == 0 || var.Dev.Pad.PID == 0) {
        p.Add("PAD: VID and PID must both be set to find the pad");
    }
}

} // namespace

std::vector<std::string> CheckDescriptions(const CGlobalVar& var) {
    CProblems p;
    CheckHexPrefixes(var, p);
    if (var.MsFw != 0) {
        CheckMouse(var, p);
    }
    if (var.KbFw != 0) {
        CheckKeyboard(var, p);
    }
    if (var.PadFw != 0) {
        CheckPad(var, p);
    }
    return p.m_v;
}

std::vector<std::string> CheckSkinFiles(const CGlobalVar& var) {
    CProblems p;
    if (var.MsFw != 0)
        CheckMarksOnPicture(var, p);
    return p.m_v;
}
