#include "widgets/menuex/MenuExWnd.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "widgets/SkinImage.h"
#include "widgets/WndMessage.h"
#include "widgets/menuex/MenuExShared.h"

namespace {
constexpr int kTextPadX = 12;
constexpr int kArrowSpace = 16;
} // namespace

CMenuExWnd::CMenuExWnd(std::shared_ptr<MenuExShared> pShared, int nParentIndex, bool bSub)
    : QWidget(nullptr, Qt::Popup | Qt::FramelessWindowHint), m_pShared(std::move(pShared)),
      m_bSub(bSub) {
    setAttribute(Qt::WA_DeleteOnClose);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setFont(m_pShared->req.style.font);
    setWindowTitle(QStringLiteral("VelkinMenuEx"));
    for (size_t i = 0; i < m_pShared->vEntries.size(); ++i)
        if (m_pShared->vbValid[i] && m_pShared->vEntries[i].nParent == nParentIndex)
            m_vItems.push_back(static_cast<int>(i));

    int nWidth = m_pShared->req.nWidth;
    if (nWidth <= 0 || bSub) {
        const QFontMetrics fm(font());
        int nText = 0;
        for (int nIndex : m_vItems)
            nText = std::max(nText, fm.horizontalAdvance(QString::fromStdString(
                                        MenuEntryText(m_pShared->vEntries[nIndex]))));
        nWidth = std::max(nWidth, nText + 2 * kTextPadX + kArrowSpace);
    }
    const int nItemHeight = std::max(8, m_pShared->req.nItemHeight);
    resize(nWidth, nItemHeight * ItemCount() + 2);
}

CMenuExWnd::~CMenuExWnd() = default;

QRect CMenuExWnd::ItemRect(int nRow) const {
    const int nItemHeight = std::max(8, m_pShared->req.nItemHeight);
    return QRect(1, 1 + nRow * nItemHeight, width() - 2, nItemHeight);
}

uint32_t CMenuExWnd::ItemId(int nRow) const {
    return m_pShared->vEntries[static_cast<size_t>(m_vItems.at(static_cast<size_t>(nRow)))]
        .dwItemId;
}

std::string CMenuExWnd::ItemText(int nRow) const {
    return MenuEntryText(
        m_pShared->vEntries[static_cast<size_t>(m_vItems.at(static_cast<size_t>(nRow)))]);
}

bool CMenuExWnd::HasSubMenu(int nRow) const {
    return m_pShared->HasChildren(m_vItems.at(static_cast<size_t>(nRow)));
}

int CMenuExWnd::RowAt(const QPoint& pt) const {
    for (int i = 0; i < ItemCount(); ++i)
        if (ItemRect(i).contains(pt))
            return i;
    return -1;
}

void CMenuExWnd::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QColor clrBkg = ColorFromRef(m_pShared->req.style.clrBkg);
    p.fillRect(rect(), clrBkg);
    const size_t nBase = m_bSub ? 4 : 0;
    for (int i = 0; i < ItemCount(); ++i) {
        const QRect rc = ItemRect(i);
        size_t nState = 0; // normal
        QColor clrText = ColorFromRef(m_pShared->req.clrTextNr);
        if (i == m_nPressed) {
            nState = 2;
            clrText = ColorFromRef(m_pShared->req.clrTextDn);
        } else if (i == m_nHover) {
            nState = 1;
            clrText = ColorFromRef(m_pShared->req.clrTextOv);
        }
        const QImage& img = m_pShared->aImages[nBase + nState];
        if (!img.isNull())
            p.drawImage(rc, img);
        else if (nState != 0)
            p.fillRect(rc, clrBkg.lighter(140));
        p.setPen(clrText);
        const QRect rcText = rc.adjusted(kTextPadX, 0, -kArrowSpace, 0);
        const QString str = QString::fromStdString(ItemText(i));
        p.drawText(rcText, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                   p.fontMetrics().elidedText(str, Qt::ElideRight, rcText.width()));
        if (HasSubMenu(i)) {
            // A small triangle marks entries that open a sub-menu.
            const int cx = rc.right() - 9, cy = rc.center().y();
            const QPoint tri[3] = {{cx - 3, cy - 4}, {cx + 2, cy}, {cx - 3, cy + 4}};
            p.setBrush(clrText);
            p.setPen(Qt::NoPen);
            p.drawPolygon(tri, 3);
        }
    }
    p.setPen(clrBkg.lighter(170));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CMenuExWnd::SetHover(int nRow) {
    if (nRow == m_nHover)
        return;
    m_nHover = nRow;
    update();
}

void CMenuExWnd::mouseMoveEvent(QMouseEvent* pEvent) {
    const int nRow = RowAt(pEvent->position().toPoint());
    if (nRow != m_nHover) {
        SetHover(nRow);
        if (nRow >= 0 && HasSubMenu(nRow))
            OpenSub(nRow);
        else if (nRow >= 0)
            CloseSub();
    }
}

void CMenuExWnd::mousePressEvent(QMouseEvent* pEvent) {
    if (!rect().contains(pEvent->position().toPoint())) {
        // A press outside every level of the menu closes it.
        DestroyMenuEx();
        close();
        return;
    }
    m_nPressed = RowAt(pEvent->position().toPoint());
    update();
}

void CMenuExWnd::mouseReleaseEvent(QMouseEvent* pEvent) {
    const int nRow = RowAt(pEvent->position().toPoint());
    const int nPressed = m_nPressed;
    m_nPressed = -1;
    update();
    if (nRow >= 0 && nRow == nPressed)
        ActivateRow(nRow);
}

void CMenuExWnd::leaveEvent(QEvent*) {
    if (!m_pSub)
        SetHover(-1);
}

void CMenuExWnd::keyPressEvent(QKeyEvent* pEvent) {
    switch (pEvent->key()) {
    case Qt::Key_Down:
        if (ItemCount() > 0)
            SetHover((m_nHover + 1) % ItemCount());
        break;
    case Qt::Key_Up:
        if (ItemCount() > 0)
            SetHover(m_nHover <= 0 ? ItemCount() - 1 : m_nHover - 1);
        break;
    case Qt::Key_Right:
        if (m_nHover >= 0 && HasSubMenu(m_nHover))
            OpenSub(m_nHover);
        break;
    case Qt::Key_Left:
        if (m_bSub)
            close();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (m_nHover >= 0)
            ActivateRow(m_nHover);
        break;
    case Qt::Key_Escape:
        if (m_bSub)
            close();
        else
            DestroyMenuEx();
        break;
    default:
        break;
    }
}

void CMenuExWnd::OpenSub(int nRow) {
    CloseSub();
    auto* pSub = new CMenuExWnd(m_pShared, m_vItems.at(static_cast<size_t>(nRow)), true);
    pSub->setParent(this, pSub->windowFlags());
    pSub->move(mapToGlobal(QPoint(width() - 2, ItemRect(nRow).top())));
    pSub->show();
    m_pSub = pSub;
}

void CMenuExWnd::CloseSub() {
    if (m_pSub) {
        m_pSub->hide();
        m_pSub->deleteLater();
        m_pSub.clear();
    }
}

void CMenuExWnd::ActivateRow(int nRow) {
    if (nRow < 0 || nRow >= ItemCount())
        return;
    if (HasSubMenu(nRow)) {
        SetHover(nRow);
        OpenSub(nRow);
        return;
    }
    // Posted, not sent: the owner's handler usually closes the menu, and this window must
    // not be deleted under its own event handler.
    PostWndMessage(m_pShared->pOwner.data(), WM_MENUEX_PICK, ItemId(nRow), m_pShared->req.nKind);
    DestroyMenuEx();
}
