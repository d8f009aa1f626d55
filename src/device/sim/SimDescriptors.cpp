#include "device/sim/SimDescriptors.h"

namespace {

// A pointer collection with buttons, X/Y and a wheel (report id 1), as the mouse
// interface of a gaming mouse has it.
const uint8_t kMouseCollection[] = {
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x85, 0x01, 0x09, 0x01, 0xA1, 0x00, 0x05, 0x09,
    0x19, 0x01, 0x29, 0x05, 0x15, 0x00, 0x25, 0x01, 0x95, 0x05, 0x75, 0x01, 0x81, 0x02,
    0x95, 0x01, 0x75, 0x03, 0x81, 0x01, 0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x16, 0x01,
    0x80, 0x26, 0xFF, 0x7F, 0x75, 0x10, 0x95, 0x02, 0x81, 0x06, 0x09, 0x38, 0x15, 0x81,
    0x25, 0x7F, 0x75, 0x08, 0x95, 0x01, 0x81, 0x06, 0xC0, 0xC0};

void Append(std::vector<uint8_t>& v, std::initializer_list<uint8_t> il) {
    v.insert(v.end(), il.begin(), il.end());
}

} // namespace

void AppendSimCollection(std::vector<uint8_t>& v, uint16_t wUsagePage, uint16_t wUsage,
                         uint8_t byReportId, int nBytes, ESimReportKind eKind) {
    if (wUsagePage > 0xFF)
        Append(v, {0x06, uint8_t(wUsagePage), uint8_t(wUsagePage >> 8)});
    else
        Append(v, {0x05, uint8_t(wUsagePage)});
    Append(v, {0x09, uint8_t(wUsage), 0xA1, 0x01, 0x85, byReportId, 0x15, 0x00, 0x26, 0xFF, 0x00,
               0x75, 0x08});
    if (nBytes > 255)
        Append(v, {0x96, uint8_t(nBytes), uint8_t(nBytes >> 8)});
    else
        Append(v, {0x95, uint8_t(nBytes)});
    Append(v, {0x09, uint8_t(wUsage)});
    uint8_t byMain = eKind == ESimReportKind::Input    ? 0x81
                     : eKind == ESimReportKind::Output ? 0x91
                                                       : 0xB1;
    Append(v, {byMain, 0x02, 0xC0});
}

std::vector<uint8_t> SimMouse8948Descriptor(bool bWithNotify) {
    std::vector<uint8_t> v(std::begin(kMouseCollection), std::end(kMouseCollection));
    AppendSimCollection(v, 0xFF00, 1, 5, 5, ESimReportKind::Feature);
    AppendSimCollection(v, 0xFF00, 1, 4, 519, ESimReportKind::Feature);
    if (bWithNotify)
        AppendSimCollection(v, 0xFF00, 1, 7, 7, ESimReportKind::Input);
    return v;
}

std::vector<uint8_t> SimKb816Descriptor() {
    std::vector<uint8_t> v;
    AppendSimCollection(v, 0xFF00, 1, 6, 1031, ESimReportKind::Feature);
    AppendSimCollection(v, 0xFF00, 1, 5, 5, ESimReportKind::Feature);
    return v;
}

std::vector<uint8_t> SimKb901Descriptor() {
    std::vector<uint8_t> v;
    AppendSimCollection(v, 0xFF00, 1, 9, 504, ESimReportKind::Feature);
    return v;
}

std::vector<uint8_t> SimPadDescriptor() {
    std::vector<uint8_t> v;
    AppendSimCollection(v, 0xFF00, 1, 0x30, 26, ESimReportKind::Feature);
    return v;
}

std::vector<uint8_t> SimReceiverDescriptor() {
    std::vector<uint8_t> v;
    // Consumer control: 16-bit usage array in report 2.
    Append(v, {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x02, 0x19, 0x00, 0x2A, 0xFF, 0x3F,
               0x15, 0x00, 0x26, 0xFF, 0x3F, 0x75, 0x10, 0x95, 0x01, 0x81, 0x00, 0xC0});
    return v;
}
