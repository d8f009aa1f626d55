#include "widgets/ComboBtn.h"

#include <QGuiApplication>
#include <QScreen>

#include "config/GlobalVar.h"
#include "config/Log.h"
#include "widgets/SkinImage.h"
#include "widgets/UiFont.h"
#include "widgets/WndMessage.h"
#include "widgets/menuex/MenuEx.h"

namespace {
constexpr int kMenuRowSpace = 20; // pixels per item when deciding above or below
constexpr int kMenuItemHeight = 25;
} // namespace

CComboBtn::CComboBtn(QWidget* pParent, int nId) : CPngBtn(pParent, nId) {}

// An open menu holds only a guarded pointer to its owner, so it may outlive the button.
CComboBtn::~CComboBtn() = default;

bool CComboBtn::AddItem(int nList, uint32_t dwValue, const std::string& strText) {
    if (nList < 0 || nList >= kMaxLists)
        return false;
    auto& v = m_aLists[static_cast<size_t>(nList)];
    if (static_cast<int>(v.size()) >= kMaxItems) {
        LogPrint("CComboBtn %d: list %d is full, \"%s\" left out", m_nId, nList, strText.c_str());
        return false;
    }
    v.push_back({dwValue, strText});
    return true;
}

void CComboBtn::ClearList(int nList) {
    if (nList >= 0 && nList < kMaxLists)
        m_aLists[static_cast<size_t>(nList)].clear();
    if (nList == m_nCurList)
        SelectByPos(-1);
}

void CComboBtn::SetCurList(int nList) {
    if (nList >= 0 && nList < kMaxLists)
        m_nCurList = nList;
}

int CComboBtn::ItemCount(int nList) const {
    if (nList < 0 || nList >= kMaxLists)
        return 0;
    return static_cast<int>(m_aLists[static_cast<size_t>(nList)].size());
}

void CComboBtn::SelectByPos(int nPos) {
    const auto& v = m_aLists[static_cast<size_t>(m_nCurList)];
    if (nPos < 0 || nPos >= static_cast<int>(v.size())) {
        m_nSel = -1;
        m_dwSelValue = 0xFFFFFFFFu;
        SetCaption("");
        if (m_bTips)
            setToolTip(QString());
        return;
    }
    const Item& item = v[static_cast<size_t>(nPos)];
    m_nSel = nPos;
    m_dwSelValue = item.dwValue;
    SetCaption(item.strText, m_nTextX, m_nFormat);
    if (m_bTips)
        SetToolTipText(item.strText);
}

bool CComboBtn::SelectByValue(uint32_t dwValue) {
    const auto& v = m_aLists[static_cast<size_t>(m_nCurList)];
    for (size_t i = 0; i < v.size() && i < kMaxItems; ++i) {
        if (v[i].dwValue == dwValue) {
            SelectByPos(static_cast<int>(i));
            return true;
        }
    }
    return false;
}

QPoint CComboBtn::MenuPosition(int nItems, int nScreenBottom) const {
    const QPoint ptTopLeft = mapToGlobal(QPoint(0, 0));
    const int nBottom = ptTopLeft.y() + height();
    if (nScreenBottom < nBottom + kMenuRowSpace * nItems)
        return QPoint(ptTopLeft.x() + 2, ptTopLeft.y() - kMenuRowSpace * nItems);
    return QPoint(ptTopLeft.x() + 2, nBottom);
}

void CComboBtn::OpenMenu() {
    const auto& v = m_aLists[static_cast<size_t>(m_nCurList)];
    const int nItems = std::min<int>(static_cast<int>(v.size()), kMaxItems);
    if (nItems == 0)
        return;
    std::vector<MenuEntry> vEntries;
    for (int i = 0; i < nItems; ++i)
        vEntries.push_back(MakeMenuEntry(kMenuTopLevel, v[static_cast<size_t>(i)].dwValue,
                                         v[static_cast<size_t>(i)].strText));
    int nScreenBottom = 1 << 20;
    if (QScreen* pScreen = screen() ? screen() : QGuiApplication::primaryScreen())
        nScreenBottom = pScreen->availableGeometry().bottom() + 1;

    MenuExRequest req;
    req.pOwner = this;
    req.nWidth = m_nMenuWidth > 0 ? m_nMenuWidth : width() - 4;
    req.ptAnchor = MenuPosition(nItems, nScreenBottom);
    req.clrTextNr = gVar.Menu_txt_clr_nr;
    req.clrTextOv = gVar.Menu_txt_clr_ov;
    req.clrTextDn = gVar.Menu_txt_clr_dn;
    req.images = MenuExImagesIn(GetSkinDir(gVar));
    req.nKind = reinterpret_cast<intptr_t>(this);
    req.style.font = UiFontOr(font());
    req.nItemHeight = kMenuItemHeight;
    CreateMenuEx(req, vEntries.data(), static_cast<int>(vEntries.size()));
}

void CComboBtn::OnClicked() {
    OpenMenu();
}

bool CComboBtn::event(QEvent* pEvent) {
    if (pEvent->type() == CWndMessageEvent::EventType()) {
        auto* pMsg = static_cast<CWndMessageEvent*>(pEvent);
        if (pMsg->m_nMsg == WM_MENUEX_PICK) {
            DestroyMenuEx();
            if (SelectByValue(static_cast<uint32_t>(pMsg->m_wParam)))
                SendWndMessage(parentWidget(), WM_COMMAND_MSG, static_cast<uintptr_t>(m_nId),
                               reinterpret_cast<intptr_t>(this));
            return true;
        }
    }
    return CPngBtn::event(pEvent);
}
