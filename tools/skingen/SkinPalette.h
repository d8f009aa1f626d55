#pragma once
// The demo skins' colours: a dark slate base (or a light grey one) with one blue accent.
#include <QColor>

struct SkinPaletteColors {
    QColor kBase;       // window background
    QColor kPanel;      // panels, message box
    QColor kRaised;     // buttons at rest
    QColor kRaisedHi;   // buttons under the pointer
    QColor kEdge;       // outlines
    QColor kAccent;     // the one accent colour
    QColor kAccentDeep; // pressed fill
    QColor kText;       // glyphs drawn into images
    QColor kInk;        // marks drawn on the accent
    QColor kTrack;      // empty slider track
    QColor kBar;        // title bar
    QColor kMenu, kMenuSub;
};

const SkinPaletteColors& DarkPalette();
const SkinPaletteColors& LightPalette();
// The palette the painters use; DarkPalette until changed.
const SkinPaletteColors& CurrentPalette();
void SetCurrentPalette(const SkinPaletteColors& pal);
