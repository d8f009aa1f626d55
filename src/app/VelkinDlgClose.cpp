// The closing order of the main window, and the modal progress window of an apply.
#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QSystemTrayIcon>

#include "app/VelkinDlg.h"
#include "app/dialogs/ProgressDlg.h"
#include "app/dialogs/ProgressChannel.h"
#include "app/dialogs/SoundPlayer.h"
#include "app/presence/DevicePresence.h"
#include "app/presence/SimSession.h"
#include "app/profiles/ProfileOps.h"
#include "config/Log.h"
#include "config/TextCatalogue.h"
#include "panels/NotifyDlg.h"
#include "panels/PanelHost.h"
#include "storage/MacroStore.h"
#include "widgets/WndMessage.h"

CVelkinDlg::~CVelkinDlg() {
    DestroyWindow();
}

void CVelkinDlg::DestroyWindow() {
    if (m_bDestroyed)
        return;
    m_bDestroyed = true;
    LogPrint("DestroyWindow START");
    qApp->removeEventFilter(this);
    // The KbMonitor thread and the apply threads are told to stop and joined here rather
    // than given a few milliseconds: a thread still running would otherwise touch the
    // stores and device objects released below. An apply in progress ends first.
    if (m_pPresence)
        m_pPresence->Shutdown();
    m_state.StopApplyThreads();
    {
        auto lock = m_state.LockProfile();
        m_state.proList.SetCurrent(nullptr);
        while (Profile* p = m_state.proList.List().Head())
            m_state.proList.Remove(p);
    }
    MacroStore.Clear();
    BulletStore.Clear();
    if (m_pTray) {
        m_pTray->hide();
        delete m_pTray;
        m_pTray = nullptr;
    }
    m_pTrayMenu.reset();
    if (m_pSim)
        m_pSim->SetPresence(nullptr);
    m_pPresence.reset(); // the device notifications
    m_pProfiles.reset();
    delete m_pNotify;
    m_pNotify = nullptr;
    if (m_pPanels) {
        m_pPanels->Destroy();
        m_pPanels.reset();
    }
    m_state.ShutdownDrivers();
    m_state.pMs.reset();
    m_state.pKb.reset();
    m_state.pPad.reset();
    m_state.pCompanion.reset();
    m_state.pApplyMs.reset();
    m_state.pApplyKb.reset();
    m_state.pApplyPad.reset();
    LogPrint("DestroyWindow END");
}

IProgressSink* CVelkinDlg::NewProgressSink() {
    return m_pProgress->NewSink();
}

void CVelkinDlg::RunProgress(IProgressSink* pSink) {
    CProgressDlg dlg(this);
    dlg.SetRange(0, 100);
    dlg.SetPos(0);
    if (m_pProgress->Attach(pSink, dlg))
        dlg.exec();
}
