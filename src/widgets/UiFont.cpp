#include "widgets/UiFont.h"

#include <optional>

namespace {
std::optional<QFont>& Storage() {
    static std::optional<QFont> s_font;
    return s_font;
}
} // namespace

void SetUiFont(const QFont& font) {
    Storage() = font;
}

const QFont* GetUiFont() {
    return Storage() ? &*Storage() : nullptr;
}

QFont UiFontOr(const QFont& fallback) {
    return Storage() ? *Storage() : fallback;
}

QFont ShellDlgFont(int nPixelHeight, int nWeight) {
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(nPixelHeight > 0 ? nPixelHeight : 12);
    // Windows weights run 0..1000 with 400 normal and 700 bold; Qt's run 1..1000 alike.
    font.setWeight(static_cast<QFont::Weight>(qBound(1, nWeight, 1000)));
    return font;
}
