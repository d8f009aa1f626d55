// The tray icon, the show and exit commands and the session-end query.
#include <QGuiApplication>
#include <QMenu>
#include <QSessionManager>
#include <QSystemTrayIcon>
#include <QTimer>

#include "app/TrayAvailability.h"
#include "app/VelkinDlg.h"
#include "app/profiles/ProfileOps.h"
#include "config/Log.h"
#include "config/TextCatalogue.h"
#include "platform/Clock.h"
#include "widgets/DialogRegistry.h"
#include "widgets/WndMessage.h"

namespace {
constexpr int kBalloonMs = 5000;
constexpr uint32_t kUpdateMatrixRetryMs = 300;
std::optional<bool> g_bTrayOverride;
} // namespace

bool TrayAvailable() {
    if (g_bTrayOverride)
        return *g_bTrayOverride;
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void SetTrayAvailableOverride(std::optional<bool> bAvailable) {
    g_bTrayOverride = bAvailable;
}

void CVelkinDlg::CreateTray() {
    m_pTrayMenu = std::make_unique<QMenu>();
    m_pTrayMenu->addAction(QString::fromStdString(Txt("tc_config")), this,
                           [this] { OnCommand(CMD_CONFIG); });
    m_pTrayMenu->addSeparator();
    m_pTrayMenu->addAction(QString::fromStdString(Txt("tc_exit")), this,
                           [this] { OnCommand(CMD_EXIT); });
    // Desktops without a notification area get no icon. The window then must not hide
    // where nothing could show it again: it starts shown and its close button exits.
    if (!TrayAvailable()) {
        LogPrint("No system tray available");
        return;
    }
    m_pTray = new QSystemTrayIcon(windowIcon(), this);
    m_pTray->setToolTip(QString::fromStdString(gVar.pszTitle));
    connect(m_pTray, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason r) {
                if (r == QSystemTrayIcon::DoubleClick || r == QSystemTrayIcon::Trigger)
                    PostWndMessage(this, WM_TRAY_NOTIFY, 0, TRAY_DBLCLK);
                else if (r == QSystemTrayIcon::Context)
                    PostWndMessage(this, WM_TRAY_NOTIFY, 0, TRAY_RBUTTONUP);
            });
    m_pTray->setContextMenu(m_pTrayMenu.get());
    m_pTray->show();
    m_pTray->showMessage(QString::fromStdString(gVar.pszTitle),
                         QString::fromStdString(gVar.pszTitle), QSystemTrayIcon::Information,
                         kBalloonMs);
}

void CVelkinDlg::OnConfig() {
    LogPrint("OnConfig hWnd=%x", unsigned(winId()));
    if (m_bEnded)
        return;
    if (isVisible()) {
        showNormal();
        raise();
        activateWindow();
        return;
    }
    // Loading, selection and the profile sound (or "Open file failed, %s").
    if (m_pProfiles)
        m_pProfiles->OnShow();
    m_bWindowShown = true;
    showNormal();
    raise();
    activateWindow();
}

void CVelkinDlg::HideWindow() {
    // Only the tray icon (or a second start of the program) shows a hidden window again.
    if (!m_pTray) {
        LogPrint("No tray icon: the window stays shown");
        return;
    }
    hide();
}

void CVelkinDlg::CloseWindow() {
    EndDialog(0);
}

void CVelkinDlg::OnExit() {
    if (m_bEnded)
        return;
    CHidDev* pComp = m_state.pCompanion.get();
    if (pComp && pComp->GetHandle() && m_state.Current()) {
        // The companion's switch keys get their normal codes back.
        if (pComp->UpdateMatrix(0) == 0) {
            SleepMs(kUpdateMatrixRetryMs);
            pComp->UpdateMatrix(0);
        }
    }
    if (!m_state.proList.Save())
        LogPrint("Exit: profile store not saved");
    m_state.proList.WriteCurrentId();
    DialogRegistry::CloseAll("VelkinMacroTopWindow");
    DialogRegistry::CloseAll("VelkinMsgTopWindow");
    EndDialog(1);
}

void CVelkinDlg::OnQueryEndSession() {
    LogPrint("OnQueryEndSession");
    if (gVar.ApplyNow)
        OnExit();
}
