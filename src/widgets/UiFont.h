#pragma once
// The user-interface font shared by every window. Start-up sets it once (the private font
// when it loads, else the sans-serif fallback); skinned controls use it when it is set.
#include <QFont>

void SetUiFont(const QFont& font);
// Null until start-up has set the font.
const QFont* GetUiFont();
// The UI font when set, else the given fallback.
QFont UiFontOr(const QFont& fallback);
// "MS Shell Dlg" of the given pixel height and weight (weights on the 0..1000 scale),
// mapped to the desktop's sans-serif.
QFont ShellDlgFont(int nPixelHeight, int nWeight);
