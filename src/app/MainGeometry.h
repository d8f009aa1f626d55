#pragma once
// Where the main window's controls go, computed from the installation's options alone, and
// the tab bar's stacking. Rectangles are given as left, top, right, bottom with the right
// and bottom edges outside the rectangle, as the configuration writes them.
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <vector>

#include "config/GlobalVar.h"

// A rectangle from its four edges (right and bottom exclusive).
inline QRect EdgeRect(int nLeft, int nTop, int nRight, int nBottom) {
    return QRect(QPoint(nLeft, nTop), QPoint(nRight - 1, nBottom - 1));
}
inline QRect EdgeRect(const RECT& rc) {
    return EdgeRect(rc.left, rc.top, rc.right, rc.bottom);
}
inline bool IsEmptyRect(const RECT& rc) {
    return rc.right <= rc.left || rc.bottom <= rc.top;
}
inline int Right(const QRect& rc) {
    return rc.x() + rc.width();
}
inline int Bottom(const QRect& rc) {
    return rc.y() + rc.height();
}

// The window's shape: every pixel whose red, green and blue lie within the mask colour's
// values (0x00BBGGRR) and 10 above them (capped at 255) is cut out.
QRegion ShapeFromImage(const QImage& img, uint32_t clrMask);

struct CMainGeometry {
    QRect rcMin, rcClose;
    QRect rcKeyPanel;
    QRect rcMacro, rcBullet;
    QRect rcProfileSel;
    QRect rcNewPro, rcDelPro, rcProMenu;
    QRect rcEditRow;
    QRect rcDevList;
    QRect rcOptions;
    QRect rcHomeRow;
    QRect rcVersion;
    QRect rcReset, rcApply;
    QPoint ptTab;
};

// Height of the mouse key panel: the description's list top plus one row (gap + 25) per
// button of the first view; 290 without a mouse or a sensor description.
int KeyPanelHeight(const CGlobalVar& var);
CMainGeometry ComputeMainGeometry(const CGlobalVar& var);

// The macro button's place for a family: under the key panel, left + 80 for the mouse and
// left + 70 for the keyboard (the pad has none).
QRect MacroRectFor(const CMainGeometry& g, int nLeftOffset);

// The mode buttons: a row at x 76, 20 pixels above the key panel, 18 high, 59 wide each
// (87 when the mouse has two modes).
std::vector<QRect> ModeButtonRects(const CMainGeometry& g, int nModes);
// View buttons: two 100 x 22 buttons at pt, the second 3 pixels right of the first.
std::vector<QRect> ViewButtonRects(const QPoint& pt);

// The tab bar: headers 245 x 25 stacked from the origin 30 pixels apart; the open tab's
// panel lies directly under its header and the headers after it move down by the panel's
// height. Hidden tabs take no place. nOpen -1: none open.
struct CTabLayout {
    std::vector<QRect> vHeaders; // one per tab; empty for hidden tabs
    QRect rcPanel;               // empty when no tab is open
};
inline constexpr QSize kTabHeaderSize{245, 25};
inline constexpr int kTabStep = 30;
CTabLayout ComputeTabLayout(const QPoint& ptOrigin, const std::vector<bool>& vVisible, int nOpen,
                            const QSize& szPanel);
