#include "app/presence/PresencePatterns.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

} // namespace

std::string MakeUsbPattern(int nVid, int nPid) {
    char sz[32];
    std::snprintf(sz, sizeof sz, "USB#VID_%04x&PID_%04x", unsigned(nVid) & 0xFFFF,
                  unsigned(nPid) & 0xFFFF);
    return sz;
}

CPresencePatterns::CPresencePatterns(const CGlobalVar& var) {
    const int nVid = var.Dev.Ms.VID;
    const int nPid = var.Dev.Ms.PID;
    // The two fixed products stand for every configured one of those ids.
    if (nPid != 0x1007 && nPid != 0x0028)
        m_vMouse.push_back(Lower(MakeUsbPattern(nVid, nPid)));
    m_vMouse.push_back(Lower(MakeUsbPattern(nVid, 0x1007)));
    m_vMouse.push_back(Lower(MakeUsbPattern(nVid, 0x0028)));
    m_strKb = Lower(MakeUsbPattern(var.Dev.Kb.VID, var.Dev.Kb.PID));
    m_strPad = Lower(MakeUsbPattern(var.Dev.Pad.VID, var.Dev.Pad.PID));
}

int CPresencePatterns::Family(const std::string& strPath) const {
    const std::string strLower = Lower(strPath);
    for (const std::string& s : m_vMouse)
        if (strLower.find(s) != std::string::npos)
            return FAMILY_MOUSE;
    if (strLower.find(m_strKb) != std::string::npos)
        return FAMILY_KEYBOARD;
    if (strLower.find(m_strPad) != std::string::npos)
        return FAMILY_PAD;
    return FAMILY_NONE;
}
