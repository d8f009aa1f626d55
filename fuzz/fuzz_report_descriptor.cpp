// Report descriptors come from devices. Parsing must never crash or hang, and what it
// returns must be consistent whatever the bytes are.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "device/hid/ReportDescriptor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nLen) {
    CReportDescriptor rd = ParseReportDescriptor(pData, nLen);
    if (!rd.bOk && !rd.vCollections.empty())
        std::abort();
    if (rd.vCollections.size() > kMaxHidCollections)
        std::abort();
    for (const CHidCollection& c : rd.vCollections) {
        const int nMax = int(kMaxHidReportBits / 8) + 1;
        if (c.nInputLen < 0 || c.nInputLen > nMax || c.nOutputLen < 0 || c.nOutputLen > nMax ||
            c.nFeatureLen < 0 || c.nFeatureLen > nMax)
            std::abort();
        if (c.bUsesIds == c.vReportIds.empty())
            std::abort();
        for (uint8_t byId : c.vInputIds)
            if (!c.OwnsInputId(byId) || byId == 0)
                std::abort();
    }
    return 0;
}
