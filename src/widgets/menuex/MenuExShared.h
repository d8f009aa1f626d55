#pragma once
// What all levels of one open menu share.
#include <QImage>
#include <QPointer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <vector>

#include "widgets/menuex/MenuEx.h"

struct MenuExShared {
    MenuExRequest req;
    QPointer<QWidget> pOwner;
    std::vector<MenuEntry> vEntries;
    std::vector<uint8_t> vbValid; // 0: entry left out (bad parent)
    std::array<QImage, 8> aImages;

    void LoadImages();
    bool HasChildren(int nIndex) const;
};
