#pragma once
// One open top-level collection of a HID device. A hidraw node may hold several collections;
// a handle names the node and the collection, and input reads keep only the collection's
// reports. Handles are shared (the listener keeps its own reference while it reads), and
// CancelRead wakes a pending read from another thread.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "device/hid/ReportDescriptor.h"

class CHidHandle {
public:
    virtual ~CHidHandle() = default;
    // Feature reports; byte 0 is the report id. 1 on success, 0 on failure (HidLastError).
    virtual int SetFeature(const uint8_t* pBuf, size_t nLen) = 0;
    virtual int GetFeature(uint8_t* pBuf, size_t nLen) = 0;
    // Waits for the next input report of the collection and copies at most nLen bytes
    // (byte 0 = report id, 0 for a collection without ids). Returns the number of bytes,
    // 0 on failure (device gone, I/O error), -1 when the read was cancelled.
    virtual int ReadInput(uint8_t* pBuf, size_t nLen) = 0;
    // Wakes a pending read and makes every later read return -1 at once.
    virtual void CancelRead() = 0;
    virtual std::string ProductString() = 0;

    const CHidCollection& Collection() const { return m_col; }
    const std::string& DevicePath() const { return m_strPath; }
    int CollectionIndex() const { return m_nCollection; }
    // A small number printed in the log where the program prints handle values.
    uint32_t Id() const { return m_dwId; }

protected:
    CHidHandle(std::string strPath, int nCollection, CHidCollection col);

private:
    std::string m_strPath;
    int m_nCollection;
    CHidCollection m_col;
    uint32_t m_dwId;
};

using HidHandle = std::shared_ptr<CHidHandle>;

inline uint32_t HandleId(const HidHandle& h) {
    return h ? h->Id() : 0;
}

// The error of the calling thread's last failed HID operation (errno values), as the
// drivers log "err=%d" with the system error.
int HidLastError();
void HidSetLastError(int nErr);
