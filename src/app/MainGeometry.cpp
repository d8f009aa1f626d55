#include "app/MainGeometry.h"

#include <algorithm>
#include <vector>

int KeyPanelHeight(const CGlobalVar& var) {
    const SensorCfg* pCfg = var.MsFw != 0 ? var.Dev.Ms.pSensorCfg() : nullptr;
    if (pCfg == nullptr)
        return 290;
    int n = pCfg->KM;
    if (var.ViewKeyNum > 0 && var.ViewKeyNum <= n)
        n = var.ViewKeyNum;
    return pCfg->KEYY + n * (pCfg->KEYH + 25);
}

CMainGeometry ComputeMainGeometry(const CGlobalVar& var) {
    CMainGeometry g;
    const int nMinX = var.ptMinBtn.x, nMinY = var.ptMinBtn.y;
    g.rcMin = EdgeRect(nMinX, nMinY, nMinX + 16, nMinY + 16);
    g.rcClose = EdgeRect(Right(g.rcMin) + 6, g.rcMin.y(), Right(g.rcMin) + 22, Bottom(g.rcMin));

    const int nKx = var.ptKeyMsDlg.x, nKy = var.ptKeyMsDlg.y;
    g.rcKeyPanel = EdgeRect(nKx, nKy, nKx + 240, nKy + KeyPanelHeight(var));
    g.rcMacro = MacroRectFor(g, 80);
    g.rcBullet =
        EdgeRect(g.rcMacro.x(), Bottom(g.rcMacro) + 5, Right(g.rcMacro), Bottom(g.rcMacro) + 29);

    const int nSelX = g.rcKeyPanel.x() + 12;
    g.rcProfileSel = EdgeRect(nSelX, var.ProfileGpY, nSelX + 189, var.ProfileGpY + 25);
    const int nRowY = Bottom(g.rcProfileSel) + 10;
    g.rcNewPro = EdgeRect(nSelX, nRowY, nSelX + 46, nRowY + 20);
    g.rcDelPro = EdgeRect(Right(g.rcNewPro) + 24, nRowY, Right(g.rcNewPro) + 70, nRowY + 20);
    g.rcProMenu = EdgeRect(Right(g.rcDelPro) + 24, nRowY, Right(g.rcDelPro) + 70, nRowY + 20);
    const int nEditY = Bottom(g.rcNewPro) + 40;
    g.rcEditRow = EdgeRect(nSelX, nEditY, nSelX + 189, nEditY + 20);

    g.rcDevList = EdgeRect(nSelX, var.DevListGpY, nSelX + 180, var.DevListGpY + 55);
    const int nOptY = var.DrvGpY != 0 ? var.DrvGpY : Bottom(g.rcDevList) + 10;
    g.rcOptions = EdgeRect(g.rcDevList.x(), nOptY, Right(g.rcDevList), nOptY + 20);
    g.rcHomeRow = EdgeRect(g.rcEditRow.x(), Bottom(g.rcOptions), Right(g.rcEditRow) + 30,
                           Bottom(g.rcOptions) + 20);
    g.rcVersion = EdgeRect(g.rcHomeRow.x(), Bottom(g.rcHomeRow), Right(g.rcHomeRow),
                           Bottom(g.rcHomeRow) + 20);

    const int nRx = var.ptResetBtn.x, nRy = var.ptResetBtn.y;
    g.rcReset = EdgeRect(nRx, nRy, nRx + 92, nRy + 27);
    g.rcApply = EdgeRect(Right(g.rcReset) + 8, nRy, Right(g.rcReset) + 97, Bottom(g.rcReset));
    g.ptTab = QPoint(var.ptDpiDlg.x, var.ptDpiDlg.y);
    return g;
}

QRect MacroRectFor(const CMainGeometry& g, int nLeftOffset) {
    const int nLeft = g.rcKeyPanel.x() + nLeftOffset, nTop = Bottom(g.rcKeyPanel) + 20;
    return EdgeRect(nLeft, nTop, nLeft + 100, nTop + 24);
}

std::vector<QRect> ModeButtonRects(const CMainGeometry& g, int nModes) {
    const int nWidth = nModes == 2 ? 87 : 59;
    const int nTop = g.rcKeyPanel.y() - 20;
    std::vector<QRect> v;
    for (int i = 0; i < 3; ++i)
        v.push_back(QRect(76 + i * nWidth, nTop, nWidth, 18));
    return v;
}

std::vector<QRect> ViewButtonRects(const QPoint& pt) {
    return {QRect(pt, QSize(100, 22)), QRect(pt + QPoint(103, 0), QSize(100, 22))};
}

CTabLayout ComputeTabLayout(const QPoint& ptOrigin, const std::vector<bool>& vVisible, int nOpen,
                            const QSize& szPanel) {
    CTabLayout lay;
    lay.vHeaders.resize(vVisible.size());
    int nY = ptOrigin.y();
    for (size_t i = 0; i < vVisible.size(); ++i) {
        if (!vVisible[i])
            continue;
        lay.vHeaders[i] = QRect(QPoint(ptOrigin.x(), nY), kTabHeaderSize);
        if (static_cast<int>(i) == nOpen) {
            lay.rcPanel = QRect(QPoint(ptOrigin.x(), nY + kTabHeaderSize.height()), szPanel);
            nY += szPanel.height();
        }
        nY += kTabStep;
    }
    return lay;
}

QRegion ShapeFromImage(const QImage& img, uint32_t clrMask) {
    const int r0 = clrMask & 0xFF, g0 = (clrMask >> 8) & 0xFF, b0 = (clrMask >> 16) & 0xFF;
    const int r1 = std::min(r0 + 10, 255), g1 = std::min(g0 + 10, 255), b1 = std::min(b0 + 10, 255);
    // Skin images are kept premultiplied; other formats are brought to it once. A pixel is
    // judged by its colour, so translucent ones are unpremultiplied first (opaque ones, nearly
    // all of a background, are their colour already).
    QImage src = img;
    if (src.format() != QImage::Format_ARGB32_Premultiplied &&
        src.format() != QImage::Format_ARGB32 && src.format() != QImage::Format_RGB32)
        src.convertTo(QImage::Format_ARGB32_Premultiplied);
    const bool bPremultiplied = src.format() == QImage::Format_ARGB32_Premultiplied;
    const int nWidth = src.width(), nHeight = src.height();
    auto keep = [&](QRgb c) {
        if (bPremultiplied && qAlpha(c) != 255)
            c = qUnpremultiply(c);
        const int r = qRed(c), g = qGreen(c), b = qBlue(c);
        return !(r >= r0 && r <= r1 && g >= g0 && g <= g1 && b >= b0 && b <= b1);
    };
    // The kept runs of each row, top to bottom and left to right: one-pixel bands that do not
    // overlap, which QRegion takes as they are. Adding them one by one would merge the region
    // again for every run and make the shape of a large background slow to build.
    std::vector<QRect> vRuns;
    for (int y = 0; y < nHeight; ++y) {
        const QRgb* pLine = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        int nStart = -1;
        for (int x = 0; x < nWidth; ++x) {
            const bool bKeep = keep(pLine[x]);
            if (bKeep && nStart < 0) {
                nStart = x;
            } else if (!bKeep && nStart >= 0) {
                vRuns.emplace_back(nStart, y, x - nStart, 1);
                nStart = -1;
            }
        }
        if (nStart >= 0)
            vRuns.emplace_back(nStart, y, nWidth - nStart, 1);
    }
    QRegion rgn;
    if (!vRuns.empty())
        rgn.setRects(vRuns.data(), int(vRuns.size()));
    return rgn;
}
