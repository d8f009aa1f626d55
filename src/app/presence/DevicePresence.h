#pragma once
// Device presence of the main window: USB arrival and removal reopen or close the matching
// family's driver, the device status button follows the mouse, the last device gone ends or
// hides the program as configured; the mouse's own notifications (message 2027) update the
// mode, the active resolution level and the pop-up; the KbMonitor thread lets a companion
// keyboard switch the mouse's key set (message 1435).
//
// Everything here runs on the user-interface thread except the KbMonitor thread's reading
// loop, which only posts. The retries after an arrival wait with timers, so the window keeps
// painting and handling messages meanwhile (the device needs about a second after arrival
// before it answers).
//
// Wiring in the main window:
//   CDevicePresence presence(state, view);
//   presence.StartUsbMonitor();                  // after the drivers exist
//   presence.StartKbMonitor(pWndTarget);         // with a companion keyboard configured
//   window messages 2027, 2030, 1435 -> presence.HandleWndMessage(nMsg, wParam, lParam)
//   (or post them to presence.Target(), which handles them itself)
//   presence.Shutdown();                         // at destruction, before the drivers
#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "session/Session.h"
#include "app/presence/PresencePatterns.h"
#include "app/presence/PresenceView.h"

class CWndTarget;
class CQtWndTarget;
class CKbMonitorThread;
class CUsbMonitor;

// Runs a function after a delay on the user-interface thread. The default uses QTimer;
// tests install one that runs the steps on demand.
class IPresenceScheduler {
public:
    virtual ~IPresenceScheduler() = default;
    virtual void After(uint32_t nMs, std::function<void()> fn) = 0;
};

class CDevicePresence : public QObject {
    Q_OBJECT
public:
    CDevicePresence(CSession& state, IPresenceView& view, QObject* pParent = nullptr);
    ~CDevicePresence() override; // Shutdown

    // Replaces the timer-based scheduler (tests). The scheduler must outlive this object.
    void SetScheduler(IPresenceScheduler* pScheduler);

    // The libudev monitor on hidraw; false (logged) when libudev gives none.
    bool StartUsbMonitor();
    CUsbMonitor* UsbMonitor() const { return m_pUsb.get(); }
    // With a companion keyboard configured: opens the KbMonitor device and starts the
    // KbMonitor thread, which posts 1435 to pWnd (to Target() when null).
    void StartKbMonitor(CWndTarget* pWnd = nullptr);
    // Stops the KbMonitor thread (joined) and the USB monitor; pending retries are dropped.
    void Shutdown();
    // A target whose messages 2027, 2030 and 1435 this object handles.
    CWndTarget* Target();

    // USB notifications with a device path of the form "...USB#VID_xxxx&PID_xxxx...".
    void OnDeviceArrival(const std::string& strPath);
    void OnDeviceRemoval(const std::string& strPath);

    // Messages 2027, 2030 and 1435; false for any other message.
    bool HandleWndMessage(uint32_t nMsg, uintptr_t wParam, intptr_t lParam);
    void OnMouseNotify(uintptr_t w);
    void OnMonitorNotify(uintptr_t w);
    void OnKeySetMessage(int nKeySet);

    // Opens the receiver's monitor collection and, with the companion keyboard connected and
    // a current profile, sets its key-switch keys to report (UpdateMatrix(1), once more after
    // 300 ms when it fails). False when the monitor device cannot be opened.
    bool OpenKbMonitor();
    CKbMonitorThread* KbMonitor() const { return m_pKbMon.get(); }

    const CPresencePatterns& Patterns() const { return m_patterns; }
    // Whether retries after an arrival of the family are still to come.
    bool ArrivalPending(int nFamily) const;

    static constexpr uint32_t kMouseRetryMs = 1000;
    static constexpr uint32_t kKbRetryMs = 1000;
    static constexpr uint32_t kPadRetryMs = 100;
    static constexpr int kArrivalTries = 3;
    static constexpr uint32_t kUpdateMatrixRetryMs = 300;

signals:
    // An arrival's retries ended: bFound whether the family's device was opened.
    void ArrivalDone(int nFamily, bool bFound);
    // The window is closing because the last device went away (ExitOnPlugOut).
    void ClosingAfterPlugOut();

protected:
    bool event(QEvent* pEvent) override;

private:
    void After(uint32_t nMs, std::function<void()> fn);
    void ArrivalTry(int nFamily, int nTry);
    bool TryMouse();
    bool TryKeyboard();
    bool TryPad();
    void MouseConnected();
    void CheckLastDeviceGone();
    void UpdateCompanionMatrix(bool bRetry);

    CSession& m_state;
    IPresenceView& m_view;
    CPresencePatterns m_patterns;
    IPresenceScheduler* m_pScheduler = nullptr;
    std::unique_ptr<IPresenceScheduler> m_pTimerScheduler;
    std::unique_ptr<CQtWndTarget> m_pTarget;
    std::unique_ptr<CUsbMonitor> m_pUsb;
    std::unique_ptr<CKbMonitorThread> m_pKbMon;
    bool m_bPending[4] = {false, false, false, false}; // indexed by family
    bool m_bClosing = false;
    uint32_t m_nGeneration = 0; // retries scheduled before Shutdown are dropped
};
