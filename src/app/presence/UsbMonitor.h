#pragma once
// USB arrival and removal for the main window: a libudev monitor on the hidraw subsystem,
// read in the event loop through a QSocketNotifier. Each event becomes a device path of the
// form "\\?\USB#VID_xxxx&PID_xxxx#<node>#{...}", so the program's path patterns match as
// they always did. The simulation feeds synthetic paths through Inject.
#include <QObject>
#include <QString>
#include <memory>
#include <string>

#include "device/hid/UsbEventPath.h"

class QSocketNotifier;
struct udev;
struct udev_monitor;

class CUsbMonitor : public QObject {
    Q_OBJECT
public:
    explicit CUsbMonitor(QObject* pParent = nullptr);
    ~CUsbMonitor() override;

    // Opens the monitor; false (logged) when libudev gives none.
    bool Start();
    void Stop();
    bool Running() const { return m_pMonitor != nullptr; }

    // Reports an event as if udev had sent it.
    void Inject(const CUdevRecord& rec);

signals:
    void DeviceArrived(const std::string& strPath);
    void DeviceRemoved(const std::string& strPath);

private:
    void OnActivated();

    udev* m_pUdev = nullptr;
    udev_monitor* m_pMonitor = nullptr;
    std::unique_ptr<QSocketNotifier> m_pNotifier;
    CUsbPathCache m_cache;
};
