#pragma once
// Parser of HID report descriptors. Each top-level collection becomes one entry with its
// usage, the report ids it owns and its report lengths. Lengths are counted the way the
// Windows HID stack counts them, because the drivers pick collections by those numbers:
// the largest report of a kind in the collection plus one byte for the report id, counted
// even when the collection uses no ids; 0 when the collection has no report of that kind.
//
// Descriptors come from devices, so everything is bounds-checked; a malformed descriptor
// gives bOk == false with the reason and no collections.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct CHidCollection {
    uint16_t wUsagePage = 0;
    uint16_t wUsage = 0;
    int nInputLen = 0;
    int nOutputLen = 0;
    int nFeatureLen = 0;
    bool bUsesIds = false;           // the collection's reports carry a report id byte
    std::vector<uint8_t> vReportIds; // ids of every report of the collection, ascending
    std::vector<uint8_t> vInputIds;  // ids of its input reports, ascending

    bool OwnsInputId(uint8_t byId) const;
};

struct CReportDescriptor {
    bool bOk = false;
    std::string strError;    // why parsing failed
    size_t nErrorOffset = 0; // byte offset of the offending item
    std::vector<CHidCollection> vCollections;
};

// Hard limits that keep a hostile descriptor from costing memory or time.
constexpr size_t kMaxHidCollections = 64;
constexpr size_t kMaxHidNesting = 32;
constexpr size_t kMaxHidPushDepth = 16;
constexpr uint64_t kMaxHidReportBits = 1u << 20; // 128 KiB per report is far above any device

CReportDescriptor ParseReportDescriptor(const uint8_t* pData, size_t nLen);
