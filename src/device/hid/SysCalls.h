#pragma once
// Every system call of the hidraw back-end goes through this seam, so the back-end can be
// tested with recorded descriptors and replies on machines without hidraw nodes.
// Calls return what the system call returns and set errno the same way.
#include <poll.h>
#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

struct CHidrawNodeInfo {
    std::string strDevNode;        // /dev/hidrawN
    std::string strDescriptorPath; // sysfs report_descriptor of the HID device, or empty
    uint16_t wVid = 0;
    uint16_t wPid = 0;
    std::string strProduct; // USB product string, or the HID name when there is none
};

class ISysCalls {
public:
    virtual ~ISysCalls() = default;
    virtual std::vector<CHidrawNodeInfo> EnumerateHidraw() = 0;
    // Whole file (sysfs attributes are small); false when it cannot be read.
    virtual bool ReadFile(const std::string& strPath, std::vector<uint8_t>& vOut) = 0;
    virtual int Open(const char* pszPath, int nFlags) = 0;
    virtual int Close(int fd) = 0;
    virtual int Ioctl(int fd, unsigned long nRequest, void* pArg) = 0;
    virtual ssize_t Read(int fd, void* pBuf, size_t nLen) = 0;
    virtual int Poll(struct pollfd* pFds, nfds_t nFds, int nTimeoutMs) = 0;
    // An eventfd used to wake a pending poll; Signal makes it readable for good.
    virtual int EventFd() = 0;
    virtual int SignalEventFd(int fd) = 0;
};

// The real system calls, enumeration through libudev.
ISysCalls& LinuxSysCalls();
