// The one table from Qt key events to virtual-key codes.
#include <gtest/gtest.h>

#include "widgets/KeyCapture.h"
#include "widgets/QtKeyToVk.h"

namespace {
struct VkCase {
    const char* pszName;
    int nQtKey;
    Qt::KeyboardModifiers mods;
    uint32_t nScan, nKeysym;
    int nVk;
};

TEST(QtKeyToVk, Table) {
    const VkCase cases[] = {
        {"letter", Qt::Key_Q, Qt::NoModifier, 24, 0x71, 'Q'},
        {"shifted letter", Qt::Key_Q, Qt::ShiftModifier, 24, 0x51, 'Q'},
        {"digit", Qt::Key_7, Qt::NoModifier, 0, 0, '7'},
        {"shifted digit", Qt::Key_Ampersand, Qt::ShiftModifier, 0, 0, '7'},
        {"F1", Qt::Key_F1, Qt::NoModifier, 0, 0, 0x70},
        {"F12", Qt::Key_F12, Qt::NoModifier, 0, 0, 0x7B},
        {"Enter", Qt::Key_Return, Qt::NoModifier, 36, 0, 13},
        {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier, 104, 0, 253},
        {"keypad Enter by keysym", Qt::Key_Enter, Qt::NoModifier, 0, 0xff8d, 253},
        {"keypad 5", Qt::Key_5, Qt::KeypadModifier, 0, 0, 101},
        {"keypad plus", Qt::Key_Plus, Qt::KeypadModifier, 0, 0, 107},
        {"left Ctrl", Qt::Key_Control, Qt::NoModifier, 37, 0, 162},
        {"right Ctrl", Qt::Key_Control, Qt::NoModifier, 105, 0, 163},
        {"right Ctrl by keysym", Qt::Key_Control, Qt::NoModifier, 0, 0xffe4, 163},
        {"Ctrl without native data", Qt::Key_Control, Qt::NoModifier, 0, 0, 162},
        {"left Shift", Qt::Key_Shift, Qt::NoModifier, 50, 0, 160},
        {"right Shift", Qt::Key_Shift, Qt::NoModifier, 62, 0, 161},
        {"left Alt", Qt::Key_Alt, Qt::NoModifier, 64, 0, 164},
        {"AltGr", Qt::Key_AltGr, Qt::NoModifier, 0, 0, 165},
        {"right Alt", Qt::Key_Alt, Qt::NoModifier, 108, 0, 165},
        {"left Win", Qt::Key_Super_L, Qt::NoModifier, 133, 0, 91},
        {"right Win", Qt::Key_Super_R, Qt::NoModifier, 134, 0, 92},
        {"semicolon", Qt::Key_Semicolon, Qt::NoModifier, 0, 0, 186},
        {"slash", Qt::Key_Slash, Qt::NoModifier, 0, 0, 191},
        {"Delete", Qt::Key_Delete, Qt::NoModifier, 0, 0, 46},
        {"volume up", Qt::Key_VolumeUp, Qt::NoModifier, 0, 0, 175},
        {"input method key", 0, Qt::NoModifier, 0, 'x', 'X'},
        {"unknown", Qt::Key_unknown, Qt::NoModifier, 0, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(QtKeyToVk(c.nQtKey, c.mods, c.nScan, c.nKeysym), c.nVk) << c.pszName;
}

TEST(QtKeyToVk, ModifierBits) {
    struct Case {
        int nVk;
        uint8_t byBit, byPair;
    };
    const Case cases[] = {{16, 0x02, 0x22}, {160, 0x02, 0x22}, {161, 0x20, 0x22},
                          {17, 0x01, 0x11}, {162, 0x01, 0x11}, {163, 0x10, 0x11},
                          {18, 0x04, 0x44}, {164, 0x04, 0x44}, {165, 0x40, 0x44},
                          {91, 0x08, 0x88}, {92, 0x80, 0x88},  {'A', 0, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(ModifierBitOfVk(c.nVk), c.byBit) << c.nVk;
        EXPECT_EQ(ModifierPairOfVk(c.nVk), c.byPair) << c.nVk;
        EXPECT_EQ(IsModifierVk(c.nVk), c.byBit != 0) << c.nVk;
    }
}
} // namespace
