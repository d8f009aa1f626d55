#include "widgets/QtKeyToVk.h"

#include <QKeyEvent>

namespace {
// X keycodes (evdev code + 8) of the keys whose side or pad Qt does not tell.
struct ScanEntry {
    uint32_t nScan;
    uint8_t byVk;
};
constexpr ScanEntry kScanTable[] = {
    {37, 162},
    {105, 163}, // Ctrl left, right
    {50, 160},
    {62, 161}, // Shift left, right
    {64, 164},
    {108, 165}, // Alt left, right (AltGr)
    {133, 91},
    {134, 92},              // Win left, right
    {104, VK_KEYPAD_ENTER}, // keypad Enter
};

struct KeysymEntry {
    uint32_t nSym;
    uint8_t byVk;
};
constexpr KeysymEntry kKeysymTable[] = {
    {0xffe3, 162}, {0xffe4, 163}, {0xffe1, 160}, {0xffe2, 161}, {0xffe9, 164},
    {0xffea, 165}, {0xfe03, 165}, {0xffeb, 91},  {0xffec, 92},  {0xff8d, VK_KEYPAD_ENTER},
};

struct QtEntry {
    int nKey;
    uint8_t byVk;
};
// Keys that map one to one. Shifted punctuation maps to its key on the US layout, since a
// key code names a key, not a character.
constexpr QtEntry kQtTable[] = {
    {Qt::Key_Backspace, 8},
    {Qt::Key_Tab, 9},
    {Qt::Key_Backtab, 9},
    {Qt::Key_Clear, 12},
    {Qt::Key_Return, 13},
    {Qt::Key_Enter, 13},
    {Qt::Key_Pause, 19},
    {Qt::Key_CapsLock, 20},
    {Qt::Key_Escape, 27},
    {Qt::Key_Space, 32},
    {Qt::Key_PageUp, 33},
    {Qt::Key_PageDown, 34},
    {Qt::Key_End, 35},
    {Qt::Key_Home, 36},
    {Qt::Key_Left, 37},
    {Qt::Key_Up, 38},
    {Qt::Key_Right, 39},
    {Qt::Key_Down, 40},
    {Qt::Key_Select, 41},
    {Qt::Key_Print, 44},
    {Qt::Key_SysReq, 44},
    {Qt::Key_Insert, 45},
    {Qt::Key_Delete, 46},
    {Qt::Key_Help, 47},
    {Qt::Key_Menu, 93},
    {Qt::Key_Sleep, 95},
    {Qt::Key_NumLock, 144},
    {Qt::Key_ScrollLock, 145},
    {Qt::Key_Shift, 160},
    {Qt::Key_Control, 162},
    {Qt::Key_Alt, 164},
    {Qt::Key_AltGr, 165},
    {Qt::Key_Meta, 91},
    {Qt::Key_Super_L, 91},
    {Qt::Key_Super_R, 92},
    {Qt::Key_Back, 166},
    {Qt::Key_Forward, 167},
    {Qt::Key_Refresh, 168},
    {Qt::Key_Stop, 169},
    {Qt::Key_Search, 170},
    {Qt::Key_Favorites, 171},
    {Qt::Key_HomePage, 172},
    {Qt::Key_VolumeMute, 173},
    {Qt::Key_VolumeDown, 174},
    {Qt::Key_VolumeUp, 175},
    {Qt::Key_MediaNext, 176},
    {Qt::Key_MediaPrevious, 177},
    {Qt::Key_MediaStop, 178},
    {Qt::Key_MediaPlay, 179},
    {Qt::Key_MediaTogglePlayPause, 179},
    {Qt::Key_LaunchMail, 180},
    {Qt::Key_LaunchMedia, 181},
    {Qt::Key_Launch0, 182},
    {Qt::Key_Launch1, 183},
    {Qt::Key_Semicolon, 186},
    {Qt::Key_Colon, 186},
    {Qt::Key_Equal, 187},
    {Qt::Key_Plus, 187},
    {Qt::Key_Comma, 188},
    {Qt::Key_Less, 188},
    {Qt::Key_Minus, 189},
    {Qt::Key_Underscore, 189},
    {Qt::Key_Period, 190},
    {Qt::Key_Greater, 190},
    {Qt::Key_Slash, 191},
    {Qt::Key_Question, 191},
    {Qt::Key_QuoteLeft, 192},
    {Qt::Key_AsciiTilde, 192},
    {Qt::Key_BracketLeft, 219},
    {Qt::Key_BraceLeft, 219},
    {Qt::Key_Backslash, 220},
    {Qt::Key_Bar, 220},
    {Qt::Key_BracketRight, 221},
    {Qt::Key_BraceRight, 221},
    {Qt::Key_Apostrophe, 222},
    {Qt::Key_QuoteDbl, 222},
    {Qt::Key_Exclam, '1'},
    {Qt::Key_At, '2'},
    {Qt::Key_NumberSign, '3'},
    {Qt::Key_Dollar, '4'},
    {Qt::Key_Percent, '5'},
    {Qt::Key_AsciiCircum, '6'},
    {Qt::Key_Ampersand, '7'},
    {Qt::Key_Asterisk, '8'},
    {Qt::Key_ParenLeft, '9'},
    {Qt::Key_ParenRight, '0'},
};

// Keypad keys arrive with the keypad modifier.
constexpr QtEntry kKeypadTable[] = {
    {Qt::Key_0, 96},
    {Qt::Key_1, 97},
    {Qt::Key_2, 98},
    {Qt::Key_3, 99},
    {Qt::Key_4, 100},
    {Qt::Key_5, 101},
    {Qt::Key_6, 102},
    {Qt::Key_7, 103},
    {Qt::Key_8, 104},
    {Qt::Key_9, 105},
    {Qt::Key_Asterisk, 106},
    {Qt::Key_Plus, 107},
    {Qt::Key_Minus, 109},
    {Qt::Key_Period, 110},
    {Qt::Key_Comma, 110},
    {Qt::Key_Slash, 111},
    {Qt::Key_Enter, VK_KEYPAD_ENTER},
    {Qt::Key_Return, VK_KEYPAD_ENTER},
    // Keypad keys with Num Lock off.
    {Qt::Key_Insert, 45},
    {Qt::Key_Delete, 46},
    {Qt::Key_End, 35},
    {Qt::Key_Down, 40},
    {Qt::Key_PageDown, 34},
    {Qt::Key_Left, 37},
    {Qt::Key_Clear, 12},
    {Qt::Key_Right, 39},
    {Qt::Key_Home, 36},
    {Qt::Key_Up, 38},
    {Qt::Key_PageUp, 33},
};

uint8_t FromKeysym(uint32_t nSym) {
    if (nSym >= 'a' && nSym <= 'z')
        return static_cast<uint8_t>(nSym - 'a' + 'A');
    if ((nSym >= 'A' && nSym <= 'Z') || (nSym >= '0' && nSym <= '9'))
        return static_cast<uint8_t>(nSym);
    return 0;
}
} // namespace

bool IsModifierVk(int nVk) {
    return nVk == 16 || nVk == 17 || nVk == 18 || nVk == 91 || nVk == 92 ||
           (nVk >= 160 && nVk <= 165);
}

uint8_t QtKeyToVk(int nQtKey, Qt::KeyboardModifiers mods, uint32_t nScanCode, uint32_t nKeysym) {
    for (const auto& e : kScanTable)
        if (e.nScan == nScanCode && nScanCode != 0)
            return e.byVk;
    for (const auto& e : kKeysymTable)
        if (e.nSym == nKeysym && nKeysym != 0)
            return e.byVk;
    if (mods & Qt::KeypadModifier)
        for (const auto& e : kKeypadTable)
            if (e.nKey == nQtKey)
                return e.byVk;
    if (nQtKey >= Qt::Key_A && nQtKey <= Qt::Key_Z)
        return static_cast<uint8_t>('A' + (nQtKey - Qt::Key_A));
    if (nQtKey >= Qt::Key_0 && nQtKey <= Qt::Key_9)
        return static_cast<uint8_t>('0' + (nQtKey - Qt::Key_0));
    if (nQtKey >= Qt::Key_F1 && nQtKey <= Qt::Key_F24)
        return static_cast<uint8_t>(0x70 + (nQtKey - Qt::Key_F1));
    for (const auto& e : kQtTable)
        if (e.nKey == nQtKey)
            return e.byVk;
    // The input method hands some keys over without a Qt key; the keysym still names them.
    return FromKeysym(nKeysym);
}

uint8_t QtKeyToVk(const QKeyEvent& ev) {
    return QtKeyToVk(ev.key(), ev.modifiers(), ev.nativeScanCode(), ev.nativeVirtualKey());
}
