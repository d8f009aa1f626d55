// The udev rule covers exactly the devices the installation may open.
#include <gtest/gtest.h>

#include <memory>

#include "config/GlobalVar.h"
#include "device/hid/UdevRules.h"

namespace {

TEST(UdevRules, IdsOfEveryConfiguredFamilyOnce) {
    auto pVar = std::make_unique<CGlobalVar>();
    CGlobalVar& v = *pVar;
    v.MsFw = 0x10;
    v.Dev.Ms.VID = 0x258A;
    v.Dev.Ms.PID = 0x1011;
    v.Dev.Kb.VID = 0x258A;
    v.Dev.Kb.PID = 0x0090;
    v.Dev.Pad.VID = 0x1A2C;
    v.Dev.Pad.PID = 0x00A0;
    EXPECT_EQ(ConfiguredUsbIds(v),
              std::vector<UsbId>({{0x258A, 0x1011}, {0x258A, 0x1007}, {0x258A, 0x0028}}));

    v.Dev.Ms.PID = 0x1007; // already one of the fixed candidates
    v.KbFw = 20;
    v.PadFw = 40;
    EXPECT_EQ(ConfiguredUsbIds(v),
              std::vector<UsbId>(
                  {{0x258A, 0x1007}, {0x258A, 0x0028}, {0x258A, 0x0090}, {0x1A2C, 0x00A0}}));

    v.MsFw = 0x11;
    v.KbFw = 0;
    v.PadFw = 0;
    v.Dev.Ms.KeySwVk[0] = 0x70; // companion keyboard and its receiver
    EXPECT_EQ(ConfiguredUsbIds(v), std::vector<UsbId>({{0x258A, 0x1007},
                                                       {0x258A, 0x0028},
                                                       {0x258A, 0x0090},
                                                       {0x258A, 0x0016},
                                                       {0x258A, 0x002A}}));
    v.MsFw = 0;
    EXPECT_TRUE(ConfiguredUsbIds(v).empty());
}

TEST(UdevRules, OneUaccessLinePerDeviceForAddAndChange) {
    std::string s = MakeUdevRules({{0x258A, 0x1011}, {0x1A2C, 0x00A0}});
    EXPECT_NE(s.find("ACTION==\"add|change\", SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"258a\", "
                     "ATTRS{idProduct}==\"1011\", TAG+=\"uaccess\"\n"),
              std::string::npos);
    EXPECT_NE(s.find("ATTRS{idVendor}==\"1a2c\", ATTRS{idProduct}==\"00a0\""), std::string::npos);
    size_t nRules = 0;
    for (size_t i = s.find("TAG+="); i != std::string::npos; i = s.find("TAG+=", i + 1))
        ++nRules;
    EXPECT_EQ(nRules, 2u);
}

} // namespace
