#pragma once
// Names of keys and key combinations as the panels show them.
#include <cstdint>
#include <string>

// Name of a stored key code on keyboard layout nLayout ([OPT] KbType): the display
// conversion first, then the name table; a key the table does not list is named by the
// character the layout's key produces (empty when it produces none). Needs no display
// server: the characters of the four layouts are built in.
std::string GetKeyName(uint8_t byVk, int nLayout);
// The same on the configured layout (gVar.KbType).
std::string GetKeyName(uint8_t byVk);

// Modifier bits of byMod: 0 left Ctrl, 1 left Shift, 2 left Alt, 3 left Win, 4 right Ctrl,
// 5 right Shift, 6 right Alt, 7 right Win. Parts are joined by " + ".
// Short form: "Ctrl", "Alt", "Shift", "Win" (either side), then the keys' names.
std::string GetShortComboName(uint8_t byMod, uint8_t byVk, uint8_t byVk2, int nLayout);
// Long form: "L-Ctrl", "L-Alt", "L-Shift", "L-Win", "R-Ctrl", "R-Alt", "R-Shift", "R-Win",
// then the keys' names.
std::string GetLongComboName(uint8_t byMod, uint8_t byVk, uint8_t byVk2, int nLayout);
std::string GetShortComboName(uint8_t byMod, uint8_t byVk, uint8_t byVk2);
std::string GetLongComboName(uint8_t byMod, uint8_t byVk, uint8_t byVk2);
