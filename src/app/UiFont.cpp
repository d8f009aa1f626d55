#include "app/UiFont.h"

#include <QFontDatabase>

#include "platform/FileLookup.h"

CUiFont CreateUiFont(const CGlobalVar& var) {
    CUiFont result;
    int nPixels = var.FontSize > 0 ? var.FontSize : 14;
    if (!var.FontName.empty()) {
        std::string strFontFile = FileLookup::Resolve(var.szProgramDir, "appfont.ttf");
        if (FileLookup::Exists(strFontFile)) {
            int nId = QFontDatabase::addApplicationFont(QString::fromStdString(strFontFile));
            if (nId >= 0) {
                result.nPrivateFontId = nId;
                result.font = QFont(QString::fromStdString(var.FontName));
                result.font.setPixelSize(nPixels);
                // Weight 90 as the product lines have always asked for (not 900).
                result.font.setWeight(QFont::Weight(90));
                return result;
            }
        }
    }
    // "MS Shell Dlg" stands for the desktop's sans-serif face.
    result.font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    result.font.setStyleHint(QFont::SansSerif);
    result.font.setPixelSize(nPixels);
    result.font.setWeight(QFont::Normal);
    return result;
}

void ReleaseUiFont(CUiFont& uiFont) {
    if (uiFont.nPrivateFontId >= 0)
        QFontDatabase::removeApplicationFont(uiFont.nPrivateFontId);
    uiFont.nPrivateFontId = -1;
}
