#pragma once
// Base of the protocol drivers. A driver owns the connection to one device: it finds the
// device by vendor and product id, opens its vendor collections, keeps their handles and
// closes them again. Device models hold one driver each and call its family protocol.
//
// Handle members are written by the window thread (discovery, removal) and read by the
// apply thread and the mouse listener, so they are only touched under m_mtxHandles;
// operations work on a copy of the handle, which keeps the device open until they return.
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>

#include "config/GlobalVar.h"
#include "device/hid/HidLib.h"

class CWndTarget;

class CHidDrv {
public:
    // The driver reads its ids and options from var (gVar in the program) and reaches
    // devices through pLib (a library on the installed back-end when null).
    explicit CHidDrv(CGlobalVar& var, CHidLib* pLib = nullptr);
    CHidDrv(const CHidDrv&) = delete;
    CHidDrv& operator=(const CHidDrv&) = delete;

    // Slot order of the original driver table; subclasses override as their family needs.
    virtual ~CHidDrv();
    virtual int FindDev() { return 1; }
    virtual int IsPresent() { return 0; }
    virtual int Init(CWndTarget* pWnd);
    virtual int Shutdown() { return 1; }
    virtual HidHandle GetHandle() { return nullptr; }
    virtual void ClearHandle() {}
    virtual int SetMode(int) { return 1; }

    CHidLib& Lib() { return *m_pLib; }

    static constexpr int kTries = 3;
    static constexpr uint32_t kRetryPauseMs = 200;

protected:
    // Feature transfers with the retry rule: up to kTries attempts, kRetryPauseMs after each
    // failed one. The report id in byte 0 is restored before every read attempt.
    int SetFeatureRetry(const HidHandle& h, const uint8_t* pBuf, size_t nLen);
    int GetFeatureRetry(const HidHandle& h, uint8_t* pBuf, size_t nLen);

    HidHandle Load(const HidHandle& h) const;
    void Store(HidHandle& h, HidHandle hNew);
    // Closes a handle member: cancels a pending read on it and drops the reference.
    void Close(HidHandle& h);

    CGlobalVar& m_var;
    CHidLib* m_pLib;
    mutable std::mutex m_mtxHandles;

private:
    CHidLib m_ownLib;
};

// "VID_%04X&PID_%04X" (upper) or "VID_%04x&PID_%04x" (lower) filled with the ids.
std::string MakeDevPattern(uint16_t wVid, uint16_t wPid, bool bUpper);
