#pragma once
// The one user-interface font of every window: the product line's own face from
// appfont.ttf when it names one, else the desktop's sans-serif face.
#include <QFont>

#include "config/GlobalVar.h"

struct CUiFont {
    QFont font;
    int nPrivateFontId = -1; // the added application font, -1 when none
};

CUiFont CreateUiFont(const CGlobalVar& var);
// Removes the private font again (the exit step).
void ReleaseUiFont(CUiFont& uiFont);
