#pragma once
// Painters of the main window's own images: the small profile buttons, the tab headers'
// look is shared with the tabs, the device list's icons and the pad picture.
#include <QImage>
#include <QSize>

namespace SkinPainters {
// A small button carrying a glyph: '+' add, '-' delete.
QImage GlyphButton(QSize sz, int nState, char cGlyph);
// A 20 x 20 device icon: 'm' mouse, 'k' keyboard, 'p' pad.
QImage DeviceIcon(int nSize, char cKind);
QImage PadPicture(QSize sz);
} // namespace SkinPainters
