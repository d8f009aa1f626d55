#include "device/hid/HidrawBackend.h"

#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>

#include "config/Log.h"
#include "platform/Clock.h"

namespace {

class CHidrawHandle : public CHidHandle {
public:
    CHidrawHandle(ISysCalls& sys, int fd, int fdWake, const CHidDeviceEntry& dev, int nCol)
        : CHidHandle(dev.strPath, nCol, dev.vCollections[size_t(nCol)]), m_sys(sys), m_fd(fd),
          m_fdWake(fdWake), m_strProduct(dev.strProduct) {}
    ~CHidrawHandle() override {
        m_sys.Close(m_fd);
        if (m_fdWake >= 0)
            m_sys.Close(m_fdWake);
    }

    int SetFeature(const uint8_t* pBuf, size_t nLen) override {
        // The collection's feature length is what the device takes; callers may hand longer
        // buffers whose tail is padding, so send exactly that many bytes.
        std::vector<uint8_t> v = Fit(pBuf, nLen);
        int n = m_sys.Ioctl(m_fd, HIDIOCSFEATURE(v.size()), v.data());
        if (n < 0) {
            HidSetLastError(errno);
            return 0;
        }
        return 1;
    }

    int GetFeature(uint8_t* pBuf, size_t nLen) override {
        std::vector<uint8_t> v = Fit(pBuf, nLen);
        int n = m_sys.Ioctl(m_fd, HIDIOCGFEATURE(v.size()), v.data());
        if (n < 0) {
            HidSetLastError(errno);
            return 0;
        }
        // The kernel returns the count it copied; whatever the device did not send is zero.
        size_t nGot = std::min(size_t(n), v.size());
        std::fill(v.begin() + long(nGot), v.end(), 0);
        // Without numbered reports the kernel returns the data from byte 0; callers expect
        // the report id byte (0) in front of it.
        if (!Collection().bUsesIds) {
            v.insert(v.begin(), 0);
            v.pop_back();
        }
        std::memset(pBuf, 0, nLen);
        std::memcpy(pBuf, v.data(), std::min(nLen, v.size()));
        return 1;
    }

    int ReadInput(uint8_t* pBuf, size_t nLen) override {
        uint8_t by[4096];
        for (;;) {
            struct pollfd fds[2] = {{m_fd, POLLIN, 0}, {m_fdWake, POLLIN, 0}};
            int nPoll = m_sys.Poll(fds, 2, -1);
            if (nPoll < 0) {
                if (errno == EINTR)
                    continue;
                HidSetLastError(errno);
                return 0;
            }
            if (fds[1].revents & POLLIN)
                return -1;
            if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) {
                HidSetLastError(ENODEV);
                return 0;
            }
            if (!(fds[0].revents & POLLIN))
                continue;
            size_t nOff = Collection().bUsesIds ? 0 : 1;
            ssize_t n = m_sys.Read(m_fd, by + nOff, sizeof by - nOff);
            if (n < 0) {
                if (errno == EINTR || errno == EAGAIN)
                    continue;
                HidSetLastError(errno);
                return 0;
            }
            if (n == 0)
                continue;
            if (nOff == 0 && !Collection().OwnsInputId(by[0]))
                continue; // another collection's report on the same node
            by[0] = nOff ? 0 : by[0];
            size_t nTotal = size_t(n) + nOff;
            size_t nCopy = std::min(nTotal, nLen);
            std::memcpy(pBuf, by, nCopy);
            return int(nCopy);
        }
    }

    void CancelRead() override {
        std::lock_guard<std::mutex> lock(m_mtx);
        if (!m_bCancelled) {
            m_bCancelled = true;
            m_sys.SignalEventFd(m_fdWake);
        }
    }

    std::string ProductString() override { return m_strProduct; }

private:
    std::vector<uint8_t> Fit(const uint8_t* pBuf, size_t nLen) const {
        size_t nWant = size_t(Collection().nFeatureLen);
        if (nWant == 0)
            nWant = nLen;
        std::vector<uint8_t> v(nWant, 0);
        std::memcpy(v.data(), pBuf, std::min(nLen, nWant));
        return v;
    }

    ISysCalls& m_sys;
    int m_fd;
    int m_fdWake;
    std::string m_strProduct;
    std::mutex m_mtx;
    bool m_bCancelled = false;
};

} // namespace

bool CHidrawBackend::ReadDescriptor(const CHidrawNodeInfo& info, std::vector<uint8_t>& vDesc) {
    if (!info.strDescriptorPath.empty() && m_sys.ReadFile(info.strDescriptorPath, vDesc) &&
        !vDesc.empty())
        return true;
    // No sysfs attribute readable: ask the node itself.
    int fd = m_sys.Open(info.strDevNode.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return false;
    int nSize = 0;
    bool bOk = false;
    if (m_sys.Ioctl(fd, HIDIOCGRDESCSIZE, &nSize) >= 0 && nSize > 0 &&
        nSize <= HID_MAX_DESCRIPTOR_SIZE) {
        struct hidraw_report_descriptor rd;
        std::memset(&rd, 0, sizeof rd);
        rd.size = uint32_t(nSize);
        if (m_sys.Ioctl(fd, HIDIOCGRDESC, &rd) >= 0) {
            vDesc.assign(rd.value, rd.value + nSize);
            bOk = true;
        }
    }
    m_sys.Close(fd);
    return bOk;
}

std::vector<CHidDeviceEntry> CHidrawBackend::Enumerate() {
    std::vector<CHidDeviceEntry> vOut;
    for (const CHidrawNodeInfo& info : m_sys.EnumerateHidraw()) {
        std::vector<uint8_t> vDesc;
        if (!ReadDescriptor(info, vDesc)) {
            LogPrint("hidraw: no report descriptor for %s", info.strDevNode.c_str());
            continue;
        }
        CReportDescriptor rd = ParseReportDescriptor(vDesc.data(), vDesc.size());
        if (!rd.bOk) {
            LogPrint("hidraw: bad report descriptor of %s at byte %zu: %s", info.strDevNode.c_str(),
                     rd.nErrorOffset, rd.strError.c_str());
            continue;
        }
        CHidDeviceEntry dev;
        dev.strNode = info.strDevNode;
        dev.wVid = info.wVid;
        dev.wPid = info.wPid;
        dev.strProduct = info.strProduct;
        dev.strPath = MakeHidPath(info.wVid, info.wPid, info.strDevNode);
        dev.vCollections = std::move(rd.vCollections);
        vOut.push_back(std::move(dev));
    }
    return vOut;
}

HidHandle CHidrawBackend::Open(const CHidDeviceEntry& dev, size_t nCollection, uint32_t) {
    if (nCollection >= dev.vCollections.size()) {
        HidSetLastError(EINVAL);
        return nullptr;
    }
    int fd = -1;
    for (int nTry = 0; nTry < kOpenTries; ++nTry) {
        fd = m_sys.Open(dev.strNode.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
        if (fd >= 0 || errno != EACCES)
            break;
        if (nTry + 1 < kOpenTries)
            SleepMs(kOpenRetryMs);
    }
    if (fd < 0) {
        int nErr = errno;
        if (nErr == EACCES)
            LogPrint("hidraw: no permission to open %s; install the udev rule that "
                     "`velkinctl udev-rules` prints (e.g. into /etc/udev/rules.d/"
                     "70-velkin.rules), then run `udevadm control --reload` and replug "
                     "the device",
                     dev.strNode.c_str());
        else
            LogPrint("hidraw: open %s failed, errno=%d", dev.strNode.c_str(), nErr);
        HidSetLastError(nErr);
        return nullptr;
    }
    int fdWake = m_sys.EventFd();
    if (fdWake < 0) {
        int nErr = errno;
        m_sys.Close(fd);
        HidSetLastError(nErr);
        return nullptr;
    }
    return std::make_shared<CHidrawHandle>(m_sys, fd, fdWake, dev, int(nCollection));
}
