#include "device/models/Bullet.h"

#include <algorithm>
#include <cstring>

void NormaliseBulletRequest(BulletRequest& req) {
    if (req.nHoldMs < 1)
        req.nHoldMs = 10;
    if (req.nDelayMs < 1)
        req.nDelayMs = 10;
    if (req.nPull < 0)
        req.nPull = 10;
}

std::u16string BulletBaseName(const std::u16string& strName) {
    const size_t n = strName.rfind(u'.');
    return n == std::u16string::npos ? strName : strName.substr(0, n);
}

int MakeBullet(const BulletRequest& req, const std::u16string& strName, uint32_t dwId,
               StMacro& out) {
    std::memset(&out, 0, sizeof out);
    out.dwMagic = MACRO_MAGIC;
    out.dwId = dwId;
    out.bAutoDelay = BULLET_FIRE_BUTTON;
    out.nLoopMode = 0;
    out.wLoopCount = 1;
    out.byBufferId = 0;
    out.byKind = 0;
    const size_t nName = std::min(strName.size(), size_t(MACRO_NAME_LEN - 1));
    std::copy(strName.begin(), strName.begin() + long(nName), out.szName);

    // A pull past the signed byte would wrap into an upward movement.
    const uint8_t byPull = uint8_t(std::clamp(req.nPull, 0, 127));
    const uint16_t wHold = uint16_t(std::clamp(req.nHoldMs, 0, 0xFFFF));
    const uint32_t dwDelay = uint32_t(std::max(req.nDelayMs, 0));
    int n = 0;
    for (int j = 0; j < req.nShots && n < BULLET_EVENT_LIMIT; ++j) {
        if (!req.bContinuous || j == 0) {
            MacroEvent& e = out.Events[n++];
            e.byCode = uint8_t(BULLET_FIRE_BUTTON);
            e.byParam = 0;
            e.wPress = req.bContinuous ? 0 : wHold;
            e.dwDelay = BULLET_FIRE_DELAY_MS;
            if (n >= BULLET_EVENT_LIMIT)
                break;
        }
        MacroEvent& e = out.Events[n++];
        e.byCode = BULLET_CODE_MOVE;
        e.byParam = 0;
        e.wPress = uint16_t(byPull << 8); // X 0 in the low byte, Y in the high byte
        e.dwDelay = dwDelay;
    }
    return n;
}
