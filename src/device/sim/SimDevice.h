#pragma once
// Base of the simulated devices: the firmware side of one USB HID interface. A model has
// the report descriptor a real device would have, keeps what is written to it and answers
// reads as its protocol says. Tests and demos can make it fail the next transfers, vanish
// and come back, and push input reports; every report in and out is traced.
//
// All public members are thread-safe: the listener reads input while the test thread
// drives the device.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/hid/ReportDescriptor.h"

struct CSimTraceEntry {
    int nCollection = 0;
    std::string strDirection; // "out" (host to device) or "in"
    std::string strOperation; // "SetFeature", "GetFeature", "Input"
    std::vector<uint8_t> vBytes;
    int nResult = 0;
};

class CSimDevice {
public:
    CSimDevice(std::string strName, uint16_t wVid, uint16_t wPid, std::string strProduct,
               std::vector<uint8_t> vDescriptor);
    virtual ~CSimDevice() = default;
    CSimDevice(const CSimDevice&) = delete;
    CSimDevice& operator=(const CSimDevice&) = delete;

    const std::string& Name() const { return m_strName; }
    uint16_t Vid() const { return m_wVid; }
    uint16_t Pid() const { return m_wPid; }
    const std::string& Product() const { return m_strProduct; }
    const std::vector<uint8_t>& Descriptor() const { return m_vDescriptor; }
    const std::vector<CHidCollection>& Collections() const { return m_vCollections; }

    // Fault injection.
    // The next nTransfers feature transfers fail (EIO), after nSkip more that succeed.
    void FailNext(int nTransfers, int nSkip = 0);
    void Vanish(); // unplugged: gone from enumeration, open handles fail
    void Return(); // plugged in again; handles from before stay dead, as on real systems
    bool IsPresent() const;
    uint32_t Generation() const;

    std::vector<CSimTraceEntry> Trace() const;
    void ClearTrace();

    // Back-end side. nGen is the generation the handle was opened in. Feature buffers are
    // exactly the collection's feature length (byte 0 = report id). Return 1 or 0 with
    // errno-style *pErr.
    int SetFeature(int nCol, uint32_t nGen, const uint8_t* pBuf, size_t nLen, int* pErr);
    int GetFeature(int nCol, uint32_t nGen, uint8_t* pBuf, size_t nLen, int* pErr);

    // Input reports are queued per reader, like every hidraw file descriptor gets its own.
    struct CReader {
        int nCol = 0;
        uint32_t nGen = 0;
        bool bCancelled = false;
        std::deque<std::vector<uint8_t>> q;
    };
    std::shared_ptr<CReader> AddReader(int nCol, uint32_t nGen);
    void RemoveReader(const std::shared_ptr<CReader>& pReader);
    // Bytes copied, 0 with *pErr (device gone), -1 when cancelled.
    int Read(CReader& reader, uint8_t* pBuf, size_t nLen, int* pErr);
    void Cancel(CReader& reader);

protected:
    // Model hooks, called with m_mtx held. pBuf holds the whole report of the collection's
    // feature length. Return false to fail the transfer (EPIPE, as a stalled endpoint).
    virtual bool OnSetFeature(int nCol, const uint8_t* pBuf, size_t nLen) = 0;
    virtual bool OnGetFeature(int nCol, uint8_t* pBuf, size_t nLen) = 0;
    // Queues an input report on the collection (m_mtx held).
    void EmitLocked(int nCol, std::vector<uint8_t> vReport);
    void Emit(int nCol, std::vector<uint8_t> vReport);

    mutable std::mutex m_mtx;

private:
    bool CheckTransfer(int nCol, uint32_t nGen, const uint8_t* pBuf, size_t nLen, bool bSet,
                       int* pErr);
    void TraceLocked(int nCol, const char* pszDir, const char* pszOp, const uint8_t* p, size_t n,
                     int nResult);

    std::string m_strName;
    uint16_t m_wVid, m_wPid;
    std::string m_strProduct;
    std::vector<uint8_t> m_vDescriptor;
    std::vector<CHidCollection> m_vCollections;
    int m_nFailNext = 0;
    int m_nFailSkip = 0;
    bool m_bPresent = true;
    uint32_t m_nGen = 1;
    std::vector<CSimTraceEntry> m_vTrace;
    std::list<std::shared_ptr<CReader>> m_lReaders;
    std::condition_variable m_cv;
};

using SimDevicePtr = std::shared_ptr<CSimDevice>;
