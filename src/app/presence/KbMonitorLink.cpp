// The companion keyboard's key-set switch: the receiver's monitor collection, the
// KbMonitor thread that reads it, and the switch itself on the user-interface thread.
#include "app/presence/DevicePresence.h"
#include "config/Log.h"
#include "device/hid/KbMonitorDevice.h"
#include "device/hid/KbMonitorThread.h"
#include "widgets/WndMessage.h"

void CDevicePresence::StartKbMonitor(CWndTarget* pWnd) {
    if (!m_state.pCompanion || !m_state.pMs || !m_state.pMs->Drv() || m_pKbMon)
        return;
    m_pKbMon = std::make_unique<CKbMonitorThread>(m_state.var, m_state.pMs->Drv()->Lib(),
                                                  pWnd ? *pWnd : *Target());
    OpenKbMonitor();
    m_pKbMon->Start();
}

bool CDevicePresence::OpenKbMonitor() {
    // A handle that still reads stays: a second one would deliver every report twice. The
    // thread drops a handle whose device went away.
    if (!m_pKbMon || !m_pKbMon->Handle()) {
        if (!m_state.pMs || !m_state.pMs->Drv())
            return false;
        HidHandle h = OpenKbMonitorDevice(m_state.pMs->Drv()->Lib());
        if (!h) {
            LogPrint("KbMonitor device not found");
            return false;
        }
        if (m_pKbMon)
            m_pKbMon->SetHandle(h);
    }
    if (m_state.Current() && m_state.pCompanion && m_state.pCompanion->GetHandle())
        UpdateCompanionMatrix(true);
    return true;
}

void CDevicePresence::UpdateCompanionMatrix(bool bRetry) {
    if (!m_state.pCompanion)
        return;
    if (m_state.pCompanion->UpdateMatrix(1) == 0 && bRetry)
        After(kUpdateMatrixRetryMs, [this] { UpdateCompanionMatrix(false); });
}

void CDevicePresence::OnKeySetMessage(int nKeySet) {
    if (nKeySet < 0 || nKeySet > 2)
        return;
    if (m_state.CompanionKeySet(nKeySet))
        m_view.SwitchKeySet(nKeySet);
}
