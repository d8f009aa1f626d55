#include "device/hid/HidLib.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <string>

#include "config/Log.h"
#include "device/hid/HidBackend.h"
#include "device/hid/HidTrace.h"

namespace {

std::string Upper(std::string s) {
    for (char& c : s)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

void Trace(const HidHandle& h, const char* pszDir, const char* pszOp, const uint8_t* p, size_t n,
           int nResult) {
    IHidTraceSink* pSink = GetHidTraceSink();
    if (pSink == nullptr)
        return;
    CHidTraceRecord rec;
    rec.strDevice = h ? h->DevicePath() : std::string();
    rec.nCollection = h ? h->CollectionIndex() : -1;
    rec.pszDirection = pszDir;
    rec.pszOperation = pszOp;
    if (p != nullptr && n > 0)
        rec.vBytes.assign(p, p + n);
    rec.nResult = nResult;
    pSink->OnReport(rec);
}

} // namespace

IHidBackend& CHidLib::Backend() {
    return m_pBackend ? *m_pBackend : GetHidBackend();
}

HidHandle CHidLib::OpenHidDevice(uint16_t wUsagePage, uint16_t wUsage, const char* pszPattern,
                                 const HidFilter& fnFilter, int, int, int nVerbose,
                                 uint32_t dwAccess, uint32_t, int* pFound) {
    if (pFound)
        *pFound = 0;
    std::string strPattern = Upper(pszPattern ? pszPattern : "");
    IHidBackend& backend = Backend();
    int nErr = ENODEV;
    for (const CHidDeviceEntry& dev : backend.Enumerate()) {
        if (Upper(dev.strPath).find(strPattern) == std::string::npos)
            continue;
        for (size_t i = 0; i < dev.vCollections.size(); ++i) {
            const CHidCollection& col = dev.vCollections[i];
            if (col.wUsagePage != wUsagePage || col.wUsage != wUsage)
                continue;
            int nAccept =
                fnFilter ? fnFilter(int(i), col.nInputLen, col.nOutputLen, col.nFeatureLen) : 1;
            if (nVerbose)
                LogPrint("OpenHidDevice: %s col %d usage %04x:%04x in=%d out=%d feature=%d %s",
                         dev.strPath.c_str(), int(i), col.wUsagePage, col.wUsage, col.nInputLen,
                         col.nOutputLen, col.nFeatureLen, nAccept ? "accepted" : "skipped");
            if (!nAccept)
                continue;
            if (pFound) {
                *pFound = 1;
                return nullptr;
            }
            HidHandle h = backend.Open(dev, i, dwAccess);
            if (h)
                return h;
            nErr = HidLastError();
        }
    }
    HidSetLastError(nErr);
    return nullptr;
}

int CHidLib::SetFeature(const HidHandle& h, const uint8_t* pBuf, size_t nLen) {
    if (!h || pBuf == nullptr || nLen == 0) {
        HidSetLastError(EINVAL);
        return 0;
    }
    int nRes = h->SetFeature(pBuf, nLen);
    Trace(h, "out", "SetFeature", pBuf, nLen, nRes);
    return nRes;
}

int CHidLib::GetFeature(const HidHandle& h, uint8_t* pBuf, size_t nLen) {
    if (!h || pBuf == nullptr || nLen == 0) {
        HidSetLastError(EINVAL);
        return 0;
    }
    int nRes = h->GetFeature(pBuf, nLen);
    Trace(h, "in", "GetFeature", nRes ? pBuf : nullptr, nRes ? nLen : 0, nRes);
    return nRes;
}

int CHidLib::GetProductString(const HidHandle& h, char* pszBuf, size_t nLen) {
    if (!h || pszBuf == nullptr || nLen == 0) {
        HidSetLastError(EINVAL);
        return 0;
    }
    std::string s = h->ProductString();
    size_t n = std::min(s.size(), nLen - 1);
    std::memcpy(pszBuf, s.data(), n);
    pszBuf[n] = 0;
    return 1;
}

int CHidLib::ReadInputReport(const HidHandle& h, uint8_t* pBuf, size_t nLen) {
    if (!h || pBuf == nullptr || nLen == 0) {
        HidSetLastError(EINVAL);
        return 0;
    }
    int nRes = h->ReadInput(pBuf, nLen);
    if (nRes >= 0)
        Trace(h, "in", "ReadInput", pBuf, size_t(nRes), nRes);
    return nRes;
}

HidFilter FeatureLenFilter(int nLen) {
    return [nLen](int, int, int, int nFeature) { return nFeature == nLen ? 1 : 0; };
}

HidFilter InputLenFilter(int nLen) {
    return [nLen](int, int nInput, int, int) { return nInput == nLen ? 1 : 0; };
}
