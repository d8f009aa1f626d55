#pragma once
// The user-interface font shared by every window. Start-up sets it once (the private font
// when it loads, else the sans-serif fallback); skinned controls use it when it is set.
#include <QFont>

#include "config/GlobalVar.h"

void SetUiFont(const QFont& font);
// Null until start-up has set the font.
const QFont* GetUiFont();
// The UI font when set, else the given fallback.
QFont UiFontOr(const QFont& fallback);
// "MS Shell Dlg" of the given pixel height and weight (weights on the 0..1000 scale),
// mapped to the desktop's sans-serif.
QFont ShellDlgFont(int nPixelHeight, int nWeight);

// Start-up creates the font: the product line's own face from appfont.ttf when it names one,
// else the desktop's sans-serif face, at FontSize pixels.
struct CUiFont {
    QFont font;
    int nPrivateFontId = -1; // the added application font, -1 when none
};

CUiFont CreateUiFont(const CGlobalVar& var);
// Reads the desktop's font configuration (fontconfig: dozens of files and the font caches,
// the largest single cost before the first paint) on a thread of its own while Qt, the
// configuration and the devices start, and waits for that read when the scope ends, on
// every way out of main (a second copy that hands over and ends early, say). One, at the
// start of main.
class CFontConfigRead {
public:
    CFontConfigRead();
    ~CFontConfigRead();
    CFontConfigRead(const CFontConfigRead&) = delete;
    CFontConfigRead& operator=(const CFontConfigRead&) = delete;
};
// Waits until that read has ended; returns at once when none runs. WarmUpFont calls it, so
// Qt's font database finds the configuration read.
void WaitFontConfigRead();
// Draws a few characters of the font off screen, so that the font database, the font file
// and its glyph cache are ready before the first window paints.
void WarmUpFont(const QFont& font);
// Removes the private font again (the exit step).
void ReleaseUiFont(CUiFont& uiFont);
