// Draws the demo skins into an installation folder: "skins" (the message box's own folder,
// and the skin directory when no skin list is configured) and the skin folders "dark" and
// "light" that the demo cfg.ini lists. The output depends only on this program, so every
// build produces the same files.
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <cstdio>
#include <cstdlib>

#include "SkinCatalogue.h"
#include "SkinPalette.h"

namespace {
bool WriteAll(const QString& strDir, const std::vector<SkinImageSpec>& vImages) {
    bool bOk = true;
    for (const auto& spec : vImages) {
        const QString strPath = strDir + "/" + QString::fromStdString(spec.strName);
        QDir().mkpath(QFileInfo(strPath).path());
        const QImage img = spec.fnDraw();
        QImageWriter writer(strPath);
        // Masks (.skn) are PNG images under the name the panels look for.
        if (strPath.endsWith(".skn", Qt::CaseInsensitive))
            writer.setFormat("png");
        if (!writer.write(img)) {
            std::fprintf(stderr, "skingen: cannot write %s: %s\n", qPrintable(strPath),
                         qPrintable(writer.errorString()));
            bOk = false;
        }
    }
    return bOk;
}
} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: velkin_skingen <installation dir>\n");
        return 2;
    }
    const QString strRoot = QString::fromLocal8Bit(argv[1]);
    SetCurrentPalette(DarkPalette());
    bool bOk = WriteAll(strRoot + "/skins", SkinFolderImages());
    bOk = WriteAll(strRoot + "/dark", SkinFolderImages()) && bOk;
    SetCurrentPalette(LightPalette());
    bOk = WriteAll(strRoot + "/light", SkinFolderImages()) && bOk;
    return bOk ? 0 : 1;
}
