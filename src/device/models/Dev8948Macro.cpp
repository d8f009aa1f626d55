// Hardware macros of the 8948 family: a big-endian event count, then 3-byte events
// (type << 4 | delay bits 8..11 with bit 7 for a release, delay bits 0..7, value).
#include <cstring>

#include "config/KeyLayouts.h"
#include "config/Log.h"
#include "device/models/Dev8948.h"
#include "device/models/VkToHid.h"

namespace {

constexpr int kTypeButton = 1, kTypeMoveX = 2, kTypeMoveY = 3, kTypeWheel = 4, kTypeKey = 5,
              kTypeMod = 6;
constexpr size_t kMacroFull = 506;    // ordinary macros: events are added below this
constexpr uint32_t kDelayMax = 0xFFF; // 12 bits; longer pauses are held at the maximum

struct CEventKind {
    int nType = 0;
    uint8_t byValue = 0;
    bool bOk = true; // false: no usage or a zero amount
};

// Type and value of a key, modifier or mouse-button code.
CEventKind KeyKind(uint8_t byCode, int nIme) {
    static const uint8_t kButtonBits[5] = {1, 2, 4, 8, 0x10}; // 240..244
    switch (byCode) {
    case 16:
    case 160:
    case 161:
        return {kTypeMod, 2};
    case 17:
    case 162:
    case 163:
        return {kTypeMod, 1};
    case 18:
    case 164:
    case 165:
        return {kTypeMod, 4};
    case 91:
    case 92:
        return {kTypeMod, 8};
    default:
        break;
    }
    if (byCode >= 240 && byCode <= 244)
        return {kTypeButton, kButtonBits[byCode - 240]};
    const uint8_t byUsage = VkToHid(DeviceKeyConvert(nIme, byCode));
    return {kTypeKey, byUsage, byUsage != 0};
}

CEventKind Amount(int nType, int nAmount) {
    return {nType, uint8_t(nAmount), nAmount != 0};
}

class CHdWriter {
public:
    CHdWriter(uint8_t* pOut, size_t nCap) : m_pOut(pOut), m_nCap(nCap) {
        if (m_nCap >= 2)
            std::memset(m_pOut, 0, 2);
    }
    size_t Used() const { return m_nUsed; }
    // Adds an event; false when it does not fit the buffer.
    bool Add(uint8_t by0, uint8_t by1, uint8_t by2) {
        if (m_nUsed + 3 > m_nCap)
            return false;
        m_pOut[m_nUsed] = by0;
        m_pOut[m_nUsed + 1] = by1;
        m_pOut[m_nUsed + 2] = by2;
        m_nUsed += 3;
        ++m_nEvents;
        return true;
    }
    uint8_t* Last() { return m_nEvents ? m_pOut + m_nUsed - 3 : nullptr; }
    int Finish() {
        if (m_nCap < 2)
            return 0;
        m_pOut[0] = uint8_t(m_nEvents >> 8);
        m_pOut[1] = uint8_t(m_nEvents);
        return int(m_nUsed);
    }

private:
    uint8_t* m_pOut;
    size_t m_nCap;
    size_t m_nUsed = 2;
    int m_nEvents = 0;
};

uint8_t Head(int nType, uint32_t dwTime, bool bRelease) {
    return uint8_t(nType << 4 | ((dwTime >> 8) & 15) | (bRelease ? 0x80 : 0));
}

uint32_t Clamp12(uint32_t dw) {
    return dw > kDelayMax ? kDelayMax : dw;
}

} // namespace

int CDev8948::StMacro_To_HdMacro(const StMacro& mac, uint8_t* pOut, size_t nCap) {
    CHdWriter w(pOut, nCap);
    for (int i = 0; i < MACRO_EVENT_MAX && w.Used() < kMacroFull; ++i) {
        const MacroEvent ev = mac.Events[i];
        const uint32_t dwDelay = ev.dwDelay;
        if (ev.byCode == 0 && dwDelay == 0)
            break;
        CEventKind k;
        switch (ev.byCode) {
        case 245:
            k = Amount(kTypeWheel, ev.byParam);
            break;
        case 246:
            k = Amount(kTypeWheel, -int(ev.byParam));
            break;
        case 248:
            k = Amount(kTypeMoveY, ev.byParam);
            break;
        case 247:
            k = Amount(kTypeMoveY, -int(ev.byParam));
            break;
        case 250:
            k = Amount(kTypeMoveX, ev.byParam);
            break;
        case 249:
            k = Amount(kTypeMoveX, -int(ev.byParam));
            break;
        default:
            k = KeyKind(ev.byCode, m_var.InputMethod);
            break;
        }
        if (!k.bOk) {
            LogPrint("StMacro_To_HdMacro: get wrong hid");
            k.byValue = 0;
        }
        const bool bRelease =
            (k.nType == kTypeButton || k.nType == kTypeKey || k.nType == kTypeMod) &&
            ev.wPress == 0;
        const uint32_t dwTime = Clamp12(dwDelay);
        uint8_t byLow = uint8_t(dwTime);
        if (byLow == 0)
            byLow = 1;
        if (!w.Add(Head(k.nType, dwTime, bRelease), byLow, k.byValue))
            break;
    }
    return w.Finish();
}

int CDev8948::BulletToHdMacro(const StMacro& mac, uint8_t* pOut, size_t nCap) const {
    constexpr size_t kSingleMax = 503, kPairMax = 500;
    CHdWriter w(pOut, nCap);
    for (int i = 0; i < MACRO_EVENT_MAX; ++i) {
        const MacroEvent ev = mac.Events[i];
        const uint32_t dwDelay = ev.dwDelay;
        const uint16_t wPress = ev.wPress;
        const uint32_t dwTime = Clamp12(dwDelay);
        if (ev.byCode == 0) {
            if (dwDelay == 0)
                break;
            LogPrint("StMacro_To_HdMacro: get wrong hid");
            continue;
        }
        // Events of one entry: up to two.
        uint8_t by[2][3];
        int n = 0;
        if (ev.byCode == 252) {
            const uint8_t byX = uint8_t(wPress), byY = uint8_t(wPress >> 8);
            if (byX != 0) {
                const uint32_t dwT = byY != 0 ? 0 : dwTime;
                by[n][0] = Head(kTypeMoveX, dwT, false);
                by[n][1] = uint8_t(dwT);
                by[n++][2] = byX;
            }
            if (byY != 0) {
                by[n][0] = Head(kTypeMoveY, dwTime, false);
                by[n][1] = uint8_t(dwTime);
                by[n++][2] = byY;
            }
            if (n == 0 && dwTime != 0) {
                by[n][0] = Head(kTypeMoveX, dwTime, false);
                by[n][1] = uint8_t(dwTime);
                by[n++][2] = 0;
            }
        } else if (ev.byCode == 245 || ev.byCode == 246) {
            // The notches are in the low byte of wPress; wheel down turns the other way,
            // as in ordinary macros.
            const uint8_t byNotches = uint8_t(wPress);
            if (byNotches != 0) {
                by[n][0] = Head(kTypeWheel, dwTime, false);
                by[n][1] = uint8_t(dwTime);
                by[n++][2] = ev.byCode == 245 ? byNotches : uint8_t(-int(byNotches));
            }
        } else {
            CEventKind k = KeyKind(ev.byCode, m_var.InputMethod);
            if (!k.bOk) {
                LogPrint("StMacro_To_HdMacro: get wrong hid");
                k.byValue = 0;
            }
            if (ev.byParam != 0) {
                by[n][0] = Head(k.nType, dwTime, wPress == 0);
                by[n][1] = uint8_t(dwTime);
                by[n++][2] = k.byValue;
            } else if (wPress == 0) {
                by[n][0] = uint8_t(k.nType << 4);
                by[n][1] = uint8_t(dwTime);
                by[n++][2] = k.byValue;
            } else {
                const uint32_t dwHold = Clamp12(wPress);
                by[n][0] = Head(k.nType, dwHold, false);
                by[n][1] = uint8_t(dwHold);
                by[n++][2] = k.byValue;
                by[n][0] = Head(k.nType, dwTime, true);
                by[n][1] = uint8_t(dwTime);
                by[n++][2] = k.byValue;
            }
        }
        if (n == 0)
            continue;
        if (w.Used() > (n == 2 ? kPairMax : kSingleMax))
            break;
        bool bFit = true;
        for (int j = 0; j < n && bFit; ++j)
            bFit = w.Add(by[j][0], by[j][1], by[j][2]);
        if (!bFit)
            break;
    }
    // The last event never goes out with a zero time.
    if (uint8_t* pLast = w.Last(); pLast && pLast[1] == 0)
        pLast[1] = 1;
    return w.Finish();
}
