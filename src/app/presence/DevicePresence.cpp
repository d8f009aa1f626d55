// Arrival and removal of the configured devices.
#include "app/presence/DevicePresence.h"

#include <QTimer>

#include "app/presence/UsbMonitor.h"
#include "config/Log.h"
#include "config/TextCatalogue.h"
#include "device/hid/KbMonitorThread.h"
#include "device/models/Dev8948.h"
#include "widgets/WndMessage.h"

namespace {

class CTimerScheduler : public IPresenceScheduler {
public:
    explicit CTimerScheduler(QObject* pContext) : m_pContext(pContext) {}
    void After(uint32_t nMs, std::function<void()> fn) override {
        // The context object cancels the timer when presence goes away first.
        QTimer::singleShot(int(nMs), m_pContext, std::move(fn));
    }

private:
    QObject* m_pContext;
};

const char* FamilyName(int nFamily) {
    switch (nFamily) {
    case FAMILY_MOUSE:
        return "MS";
    case FAMILY_KEYBOARD:
        return "KB";
    case FAMILY_PAD:
        return "PAD";
    default:
        return "";
    }
}

} // namespace

CDevicePresence::CDevicePresence(CSession& state, IPresenceView& view, QObject* pParent)
    : QObject(pParent), m_state(state), m_view(view), m_patterns(state.var),
      m_pTimerScheduler(std::make_unique<CTimerScheduler>(this)),
      m_pTarget(std::make_unique<CQtWndTarget>(this)) {
    m_pScheduler = m_pTimerScheduler.get();
}

CDevicePresence::~CDevicePresence() {
    Shutdown();
}

void CDevicePresence::SetScheduler(IPresenceScheduler* pScheduler) {
    m_pScheduler = pScheduler ? pScheduler : m_pTimerScheduler.get();
}

bool CDevicePresence::StartUsbMonitor() {
    if (!m_pUsb) {
        m_pUsb = std::make_unique<CUsbMonitor>();
        connect(m_pUsb.get(), &CUsbMonitor::DeviceArrived, this,
                [this](const std::string& s) { OnDeviceArrival(s); });
        connect(m_pUsb.get(), &CUsbMonitor::DeviceRemoved, this,
                [this](const std::string& s) { OnDeviceRemoval(s); });
    }
    return m_pUsb->Running() || m_pUsb->Start();
}

void CDevicePresence::Shutdown() {
    ++m_nGeneration;
    for (bool& b : m_bPending)
        b = false;
    if (m_pKbMon)
        m_pKbMon->Stop();
    if (m_pUsb)
        m_pUsb->Stop();
}

CWndTarget* CDevicePresence::Target() {
    return m_pTarget.get();
}

bool CDevicePresence::event(QEvent* pEvent) {
    if (pEvent->type() == CWndMessageEvent::EventType()) {
        auto* pMsg = static_cast<CWndMessageEvent*>(pEvent);
        HandleWndMessage(pMsg->m_nMsg, pMsg->m_wParam, pMsg->m_lParam);
        return true;
    }
    return QObject::event(pEvent);
}

bool CDevicePresence::HandleWndMessage(uint32_t nMsg, uintptr_t wParam, intptr_t) {
    switch (nMsg) {
    case WM_MOUSE_NOTIFY:
        OnMouseNotify(wParam);
        return true;
    case WM_MONITOR_NOTIFY:
        OnMonitorNotify(wParam);
        return true;
    case WM_KEYSET_SWITCH:
        OnKeySetMessage(int(wParam));
        return true;
    default:
        return false;
    }
}

void CDevicePresence::After(uint32_t nMs, std::function<void()> fn) {
    const uint32_t nGen = m_nGeneration;
    m_pScheduler->After(nMs, [this, nGen, fn = std::move(fn)] {
        if (nGen == m_nGeneration)
            fn();
    });
}

bool CDevicePresence::ArrivalPending(int nFamily) const {
    return nFamily > 0 && nFamily < 4 && m_bPending[nFamily];
}

void CDevicePresence::OnDeviceArrival(const std::string& strPath) {
    LogPrint("arrive device:  %s", strPath.c_str());
    const int nFamily = m_patterns.Family(strPath);
    if (nFamily == FAMILY_NONE || m_bClosing)
        return;
    LogPrint("Device %s IN", FamilyName(nFamily));
    // One device brings several hidraw nodes, each with its own event; the retries that
    // already run cover them all.
    if (m_bPending[nFamily])
        return;
    m_bPending[nFamily] = true;
    const uint32_t nMs = nFamily == FAMILY_PAD ? kPadRetryMs : kMouseRetryMs;
    After(nMs, [this, nFamily] { ArrivalTry(nFamily, 1); });
}

void CDevicePresence::ArrivalTry(int nFamily, int nTry) {
    bool bFound = false;
    switch (nFamily) {
    case FAMILY_MOUSE:
        bFound = TryMouse();
        break;
    case FAMILY_KEYBOARD:
        bFound = TryKeyboard();
        break;
    case FAMILY_PAD:
        bFound = TryPad();
        break;
    default:
        break;
    }
    if (!bFound && nTry < kArrivalTries) {
        const uint32_t nMs = nFamily == FAMILY_PAD ? kPadRetryMs : kKbRetryMs;
        After(nMs, [this, nFamily, nTry] { ArrivalTry(nFamily, nTry + 1); });
        return;
    }
    m_bPending[nFamily] = false;
    if (bFound && nFamily == FAMILY_MOUSE)
        MouseConnected();
    emit ArrivalDone(nFamily, bFound);
}

bool CDevicePresence::TryMouse() {
    CHidDev* pMs = m_state.pMs.get();
    return pMs && pMs->Drv() && pMs->Drv()->FindDev() == 1;
}

bool CDevicePresence::TryKeyboard() {
    CHidDev* pComp = m_state.pCompanion.get();
    if (pComp && pComp->Drv() && pComp->Drv()->FindDev() == 1 && OpenKbMonitor() &&
        m_state.var.KbFw == 0)
        return true;
    CHidDev* pKb = m_state.pKb.get();
    return pKb && pKb->Drv() && pKb->Drv()->FindDev() == 1;
}

bool CDevicePresence::TryPad() {
    CHidDev* pPad = m_state.pPad.get();
    return pPad && pPad->Drv() && pPad->Drv()->FindDev() == 1;
}

void CDevicePresence::MouseConnected() {
    auto* pMs = dynamic_cast<CDev8948*>(m_state.pMs.get());
    Profile* pCur = m_state.Current();
    const int nSensor = pMs ? pMs->Drv8948().ConnectedSensor() : 0;
    if (m_state.var.Dev.Ms.AutoSw && pCur && nSensor != 0 && nSensor != pCur->Ms.nSensor) {
        LogPrint("Init UI Layout for 0x%x", unsigned(nSensor));
        {
            auto lock = m_state.LockProfile();
            pMs->SetSensorDefault(*pCur, nSensor);
        }
        m_view.ReloadKeyPanel();
        m_view.ReloadDpiPanel();
    }
    m_view.SyncMode();
    m_view.SetDevStatus(Txt("tc_msg14"), false);
}

void CDevicePresence::OnDeviceRemoval(const std::string& strPath) {
    if (m_bClosing)
        return;
    const int nFamily = m_patterns.Family(strPath);
    if (nFamily != FAMILY_NONE)
        LogPrint("Device %s OUT", FamilyName(nFamily));
    if (nFamily == FAMILY_MOUSE) {
        if (m_state.pMs && m_state.pMs->Drv())
            m_state.pMs->Drv()->ClearHandle();
        m_view.SetDevStatus(Txt("tc_msg13"), true);
    } else if (nFamily == FAMILY_KEYBOARD) {
        if (m_state.pKb && m_state.pKb->Drv())
            m_state.pKb->Drv()->ClearHandle();
        if (m_state.pCompanion && m_state.pCompanion->Drv())
            m_state.pCompanion->Drv()->ClearHandle();
    } else if (nFamily == FAMILY_PAD) {
        if (m_state.pPad && m_state.pPad->Drv())
            m_state.pPad->Drv()->ClearHandle();
    }
    CheckLastDeviceGone();
}

void CDevicePresence::CheckLastDeviceGone() {
    for (int nFamily : {FAMILY_MOUSE, FAMILY_KEYBOARD, FAMILY_PAD})
        if (m_state.Connected(nFamily))
            return;
    if (m_state.var.ExitOnPlugOut) {
        // Further removals (the device's other nodes) must not stack more message boxes
        // while this one is open.
        m_bClosing = true;
        m_view.ShowMessage("tc_msg13");
        emit ClosingAfterPlugOut();
        m_view.CloseWindow();
    } else if (m_state.var.TrayIcon == 1) {
        m_view.HideWindow();
    }
}
