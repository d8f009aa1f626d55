#pragma once
// Painters of the demo skin's images. Each draws one image of the given size; states are
// 0 normal, 1 hover, 2 pressed.
#include <QImage>
#include <QSize>

namespace SkinPainters {
QImage Button(QSize sz, int nState);
QImage Combo(QSize sz, int nState);
QImage Check(int nSize, int nState);
QImage Radio(int nSize, int nState);
QImage Track(QSize sz, bool bFilled);
QImage Thumb(int nSize, int nState);
QImage Mark(QSize sz);
QImage Glyph(int nSize, int nState, char cGlyph); // 'x' close, '-' minimise
QImage Tab(QSize sz, int nState);
QImage MenuItem(QSize sz, bool bHover, bool bSub);
QImage MessageBox(QSize sz);
QImage MessageIcon(int nSize);
QImage Folder(int nSize, bool bOpen);
QImage TreeItem(int nSize);
QImage MainWindow(QSize sz);
// The mouse picture of the key panel (normal, pressed, second view) and its light mask.
QImage MousePicture(QSize sz, bool bPressed, bool bSecondView);
QImage MouseLightMask(QSize sz);
} // namespace SkinPainters
