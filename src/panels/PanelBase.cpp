#include "panels/PanelBase.h"

#include <QPainter>

#include "widgets/SkinImage.h"

CPanelBase::CPanelBase(QWidget* pParent, const char* pszName, QSize szPanel)
    : QWidget(pParent), m_pszName(pszName), m_szPanel(szPanel) {
    setObjectName(QString::fromLatin1(pszName));
    resize(szPanel);
}

void CPanelBase::Reload(const Profile&) {
    ++m_nReloads;
    update();
}

void CPanelBase::Store(CSession&) {
    ++m_nStores;
}

void CPanelBase::OnSessionChange(const CSessionChange&) {
    ++m_nHeard;
}

void CPanelBase::SetPicture(const std::string& strFile) {
    m_strPicture = strFile;
    ReloadSkin();
}

void CPanelBase::ReloadSkin() {
    if (!m_strPicture.empty())
        m_imgPicture = LoadSkinFile(m_strPicture);
    resize(m_imgPicture.isNull() ? m_szPanel : m_imgPicture.size());
    update();
}

void CPanelBase::paintEvent(QPaintEvent*) {
    // Until the real panel exists it shows what it stands for, so a layout can be checked.
    QPainter p(this);
    if (!m_imgPicture.isNull())
        p.drawImage(0, 0, m_imgPicture);
    p.setPen(QColor(110, 118, 130));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setPen(QColor(170, 176, 186));
    p.drawText(rect().adjusted(6, 4, -6, -4), Qt::AlignLeft | Qt::AlignTop,
               QString::fromLatin1(m_pszName));
}
