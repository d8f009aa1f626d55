#include "app/VelkinDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QIcon>
#include <QMenu>
#include <QPainter>
#include <QPen>
#include <QPixmap>
#include <QSessionManager>
#include <QSystemTrayIcon>
#include <QTimer>
#include <cerrno>

#include "app/dialogs/ProgressChannel.h"
#include "app/dialogs/SoundPlayer.h"
#include "app/presence/DevicePresence.h"
#include "app/presence/SimSession.h"
#include "app/profiles/ProfileOps.h"
#include "config/Log.h"
#include "config/TextCatalogue.h"
#include "device/hid/CurLevels.h"
#include "device/models/ModelFactory.h"
#include "panels/NotifyDlg.h"
#include "platform/FileLookup.h"
#include "platform/MessageBox.h"
#include "storage/MacroFolders.h"
#include "storage/MacroStore.h"
#include "widgets/MsgDlg.h"
#include "widgets/WndMessage.h"

CVelkinDlg::CVelkinDlg(QWidget* pParent)
    : QWidget(pParent, Qt::Window | Qt::FramelessWindowHint),
      m_pProgress(std::make_unique<CProgressChannel>()), m_state(gVar),
      m_pWndTarget(std::make_unique<CQtWndTarget>(this)) {
    setObjectName("CVelkinDlg");
    m_bWindowShown = gVar.TrayIcon != 1;
    LoadAppIcon(false);
}

namespace {
// The program's own icon when the installation has none: drawn rather than taken from the
// desktop's icon theme, whose lookup loads icon plugins and costs a visible part of the
// start-up.
QIcon BuiltInIcon() {
    QPixmap pix(32, 32);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(230, 230, 230), 2));
    p.setBrush(QColor(40, 44, 52));
    p.drawRoundedRect(QRectF(7, 2, 18, 28), 9, 9);
    p.drawLine(QPointF(16, 3), QPointF(16, 13));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 170, 200));
    p.drawRoundedRect(QRectF(14.5, 6, 3, 5), 1.5, 1.5);
    p.end();
    return QIcon(pix);
}
} // namespace

void CVelkinDlg::LoadAppIcon(bool bLog) {
    const std::string strIcon = FileLookup::Resolve(gVar.szProgramDir, "appico.ico");
    QIcon icon;
    const bool bExists = FileLookup::Exists(strIcon);
    if (bExists)
        icon = QIcon(QString::fromStdString(strIcon));
    if (icon.isNull() || icon.availableSizes().isEmpty()) {
        if (bLog)
            LogPrint("Load Icon err=%x", unsigned(bExists ? EINVAL : ENOENT));
        icon = BuiltInIcon();
    }
    setWindowIcon(icon);
}

bool CVelkinDlg::InitDialog() {
    // 1. Icon and title.
    LoadAppIcon(true);
    setWindowTitle(QString::fromStdString(gVar.pszTitle));
    // 2. Lift-off levels as the description gives them.
    for (int m = 0; m < MS_MODE_NUM; ++m)
        m_state.SetLodLevel(m, (gVar.Dev.Ms.LOD >> 8) & 0xFF);
    // 3 to 5: device objects, the family checks, the companion keyboard.
    if (!CreateDevices()) {
        EndDialog(0);
        return false;
    }
    m_pProfiles = std::make_unique<CProfileOps>(m_state, *this);
    // 6. Discovery.
    if (!FindDevices() && gVar.Suwnd == 0) {
        SkinnedBox(CMsgDlg::MODE_INFO, Txt("tc_msg13"));
        EndDialog(0);
        return false;
    }
    // 7. Layout.
    if (!BuildLayout()) {
        PlatformMessageBox("Error", "Load skins failed.");
        EndDialog(0);
        return false;
    }
    // 8. Device status.
    SetDevStatus(Txt(m_bMouseFound ? "tc_msg14" : "tc_msg13"), !m_bMouseFound);
    // 9. Resolution pop-up.
    if (m_state.pMs)
        m_pNotify = new CNotifyDlg(this, 50, 50);
    // 10. Apply workers.
    StartApplyThreads();
    // 11. Macro stores.
    LoadMacroStores(gVar, MacroStore, BulletStore);
    // 12 and 13. Device notifications; with a companion keyboard the profiles are needed at
    // once, since its key-switch keys are set from the current profile.
    StartPresence();
    // 14. Tray icon. A tray start without an icon would leave nothing to open the window
    // with: it starts shown instead.
    if (gVar.TrayIcon == 1 || gVar.TrayIcon == 3) {
        CreateTray();
        if (!m_pTray && !m_bWindowShown) {
            LogPrint("No tray icon to open the window from: it starts shown");
            m_bWindowShown = true;
        }
    }
    // Keys of the window's controls pass the key filter first; a session end asks first.
    qApp->installEventFilter(this);
    connect(qApp, &QGuiApplication::commitDataRequest, this,
            [this](QSessionManager&) { OnQueryEndSession(); });
    m_bInitDone = true;
    // 15. Show.
    if (m_bWindowShown)
        OnConfig();
    // 16. The mode the mouse reported.
    SyncMode();
    return true;
}

bool CVelkinDlg::CreateDevices() {
    CDevModels models = CreateDevModels(gVar, nullptr, &MacroStore);
    m_state.pMs = std::move(models.pMs);
    m_state.pKb = std::move(models.pKb);
    m_state.pPad = std::move(models.pPad);
    for (CHidDev* p : {m_state.pMs.get(), m_state.pKb.get(), m_state.pPad.get()})
        if (p && p->Drv())
            p->Drv()->Init(m_pWndTarget.get());
    if (gVar.MsFw != 0 && !m_state.pMs) {
        PlatformMessageBox("Error", "No Mouse Assigned");
        return false;
    }
    if (gVar.KbFw != 0 && !m_state.pKb) {
        PlatformMessageBox("Error", "No Keyboard Assigned");
        return false;
    }
    if (gVar.PadFw != 0 && !m_state.pPad) {
        PlatformMessageBox("Error", "No Mouse Pad Assigned");
        return false;
    }
    m_state.pCompanion = CreateCompanionKb(gVar, nullptr, &MacroStore);
    if (m_state.pCompanion && m_state.pCompanion->Drv()) {
        m_state.pCompanion->Drv()->Init(m_pWndTarget.get());
        m_state.pCompanion->Drv()->FindDev();
    }
    return true;
}

bool CVelkinDlg::FindDevices() {
    bool bAny = false;
    if (m_state.pMs && m_state.pMs->Drv()) {
        m_bMouseFound = m_state.pMs->Drv()->FindDev() == 1;
        bAny = bAny || m_bMouseFound;
    }
    for (CHidDev* p : {m_state.pKb.get(), m_state.pPad.get()})
        if (p && p->Drv() && p->Drv()->FindDev() != 0)
            bAny = true;
    return bAny;
}

void CVelkinDlg::StartApplyThreads() {
    // What an apply has to tell reaches the user on this thread, whenever it ends.
    m_state.SetPoster([this](std::function<void()> fn) {
        QMetaObject::invokeMethod(this, std::move(fn), Qt::QueuedConnection);
    });
    m_state.StartApplyThreads();
}

void CVelkinDlg::StartPresence() {
    m_pPresence = std::make_unique<CDevicePresence>(m_state, *this);
    m_pPresence->StartUsbMonitor();
    if (m_pSim)
        m_pSim->SetPresence(m_pPresence.get());
    if (m_state.pCompanion) {
        m_pProfiles->LoadProfiles();
        m_pProfiles->SelectProfile(m_state.proList.Current() ? m_state.proList.Current()->dwId : 0);
        m_pPresence->StartKbMonitor(m_pWndTarget.get());
    }
}

int CVelkinDlg::DoModal() {
    if (!m_bInitDone && !m_bEnded && !InitDialog())
        return m_nEndCode;
    if (m_bEnded)
        return m_nEndCode;
    QEventLoop loop;
    m_pLoop = &loop;
    loop.exec(QEventLoop::DialogExec);
    m_pLoop = nullptr;
    return m_nEndCode;
}

void CVelkinDlg::EndDialog(int nResult) {
    m_nEndCode = nResult;
    m_bEnded = true;
    QWidget::setVisible(false);
    if (m_pLoop)
        m_pLoop->exit(nResult);
}

void CVelkinDlg::setVisible(bool bVisible) {
    // Until the window has been shown to the user every attempt to show it is ignored, so
    // a window that starts in the tray stays invisible until the user opens it.
    if (bVisible && (!m_bWindowShown || m_bEnded))
        return;
    QWidget::setVisible(bVisible);
}

bool CVelkinDlg::IsWindowShown() const {
    return m_bWindowShown && isVisible();
}

ISoundPlayer& CVelkinDlg::Sound() {
    if (m_pSoundOverride)
        return *m_pSoundOverride;
    if (!m_pOwnSound)
        m_pOwnSound = std::make_unique<CSoundPlayer>();
    return *m_pOwnSound;
}

bool CVelkinDlg::event(QEvent* pEvent) {
    if (pEvent->type() == CWndMessageEvent::EventType()) {
        auto* p = static_cast<CWndMessageEvent*>(pEvent);
        OnWndMessage(p->m_nMsg, p->m_wParam, p->m_lParam);
        return true;
    }
    if (pEvent->type() == QEvent::KeyPress || pEvent->type() == QEvent::KeyRelease)
        if (FilterKey(static_cast<QKeyEvent*>(pEvent)))
            return true;
    return QWidget::event(pEvent);
}

void CVelkinDlg::closeEvent(QCloseEvent* pEvent) {
    // The window manager's close acts like the close button.
    pEvent->ignore();
    if (!m_bEnded)
        OnCloseButton();
}

int CVelkinDlg::SkinnedBox(int nMode, const std::string& strText, std::string* pstrOut) {
    CMsgDlg dlg(isVisible() ? this : nullptr, nMode, strText);
    dlg.setAccessibleDescription(QString::fromStdString(strText));
    LogPrint("Message: %s", strText.c_str());
    const int n = dlg.Run();
    if (pstrOut && n == MSG_IDOK)
        *pstrOut = dlg.m_strResult;
    return n;
}

void CVelkinDlg::Message(const std::string& strText) {
    SkinnedBox(CMsgDlg::MODE_INFO, strText);
}

bool CVelkinDlg::Confirm(const std::string& strText) {
    return SkinnedBox(CMsgDlg::MODE_QUESTION, strText) == MSG_IDOK;
}

bool CVelkinDlg::Input(const std::string& strPrompt, std::string& strOut) {
    std::string str;
    if (SkinnedBox(CMsgDlg::MODE_TEXT, strPrompt, &str) != MSG_IDOK || str.empty())
        return false;
    strOut = str;
    return true;
}

void CVelkinDlg::ShowMessage(const char* pszTextId) {
    Message(Txt(pszTextId));
}
