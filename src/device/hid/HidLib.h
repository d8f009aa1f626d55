#pragma once
// The HID access library: the operations the drivers use to open a device's collection and
// exchange reports with it. It works on the back-end chosen at start (HidBackend.h).
#include <cstddef>
#include <cstdint>
#include <functional>

#include "device/hid/HidHandle.h"

// Called once per collection that matches pattern, usage page and usage, with
// (collection index, input length, output length, feature length); non-zero accepts it.
using HidFilter = std::function<int(int, int, int, int)>;

constexpr uint32_t kHidAccessNone = 0;
constexpr uint32_t kHidAccessNotify = 0x12019F;
constexpr uint32_t kHidAccessReadWrite = 0xC0000000;
constexpr uint32_t kHidFlagOverlapped = 0x40000000;

class IHidBackend;

class CHidLib {
public:
    // Uses the back-end installed when each call runs (GetHidBackend) unless one is given.
    explicit CHidLib(IHidBackend* pBackend = nullptr) : m_pBackend(pBackend) {}

    // Opens the first accepted collection of a device whose path contains pszPattern
    // (case-insensitive) with the given usage page and usage. With pFound set, only reports
    // in *pFound whether an accepted collection exists and opens nothing. nVerbose logs
    // every candidate. dwAccess and dwFlags are kept for the callers' sake; every handle can
    // read input and exchange feature reports.
    HidHandle OpenHidDevice(uint16_t wUsagePage, uint16_t wUsage, const char* pszPattern,
                            const HidFilter& fnFilter, int nReserved1, int nReserved2, int nVerbose,
                            uint32_t dwAccess, uint32_t dwFlags, int* pFound);
    int SetFeature(const HidHandle& h, const uint8_t* pBuf, size_t nLen);
    int GetFeature(const HidHandle& h, uint8_t* pBuf, size_t nLen);
    // UTF-8 product string, cut to fit nLen bytes including the terminator.
    int GetProductString(const HidHandle& h, char* pszBuf, size_t nLen);
    // Blocks until an input report of the collection arrives: bytes read, 0 on failure,
    // -1 when cancelled.
    int ReadInputReport(const HidHandle& h, uint8_t* pBuf, size_t nLen);

private:
    IHidBackend& Backend();
    IHidBackend* m_pBackend;
};

// A filter accepting collections whose feature (or input) report length is nLen.
HidFilter FeatureLenFilter(int nLen);
HidFilter InputLenFilter(int nLen);
