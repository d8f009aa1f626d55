#include "widgets/menuex/MenuEx.h"

#include <QPointer>
#include <QWidget>

#include "config/Log.h"
#include "widgets/menuex/MenuExShared.h"
#include "widgets/menuex/MenuExWnd.h"

namespace {
QPointer<CMenuExWnd>& OpenMenu() {
    static QPointer<CMenuExWnd> s_p;
    return s_p;
}
} // namespace

MenuExImages MenuExImagesIn(const std::string& strSkinDir) {
    return {strSkinDir + "menu_nr.bmp",    strSkinDir + "menu_ov.bmp",
            strSkinDir + "menu_ov.bmp",    strSkinDir + "menu_nr.bmp",
            strSkinDir + "menusub_nr.bmp", strSkinDir + "menusub_ov.bmp",
            strSkinDir + "menusub_ov.bmp", strSkinDir + "menusub_nr.bmp"};
}

bool CreateMenuEx(const MenuExRequest& req, const MenuEntry* pEntries, int nCount) {
    DestroyMenuEx();
    if (!req.pOwner || !pEntries || nCount <= 0)
        return false;
    if (nCount > kMenuMaxEntries) {
        LogPrint("CreateMenuEx: %d entries, only %d shown", nCount, kMenuMaxEntries);
        nCount = kMenuMaxEntries;
    }
    auto pShared = std::make_shared<MenuExShared>();
    pShared->req = req;
    pShared->pOwner = req.pOwner;
    bool bTop = false;
    for (int i = 0; i < nCount; ++i) {
        MenuEntry e = pEntries[i];
        // A parent must be an entry shown before this one; anything else would leave the
        // entry unreachable or build a loop.
        if (e.nParent != kMenuTopLevel && (e.nParent < 0 || e.nParent >= i ||
                                           pShared->vbValid[static_cast<size_t>(e.nParent)] == 0)) {
            LogPrint("CreateMenuEx: entry %d has parent %d, left out", i, e.nParent);
            pShared->vEntries.push_back(e);
            pShared->vbValid.push_back(0);
            continue;
        }
        e.szText[39] = 0;
        bTop = bTop || e.nParent == kMenuTopLevel;
        pShared->vEntries.push_back(e);
        pShared->vbValid.push_back(1);
    }
    if (!bTop)
        return false;
    pShared->LoadImages();

    auto* pWnd = new CMenuExWnd(pShared, kMenuTopLevel, false);
    pWnd->move(req.ptAnchor);
    pWnd->show();
    pWnd->raise();
    pWnd->setFocus(Qt::PopupFocusReason);
    OpenMenu() = pWnd;
    return true;
}

void DestroyMenuEx() {
    if (CMenuExWnd* p = OpenMenu().data()) {
        OpenMenu().clear();
        p->hide();
        p->deleteLater();
    }
}

CMenuExWnd* MenuExCurrent() {
    return OpenMenu().data();
}
