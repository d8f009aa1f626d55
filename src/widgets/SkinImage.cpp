#include "widgets/SkinImage.h"

#include <QPainter>

#include "config/GlobalVar.h"
#include "config/Log.h"
#include "platform/FileLookup.h"

QImage LoadSkinImage(const std::string& strDir, const std::string& strName) {
    if (strName.empty())
        return QImage();
    const std::string strPath = FileLookup::Resolve(strDir, strName);
    QImage img;
    if (!FileLookup::Exists(strPath) || !img.load(QString::fromStdString(strPath))) {
        LogPrint("Skin image not loaded: %s", strPath.c_str());
        return QImage();
    }
    // One pixel format for every image keeps painting fast and alpha right.
    return img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage LoadSkinFile(const std::string& strName) {
    return LoadSkinImage(GetSkinDir(gVar), strName);
}

bool SkinFileExists(const std::string& strDir, const std::string& strName) {
    return !strName.empty() && FileLookup::Exists(FileLookup::Resolve(strDir, strName));
}

QImage CutImagePiece(const QImage& img, const QRect& rc) {
    if (img.isNull() || rc.isEmpty())
        return QImage();
    // QImage::copy fills the parts outside the source with zero (transparent) pixels.
    return img.copy(rc).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}
