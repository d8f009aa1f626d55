#include "device/hid/ReportDescriptor.h"

#include <algorithm>
#include <map>
#include <utility>

bool CHidCollection::OwnsInputId(uint8_t byId) const {
    return std::binary_search(vInputIds.begin(), vInputIds.end(), byId);
}

namespace {

enum EReportKind { kInput = 0, kOutput = 1, kFeature = 2 };

struct CGlobalState {
    uint32_t dwUsagePage = 0;
    uint32_t dwReportSize = 0;
    uint32_t dwReportCount = 0;
    uint32_t dwReportId = 0;
};

struct CCollectionBuilder {
    CHidCollection col;
    // Bits per (kind, report id), accumulated over the collection's main items.
    std::map<std::pair<int, uint32_t>, uint64_t> mapBits;
};

uint32_t ItemValue(const uint8_t* p, size_t nSize) {
    uint32_t v = 0;
    for (size_t i = 0; i < nSize; ++i)
        v |= uint32_t(p[i]) << (8 * i);
    return v;
}

void Finish(CCollectionBuilder& b) {
    int nMax[3] = {0, 0, 0};
    bool bAny[3] = {false, false, false};
    for (const auto& [key, bits] : b.mapBits) {
        int nBytes = int((bits + 7) / 8);
        bAny[key.first] = true;
        nMax[key.first] = std::max(nMax[key.first], nBytes);
        if (key.second != 0) {
            b.col.bUsesIds = true;
            b.col.vReportIds.push_back(uint8_t(key.second));
            if (key.first == kInput)
                b.col.vInputIds.push_back(uint8_t(key.second));
        }
    }
    std::sort(b.col.vReportIds.begin(), b.col.vReportIds.end());
    b.col.vReportIds.erase(std::unique(b.col.vReportIds.begin(), b.col.vReportIds.end()),
                           b.col.vReportIds.end());
    std::sort(b.col.vInputIds.begin(), b.col.vInputIds.end());
    b.col.vInputIds.erase(std::unique(b.col.vInputIds.begin(), b.col.vInputIds.end()),
                          b.col.vInputIds.end());
    b.col.nInputLen = bAny[kInput] ? nMax[kInput] + 1 : 0;
    b.col.nOutputLen = bAny[kOutput] ? nMax[kOutput] + 1 : 0;
    b.col.nFeatureLen = bAny[kFeature] ? nMax[kFeature] + 1 : 0;
}

} // namespace

CReportDescriptor ParseReportDescriptor(const uint8_t* pData, size_t nLen) {
    CReportDescriptor res;
    auto fail = [&](const char* pszWhy, size_t nOffset) {
        res.bOk = false;
        res.strError = pszWhy;
        res.nErrorOffset = nOffset;
        res.vCollections.clear();
        return res;
    };
    if (pData == nullptr && nLen != 0)
        return fail("no data", 0);

    CGlobalState g;
    std::vector<CGlobalState> vStack;
    std::vector<uint32_t> vLocalUsages; // extended usages (page << 16 | usage)
    bool bHaveUsageMin = false;
    uint32_t dwUsageMin = 0;
    size_t nDepth = 0;
    CCollectionBuilder cur;
    std::vector<CHidCollection> vOut;

    auto extend = [&](uint32_t v, size_t nSize) {
        return nSize == 4 ? v : ((g.dwUsagePage & 0xFFFF) << 16) | (v & 0xFFFF);
    };

    size_t i = 0;
    while (i < nLen) {
        size_t nItem = i;
        uint8_t byPrefix = pData[i];
        if (byPrefix == 0xFE) {
            // Long item: prefix, data size, tag, data. No long item tags are defined; skip.
            if (nLen - i < 3)
                return fail("truncated long item", nItem);
            size_t nData = pData[i + 1];
            if (nLen - i - 3 < nData)
                return fail("truncated long item data", nItem);
            i += 3 + nData;
            continue;
        }
        static const size_t kSizes[4] = {0, 1, 2, 4};
        size_t nSize = kSizes[byPrefix & 3];
        int nType = (byPrefix >> 2) & 3;
        int nTag = byPrefix >> 4;
        if (nLen - i - 1 < nSize)
            return fail("truncated item", nItem);
        uint32_t v = ItemValue(pData + i + 1, nSize);
        i += 1 + nSize;

        if (nType == 0) { // main
            switch (nTag) {
            case 0x8:
            case 0x9:
            case 0xB: {
                if (nDepth > 0) {
                    int nKind = nTag == 0x8 ? kInput : nTag == 0x9 ? kOutput : kFeature;
                    uint64_t nBits = uint64_t(g.dwReportSize) * g.dwReportCount;
                    uint64_t& acc = cur.mapBits[{nKind, g.dwReportId}];
                    acc += nBits;
                    if (nBits > kMaxHidReportBits || acc > kMaxHidReportBits)
                        return fail("report too long", nItem);
                }
                // Main items outside any collection belong to no collection; ignored.
                break;
            }
            case 0xA: {
                if (nDepth >= kMaxHidNesting)
                    return fail("collections nested too deep", nItem);
                if (nDepth == 0) {
                    if (vOut.size() >= kMaxHidCollections)
                        return fail("too many collections", nItem);
                    cur = CCollectionBuilder();
                    uint32_t dwUsage = !vLocalUsages.empty() ? vLocalUsages.front()
                                       : bHaveUsageMin       ? dwUsageMin
                                                             : extend(0, 0);
                    cur.col.wUsagePage = uint16_t(dwUsage >> 16);
                    cur.col.wUsage = uint16_t(dwUsage & 0xFFFF);
                }
                ++nDepth;
                break;
            }
            case 0xC:
                if (nDepth == 0)
                    return fail("end collection without collection", nItem);
                if (--nDepth == 0) {
                    Finish(cur);
                    vOut.push_back(std::move(cur.col));
                    cur = CCollectionBuilder();
                }
                break;
            default:
                break; // reserved main tags carry nothing we count
            }
            vLocalUsages.clear();
            bHaveUsageMin = false;
        } else if (nType == 1) { // global
            switch (nTag) {
            case 0x0:
                g.dwUsagePage = v;
                break;
            case 0x7:
                g.dwReportSize = v;
                break;
            case 0x8:
                if (v == 0 || v > 255)
                    return fail("invalid report id", nItem);
                g.dwReportId = v;
                break;
            case 0x9:
                g.dwReportCount = v;
                break;
            case 0xA:
                if (vStack.size() >= kMaxHidPushDepth)
                    return fail("push too deep", nItem);
                vStack.push_back(g);
                break;
            case 0xB:
                if (vStack.empty())
                    return fail("pop without push", nItem);
                g = vStack.back();
                vStack.pop_back();
                break;
            default:
                break; // logical/physical ranges and units do not change lengths
            }
        } else if (nType == 2) { // local
            if (nTag == 0x0) {
                if (vLocalUsages.size() < 1024)
                    vLocalUsages.push_back(extend(v, nSize));
            } else if (nTag == 0x1) {
                bHaveUsageMin = true;
                dwUsageMin = extend(v, nSize);
            }
        }
        // Type 3 is reserved: skipped with its data.
    }
    if (nDepth != 0)
        return fail("unterminated collection", nLen);
    res.bOk = true;
    res.vCollections = std::move(vOut);
    return res;
}
