#include "widgets/menuex/MenuEntry.h"

#include <QString>
#include <cstring>

MenuEntry MakeMenuEntry(int32_t nParent, uint32_t dwItemId, const std::string& strText) {
    MenuEntry e;
    std::memset(&e, 0, sizeof(e));
    e.nParent = nParent;
    e.dwItemId = dwItemId;
    const QString str = QString::fromStdString(strText);
    qsizetype n = std::min<qsizetype>(str.size(), 39);
    if (n > 0 && n < str.size() && str.at(n - 1).isHighSurrogate())
        --n;
    for (qsizetype i = 0; i < n; ++i)
        e.szText[i] = str.at(i).unicode();
    return e;
}

std::string MenuEntryText(const MenuEntry& entry) {
    size_t n = 0;
    while (n < 40 && entry.szText[n] != 0)
        ++n;
    return QString::fromUtf16(entry.szText, static_cast<qsizetype>(n)).toStdString();
}
