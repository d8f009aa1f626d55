#include "config/KeyNames.h"

#include <cstdio>

#include "config/GlobalVar.h"
#include "config/KeyLayouts.h"
#include "config/TextCatalogue.h"

namespace {

const char* FixedKeyName(uint8_t byVk) {
    static const char* const aNav[] = {"PageUp", "PageDown", "End",   "Home",
                                       "Left",   "Up",       "Right", "Down"};
    static const char* const aFn[] = {"F1", "F2", "F3", "F4",  "F5",  "F6",
                                      "F7", "F8", "F9", "F10", "F11", "F12"};
    static const char* const aNum[] = {"Num 0", "Num 1", "Num 2", "Num 3", "Num 4",
                                       "Num 5", "Num 6", "Num 7", "Num 8", "Num 9"};
    static const char* const aDigit[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
    static const char* const aSide[] = {"L_Shift", "R_Shift", "L_Ctrl", "R_Ctrl", "L_Alt", "R_Alt"};
    if (byVk >= 33 && byVk <= 40)
        return aNav[byVk - 33];
    if (byVk >= 48 && byVk <= 57)
        return aDigit[byVk - 48];
    if (byVk >= 96 && byVk <= 105)
        return aNum[byVk - 96];
    if (byVk >= 112 && byVk <= 123)
        return aFn[byVk - 112];
    if (byVk >= 160 && byVk <= 165)
        return aSide[byVk - 160];
    switch (byVk) {
    case 8:
        return "Backspace";
    case 9:
        return "Tab";
    case 12:
        return "Clr";
    case 13:
    case 43:
        return "Enter";
    case 16:
        return "Shift";
    case 17:
        return "Ctrl";
    case 18:
        return "Alt";
    case 19:
        return "Pause";
    case 20:
        return "CapsLock";
    case 27:
        return "Esc";
    case 32:
        return "Space";
    case 41:
        return "Select";
    case 42:
        return "Print";
    case 44:
        return "PrintScreen";
    case 45:
        return "Insert";
    case 46:
        return "Delete";
    case 47:
        return "Help";
    case 91:
        return "L_Win";
    case 92:
        return "R_Win";
    case 93:
        return "App";
    case 106:
        return "Num *";
    case 107:
        return "Num +";
    case 108:
        return "\\";
    case 109:
        return "Num -";
    case 110:
        return "Num .";
    case 111:
        return "Num /";
    case 144:
        return "NumLock";
    case 145:
        return "Scroll Lock";
    case 255:
        return "";
    default:
        return nullptr;
    }
}

// Keys named by the texts of the current language.
const char* TextKeyId(uint8_t byVk) {
    static const char* const aMedia[] = {"tc_mute",      "tc_vol_dw", "tc_vol_up", "tc_next_media",
                                         "tc_pre_media", "tc_stop",   "tc_PL"};
    static const char* const aMouse[] = {"tc_click", "tc_menu", "tc_middle", "tc_forward",
                                         "tc_back"};
    if (byVk >= 173 && byVk <= 179)
        return aMedia[byVk - 173];
    if (byVk >= 240 && byVk <= 244)
        return aMouse[byVk - 240];
    if (byVk == 172)
        return "tc_kbmedia_main";
    if (byVk == 181)
        return "tc_kbmedia_msel";
    return nullptr;
}

// The character a key produces without modifiers, as the layout's keyboard driver maps it:
// letters as their capitals, the punctuation keys as printed on the key.
const char* LayoutChar(uint8_t byVk, int nLayout) {
    struct KeyChar {
        uint8_t byVk;
        const char* psz;
    };
    static const KeyChar aUs[] = {{186, ";"},  {187, "="}, {188, ","}, {189, "-"},
                                  {190, "."},  {191, "/"}, {192, "`"}, {219, "["},
                                  {220, "\\"}, {221, "]"}, {222, "'"}, {226, "\\"}};
    static const KeyChar aDe[] = {{186, "\xC3\x9C"}, {187, "+"},        {188, ","},
                                  {189, "-"},        {190, "."},        {191, "#"},
                                  {192, "\xC3\x96"}, {219, "\xC3\x9F"}, {220, "^"},
                                  {221, "\xC2\xB4"}, {222, "\xC3\x84"}, {226, "<"}};
    static const KeyChar aFr[] = {{186, "$"}, {187, "="},        {188, ","}, {190, ";"},
                                  {191, ":"}, {192, "\xC3\x99"}, {219, ")"}, {220, "*"},
                                  {221, "^"}, {222, "\xC2\xB2"}, {223, "!"}, {226, "<"}};
    static const char* const aLetters[] = {"A", "B", "C", "D", "E", "F", "G", "H", "I",
                                           "J", "K", "L", "M", "N", "O", "P", "Q", "R",
                                           "S", "T", "U", "V", "W", "X", "Y", "Z"};
    if (byVk >= 'A' && byVk <= 'Z')
        return aLetters[byVk - 'A'];
    const KeyChar* pBegin = aUs;
    const KeyChar* pEnd = aUs + sizeof(aUs) / sizeof(aUs[0]);
    if (nLayout == 1 || nLayout == 3) {
        pBegin = aDe;
        pEnd = aDe + sizeof(aDe) / sizeof(aDe[0]);
    } else if (nLayout == 2) {
        pBegin = aFr;
        pEnd = aFr + sizeof(aFr) / sizeof(aFr[0]);
    }
    for (const KeyChar* p = pBegin; p != pEnd; ++p)
        if (p->byVk == byVk)
            return p->psz;
    return "";
}

// Parts are joined by " + ", a part with an empty name included, so the joints always
// tell how many parts the combination has.
struct CComboParts {
    std::string str;
    bool bAny = false;
    void Add(const std::string& strPart) {
        if (bAny)
            str += " + ";
        str += strPart;
        bAny = true;
    }
};

void AddKeys(CComboParts& parts, uint8_t byVk, uint8_t byVk2, int nLayout) {
    if (byVk != 0)
        parts.Add(GetKeyName(byVk, nLayout));
    if (byVk2 != 0)
        parts.Add(GetKeyName(byVk2, nLayout));
}

} // namespace

std::string GetKeyName(uint8_t byVk, int nLayout) {
    uint8_t byShown = DisplayKeyConvert(nLayout, byVk);
    if (const char* psz = FixedKeyName(byShown))
        return psz;
    if (const char* pszId = TextKeyId(byShown))
        return Txt(pszId);
    return LayoutChar(byShown, nLayout);
}

std::string GetKeyName(uint8_t byVk) {
    return GetKeyName(byVk, gVar.KbType);
}

std::string GetShortComboName(uint8_t byMod, uint8_t byVk, uint8_t byVk2, int nLayout) {
    CComboParts parts;
    if (byMod & 0x11)
        parts.Add("Ctrl");
    if (byMod & 0x44)
        parts.Add("Alt");
    if (byMod & 0x22)
        parts.Add("Shift");
    if (byMod & 0x88)
        parts.Add("Win");
    AddKeys(parts, byVk, byVk2, nLayout);
    return parts.str;
}

std::string GetLongComboName(uint8_t byMod, uint8_t byVk, uint8_t byVk2, int nLayout) {
    static const struct {
        uint8_t byBit;
        const char* pszName;
    } aParts[] = {{0x01, "L-Ctrl"}, {0x04, "L-Alt"}, {0x02, "L-Shift"}, {0x08, "L-Win"},
                  {0x10, "R-Ctrl"}, {0x40, "R-Alt"}, {0x20, "R-Shift"}, {0x80, "R-Win"}};
    CComboParts parts;
    for (const auto& part : aParts)
        if (byMod & part.byBit)
            parts.Add(part.pszName);
    AddKeys(parts, byVk, byVk2, nLayout);
    return parts.str;
}

std::string GetShortComboName(uint8_t byMod, uint8_t byVk, uint8_t byVk2) {
    return GetShortComboName(byMod, byVk, byVk2, gVar.KbType);
}

std::string GetLongComboName(uint8_t byMod, uint8_t byVk, uint8_t byVk2) {
    return GetLongComboName(byMod, byVk, byVk2, gVar.KbType);
}
