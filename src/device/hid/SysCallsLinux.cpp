#include <fcntl.h>
#include <libudev.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "device/hid/SysCalls.h"

namespace {

// HID_ID is "bus:vendor:product" in hexadecimal, e.g. "0003:0000258A:00001007".
bool ParseHidId(const char* psz, uint16_t& wVid, uint16_t& wPid) {
    unsigned nBus = 0, nVid = 0, nPid = 0;
    if (psz == nullptr || std::sscanf(psz, "%x:%x:%x", &nBus, &nVid, &nPid) != 3)
        return false;
    wVid = uint16_t(nVid);
    wPid = uint16_t(nPid);
    return true;
}

class CLinuxSysCalls : public ISysCalls {
public:
    std::vector<CHidrawNodeInfo> EnumerateHidraw() override {
        std::vector<CHidrawNodeInfo> vOut;
        udev* pUdev = udev_new();
        if (pUdev == nullptr)
            return vOut;
        udev_enumerate* pEnum = udev_enumerate_new(pUdev);
        udev_enumerate_add_match_subsystem(pEnum, "hidraw");
        udev_enumerate_scan_devices(pEnum);
        udev_list_entry* pEntry = nullptr;
        udev_list_entry_foreach(pEntry, udev_enumerate_get_list_entry(pEnum)) {
            udev_device* pDev =
                udev_device_new_from_syspath(pUdev, udev_list_entry_get_name(pEntry));
            if (pDev == nullptr)
                continue;
            CHidrawNodeInfo info;
            const char* pszNode = udev_device_get_devnode(pDev);
            udev_device* pHid = udev_device_get_parent_with_subsystem_devtype(pDev, "hid", nullptr);
            if (pszNode && pHid &&
                ParseHidId(udev_device_get_property_value(pHid, "HID_ID"), info.wVid, info.wPid)) {
                info.strDevNode = pszNode;
                info.strDescriptorPath =
                    std::string(udev_device_get_syspath(pHid)) + "/report_descriptor";
                udev_device* pUsb =
                    udev_device_get_parent_with_subsystem_devtype(pDev, "usb", "usb_device");
                const char* pszProduct =
                    pUsb ? udev_device_get_sysattr_value(pUsb, "product") : nullptr;
                if (pszProduct == nullptr)
                    pszProduct = udev_device_get_property_value(pHid, "HID_NAME");
                info.strProduct = pszProduct ? pszProduct : "";
                vOut.push_back(info);
            }
            udev_device_unref(pDev);
        }
        udev_enumerate_unref(pEnum);
        udev_unref(pUdev);
        return vOut;
    }
    bool ReadFile(const std::string& strPath, std::vector<uint8_t>& vOut) override {
        std::ifstream f(strPath, std::ios::binary);
        if (!f)
            return false;
        vOut.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
        return !f.bad();
    }
    int Open(const char* pszPath, int nFlags) override { return ::open(pszPath, nFlags); }
    int Close(int fd) override { return ::close(fd); }
    int Ioctl(int fd, unsigned long nRequest, void* pArg) override {
        return ::ioctl(fd, nRequest, pArg);
    }
    ssize_t Read(int fd, void* pBuf, size_t nLen) override { return ::read(fd, pBuf, nLen); }
    int Poll(struct pollfd* pFds, nfds_t nFds, int nTimeoutMs) override {
        return ::poll(pFds, nFds, nTimeoutMs);
    }
    int EventFd() override { return ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK); }
    int SignalEventFd(int fd) override {
        uint64_t n = 1;
        return ::write(fd, &n, sizeof n) == sizeof n ? 0 : -1;
    }
};

} // namespace

ISysCalls& LinuxSysCalls() {
    static CLinuxSysCalls s_calls;
    return s_calls;
}
