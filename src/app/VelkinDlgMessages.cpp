// The main window's message table, the key filter and what the helpers ask of the panels.
#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>

#include "app/VelkinDlg.h"
#include "app/presence/DevicePresence.h"
#include "app/profiles/ProfileOps.h"
#include "config/Log.h"
#include "panels/KeyboardPanels.h"
#include "panels/MousePanels.h"
#include "panels/NotifyDlg.h"
#include "panels/PadPanels.h"
#include "widgets/PngBtn.h"
#include "widgets/QtKeyToVk.h"
#include "widgets/TreeCtrlEx.h"
#include "widgets/WndMessage.h"

bool CVelkinDlg::OnWndMessage(uint32_t nMsg, uintptr_t wParam, intptr_t lParam) {
    switch (nMsg) {
    case WM_COMMAND_MSG:
        OnCommand(static_cast<int>(wParam));
        return true;
    case WM_TRAY_NOTIFY:
        OnTrayNotify(lParam);
        return true;
    case WM_MENUEX_PICK:
        if (m_pProfiles)
            m_pProfiles->OnMenu(wParam, lParam);
        return true;
    case WM_KB_KEY_CLICKED:
        OnKbKeyClicked(wParam, lParam);
        return true;
    case WM_KB_KEYS_SELECTED:
        if (KeyboardLight())
            KeyboardLight()->OnPictureMessage(nMsg, wParam, lParam);
        return true;
    case WM_TREE_LBUTTONDOWN:
        OnDevListClick(wParam, lParam);
        return true;
    case WM_KB_PICTURE_MODE:
        if (KeyboardPicture()) {
            KeyboardPicture()->SetPictureMode(wParam == 1 ? CKBColorDlg::PICTURE_COLOURS
                                                   : CKBColorDlg::PICTURE_KEYS);
            KeyboardPicture()->ClearKeyMarks();
            KeyboardPicture()->update();
        }
        return true;
    case WM_PICTURE_BUSY:
        SetBusy(wParam == 1);
        return true;
    case WM_KEYSET_SWITCH:
    case WM_MOUSE_NOTIFY:
    case WM_MONITOR_NOTIFY:
        return m_pPresence && m_pPresence->HandleWndMessage(nMsg, wParam, lParam);
    default:
        return false;
    }
}

void CVelkinDlg::OnTrayNotify(intptr_t lParam) {
    if (lParam == TRAY_DBLCLK) {
        OnCommand(CMD_CONFIG);
    } else if (lParam == TRAY_RBUTTONUP && m_pTrayMenu) {
        raise();
        activateWindow();
        m_pTrayMenu->popup(QCursor::pos());
    }
}

void CVelkinDlg::OnDevListClick(uintptr_t wParam, intptr_t lParam) {
    if (wParam != static_cast<uintptr_t>(kDevListId) || !m_pDevList || lParam == 0)
        return;
    CTreeItemRecord* pRec = m_pDevList->RecordOf(reinterpret_cast<HTREEITEM>(lParam));
    if (!pRec)
        return;
    SwitchFamily(static_cast<int>(pRec->dwValue));
}

void CVelkinDlg::OnKbKeyClicked(uintptr_t wParam, intptr_t lParam) {
    if (!m_state.Current())
        return;
    if (KeyboardPicture() && KeyboardPicture()->PictureMode() == CKBColorDlg::PICTURE_COLOURS) {
        if (KeyboardLight())
            KeyboardLight()->OnPictureMessage(WM_KB_KEY_CLICKED, wParam, lParam);
        return;
    }
    // The keyboard function picker is a window of its own that is not built yet.
    LogPrint("Keyboard key %u: the function picker is not available", unsigned(wParam));
}

bool CVelkinDlg::eventFilter(QObject* pWatched, QEvent* pEvent) {
    if (pEvent->type() == QEvent::KeyPress || pEvent->type() == QEvent::KeyRelease) {
        auto* pWidget = qobject_cast<QWidget*>(pWatched);
        if (pWidget && pWidget->window() == this && pWidget != this)
            return FilterKey(static_cast<QKeyEvent*>(pEvent));
    }
    return QWidget::eventFilter(pWatched, pEvent);
}

bool CVelkinDlg::FilterKey(QKeyEvent* pEvent) {
    const bool bDown = pEvent->type() == QEvent::KeyPress;
    if (KeyboardPicture() && KeyboardPicture()->IsCapturing()) {
        if (bDown)
            KeyboardPicture()->OnCapturedKey(QtKeyToVk(*pEvent));
        return true;
    }
    if (bDown && KeyboardPicture() && KeyboardPicture()->IsReacting()) {
        KeyboardPicture()->OnPreviewKey(QtKeyToVk(*pEvent));
        return true;
    }
    // Enter, Esc, Space and F1 would close the window or press a button.
    switch (pEvent->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Space:
    case Qt::Key_F1:
        return true;
    default:
        return false;
    }
}

void CVelkinDlg::ReloadKeyPanel() {
    if (KeyPanel() && m_state.Current())
        KeyPanel()->Reload(*m_state.Current());
}

void CVelkinDlg::ReloadDpiPanel() {
    if (DpiPanel() && m_state.Current())
        DpiPanel()->Reload(*m_state.Current());
}

void CVelkinDlg::SelectDpiLevel(int nLevel) {
    if (DpiPanel())
        DpiPanel()->SelectLevel(nLevel);
}

void CVelkinDlg::SetResolutionLevel(int nLevel) {
    SelectDpiLevel(nLevel);
}

bool CVelkinDlg::HasNotifyPopup() const {
    return m_pNotify != nullptr;
}

void CVelkinDlg::ShowNotify(const CNotifyTexts& texts) {
    if (m_pNotify)
        m_pNotify->ShowTexts(texts.strLevel, texts.strValue, texts.strValue2, texts.strMode);
}

void CVelkinDlg::SetRateCode(int nCode) {
    if (RatePanel())
        RatePanel()->SetRateCode(nCode);
}

void CVelkinDlg::SyncMode() {
    if (m_pProfiles)
        m_pProfiles->SyncMode();
}

void CVelkinDlg::SwitchKeySet(int nKeySet) {
    if (m_pProfiles)
        m_pProfiles->OnKeySetSwitch(static_cast<uintptr_t>(nKeySet));
}

void CVelkinDlg::ShowKeySet(int nSet) {
    if (KeyPanel())
        KeyPanel()->ShowKeySet(nSet);
}

void CVelkinDlg::RefreshKeyboardMarks() {
    if (KeyboardPicture())
        KeyboardPicture()->update();
}

void CVelkinDlg::ReloadPanels(int nWhich) {
    if (m_pPanels)
        m_pPanels->Reload(nWhich);
}

void CVelkinDlg::StorePanels(int nFamily) {
    // The caller holds the profile lock (the apply threads snapshot under it).
    if (m_pPanels)
        m_pPanels->Store(nFamily);
}

void CVelkinDlg::SetBusy(bool bBusy) {
    if (m_pPanels)
        m_pPanels->SetBusy(m_nFamily, bBusy);
}

void CVelkinDlg::SetRateAlternative(bool) {
    // The report-rate panel's alternative list belongs to the panel, which is not built yet.
}

void CVelkinDlg::ShowRateTab(bool bShow) {
    if (m_bRateTabShown == bShow)
        return;
    m_bRateTabShown = bShow;
    if (m_nFamily == FAMILY_MOUSE)
        LayoutTabs(m_nOpenTab == 3 && !bShow ? -1 : m_nOpenTab);
}
