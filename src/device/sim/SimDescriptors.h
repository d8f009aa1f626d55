#pragma once
// Report descriptors of the simulated devices, shaped as the real devices' are: the
// vendor collections the drivers look for, next to the standard collections a mouse,
// keyboard or receiver also carries.
#include <cstdint>
#include <vector>

enum class ESimReportKind { Input, Output, Feature };

// Appends one application collection (usage page, usage) holding one report of nBytes
// data bytes with the given id.
void AppendSimCollection(std::vector<uint8_t>& v, uint16_t wUsagePage, uint16_t wUsage,
                         uint8_t byReportId, int nBytes, ESimReportKind eKind);

std::vector<uint8_t> SimMouse8948Descriptor(bool bWithNotify);
std::vector<uint8_t> SimKb816Descriptor();
std::vector<uint8_t> SimKb901Descriptor();
std::vector<uint8_t> SimPadDescriptor();
std::vector<uint8_t> SimReceiverDescriptor();
