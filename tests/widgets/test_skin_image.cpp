// Skin images: decoded once and shared while the file stays as it is, read again when it
// changes, and never served from memory once the file is gone.
#include <QImage>
#include <gtest/gtest.h>

#include "support/TestDirs.h"
#include "widgets/SkinImage.h"

namespace {

void SavePng(const std::string& strPath, int nWidth, QColor clr) {
    QImage img(nWidth, 4, QImage::Format_ARGB32);
    img.fill(clr);
    ASSERT_TRUE(img.save(QString::fromStdString(strPath), "PNG"));
}

TEST(SkinImage, SharedWhileUnchangedReloadedWhenChangedGoneWhenRemoved) {
    CTempDir dir;
    const std::string strFile = dir.Path() + "btn_nr.png";
    SavePng(strFile, 8, Qt::red);
    const QImage a = LoadSkinImage(dir.Path(), "BTN_NR.png");
    const QImage b = LoadSkinImage(dir.Path(), "btn_nr.png");
    ASSERT_EQ(a.width(), 8);
    EXPECT_EQ(a.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(a.cacheKey(), b.cacheKey()) << "the second request shares the first decode";

    // A caller painting on its copy does not change what others get.
    QImage c = LoadSkinImage(dir.Path(), "btn_nr.png");
    c.fill(Qt::blue);
    EXPECT_EQ(LoadSkinImage(dir.Path(), "btn_nr.png").pixelColor(0, 0), QColor(Qt::red));

    SavePng(strFile, 12, Qt::green);
    const QImage d = LoadSkinImage(dir.Path(), "btn_nr.png");
    EXPECT_EQ(d.width(), 12);
    EXPECT_EQ(d.pixelColor(0, 0), QColor(Qt::green));

    std::remove(strFile.c_str());
    EXPECT_TRUE(LoadSkinImage(dir.Path(), "btn_nr.png").isNull());
    EXPECT_TRUE(LoadSkinImage(dir.Path(), "").isNull());
}

} // namespace
