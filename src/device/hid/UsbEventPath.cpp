#include "device/hid/UsbEventPath.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr unsigned kBusUsb = 3;

// A hexadecimal number of 1..nMaxDigits digits filling the whole string.
bool ParseHex(const std::string& s, unsigned nMaxDigits, unsigned& nOut) {
    if (s.empty() || s.size() > nMaxDigits)
        return false;
    unsigned n = 0;
    for (char c : s) {
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
        n = n * 16 + unsigned(std::isdigit(static_cast<unsigned char>(c))
                                  ? c - '0'
                                  : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10);
    }
    nOut = n;
    return true;
}

// "bus:vid:pid" with up to 8 digits each (HID_ID writes 4, 8 and 8).
bool ParseBusIds(const std::string& s, unsigned& nBus, unsigned& nVid, unsigned& nPid) {
    size_t n1 = s.find(':');
    size_t n2 = n1 == std::string::npos ? n1 : s.find(':', n1 + 1);
    if (n2 == std::string::npos)
        return false;
    return ParseHex(s.substr(0, n1), 8, nBus) && ParseHex(s.substr(n1 + 1, n2 - n1 - 1), 8, nVid) &&
           ParseHex(s.substr(n2 + 1), 8, nPid) && nVid <= 0xFFFF && nPid <= 0xFFFF;
}

// The HID device's directory in DEVPATH is named "BBBB:VVVV:PPPP.NNNN".
bool IdsFromDevPath(const std::string& strDevPath, unsigned& nBus, unsigned& nVid, unsigned& nPid) {
    size_t nStart = 0;
    while (nStart <= strDevPath.size()) {
        size_t nEnd = strDevPath.find('/', nStart);
        if (nEnd == std::string::npos)
            nEnd = strDevPath.size();
        std::string strPart = strDevPath.substr(nStart, nEnd - nStart);
        // Exactly "XXXX:XXXX:XXXX.XXXX"; a PCI address such as "0000:00:14.0" is not one.
        unsigned nInst = 0;
        if (strPart.size() == 19 && strPart[4] == ':' && strPart[9] == ':' && strPart[14] == '.' &&
            ParseHex(strPart.substr(15), 4, nInst) &&
            ParseBusIds(strPart.substr(0, 14), nBus, nVid, nPid))
            return true;
        nStart = nEnd + 1;
    }
    return false;
}

} // namespace

bool UsbIdsOfRecord(const CUdevRecord& rec, CUsbIds& ids) {
    unsigned nVid = 0, nPid = 0, nBus = 0;
    if (ParseHex(rec.strUsbVid, 4, nVid) && ParseHex(rec.strUsbPid, 4, nPid)) {
        // Only a USB device has idVendor and idProduct.
    } else if (ParseBusIds(rec.strHidId, nBus, nVid, nPid) ||
               IdsFromDevPath(rec.strDevPath, nBus, nVid, nPid)) {
        if (nBus != kBusUsb)
            return false;
    } else {
        return false;
    }
    ids.wVid = uint16_t(nVid);
    ids.wPid = uint16_t(nPid);
    return true;
}

std::string MakeUsbEventPath(uint16_t wVid, uint16_t wPid, const std::string& strNode) {
    char sz[64];
    std::snprintf(sz, sizeof sz, "\\\\?\\USB#VID_%04X&PID_%04X#", wVid, wPid);
    return sz + strNode + "#{a5dcbf10-6530-11d2-901f-00c04fb951ed}";
}

std::string CUsbPathCache::PathFor(const CUdevRecord& rec) {
    const bool bAdd = rec.strAction == "add";
    const bool bRemove = rec.strAction == "remove";
    if (!bAdd && !bRemove)
        return std::string();
    const std::string& strKey = rec.strSysName.empty() ? rec.strDevPath : rec.strSysName;
    CUsbIds ids;
    std::string strPath;
    if (UsbIdsOfRecord(rec, ids))
        strPath = MakeUsbEventPath(ids.wVid, ids.wPid, rec.strSysName);
    if (bAdd) {
        if (!strPath.empty() && !strKey.empty())
            m_mapNodes[strKey] = strPath;
        return strPath;
    }
    auto it = m_mapNodes.find(strKey);
    if (it != m_mapNodes.end()) {
        if (strPath.empty())
            strPath = it->second;
        m_mapNodes.erase(it);
    }
    return strPath;
}
