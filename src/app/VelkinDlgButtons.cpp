// The main window's buttons: creation with their visibility rules, placement per family and
// the command dispatch.
#include <QDesktopServices>
#include <QMouseEvent>
#include <QUrl>
#include <QWindow>

#include "app/VelkinDlg.h"
#include "app/dialogs/DrvcfgDlg.h"
#include "app/profiles/ProfileOps.h"
#include "config/Log.h"
#include "config/TextCatalogue.h"
#include "panels/MousePanels.h"
#include "platform/MessageBox.h"
#include "widgets/PngBtn.h"
#include "widgets/SkinImage.h"
#include "widgets/SkinWidgetFactory.h"

namespace {
bool GunFw() {
    return (gVar.MsFw & 0xFF) >= 16;
}
} // namespace

CPngBtn* CVelkinDlg::Button(int nId) const {
    if (nId < ID_MIN || nId >= ID_LAST)
        return nullptr;
    return m_aButtons[static_cast<size_t>(nId - ID_MIN)].data();
}

void CVelkinDlg::CreateButtons() {
    auto keep = [this](int nId, CPngBtn* p) {
        if (p) {
            p->setFocusPolicy(Qt::NoFocus);
            m_aButtons[static_cast<size_t>(nId - ID_MIN)] = p;
        }
        return p;
    };
    // A skinned button from name_nr.png and name_ov.png (the hover image also shows pressed).
    auto skinned = [this, &keep](int nId, const QRect& rc, const std::string& strImg,
                                 const std::string& strCaption) {
        PngBtnOptions opt;
        opt.strCaption = strCaption;
        opt.pBkg = &m_imgBkg;
        CPngBtn* p = CreatePngBtn(this, nId, rc.topLeft(), strImg + "_nr.png", strImg + "_ov.png",
                                  strImg + "_ov.png", opt);
        return keep(nId, p);
    };
    // A button without images: its caption on the piece of background under it.
    auto plain = [this, &keep](int nId, const QRect& rc, const std::string& strCaption) {
        auto* p = new CPngBtn(this, nId);
        p->setGeometry(rc);
        p->SetBackground(CutImagePiece(m_imgBkg, rc));
        p->SetCaption(strCaption, 1);
        p->SetColors(ColorFromRef(gVar.Btn_txt_clr_nr), ColorFromRef(gVar.Btn_txt_clr_ov),
                     ColorFromRef(gVar.Btn_txt_clr_dn));
        return keep(nId, p);
    };

    skinned(ID_MIN, m_geo.rcMin, "min", "");
    skinned(ID_CLOSE, m_geo.rcClose, "exit", "");
    skinned(ID_RESET, m_geo.rcReset, "button3", Txt("tc_restore"));
    skinned(ID_APPLY, m_geo.rcApply, "button3", Txt("tc_apply"));
    if (!(m_state.pPad && !m_state.pMs && !m_state.pKb))
        skinned(ID_MACRO, m_geo.rcMacro, "btn", Txt("tc_macro"));
    if (m_state.pMs && GunFw())
        skinned(ID_BULLET, m_geo.rcBullet, "btn", Txt("tc_bullet4"));
    if ((gVar.HideDrvOpt & 2) == 0) {
        m_pSelector = skinned(ID_PROFILE_SEL, m_geo.rcProfileSel, "combo", "");
        skinned(ID_NEW_PRO, m_geo.rcNewPro, "add", "");
        skinned(ID_DEL_PRO, m_geo.rcDelPro, "del", "");
        skinned(ID_PRO_MENU, m_geo.rcProMenu, "dot", "");
    }
    if ((gVar.HideDrvOpt & 1) == 0)
        plain(ID_OPTIONS, m_geo.rcOptions, Txt("tc_ms16"));
    if (!IsEmptyRect(gVar.rcHomePageBtn))
        plain(ID_HOME, EdgeRect(gVar.rcHomePageBtn), "");
    else if (!Txt("tc_web").empty())
        plain(ID_HOME, m_geo.rcHomeRow, Txt("tc_web"));
    if (!IsEmptyRect(gVar.rcWebFacebook))
        plain(ID_WEB1, EdgeRect(gVar.rcWebFacebook), "");
    if (!IsEmptyRect(gVar.rcWebTwitter))
        plain(ID_WEB2, EdgeRect(gVar.rcWebTwitter), "");
    for (int nId : {ID_HOME, ID_WEB1, ID_WEB2})
        if (CPngBtn* p = Button(nId))
            p->setCursor(Qt::PointingHandCursor);
    if (!IsEmptyRect(gVar.rcDevStatusBtn))
        if (CPngBtn* p = plain(ID_DEV_STATUS, EdgeRect(gVar.rcDevStatusBtn), Txt("tc_msg13")))
            p->SetCheckable(true, false);
    if (m_state.pMs) {
        const int nModes = gVar.Dev.Ms.pSensorCfg() ? gVar.Dev.Ms.pSensorCfg()->MDNUM : 1;
        const std::vector<QRect> vModes = ModeButtonRects(m_geo, nModes);
        for (int i = 0; i < 3; ++i)
            if (CPngBtn* p = plain(ID_MODE0 + i, vModes[static_cast<size_t>(i)], ""))
                p->SetCheckable(true, false);
        if (gVar.ptViewBtn.x != 0 || gVar.ptViewBtn.y != 0) {
            const std::vector<QRect> vViews =
                ViewButtonRects(QPoint(gVar.ptViewBtn.x, gVar.ptViewBtn.y));
            for (int i = 0; i < 2; ++i)
                plain(ID_VIEW0 + i, vViews[static_cast<size_t>(i)],
                      Txt("tc_adv_str2") + (i == 0 ? " 1" : " 2"));
        }
        const char* aTabs[kTabCount] = {"tc_ms2", "tc_ms3", "tc_ms4", "tc_ms5", "tc_adv_str9"};
        for (int i = 0; i < kTabCount; ++i) {
            if (i == 4 && !gVar.Dev.Ms.ShowLOD)
                continue;
            if (CPngBtn* p = skinned(ID_TAB0 + i, QRect(m_geo.ptTab, kTabHeaderSize), "header",
                                     Txt(aTabs[i]))) {
                p->resize(kTabHeaderSize);
                p->SetCheckable(true, false);
            }
        }
    }
    // A click reaches the window once, through the button's signal.
    for (int nId = ID_MIN; nId < ID_LAST; ++nId)
        if (CPngBtn* p = Button(nId))
            connect(p, &CPngBtn::clicked, this, [this](int n) { OnCommand(n); });
    UpdateModeButtons();
}

void CVelkinDlg::UpdateModeButtons() {
    const int nModes = gVar.Dev.Ms.pSensorCfg() ? gVar.Dev.Ms.pSensorCfg()->MDNUM : 1;
    const Profile* pPro = m_state.Current();
    for (int i = 0; i < 3; ++i) {
        CPngBtn* p = Button(ID_MODE0 + i);
        if (!p)
            continue;
        p->SetCaption(Txt("tc_ms7") + " " + std::to_string(i + 1), 1);
        p->setVisible(m_nFamily == FAMILY_MOUSE && nModes >= 2 && i < nModes);
        p->SetTicked(pPro && pPro->Ms.nMode == i);
    }
}

void CVelkinDlg::PlaceMacroButtons(int nFamily) {
    CPngBtn* pMacro = Button(ID_MACRO);
    CPngBtn* pBullet = Button(ID_BULLET);
    if (pMacro) {
        pMacro->setVisible(nFamily == FAMILY_MOUSE || nFamily == FAMILY_KEYBOARD);
        pMacro->move(MacroRectFor(m_geo, nFamily == FAMILY_KEYBOARD ? 70 : 80).topLeft());
    }
    if (pBullet) {
        pBullet->setVisible(nFamily == FAMILY_MOUSE);
        pBullet->move(m_geo.rcBullet.topLeft());
    }
}

void CVelkinDlg::SetDevStatus(const std::string& strCaption, bool bChecked) {
    if (CPngBtn* p = Button(ID_DEV_STATUS)) {
        p->SetCaption(strCaption, 1);
        p->SetTicked(bChecked);
    }
}

void CVelkinDlg::SetSelector(const std::string& strName, uint32_t dwId) {
    m_dwSelectorId = dwId;
    if (m_pSelector)
        m_pSelector->SetCaption(strName);
}

void CVelkinDlg::SetModeButtons(int nMode) {
    for (int i = 0; i < 3; ++i)
        if (CPngBtn* p = Button(ID_MODE0 + i))
            p->SetTicked(i == nMode);
}

QRect CVelkinDlg::MenuAnchor(int nKind) const {
    CPngBtn* p = Button(nKind == PROFILE_MENU_LIST ? ID_PROFILE_SEL : ID_PRO_MENU);
    if (!p)
        return QRect(mapToGlobal(m_geo.rcProfileSel.topLeft()), m_geo.rcProfileSel.size());
    return QRect(p->mapToGlobal(QPoint(0, 0)), p->size());
}

void CVelkinDlg::OnCommand(int nId) {
    if (nId >= ID_TAB0 && nId < ID_TAB0 + kTabCount) {
        OpenTab(nId - ID_TAB0);
        return;
    }
    if (nId >= ID_MODE0 && nId < ID_MODE0 + 3) {
        // The profile operations count the buttons from 1.
        if (!gVar.Dev.Ms.ShowOnlyModeString && m_pProfiles)
            m_pProfiles->OnModeButton(nId - ID_MODE0 + 1);
        UpdateModeButtons();
        return;
    }
    if (nId >= ID_VIEW0 && nId < ID_VIEW0 + 2) {
        OnView(nId - ID_VIEW0);
        return;
    }
    switch (nId) {
    case CMD_CONFIG:
        OnConfig();
        break;
    case CMD_EXIT:
        OnExit();
        break;
    case ID_MIN:
        showMinimized();
        break;
    case ID_CLOSE:
        OnCloseButton();
        break;
    case ID_APPLY:
        if (m_pProfiles)
            m_pProfiles->Apply();
        break;
    case ID_RESET:
        if (m_pProfiles)
            m_pProfiles->Reset();
        break;
    case ID_PROFILE_SEL:
        if (m_pProfiles)
            m_pProfiles->OnSelectorButton();
        break;
    case ID_PRO_MENU:
        if (m_pProfiles)
            m_pProfiles->OnMenuButton();
        break;
    case ID_NEW_PRO:
        if (m_pProfiles)
            m_pProfiles->OnNewProfile();
        break;
    case ID_DEL_PRO:
        if (m_pProfiles)
            m_pProfiles->OnDeleteProfile();
        break;
    case ID_OPTIONS:
        OnOptions();
        break;
    case ID_HOME:
        OpenUrlText("tc_web");
        break;
    case ID_WEB1:
        OpenUrlText("tc_facebook");
        break;
    case ID_WEB2:
        OpenUrlText("tc_twitter");
        break;
    case ID_MACRO:
    case ID_BULLET:
        // The macro and bullet editors are separate windows not part of this program yet.
        LogPrint("%s editor is not available", nId == ID_MACRO ? "Macro" : "Bullet");
        break;
    default:
        break;
    }
}

void CVelkinDlg::OnCloseButton() {
    if (m_pProfiles)
        m_pProfiles->OnCloseButton();
    // Hiding needs a tray icon to come back from; without one the button ends the program.
    const bool bTrayConfigured = gVar.TrayIcon == 1 || gVar.TrayIcon == 3;
    if (bTrayConfigured && m_pTray) {
        HideWindow();
        return;
    }
    if (bTrayConfigured)
        LogPrint("Close: no tray icon to show the window again, exiting");
    OnExit();
}

void CVelkinDlg::OnOptions() {
    DrvcfgContext ctx;
    ctx.pProfile = m_state.Current();
    ctx.pProfileLock = &m_state.mtxProfile;
    ctx.pMain = this;
    ctx.pSound = &Sound();
    CDrvcfgDlg dlg(this, ctx);
    const bool bOk = dlg.Run() == QDialog::Accepted;
    if (m_pProfiles)
        m_pProfiles->OnOptionsClosed(bOk);
}

void CVelkinDlg::OnView(int nView) {
    if (gVar.ViewKeyNum <= 0)
        return;
    if (gVar.Dev.Ms.ShowEffect)
        PlatformMessageBox("Warning", "Mul view not support effect");
    if (KeyPanel())
        KeyPanel()->SetView(nView);
    if (MousePicture())
        MousePicture()->SetView(nView);
}

void CVelkinDlg::OpenUrlText(const char* pszTextId) {
    const std::string& str = Txt(pszTextId);
    if (str.empty())
        return;
    LogPrint("Open %s", str.c_str());
    QDesktopServices::openUrl(QUrl::fromUserInput(QString::fromStdString(str)));
}

QRect CVelkinDlg::HomeRect() const {
    CPngBtn* p = Button(ID_HOME);
    return p ? p->geometry() : QRect();
}

void CVelkinDlg::UpdateCursor(const QPoint& pt) {
    bool bLink = false;
    for (int nId : {ID_HOME, ID_WEB1, ID_WEB2})
        if (CPngBtn* p = Button(nId); p && p->isVisible() && p->geometry().contains(pt))
            bLink = true;
    setCursor(bLink ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void CVelkinDlg::mousePressEvent(QMouseEvent* pEvent) {
    if (pEvent->button() != Qt::LeftButton)
        return;
    // Dragging the background moves the window, as the caption would.
    if (windowHandle() && windowHandle()->startSystemMove())
        return;
    m_bDragging = true;
    m_ptDrag = pEvent->globalPosition().toPoint() - frameGeometry().topLeft();
}

void CVelkinDlg::mouseMoveEvent(QMouseEvent* pEvent) {
    if (m_bDragging)
        move(pEvent->globalPosition().toPoint() - m_ptDrag);
    UpdateCursor(pEvent->position().toPoint());
}

void CVelkinDlg::mouseReleaseEvent(QMouseEvent*) {
    m_bDragging = false;
}
