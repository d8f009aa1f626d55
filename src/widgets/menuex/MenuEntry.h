#pragma once
// One entry of a pop-up menu, as the windows build their menus: the parent's index (255 =
// top level), the item id handed back when the entry is picked and a UTF-16 text. The
// layout is fixed because menus are described by arrays of these records.
#include <cstddef>
#include <cstdint>
#include <string>

struct MenuEntry {
    int32_t nParent;     // index of the parent entry; kMenuTopLevel for the top level
    uint32_t dwItemId;   // command number or function word
    char16_t szText[40]; // at most 39 characters and a terminating 0
};
static_assert(sizeof(MenuEntry) == 88, "MenuEntry is 88 bytes");
static_assert(offsetof(MenuEntry, nParent) == 0);
static_assert(offsetof(MenuEntry, dwItemId) == 4);
static_assert(offsetof(MenuEntry, szText) == 8);

constexpr int32_t kMenuTopLevel = 255;
constexpr int kMenuMaxEntries = 50;

// Builds an entry from UTF-8 text, cut to 39 UTF-16 units (never inside a surrogate pair).
MenuEntry MakeMenuEntry(int32_t nParent, uint32_t dwItemId, const std::string& strText);
// The entry's text as UTF-8.
std::string MenuEntryText(const MenuEntry& entry);
