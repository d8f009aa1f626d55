#pragma once
// The skinned pop-up menu: CreateMenuEx shows a menu built from MenuEntry records and
// returns at once; picking an entry posts message 1143 to the owner with wParam = the
// entry's item id and lParam = the menu kind given at creation. One menu is open at a time;
// DestroyMenuEx closes it.
#include <QFont>
#include <QPoint>
#include <array>
#include <cstdint>
#include <string>

#include "widgets/menuex/MenuEntry.h"

class QWidget;
class CMenuExWnd;

// Style record: the menu's background colour (0x00BBGGRR) and the font of its entries.
struct MenuExStyle {
    uint32_t clrBkg = 0x505050;
    QFont font;
};

// The eight menu images: normal, hover, pressed, disabled for the top level, then the same
// four for sub-menus.
using MenuExImages = std::array<std::string, 8>;
// The image paths in a skin directory (ending in '/').
MenuExImages MenuExImagesIn(const std::string& strSkinDir);

struct MenuExRequest {
    QWidget* pOwner = nullptr; // receives 1143
    int nWidth = 0;            // pixels; 0 fits the widest text
    QPoint ptAnchor;           // top-left corner of the menu, screen coordinates
    uint32_t clrTextNr = 0xC8C8C8, clrTextOv = 0xFFFFFF, clrTextDn = 0xC89C43;
    MenuExImages images; // full paths; a missing image is drawn as the style colour
    intptr_t nKind = 0;  // handed back as lParam of 1143
    MenuExStyle style;
    int nItemHeight = 25;
};

// Shows the menu; an earlier open menu is closed first. Entries beyond 50, and entries whose
// parent is not an earlier entry, are left out (logged). Returns false when nothing could be
// shown (no owner or no top-level entry).
bool CreateMenuEx(const MenuExRequest& req, const MenuEntry* pEntries, int nCount);
void DestroyMenuEx();
// The open top-level menu, or null.
CMenuExWnd* MenuExCurrent();
