#include "device/hid/HidDrv.h"

#include <cstdio>

#include "platform/Clock.h"

CHidDrv::CHidDrv(CGlobalVar& var, CHidLib* pLib) : m_var(var), m_pLib(pLib ? pLib : &m_ownLib) {}

CHidDrv::~CHidDrv() = default;

// The library is part of the program, so loading it cannot fail.
int CHidDrv::Init(CWndTarget*) {
    return 1;
}

int CHidDrv::SetFeatureRetry(const HidHandle& h, const uint8_t* pBuf, size_t nLen) {
    for (int i = 0; i < kTries; ++i) {
        if (m_pLib->SetFeature(h, pBuf, nLen))
            return 1;
        SleepMs(kRetryPauseMs);
    }
    return 0;
}

int CHidDrv::GetFeatureRetry(const HidHandle& h, uint8_t* pBuf, size_t nLen) {
    uint8_t byId = pBuf[0];
    for (int i = 0; i < kTries; ++i) {
        pBuf[0] = byId;
        if (m_pLib->GetFeature(h, pBuf, nLen))
            return 1;
        SleepMs(kRetryPauseMs);
    }
    return 0;
}

HidHandle CHidDrv::Load(const HidHandle& h) const {
    std::lock_guard<std::mutex> lock(m_mtxHandles);
    return h;
}

void CHidDrv::Store(HidHandle& h, HidHandle hNew) {
    std::lock_guard<std::mutex> lock(m_mtxHandles);
    h = std::move(hNew);
}

void CHidDrv::Close(HidHandle& h) {
    HidHandle hOld;
    {
        std::lock_guard<std::mutex> lock(m_mtxHandles);
        hOld.swap(h);
    }
    if (hOld)
        hOld->CancelRead();
}

std::string MakeDevPattern(uint16_t wVid, uint16_t wPid, bool bUpper) {
    char sz[32];
    std::snprintf(sz, sizeof sz, bUpper ? "VID_%04X&PID_%04X" : "VID_%04x&PID_%04x", wVid, wPid);
    return sz;
}
