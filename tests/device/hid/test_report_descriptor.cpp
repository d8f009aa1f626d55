// Report descriptor parsing over the shapes real devices have. Expected lengths are
// counted by hand from the items (largest report + 1 id byte).
#include <gtest/gtest.h>

#include <vector>

#include "device/hid/ReportDescriptor.h"
#include "device/sim/SimDescriptors.h"

namespace {

CReportDescriptor Parse(const std::vector<uint8_t>& v) {
    return ParseReportDescriptor(v.data(), v.size());
}

// Boot mouse without report ids: 3 buttons + 5 padding bits + X + Y = 3 bytes.
const std::vector<uint8_t> kBootMouse = {
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00, 0x05, 0x09, 0x19,
    0x01, 0x29, 0x03, 0x15, 0x00, 0x25, 0x01, 0x95, 0x03, 0x75, 0x01, 0x81, 0x02,
    0x95, 0x01, 0x75, 0x05, 0x81, 0x01, 0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x15,
    0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x02, 0x81, 0x06, 0xC0, 0xC0};

// Keyboard (id 1: 8 modifier bits, reserved byte, 6 keys; 5 LED bits + 3 padding out),
// consumer control (id 2, one 16-bit usage) and one vendor collection holding two feature
// reports (id 5 with 5 bytes, id 6 with 1031 bytes).
const std::vector<uint8_t> kComposite = {
    // keyboard
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x85, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00,
    0x25, 0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x95, 0x01, 0x75, 0x08, 0x81, 0x01, 0x95, 0x05,
    0x75, 0x01, 0x05, 0x08, 0x19, 0x01, 0x29, 0x05, 0x91, 0x02, 0x95, 0x01, 0x75, 0x03, 0x91, 0x01,
    0x95, 0x06, 0x75, 0x08, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x05, 0x07, 0x19, 0x00, 0x2A, 0xFF, 0x00,
    0x81, 0x00, 0xC0,
    // consumer
    0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x02, 0x19, 0x00, 0x2A, 0x3C, 0x02, 0x15, 0x00, 0x26,
    0x3C, 0x02, 0x95, 0x01, 0x75, 0x10, 0x81, 0x00, 0xC0,
    // vendor, two feature reports
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x85, 0x05,
    0x95, 0x05, 0x09, 0x01, 0xB1, 0x02, 0x85, 0x06, 0x96, 0x07, 0x04, 0x09, 0x01, 0xB1, 0x02, 0xC0};

TEST(ReportDescriptor, BootMouseWithoutIdsCountsTheIdByte) {
    CReportDescriptor rd = Parse(kBootMouse);
    ASSERT_TRUE(rd.bOk) << rd.strError;
    ASSERT_EQ(rd.vCollections.size(), 1u);
    const CHidCollection& c = rd.vCollections[0];
    EXPECT_EQ(c.wUsagePage, 0x01);
    EXPECT_EQ(c.wUsage, 0x02);
    EXPECT_EQ(c.nInputLen, 4);
    EXPECT_EQ(c.nOutputLen, 0);
    EXPECT_EQ(c.nFeatureLen, 0);
    EXPECT_FALSE(c.bUsesIds);
    EXPECT_TRUE(c.vReportIds.empty());
}

TEST(ReportDescriptor, CompositeDeviceSplitsIntoTopLevelCollections) {
    CReportDescriptor rd = Parse(kComposite);
    ASSERT_TRUE(rd.bOk) << rd.strError;
    ASSERT_EQ(rd.vCollections.size(), 3u);

    const CHidCollection& kb = rd.vCollections[0];
    EXPECT_EQ(kb.wUsagePage, 0x01);
    EXPECT_EQ(kb.wUsage, 0x06);
    EXPECT_EQ(kb.nInputLen, 9);
    EXPECT_EQ(kb.nOutputLen, 2);
    EXPECT_EQ(kb.nFeatureLen, 0);
    EXPECT_EQ(kb.vReportIds, std::vector<uint8_t>({1}));

    const CHidCollection& cc = rd.vCollections[1];
    EXPECT_EQ(cc.wUsagePage, 0x0C);
    EXPECT_EQ(cc.wUsage, 0x01);
    EXPECT_EQ(cc.nInputLen, 3);
    EXPECT_TRUE(cc.OwnsInputId(2));
    EXPECT_FALSE(cc.OwnsInputId(1));

    const CHidCollection& ven = rd.vCollections[2];
    EXPECT_EQ(ven.wUsagePage, 0xFF00);
    EXPECT_EQ(ven.wUsage, 0x01);
    EXPECT_EQ(ven.nInputLen, 0);
    EXPECT_EQ(ven.nFeatureLen, 1032); // the larger of the two, plus the id byte
    EXPECT_EQ(ven.vReportIds, std::vector<uint8_t>({5, 6}));
    EXPECT_TRUE(ven.vInputIds.empty());
}

TEST(ReportDescriptor, PushPopRestoresSizeCountAndReportId) {
    const std::vector<uint8_t> v = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85,
                                    0x01, 0x75, 0x08, 0x95, 0x01,
                                    0xA4, // push: size 8, count 1, id 1
                                    0x85, 0x03, 0x75, 0x10, 0x95, 0x04, 0x81, 0x02, // id 3: 64 bits
                                    0xB4,                                           // pop
                                    0x81, 0x02,                                     // id 1: 8 bits
                                    0x81, 0x02, // id 1: 16 bits in all
                                    0xC0};
    CReportDescriptor rd = Parse(v);
    ASSERT_TRUE(rd.bOk) << rd.strError;
    ASSERT_EQ(rd.vCollections.size(), 1u);
    EXPECT_EQ(rd.vCollections[0].vInputIds, std::vector<uint8_t>({1, 3}));
    EXPECT_EQ(rd.vCollections[0].nInputLen, 9); // id 3 is the largest: 8 bytes + id
}

TEST(ReportDescriptor, LongItemsAreSkippedAndExtendedUsagesCarryTheirPage) {
    const std::vector<uint8_t> v = {
        0xFE, 0x03, 0x10, 0xAA, 0xBB, 0xCC, // long item with 3 data bytes
        0x0B, 0x01, 0x00, 0x00, 0xFF,       // usage 0xFF00:0001 in one item
        0xA1, 0x01, 0x85, 0x09, 0x75, 0x08, 0x96, 0xF8, 0x01, 0xB1, 0x02, // 504 bytes
        0xFE, 0x00, 0x20,                                                 // long item without data
        0xC0};
    CReportDescriptor rd = Parse(v);
    ASSERT_TRUE(rd.bOk) << rd.strError;
    ASSERT_EQ(rd.vCollections.size(), 1u);
    EXPECT_EQ(rd.vCollections[0].wUsagePage, 0xFF00);
    EXPECT_EQ(rd.vCollections[0].wUsage, 0x0001);
    EXPECT_EQ(rd.vCollections[0].nFeatureLen, 505);
}

TEST(ReportDescriptor, NestedCollectionsBelongToTheirTopLevelCollection) {
    // Physical and logical collections inside the application collection; their reports
    // count for the outer one, and a main item outside every collection counts nowhere.
    const std::vector<uint8_t> v = {0x75, 0x08, 0x95, 0x04, 0x81, 0x02, // outside
                                    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0xA1,
                                    0x00, 0x95, 0x02, 0x81, 0x02, 0xA1, 0x02,
                                    0x95, 0x03, 0x81, 0x02, 0xC0, 0xC0, 0xC0};
    CReportDescriptor rd = Parse(v);
    ASSERT_TRUE(rd.bOk) << rd.strError;
    ASSERT_EQ(rd.vCollections.size(), 1u);
    EXPECT_EQ(rd.vCollections[0].nInputLen, 6);
}

TEST(ReportDescriptor, SimulatedMouseHasTheLengthsTheDriversLookFor) {
    CReportDescriptor rd = Parse(SimMouse8948Descriptor(true));
    ASSERT_TRUE(rd.bOk) << rd.strError;
    ASSERT_EQ(rd.vCollections.size(), 4u);
    EXPECT_EQ(rd.vCollections[0].nInputLen, 7); // pointer: buttons, X, Y, wheel
    EXPECT_EQ(rd.vCollections[1].nFeatureLen, 6);
    EXPECT_EQ(rd.vCollections[2].nFeatureLen, 520);
    EXPECT_EQ(rd.vCollections[3].nInputLen, 8);
    EXPECT_EQ(rd.vCollections[3].vInputIds, std::vector<uint8_t>({7}));
}

struct CBadCase {
    const char* pszName;
    std::vector<uint8_t> v;
    const char* pszError;
};

TEST(ReportDescriptor, MalformedDescriptorsAreRejectedWithAReason) {
    std::vector<uint8_t> vDeepPush(20, 0xA4);
    std::vector<uint8_t> vManyCollections;
    for (int i = 0; i < 65; ++i)
        vManyCollections.insert(vManyCollections.end(), {0x09, 0x01, 0xA1, 0x01, 0xC0});
    std::vector<uint8_t> vDeepNesting;
    for (int i = 0; i < 40; ++i)
        vDeepNesting.insert(vDeepNesting.end(), {0xA1, 0x00});
    const CBadCase kCases[] = {
        {"truncated short item", {0x05, 0x01, 0x26, 0xFF}, "truncated item"},
        {"truncated long item", {0xFE, 0x05, 0x10, 0x00}, "truncated long item data"},
        {"long item header cut", {0xFE, 0x05}, "truncated long item"},
        {"pop without push", {0xB4}, "pop without push"},
        {"end without collection", {0xC0}, "end collection without collection"},
        {"unterminated", {0x09, 0x01, 0xA1, 0x01, 0x81, 0x02}, "unterminated collection"},
        {"report id 0", {0x85, 0x00}, "invalid report id"},
        {"report id 256", {0x86, 0x00, 0x01}, "invalid report id"},
        {"push too deep", vDeepPush, "push too deep"},
        {"too many collections", vManyCollections, "too many collections"},
        {"nesting too deep", vDeepNesting, "collections nested too deep"},
        {"absurd report",
         {0x09, 0x01, 0xA1, 0x01, 0x77, 0xFF, 0xFF, 0xFF, 0xFF, 0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0x81,
          0x02, 0xC0},
         "report too long"},
    };
    for (const CBadCase& c : kCases) {
        CReportDescriptor rd = Parse(c.v);
        EXPECT_FALSE(rd.bOk) << c.pszName;
        EXPECT_EQ(rd.strError, c.pszError) << c.pszName;
        EXPECT_TRUE(rd.vCollections.empty()) << c.pszName;
    }
}

TEST(ReportDescriptor, EmptyDescriptorHasNoCollections) {
    CReportDescriptor rd = ParseReportDescriptor(nullptr, 0);
    EXPECT_TRUE(rd.bOk);
    EXPECT_TRUE(rd.vCollections.empty());
}

} // namespace
