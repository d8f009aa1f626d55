#include "config/KeyEntry.h"

#include <cstdio>

#include "config/IniFile.h"
#include "platform/MessageBox.h"

namespace {

// Class-9 codes name the device's raw functions 0..3; class-11 codes the extra keys 0..5.
constexpr uint32_t HW_FUN_MAX = 3;
constexpr uint32_t EX_KEY_MAX = 5;
constexpr size_t BUTTON_ENTRY_BUF = 50; // K%d_%d values are read through 50 characters
constexpr size_t KB_ENTRY_BUF = 260;    // KBKEY, FN and GEST values through 260

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// One comma-separated item, read like the INI reader's list items; false when it holds
// anything but digits of the base or does not fit in 32 bits.
bool ParseItem(const std::string& strItem, int nBase, uint32_t& dwOut) {
    return CIniFile::ParseDigits(strItem, nBase, dwOut);
}

FnKeyEntry ParseFourNumbers(const std::string& strValue, uint32_t nLastDefault) {
    uint32_t a[4] = {0, 0, 0, nLastDefault};
    bool bBad = false;
    FnKeyEntry e;
    e.nCount =
        ParseKeyEntryNumbers(strValue.substr(0, KB_ENTRY_BUF - 1), kFnKeyEntryBases, 4, a, &bBad);
    if (bBad)
        PlatformMessageBox("Error", "Data parse error!");
    e.dwClass = a[0];
    e.dwCode = a[1];
    e.dwParam = a[2];
    e.nLast = a[3];
    return e;
}

} // namespace

int ParseKeyEntryNumbers(const std::string& strValue, const int* pBases, int nMax, uint32_t* pOut,
                         bool* pbBad) {
    if (pbBad)
        *pbBad = false;
    int nCount = 0;
    size_t nPos = 0;
    while (nCount < nMax && nPos <= strValue.size()) {
        size_t nComma = strValue.find(',', nPos);
        if (nComma == std::string::npos)
            nComma = strValue.size();
        size_t b = nPos, e = nComma;
        while (b < e && IsBlank(strValue[b]))
            ++b;
        while (e > b && IsBlank(strValue[e - 1]))
            --e;
        nPos = nComma + 1;
        if (b == e)
            continue; // empty item
        uint32_t dw = 0;
        if (!ParseItem(strValue.substr(b, e - b), pBases[nCount], dw)) {
            if (pbBad)
                *pbBad = true;
            break;
        }
        pOut[nCount++] = dw;
    }
    return nCount;
}

uint8_t ModifierBitOfKey(uint8_t byVk) {
    switch (byVk) {
    case 16:
    case 160:
        return 0x02; // left Shift
    case 17:
    case 162:
        return 0x01; // left Ctrl
    case 18:
    case 164:
        return 0x04; // left Alt
    case 91:
        return 0x08; // left Win
    case 92:
        return 0x80; // right Win
    case 161:
        return 0x20; // right Shift
    case 163:
        return 0x10; // right Ctrl
    case 165:
        return 0x40; // right Alt
    default:
        return 0;
    }
}

bool ApplyModifierKey(KeyFun& kf, uint8_t byVk) {
    uint8_t byBit = ModifierBitOfKey(byVk);
    if (byBit == 0)
        return false;
    // The generic codes 16, 17 and 18 are remembered as their left-hand keys.
    static const struct {
        uint8_t byVk, byModVk;
    } aModVk[] = {{16, 16}, {160, 16}, {17, 17},   {162, 17},  {18, 18},  {164, 18},
                  {91, 91}, {92, 92},  {161, 161}, {163, 163}, {165, 165}};
    kf.byVk = 0;
    kf.byMod = byBit;
    for (const auto& m : aModVk)
        if (m.byVk == byVk)
            kf.byModVk = m.byModVk;
    return true;
}

void FillKbKeyFun(KeyFun& kf, uint32_t dwClass, uint32_t dwCode, uint32_t dwParam) {
    if ((dwClass & 0xFF) == 2) {
        kf.dwFun = 0x020000A0;
        kf.byVk = static_cast<uint8_t>(dwCode);
        kf.byMod = 0;
        ApplyModifierKey(kf, kf.byVk);
    } else {
        kf.dwFun = ((dwClass & 0xFF) << 24) | (dwCode & 0xFF);
        kf.dwParam = dwParam;
    }
}

void ApplyGunEntry(uint32_t dwParam, const MouseKeyEntryParams& params, KeyAssign& ka) {
    uint32_t g = dwParam & 0xF;
    uint32_t s = (dwParam >> 4) & 0xF;
    uint32_t c = (dwParam >> 8) & 0xF;
    uint32_t v = (dwParam >> 16) & 0xFF;
    if (v == 0) {
        // The value table is indexed as written, 3 per preset; an index past its 21 bytes
        // has no value.
        uint32_t nInx = 3 * g + s;
        if (nInx < sizeof(params.GunValue))
            v = params.GunValue[nInx];
    }
    uint32_t f;
    if (dwParam > 0xFFFFFF)
        f = dwParam >> 24;
    else if (params.nShootSpeed > 1)
        f = static_cast<uint32_t>(params.nShootSpeed) & 0xFF;
    else
        f = 25;
    ka.Main.dwParam = (f << 24) | (v << 16) | (dwParam & 0xFF);
    if (c >= sizeof(params.GunColor) / sizeof(params.GunColor[0]))
        c = 0;
    ka.dwGun = params.GunColor[c];
}

bool ParseMouseKeyEntry(const std::string& strValue, const MouseKeyEntryParams& params,
                        KeyAssign& ka, int32_t* pnCustomKeyParam) {
    uint32_t a[4] = {};
    if (ParseKeyEntryNumbers(strValue.substr(0, BUTTON_ENTRY_BUF - 1), kMouseKeyEntryBases, 4, a,
                             nullptr) < 4)
        return false;
    const uint32_t C = a[0] & 0xFF, K = a[1], P = a[2], X = a[3];
    ka = KeyAssign{};
    KeyFun& kf = ka.Main;
    kf.dwFun = (C << 24) | (K & 0xFF);
    kf.nMatrixInx = static_cast<int32_t>(X & 0xFF);
    switch (C) {
    case 2:
        kf.byVk = static_cast<uint8_t>(K & 0xFF);
        kf.byVk2 = static_cast<uint8_t>((K >> 8) & 0xFF);
        kf.dwFun = 0x020000A1;
        kf.byMod = static_cast<uint8_t>(kf.byMod + (P & 0x0F));
        break;
    case 5:
    case 12:
        kf.dwFun = C << 24;
        kf.dwMacroId = P;
        break;
    case 8:
        switch (K & 0xFF) {
        case 0xA4:
        case 0xA6:
        case 0xAF:
            kf.dwParam = P;
            break;
        case 0xAD:
            kf.dwParam = P;
            if (pnCustomKeyParam)
                *pnCustomKeyParam = static_cast<int32_t>(P);
            break;
        case 0xC0:
            ApplyGunEntry(P, params, ka);
            break;
        default:
            break;
        }
        break;
    case 9:
        kf.dwFun = 0x09000000 | (K & 0xFF);
        kf.dwParam = P;
        // The code as written is checked, so a value the low byte would wrap into range is
        // still reported.
        if (K > HW_FUN_MAX)
            PlatformMessageBox("Error", "Wrong FUN_HW Index");
        break;
    case 11:
        kf.dwFun = 0x0B000000 | (K & 0xFF);
        if (K > EX_KEY_MAX) {
            PlatformMessageBox("Error", "Wrong ExKey Index");
        } else {
            kf.dwParam = static_cast<uint32_t>(params.ExKey[K]);
            if (kf.dwParam == 0)
                PlatformMessageBox("Error", "UnSet ExKey Value");
        }
        break;
    default:
        break;
    }
    return true;
}

int ReadMouseKeyEntries(const CIniFile& ini, const std::string& strSection, int nModeIndex,
                        const MouseKeyEntryParams& params, MsKeyTable& aTable,
                        int32_t* pnCustomKeyParam) {
    for (auto& ka : aTable)
        ka = KeyAssign{};
    int nTaken = 0;
    for (int k = 1; k <= MS_KEY_MAX; ++k) {
        char szKey[32];
        snprintf(szKey, sizeof(szKey), "K%d_%d", k, nModeIndex + 1);
        std::string strValue = ini.GetString(strSection, szKey, "", BUTTON_ENTRY_BUF);
        if (strValue.empty())
            continue;
        ini.NoteHexPrefixes(strSection, szKey, strValue, kMouseKeyEntryBases, 4);
        if (ParseMouseKeyEntry(strValue, params, aTable[k - 1], pnCustomKeyParam))
            ++nTaken;
    }
    return nTaken;
}

KbKeyEntry ParseKbKeyEntry(const std::string& strValue) {
    uint32_t a[9] = {};
    bool bBad = false;
    KbKeyEntry e;
    e.nCount =
        ParseKeyEntryNumbers(strValue.substr(0, KB_ENTRY_BUF - 1), kKbKeyEntryBases, 9, a, &bBad);
    if (bBad)
        PlatformMessageBox("Error", "Data parse error!");
    e.rcKey = RECT{static_cast<int32_t>(a[0]), static_cast<int32_t>(a[1]),
                   static_cast<int32_t>(a[2]), static_cast<int32_t>(a[3])};
    e.dwClass = a[4];
    e.dwCode = a[5];
    e.dwParam = a[6];
    e.nMatrix = a[7];
    e.nLight = a[8];
    return e;
}

FnKeyEntry ParseFnKeyEntry(const std::string& strValue) {
    return ParseFourNumbers(strValue, 255);
}

FnKeyEntry ParseGestKeyEntry(const std::string& strValue) {
    return ParseFourNumbers(strValue, 0);
}
