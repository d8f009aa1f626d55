#pragma once
// The key capture of the message box: key events (virtual-key code, down or up) build a
// modifier byte and a key code. What was looked at last and when a press was last taken are
// kept for the whole run of the program, not per box, so a key still held from before the
// box opened repeats nothing.
#include <cstdint>

// Modifier bits of the stored combinations.
enum : uint8_t {
    MOD_LCTRL = 0x01,
    MOD_LSHIFT = 0x02,
    MOD_LALT = 0x04,
    MOD_LWIN = 0x08,
    MOD_RCTRL = 0x10,
    MOD_RSHIFT = 0x20,
    MOD_RALT = 0x40,
    MOD_RWIN = 0x80,
};

// The modifier bit of a modifier key (0 for other keys).
uint8_t ModifierBitOfVk(int nVk);
// Both sides of the modifier a key belongs to (Ctrl 0x11, Shift 0x22, Alt 0x44, Win 0x88).
uint8_t ModifierPairOfVk(int nVk);

class CKeyCapture {
public:
    CKeyCapture(bool bSingleKey, bool bTickBox, int nLayout)
        : m_bSingleKey(bSingleKey), m_bTickBox(bTickBox), m_nLayout(nLayout) {}

    // One key event. Returns true when the combination was rebuilt (the field shows it anew).
    bool OnKey(int nVk, bool bUp);

    uint8_t m_byMod = 0;
    uint8_t m_byKey1 = 0;
    uint8_t m_byKey2 = 0; // never set here

    // Forgets the remembered event and press time (a new run of the program; tests).
    static void ResetMemory();

private:
    bool m_bSingleKey;
    bool m_bTickBox;
    int m_nLayout;
};
