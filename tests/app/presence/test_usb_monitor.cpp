// USB paths from udev records, and the monitor's signals for injected events.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/presence/UsbMonitor.h"

namespace {

const char* const kDevPath =
    "/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/0003:258A:1007.0005/hidraw/hidraw3";

TEST(UsbEventPath, IdsComeFromTheUsbDeviceHidIdOrDevPath) {
    struct {
        const char* pszName;
        CUdevRecord rec;
        bool bOk;
        uint16_t wVid, wPid;
    } const cases[] = {
        {"usb parent", {"add", "hidraw3", "", "258a", "1007", ""}, true, 0x258A, 0x1007},
        {"hid id", {"add", "hidraw3", "", "", "", "0003:0000258A:00000028"}, true, 0x258A, 0x28},
        {"devpath", {"remove", "hidraw3", kDevPath, "", "", ""}, true, 0x258A, 0x1007},
        {"bluetooth", {"add", "hidraw4", "", "", "", "0005:0000046D:0000B012"}, false, 0, 0},
        {"nothing", {"add", "hidraw5", "/devices/virtual/misc/x", "", "", ""}, false, 0, 0},
        {"bad digits", {"add", "hidraw5", "", "25g8", "1007", "zz"}, false, 0, 0},
    };
    for (const auto& c : cases) {
        CUsbIds ids;
        EXPECT_EQ(UsbIdsOfRecord(c.rec, ids), c.bOk) << c.pszName;
        if (c.bOk) {
            EXPECT_EQ(ids.wVid, c.wVid) << c.pszName;
            EXPECT_EQ(ids.wPid, c.wPid) << c.pszName;
        }
    }
    EXPECT_EQ(MakeUsbEventPath(0x258A, 0x1007, "hidraw3"),
              "\\\\?\\USB#VID_258A&PID_1007#hidraw3#{a5dcbf10-6530-11d2-901f-00c04fb951ed}");
}

TEST(UsbEventPath, RemovalWithoutIdsGetsThePathOfItsArrival) {
    CUsbPathCache cache;
    const std::string strAdd = cache.PathFor({"add", "hidraw7", "", "258a", "0090", ""});
    EXPECT_NE(strAdd.find("USB#VID_258A&PID_0090#hidraw7"), std::string::npos);
    EXPECT_EQ(cache.PathFor({"change", "hidraw7", "", "258a", "0090", ""}), "");
    EXPECT_EQ(cache.PathFor({"remove", "hidraw7", "", "", "", ""}), strAdd);
    // Forgotten after the removal.
    EXPECT_EQ(cache.PathFor({"remove", "hidraw7", "", "", "", ""}), "");
}

TEST(UsbMonitor, InjectedEventsBecomeArrivalAndRemovalSignals) {
    CUsbMonitor mon;
    std::vector<std::string> vIn, vOut;
    QObject::connect(&mon, &CUsbMonitor::DeviceArrived,
                     [&](const std::string& s) { vIn.push_back(s); });
    QObject::connect(&mon, &CUsbMonitor::DeviceRemoved,
                     [&](const std::string& s) { vOut.push_back(s); });
    mon.Inject({"add", "hidraw3", kDevPath, "258a", "1007", ""});
    mon.Inject({"add", "hidraw4", "", "", "", "0005:0000046D:0000B012"}); // not USB
    mon.Inject({"remove", "hidraw3", kDevPath, "", "", ""});
    ASSERT_EQ(vIn.size(), 1u);
    EXPECT_EQ(vOut, vIn);
}

} // namespace
