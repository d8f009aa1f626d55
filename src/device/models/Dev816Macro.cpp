// The 816 keyboard's hardware macro: a big-endian repeat count and events of 2 bytes (short
// pauses) or 6 bytes (long pauses) in one 128-byte buffer.
#include <algorithm>
#include <cstring>

#include "config/KeyLayouts.h"
#include "config/Log.h"
#include "device/models/Dev816.h"
#include "device/models/VkToHid.h"

namespace {

constexpr uint8_t kRelease = 0x80;
constexpr uint32_t kShortDelayMax = 127;
constexpr uint32_t kDelayMin = 3;
// The firmware reads events only below these offsets.
constexpr size_t kShortEnd = 125;
constexpr size_t kLongEnd = 121;

// Modifiers go out as their left-hand usage, whichever side was recorded.
uint8_t MacroUsage(uint8_t byCode, int nInputMethod) {
    switch (byCode) {
    case 17:
    case 162:
    case 163:
        return 0xE0;
    case 16:
    case 160:
    case 161:
        return 0xE1;
    case 18:
    case 164:
    case 165:
        return 0xE2;
    case 91:
    case 92:
        return 0xE3;
    case 240:
    case 241:
    case 242:
        return byCode;
    default:
        return VkToHid(DeviceKeyConvert(nInputMethod, byCode));
    }
}

} // namespace

int CDev816::StMacro_To_HdMacro(const StMacro& mac, uint8_t* pOut, size_t nCap) {
    if (pOut == nullptr || nCap < size_t(KB816_MACRO_LEN))
        return 0;
    std::memset(pOut, 0, KB816_MACRO_LEN);
    const uint16_t wLoop = mac.wLoopCount ? mac.wLoopCount : 1;
    pOut[0] = uint8_t(wLoop >> 8);
    pOut[1] = uint8_t(wLoop);
    size_t n = 2;
    for (int i = 0; i < MACRO_EVENT_MAX; ++i) {
        const MacroEvent ev = mac.Events[i]; // a copy: the record is packed
        if (ev.byCode == 0 && ev.byParam == 0)
            break;
        const uint8_t byUsage = MacroUsage(ev.byCode, m_var.InputMethod);
        if (byUsage == 0) {
            LogPrint("StMacro_To_HdMacro: get wrong hid");
            continue;
        }
        // The release bit belongs to the event in both forms: without it a long pause
        // after a release would turn the release into a second press.
        const uint8_t byRelease = ev.wPress == 0 ? kRelease : 0;
        if (ev.dwDelay <= kShortDelayMax) {
            if (n + 2 > kShortEnd)
                break;
            pOut[n++] = uint8_t(byRelease | std::max(ev.dwDelay, kDelayMin));
            pOut[n++] = byUsage;
        } else {
            if (n + 6 > kLongEnd)
                break;
            const uint32_t dwHundreds = std::min<uint32_t>(ev.dwDelay / 100, 0xFFFF);
            pOut[n++] = uint8_t(byRelease | std::max(ev.dwDelay % 100, kDelayMin));
            pOut[n++] = byUsage;
            pOut[n++] = 0;
            pOut[n++] = 3;
            pOut[n++] = uint8_t(dwHundreds >> 8);
            pOut[n++] = uint8_t(dwHundreds);
        }
    }
    return int(n);
}
