#pragma once
// Which configured family a USB device path belongs to. Paths carry
// "USB#VID_xxxx&PID_xxxx"; the patterns are formed from the configured ids and compared
// case-insensitively.
#include <string>
#include <vector>

#include "session/Session.h"
#include "config/GlobalVar.h"

class CPresencePatterns {
public:
    explicit CPresencePatterns(const CGlobalVar& var);
    // FAMILY_MOUSE, FAMILY_KEYBOARD (also the companion keyboard), FAMILY_PAD or FAMILY_NONE;
    // the mouse patterns are tried first, then the keyboard's, then the pad's.
    int Family(const std::string& strPath) const;
    const std::vector<std::string>& Mouse() const { return m_vMouse; }
    const std::string& Keyboard() const { return m_strKb; }
    const std::string& Pad() const { return m_strPad; }

private:
    std::vector<std::string> m_vMouse;
    std::string m_strKb;
    std::string m_strPad;
};

// "USB#VID_%04x&PID_%04x" with the ids.
std::string MakeUsbPattern(int nVid, int nPid);
