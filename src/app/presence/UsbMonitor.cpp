#include "app/presence/UsbMonitor.h"

#include <libudev.h>

#include <QSocketNotifier>

#include "config/Log.h"

namespace {

std::string Str(const char* psz) {
    return psz ? psz : "";
}

CUdevRecord RecordOf(udev_device* pDev, const char* pszAction) {
    CUdevRecord rec;
    rec.strAction = Str(pszAction);
    rec.strSysName = Str(udev_device_get_sysname(pDev));
    rec.strDevPath = Str(udev_device_get_devpath(pDev));
    // A removed node has no parents left in sysfs; DEVPATH still names the ids then.
    if (udev_device* pUsb =
            udev_device_get_parent_with_subsystem_devtype(pDev, "usb", "usb_device")) {
        rec.strUsbVid = Str(udev_device_get_sysattr_value(pUsb, "idVendor"));
        rec.strUsbPid = Str(udev_device_get_sysattr_value(pUsb, "idProduct"));
    }
    if (udev_device* pHid = udev_device_get_parent_with_subsystem_devtype(pDev, "hid", nullptr))
        rec.strHidId = Str(udev_device_get_property_value(pHid, "HID_ID"));
    return rec;
}

} // namespace

CUsbMonitor::CUsbMonitor(QObject* pParent) : QObject(pParent) {}

CUsbMonitor::~CUsbMonitor() {
    Stop();
}

bool CUsbMonitor::Start() {
    if (m_pMonitor)
        return true;
    m_pUdev = udev_new();
    if (m_pUdev)
        m_pMonitor = udev_monitor_new_from_netlink(m_pUdev, "udev");
    if (!m_pMonitor ||
        udev_monitor_filter_add_match_subsystem_devtype(m_pMonitor, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(m_pMonitor) < 0) {
        LogPrint("USB monitor: libudev gives no device monitor; devices plugged in later are "
                 "not seen");
        Stop();
        return false;
    }
    // Nodes present now, so that their removal finds the path even when sysfs is gone.
    if (udev_enumerate* pEnum = udev_enumerate_new(m_pUdev)) {
        udev_enumerate_add_match_subsystem(pEnum, "hidraw");
        udev_enumerate_scan_devices(pEnum);
        udev_list_entry* pEntry = nullptr;
        udev_list_entry_foreach(pEntry, udev_enumerate_get_list_entry(pEnum)) {
            if (udev_device* pDev =
                    udev_device_new_from_syspath(m_pUdev, udev_list_entry_get_name(pEntry))) {
                m_cache.PathFor(RecordOf(pDev, "add"));
                udev_device_unref(pDev);
            }
        }
        udev_enumerate_unref(pEnum);
    }
    m_pNotifier =
        std::make_unique<QSocketNotifier>(udev_monitor_get_fd(m_pMonitor), QSocketNotifier::Read);
    connect(m_pNotifier.get(), &QSocketNotifier::activated, this, [this] { OnActivated(); });
    return true;
}

void CUsbMonitor::Stop() {
    m_pNotifier.reset();
    if (m_pMonitor)
        udev_monitor_unref(m_pMonitor);
    m_pMonitor = nullptr;
    if (m_pUdev)
        udev_unref(m_pUdev);
    m_pUdev = nullptr;
}

void CUsbMonitor::OnActivated() {
    // The monitor socket is non-blocking: take every event that is queued.
    while (m_pMonitor) {
        udev_device* pDev = udev_monitor_receive_device(m_pMonitor);
        if (!pDev)
            break;
        CUdevRecord rec = RecordOf(pDev, udev_device_get_action(pDev));
        udev_device_unref(pDev);
        Inject(rec);
    }
}

void CUsbMonitor::Inject(const CUdevRecord& rec) {
    const std::string strPath = m_cache.PathFor(rec);
    if (strPath.empty())
        return;
    if (rec.strAction == "add")
        emit DeviceArrived(strPath);
    else
        emit DeviceRemoved(strPath);
}
