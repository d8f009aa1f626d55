#pragma once
// Painters of the shell dialogs' images: the progress window (empty and filled bar), the
// options dialog's background and its browse button.
#include <QImage>
#include <QSize>

namespace SkinPainters {
QImage ProgressWindow(QSize sz, bool bFilled);
QImage OptionsDialog(QSize sz);
QImage Dots(int nSize, int nState);
} // namespace SkinPainters
