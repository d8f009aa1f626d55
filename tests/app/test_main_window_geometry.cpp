// The main window's fixed geometry from the options, and the tab bar's stacking.
#include <gtest/gtest.h>

#include "app/MainGeometry.h"

TEST(MainGeometry, DefaultsAndDerivedRows) {
    CGlobalVar var;
    var.DrvGpY = 0;
    const CMainGeometry g = ComputeMainGeometry(var);
    EXPECT_EQ(g.rcMin, EdgeRect(960, 12, 976, 28));
    EXPECT_EQ(g.rcClose, EdgeRect(982, 12, 998, 28));
    EXPECT_EQ(g.rcKeyPanel, EdgeRect(30, 40, 270, 330)) << "290 high without a mouse";
    EXPECT_EQ(g.rcMacro, EdgeRect(110, 350, 210, 374));
    EXPECT_EQ(g.rcBullet, EdgeRect(110, 379, 210, 403));
    EXPECT_EQ(g.rcProfileSel, EdgeRect(42, 430, 231, 455));
    EXPECT_EQ(g.rcNewPro, EdgeRect(42, 465, 88, 485));
    EXPECT_EQ(g.rcDelPro, EdgeRect(112, 465, 158, 485));
    EXPECT_EQ(g.rcProMenu, EdgeRect(182, 465, 228, 485));
    EXPECT_EQ(g.rcEditRow, EdgeRect(42, 525, 231, 545));
    EXPECT_EQ(g.rcDevList, EdgeRect(42, 525, 222, 580));
    EXPECT_EQ(g.rcOptions, EdgeRect(42, 590, 222, 610)) << "DrvGpY 0: under the list";
    EXPECT_EQ(g.rcHomeRow, EdgeRect(42, 610, 261, 630));
    EXPECT_EQ(g.rcVersion, EdgeRect(42, 630, 261, 650));
    EXPECT_EQ(g.rcReset, EdgeRect(795, 600, 887, 627));
    EXPECT_EQ(g.rcApply, EdgeRect(895, 600, 984, 627));
    var.DrvGpY = 500;
    EXPECT_EQ(ComputeMainGeometry(var).rcOptions, EdgeRect(42, 500, 222, 520));
    EXPECT_EQ(MacroRectFor(g, 70).topLeft(), QPoint(100, 350)) << "keyboard layout";
}

TEST(MainGeometry, KeyPanelHeightFromTheMouse) {
    CGlobalVar var;
    var.MsFw = 0x10;
    var.Dev.Ms.nSensorCfgIndex = 0;
    var.Dev.Ms.SensorCfgs[0].KEYY = 35;
    var.Dev.Ms.SensorCfgs[0].KEYH = 6;
    var.Dev.Ms.SensorCfgs[0].KM = 7;
    EXPECT_EQ(KeyPanelHeight(var), 35 + 7 * 31);
    var.ViewKeyNum = 4;
    EXPECT_EQ(KeyPanelHeight(var), 35 + 4 * 31) << "the first view's buttons";
    var.ViewKeyNum = 9;
    EXPECT_EQ(KeyPanelHeight(var), 35 + 7 * 31) << "not more than the mouse has";
    var.Dev.Ms.nSensorCfgIndex = -1;
    EXPECT_EQ(KeyPanelHeight(var), 290);
}

TEST(MainGeometry, ModeAndViewRows) {
    CGlobalVar var;
    const CMainGeometry g = ComputeMainGeometry(var);
    const auto v3 = ModeButtonRects(g, 3);
    EXPECT_EQ(v3[0], QRect(76, 20, 59, 18));
    EXPECT_EQ(v3[2], QRect(76 + 118, 20, 59, 18));
    EXPECT_EQ(ModeButtonRects(g, 2)[1], QRect(76 + 87, 20, 87, 18));
    const auto vView = ViewButtonRects(QPoint(500, 20));
    EXPECT_EQ(vView[1], QRect(603, 20, 100, 22));
}

TEST(MainGeometry, TabStacking) {
    const QPoint pt(743, 41);
    struct Case {
        std::vector<bool> vVisible;
        int nOpen;
        std::vector<int> vTops; // -1 for a hidden tab
        int nPanelTop;
    } kCases[] = {
        {{true, true, true, true, true}, -1, {41, 71, 101, 131, 161}, -1},
        {{true, true, true, true, true}, 0, {41, 171, 201, 231, 261}, 66},
        {{true, true, true, true, false}, 2, {41, 71, 101, 231, -1}, 126},
        {{true, false, true, true, true}, 3, {41, -1, 71, 101, 231}, 126},
    };
    for (const Case& c : kCases) {
        const CTabLayout lay = ComputeTabLayout(pt, c.vVisible, c.nOpen, QSize(245, 100));
        for (size_t i = 0; i < c.vTops.size(); ++i) {
            if (c.vTops[i] < 0) {
                EXPECT_TRUE(lay.vHeaders[i].isNull()) << i;
                continue;
            }
            EXPECT_EQ(lay.vHeaders[i], QRect(QPoint(743, c.vTops[i]), QSize(245, 25))) << i;
        }
        if (c.nPanelTop < 0)
            EXPECT_TRUE(lay.rcPanel.isNull());
        else
            EXPECT_EQ(lay.rcPanel, QRect(QPoint(743, c.nPanelTop), QSize(245, 100)));
    }
}

// The window shape cuts out the mask colour and the 10 values above each of its parts, and
// covers exactly the pixels a pixel-by-pixel walk keeps.
TEST(MainGeometry, ShapeCutsTheMaskColourOut) {
    const uint32_t clrMask = 0xFF00FF; // 255,0,255
    QImage img(8, 5, QImage::Format_ARGB32);
    img.fill(QColor(200, 30, 40));
    img.setPixelColor(0, 0, QColor(255, 0, 255));
    img.setPixelColor(1, 0, QColor(255, 10, 255)); // green within 0..10: cut
    img.setPixelColor(2, 0, QColor(255, 11, 255)); // green past it: kept
    img.setPixelColor(3, 0, QColor(254, 0, 255));  // red below the mask's: kept
    for (int x = 0; x < 8; ++x)
        img.setPixelColor(x, 2, QColor(255, 5, 255)); // a whole row cut
    img.setPixelColor(7, 4, QColor(255, 0, 255));
    const QRegion rgn = ShapeFromImage(img, clrMask);
    struct {
        int x, y;
        bool bIn;
    } const kPoints[] = {{0, 0, false}, {1, 0, false}, {2, 0, true},  {3, 0, true},
                         {4, 0, true},  {0, 1, true},  {3, 2, false}, {7, 2, false},
                         {6, 4, true},  {7, 4, false}, {8, 0, false}};
    for (const auto& p : kPoints)
        EXPECT_EQ(rgn.contains(QPoint(p.x, p.y)), p.bIn) << p.x << "," << p.y;

    // A larger image of stripes and speckles against the plain walk.
    QImage big(300, 120, QImage::Format_ARGB32);
    big.fill(QColor(10, 10, 10));
    for (int y = 0; y < big.height(); ++y)
        for (int x = 0; x < big.width(); ++x)
            if ((x * 7 + y * 13) % 11 < 3 || (x > 100 && x < 140))
                big.setPixelColor(x, y, QColor(255, 0, 255));
    QRegion walk;
    for (int y = 0; y < big.height(); ++y)
        for (int x = 0; x < big.width(); ++x)
            if (big.pixelColor(x, y) != QColor(255, 0, 255))
                walk += QRect(x, y, 1, 1);
    EXPECT_TRUE((ShapeFromImage(big, clrMask) ^ walk).isEmpty());
    EXPECT_TRUE(ShapeFromImage(QImage(), clrMask).isEmpty());

    // Translucent pixels are judged by their colour, in every pixel format a skin may have.
    for (QImage::Format fmt : {QImage::Format_ARGB32_Premultiplied, QImage::Format_ARGB32,
                               QImage::Format_RGBA8888}) {
        QImage t(3, 1, fmt);
        t.setPixelColor(0, 0, QColor(255, 0, 255, 128));
        t.setPixelColor(1, 0, QColor(200, 0, 255, 128));
        t.setPixelColor(2, 0, QColor(255, 4, 255));
        const QRegion r = ShapeFromImage(t, clrMask);
        EXPECT_FALSE(r.contains(QPoint(0, 0))) << fmt;
        EXPECT_TRUE(r.contains(QPoint(1, 0))) << fmt;
        EXPECT_FALSE(r.contains(QPoint(2, 0))) << fmt;
    }
}
