#include "widgets/UiFont.h"

#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <fontconfig/fontconfig.h>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/FileLookup.h"

namespace {
std::optional<QFont>& Storage() {
    static std::optional<QFont> s_font;
    return s_font;
}

std::mutex g_fcMutex;
std::thread g_fcThread;
} // namespace

CFontConfigRead::CFontConfigRead() {
    std::lock_guard<std::mutex> lock(g_fcMutex);
    if (g_fcThread.joinable())
        return;
    // FcInit builds the process's one configuration; fontconfig publishes it atomically, so
    // Qt asking for it meanwhile only waits or reads the same files itself.
    g_fcThread = std::thread([] { FcInit(); });
}

void WaitFontConfigRead() {
    std::lock_guard<std::mutex> lock(g_fcMutex);
    if (g_fcThread.joinable())
        g_fcThread.join();
}

CFontConfigRead::~CFontConfigRead() {
    WaitFontConfigRead();
}

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

void WarmUpFont(const QFont& font) {
    WaitFontConfigRead();
    QImage img(64, 32, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setFont(font);
    p.drawText(2, 24, QStringLiteral("Ag09"));
}
