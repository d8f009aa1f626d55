#pragma once
// Key events from Qt to the virtual-key codes that records and files keep. One table for the
// whole program: left and right modifiers come from the native scan code (the X keycode) or
// the keysym, keypad Enter is 253, keys the input method delivers without a Qt key are taken
// from the keysym.
#include <Qt>
#include <cstdint>

class QKeyEvent;

enum : uint8_t {
    VK_KEYPAD_ENTER = 253,
};

// 0 when the key has no virtual-key code.
uint8_t QtKeyToVk(int nQtKey, Qt::KeyboardModifiers mods, uint32_t nScanCode, uint32_t nKeysym);
uint8_t QtKeyToVk(const QKeyEvent& ev);
// Whether a code is one of the modifier keys (16, 17, 18, 91, 92, 160 to 165).
bool IsModifierVk(int nVk);
