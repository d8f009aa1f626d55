// Skin images: decoded once and shared while the file stays as it is, read again when it
// changes, and never served from memory once the file is gone.
#include <QImage>
#include <gtest/gtest.h>

#include <thread>
#include <vector>

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

// A prefetch decodes on its own thread; loads of the same files, racing it or after it,
// share its decode instead of repeating it, and a missing file is just missing.
TEST(SkinImage, PrefetchDecodesEachFileOnceForEveryone) {
    CTempDir dir;
    std::vector<std::string> vNames;
    for (int i = 0; i < 6; ++i) {
        vNames.push_back("img" + std::to_string(i) + ".png");
        SavePng(dir.Path() + vNames.back(), 40 + i, QColor(10 * i, 0, 0));
    }
    const int nBefore = SkinImageDecodes();
    std::vector<std::thread> vThreads;
    {
        CSkinPrefetch prefetch(dir.Path(), vNames);
        for (int t = 0; t < 3; ++t)
            vThreads.emplace_back([&] {
                for (auto it = vNames.rbegin(); it != vNames.rend(); ++it)
                    EXPECT_FALSE(LoadSkinImage(dir.Path(), *it).isNull()) << *it;
            });
        for (std::thread& t : vThreads)
            t.join();
    }
    EXPECT_EQ(SkinImageDecodes() - nBefore, 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(LoadSkinImage(dir.Path(), vNames[size_t(i)]).width(), 40 + i);
    EXPECT_EQ(SkinImageDecodes() - nBefore, 6);
    { CSkinPrefetch missing(dir.Path(), {"none.png", ""}); }
    EXPECT_TRUE(LoadSkinImage(dir.Path(), "none.png").isNull());
}

} // namespace
