#pragma once
// One level of a skinned pop-up menu: the entries under one parent index.
#include <QImage>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <vector>

#include "widgets/menuex/MenuEx.h"

struct MenuExShared; // entries, images and request shared by all levels of one menu

class CMenuExWnd : public QWidget {
    Q_OBJECT
public:
    CMenuExWnd(std::shared_ptr<MenuExShared> pShared, int nParentIndex, bool bSub);
    ~CMenuExWnd() override;

    int ItemCount() const { return static_cast<int>(m_vItems.size()); }
    // Row geometry in this window's coordinates.
    QRect ItemRect(int nRow) const;
    uint32_t ItemId(int nRow) const;
    std::string ItemText(int nRow) const;
    bool HasSubMenu(int nRow) const;
    CMenuExWnd* SubMenu() const { return m_pSub.data(); }
    int HoverRow() const { return m_nHover; }
    // Picks a row as a click would: opens its sub-menu, or answers 1143 and closes the menu.
    void ActivateRow(int nRow);

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void leaveEvent(QEvent*) override;
    void keyPressEvent(QKeyEvent*) override;

private:
    int RowAt(const QPoint& pt) const;
    void SetHover(int nRow);
    void OpenSub(int nRow);
    void CloseSub();

    std::shared_ptr<MenuExShared> m_pShared;
    bool m_bSub;
    std::vector<int> m_vItems; // entry indices shown by this level, in order
    int m_nHover = -1;
    int m_nPressed = -1;
    QPointer<CMenuExWnd> m_pSub;
};
