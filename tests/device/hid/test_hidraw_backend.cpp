// The hidraw back-end through its system-call seam, with recorded descriptors and replies:
// enumeration, collection matching, feature ioctls, filtered input reads, cancel, unplug
// and the EACCES retry.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <map>
#include <set>
#include <thread>

#include "DrvFixture.h"
#include "device/hid/CurLevels.h"
#include "device/hid/Drv8948.h"
#include "device/hid/HidrawBackend.h"
#include "device/sim/SimDescriptors.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Vendor collection without report ids: 8 feature bytes and 4 input bytes.
const Bytes kNoIdVendor = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x75, 0x08, 0x95, 0x08,
                           0x09, 0x01, 0xB1, 0x02, 0x95, 0x04, 0x09, 0x01, 0x81, 0x02, 0xC0};

class CFakeSysCalls : public ISysCalls {
public:
    struct CIoctl {
        std::string strNode;
        unsigned nNr;
        unsigned nSize;
        Bytes vBytes;
    };

    std::vector<CHidrawNodeInfo> vNodes;
    std::map<std::string, Bytes> mapFiles;
    std::map<std::string, Bytes> mapIoctlDesc; // HIDIOCGRDESC answers
    std::map<std::string, std::deque<int>> mapOpenErrors;
    std::set<std::string> setNoAccess; // the access rule never arrives
    std::map<std::pair<std::string, uint8_t>, Bytes> mapFeatureReplies;
    int nFeatureErrno = 0;

    std::vector<CHidrawNodeInfo> EnumerateHidraw() override { return vNodes; }
    bool ReadFile(const std::string& strPath, Bytes& vOut) override {
        auto it = mapFiles.find(strPath);
        if (it == mapFiles.end())
            return false;
        vOut = it->second;
        return true;
    }
    int Open(const char* pszPath, int nFlags) override {
        std::lock_guard<std::mutex> lock(m_mtx);
        vOpens.push_back(pszPath);
        vOpenFlags.push_back(nFlags);
        if (setNoAccess.count(pszPath)) {
            errno = EACCES;
            return -1;
        }
        auto& q = mapOpenErrors[pszPath];
        if (!q.empty()) {
            errno = q.front();
            q.pop_front();
            return -1;
        }
        int fd = m_nNextFd++;
        m_mapFdNode[fd] = pszPath;
        return fd;
    }
    int Close(int fd) override {
        std::lock_guard<std::mutex> lock(m_mtx);
        setClosed.insert(fd);
        m_mapFdNode.erase(fd);
        return 0;
    }
    int Ioctl(int fd, unsigned long nReq, void* pArg) override {
        std::lock_guard<std::mutex> lock(m_mtx);
        std::string strNode = m_mapFdNode[fd];
        unsigned nNr = _IOC_NR(nReq), nSize = _IOC_SIZE(nReq);
        if (_IOC_TYPE(nReq) != 'H') {
            errno = ENOTTY;
            return -1;
        }
        if (nReq == HIDIOCGRDESCSIZE || nReq == HIDIOCGRDESC) {
            auto it = mapIoctlDesc.find(strNode);
            if (it == mapIoctlDesc.end()) {
                errno = EIO;
                return -1;
            }
            if (nReq == HIDIOCGRDESCSIZE) {
                *static_cast<int*>(pArg) = int(it->second.size());
            } else {
                auto* pRd = static_cast<hidraw_report_descriptor*>(pArg);
                std::memcpy(pRd->value, it->second.data(),
                            std::min<size_t>(pRd->size, it->second.size()));
            }
            return 0;
        }
        uint8_t* p = static_cast<uint8_t*>(pArg);
        vIoctls.push_back({strNode, nNr, nSize, Bytes(p, p + nSize)});
        if (nFeatureErrno) {
            errno = nFeatureErrno;
            return -1;
        }
        if (nNr == 0x06) // HIDIOCSFEATURE
            return int(nSize);
        if (nNr == 0x07) { // HIDIOCGFEATURE
            auto it = mapFeatureReplies.find({strNode, p[0]});
            if (it == mapFeatureReplies.end()) {
                errno = EPIPE;
                return -1;
            }
            size_t n = std::min<size_t>(nSize, it->second.size());
            std::memcpy(p, it->second.data(), n);
            return int(n);
        }
        errno = EINVAL;
        return -1;
    }
    ssize_t Read(int fd, void* pBuf, size_t nLen) override {
        std::lock_guard<std::mutex> lock(m_mtx);
        auto& q = m_mapInput[fd];
        if (q.empty()) {
            errno = EAGAIN;
            return -1;
        }
        Bytes v = q.front();
        q.pop_front();
        size_t n = std::min(nLen, v.size());
        std::memcpy(pBuf, v.data(), n);
        return ssize_t(n);
    }
    int Poll(struct pollfd* pFds, nfds_t nFds, int) override {
        std::unique_lock<std::mutex> lock(m_mtx);
        for (;;) {
            int nReady = 0;
            for (nfds_t i = 0; i < nFds; ++i) {
                pFds[i].revents = 0;
                int fd = pFds[i].fd;
                if (m_setSignalled.count(fd))
                    pFds[i].revents = POLLIN;
                else if (m_mapFdNode.count(fd) && m_setGone.count(m_mapFdNode[fd]))
                    pFds[i].revents = POLLHUP;
                else if (!m_mapInput[fd].empty())
                    pFds[i].revents = POLLIN;
                nReady += pFds[i].revents != 0;
            }
            if (nReady)
                return nReady;
            m_cv.wait(lock);
        }
    }
    int EventFd() override {
        std::lock_guard<std::mutex> lock(m_mtx);
        return m_nNextFd++;
    }
    int SignalEventFd(int fd) override {
        std::lock_guard<std::mutex> lock(m_mtx);
        m_setSignalled.insert(fd);
        m_cv.notify_all();
        return 0;
    }

    // The device sends an input report: every fd open on the node gets it.
    void Push(const std::string& strNode, Bytes v) {
        std::lock_guard<std::mutex> lock(m_mtx);
        for (auto& [fd, node] : m_mapFdNode)
            if (node == strNode)
                m_mapInput[fd].push_back(v);
        m_cv.notify_all();
    }
    void Unplug(const std::string& strNode) {
        std::lock_guard<std::mutex> lock(m_mtx);
        m_setGone.insert(strNode);
        m_cv.notify_all();
    }

    std::vector<std::string> vOpens;
    std::vector<int> vOpenFlags;
    std::vector<CIoctl> vIoctls;
    std::set<int> setClosed;

private:
    std::mutex m_mtx;
    std::condition_variable m_cv;
    int m_nNextFd = 10;
    std::map<int, std::string> m_mapFdNode;
    std::map<int, std::deque<Bytes>> m_mapInput;
    std::set<int> m_setSignalled;
    std::set<std::string> m_setGone;
};

class CHidrawTest : public CDrvTest {
protected:
    CHidrawTest() : m_hidraw(m_sys), m_rawLib(&m_hidraw) {
        m_sys.vNodes = {
            {"/dev/hidraw0", "/sys/hid/0003:258A:1007.0001/report_descriptor", 0x258A, 0x1007,
             "Gaming Mouse"},
            {"/dev/hidraw1", "", 0x1A2C, 0x0077, "Vendor Pad"},
            {"/dev/hidraw2", "/sys/hid/bad/report_descriptor", 0x258A, 0x1008, "Broken"},
            {"/dev/hidraw3", "/sys/hid/missing/report_descriptor", 0x258A, 0x1009, "Gone"},
        };
        m_sys.mapFiles["/sys/hid/0003:258A:1007.0001/report_descriptor"] =
            SimMouse8948Descriptor(true);
        m_sys.mapIoctlDesc["/dev/hidraw1"] = kNoIdVendor;
        m_sys.mapFiles["/sys/hid/bad/report_descriptor"] = {0x05, 0x01, 0xA1};
    }
    HidHandle OpenMouse(const HidFilter& f) {
        return m_rawLib.OpenHidDevice(0xFF00, 1, "VID_258a&PID_1007", f, 0, 0, 0, 0,
                                      kHidFlagOverlapped, nullptr);
    }
    CFakeSysCalls m_sys;
    CHidrawBackend m_hidraw;
    CHidLib m_rawLib;
};

TEST_F(CHidrawTest, EnumerationParsesDescriptorsFromSysfsOrTheNode) {
    std::vector<CHidDeviceEntry> v = m_hidraw.Enumerate();
    ASSERT_EQ(v.size(), 2u);
    EXPECT_EQ(v[0].strPath, "HID#VID_258A&PID_1007#/dev/hidraw0");
    EXPECT_EQ(v[0].strProduct, "Gaming Mouse");
    ASSERT_EQ(v[0].vCollections.size(), 4u);
    EXPECT_EQ(v[0].vCollections[2].nFeatureLen, 520);
    EXPECT_EQ(v[1].strPath, "HID#VID_1A2C&PID_0077#/dev/hidraw1");
    ASSERT_EQ(v[1].vCollections.size(), 1u);
    EXPECT_EQ(v[1].vCollections[0].nFeatureLen, 9);
    EXPECT_EQ(v[1].vCollections[0].nInputLen, 5);
    EXPECT_TRUE(m_log.Has("hidraw: bad report descriptor of /dev/hidraw2 at byte 2"));
    EXPECT_TRUE(m_log.Has("hidraw: no report descriptor for /dev/hidraw3"));
    // The node asked for its descriptor was closed again.
    EXPECT_EQ(m_sys.setClosed.size(), 2u);
}

TEST_F(CHidrawTest, OpenPicksTheCollectionByReportLength) {
    int nFound = 0;
    m_rawLib.OpenHidDevice(0xFF00, 1, "VID_258a&PID_1007", FeatureLenFilter(520), 0, 0, 0, 0, 0,
                           &nFound);
    EXPECT_EQ(nFound, 1);
    // Only the nodes without a readable sysfs descriptor were opened, to ask them.
    EXPECT_EQ(m_sys.vOpens, std::vector<std::string>({"/dev/hidraw1", "/dev/hidraw3"}));

    std::vector<int> vOffered;
    HidHandle h = OpenMouse([&](int, int nIn, int, int nFeature) {
        vOffered.push_back(nFeature ? nFeature : -nIn);
        return nFeature == 520;
    });
    ASSERT_TRUE(h);
    EXPECT_EQ(vOffered, std::vector<int>({6, 520})); // pointer collection has another page
    EXPECT_EQ(h->CollectionIndex(), 2);
    EXPECT_EQ(m_sys.vOpens.back(), "/dev/hidraw0");
    EXPECT_EQ(m_sys.vOpenFlags.back() & O_ACCMODE, O_RDWR);
    char sz[260];
    ASSERT_EQ(m_rawLib.GetProductString(h, sz, sizeof sz), 1);
    EXPECT_STREQ(sz, "Gaming Mouse");

    EXPECT_FALSE(OpenMouse(FeatureLenFilter(1032)));
    EXPECT_FALSE(
        m_rawLib.OpenHidDevice(0xFF00, 1, "VID_258A&PID_1234", nullptr, 0, 0, 0, 0, 0, nullptr));
}

TEST_F(CHidrawTest, FeatureReportsGoThroughTheFeatureIoctls) {
    HidHandle hCmd = OpenMouse(FeatureLenFilter(6));
    ASSERT_TRUE(hCmd);
    const uint8_t byCmd[9] = {0x05, 0x01, 0xA1, 0xB2, 0xC3, 0xD4, 0, 0, 0};
    ASSERT_EQ(m_rawLib.SetFeature(hCmd, byCmd, sizeof byCmd), 1);
    ASSERT_EQ(m_sys.vIoctls.size(), 1u);
    EXPECT_EQ(m_sys.vIoctls[0].nNr, 0x06u);
    EXPECT_EQ(m_sys.vIoctls[0].nSize, 6u); // the collection's length, not the buffer's
    EXPECT_EQ(m_sys.vIoctls[0].vBytes, Bytes({0x05, 0x01, 0xA1, 0xB2, 0xC3, 0xD4}));

    HidHandle hData = OpenMouse(FeatureLenFilter(520));
    m_sys.mapFeatureReplies[{"/dev/hidraw0", 0x04}] = {0x04, 0x11, 0, 0, 0, 0, 0, 0, 0x99};
    uint8_t by[520];
    std::memset(by, 0xEE, sizeof by);
    by[0] = 0x04;
    ASSERT_EQ(m_rawLib.GetFeature(hData, by, sizeof by), 1);
    EXPECT_EQ(m_sys.vIoctls.back().nNr, 0x07u);
    EXPECT_EQ(m_sys.vIoctls.back().nSize, 520u);
    EXPECT_EQ(by[1], 0x11);
    EXPECT_EQ(by[8], 0x99);
    EXPECT_EQ(by[9], 0x00); // short answer: the rest is zero, not stale
    EXPECT_EQ(by[519], 0x00);

    m_sys.nFeatureErrno = EPIPE;
    EXPECT_EQ(m_rawLib.SetFeature(hCmd, byCmd, 6), 0);
    EXPECT_EQ(HidLastError(), EPIPE);
    EXPECT_EQ(m_rawLib.GetFeature(hData, by, sizeof by), 0);
}

TEST_F(CHidrawTest, ReportsWithoutIdsGetAZeroIdByte) {
    HidHandle h = m_rawLib.OpenHidDevice(0xFF00, 1, "VID_1A2C&PID_0077", FeatureLenFilter(9), 0, 0,
                                         0, 0, 0, nullptr);
    ASSERT_TRUE(h);
    // Without numbered reports the kernel hands back the data from byte 0.
    m_sys.mapFeatureReplies[{"/dev/hidraw1", 0x00}] = {1, 2, 3, 4, 5, 6, 7, 8};
    uint8_t by[9] = {0};
    ASSERT_EQ(m_rawLib.GetFeature(h, by, sizeof by), 1);
    EXPECT_EQ(Bytes(by, by + 9), Bytes({0, 1, 2, 3, 4, 5, 6, 7, 8}));
    m_sys.Push("/dev/hidraw1", {0xA, 0xB, 0xC, 0xD});
    uint8_t byIn[5] = {};
    ASSERT_EQ(m_rawLib.ReadInputReport(h, byIn, sizeof byIn), 5);
    EXPECT_EQ(Bytes(byIn, byIn + 5), Bytes({0, 0xA, 0xB, 0xC, 0xD}));
}

TEST_F(CHidrawTest, InputReadsKeepOnlyTheCollectionsReports) {
    HidHandle h = OpenMouse(InputLenFilter(8));
    ASSERT_TRUE(h);
    m_sys.Push("/dev/hidraw0", {0x01, 0x01, 0x05, 0x00, 0xFB, 0xFF, 0x00}); // pointer motion
    m_sys.Push("/dev/hidraw0", {0x07, 0x02, 0x31, 0x00, 0x00, 0x03, 0x00, 0x00});
    uint8_t by[8] = {7};
    ASSERT_EQ(m_rawLib.ReadInputReport(h, by, sizeof by), 8);
    EXPECT_EQ(Bytes(by, by + 8), Bytes({0x07, 0x02, 0x31, 0x00, 0x00, 0x03, 0x00, 0x00}));
}

TEST_F(CHidrawTest, CancelWakesAPendingReadAndUnplugFailsIt) {
    HidHandle h = OpenMouse(InputLenFilter(8));
    ASSERT_TRUE(h);
    int nResult = 99;
    std::thread t([&] {
        uint8_t by[8];
        nResult = m_rawLib.ReadInputReport(h, by, sizeof by);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    h->CancelRead();
    t.join();
    EXPECT_EQ(nResult, -1);
    uint8_t by[8];
    EXPECT_EQ(m_rawLib.ReadInputReport(h, by, sizeof by), -1); // cancel is for good

    HidHandle h2 = OpenMouse(InputLenFilter(8));
    m_sys.Unplug("/dev/hidraw0");
    EXPECT_EQ(m_rawLib.ReadInputReport(h2, by, sizeof by), 0);
    EXPECT_EQ(HidLastError(), ENODEV);

    size_t nClosed = m_sys.setClosed.size();
    h.reset();
    h2.reset();
    EXPECT_EQ(m_sys.setClosed.size(), nClosed + 4); // node and wake-up fd of each
}

TEST_F(CHidrawTest, AccessDeniedIsRetriedBriefly) {
    m_sys.mapOpenErrors["/dev/hidraw0"] = {EACCES, EACCES, EACCES};
    size_t nSleeps = m_clock.Sleeps().size();
    HidHandle h = OpenMouse(FeatureLenFilter(6));
    ASSERT_TRUE(h); // the rule arrived after three refusals
    auto v = m_clock.Sleeps();
    EXPECT_EQ(std::vector<uint32_t>(v.begin() + long(nSleeps), v.end()),
              std::vector<uint32_t>({100, 100, 100}));

    m_sys.setNoAccess.insert("/dev/hidraw0");
    nSleeps = m_clock.Sleeps().size();
    EXPECT_FALSE(OpenMouse(FeatureLenFilter(6)));
    EXPECT_EQ(m_clock.Sleeps().size(), nSleeps + 9); // ten tries, 100 ms apart
    EXPECT_EQ(HidLastError(), EACCES);
    EXPECT_TRUE(m_log.Has("no permission to open /dev/hidraw0"));
    EXPECT_TRUE(m_log.Has("velkinctl udev-rules"));

    m_sys.setNoAccess.clear();
    m_sys.mapOpenErrors["/dev/hidraw0"] = {ENOENT};
    nSleeps = m_clock.Sleeps().size();
    auto opensOfMouse = [&] {
        return std::count(m_sys.vOpens.begin(), m_sys.vOpens.end(), "/dev/hidraw0");
    };
    long nOpens = opensOfMouse();
    EXPECT_FALSE(OpenMouse(FeatureLenFilter(6)));
    EXPECT_EQ(opensOfMouse(), nOpens + 1); // no retry for other errors
    EXPECT_EQ(m_clock.Sleeps().size(), nSleeps);
}

TEST_F(CHidrawTest, MouseDiscoveryOverHidraw) {
    // Recorded answers: the command collection answers every command with the same report,
    // whose bytes read as code 02 00 00 00 (GetPsd) and mode 2 (GetMode).
    m_sys.mapFeatureReplies[{"/dev/hidraw0", 0x05}] = {0x05, 0x01, 0x02, 0x00, 0x00, 0x00};
    Bytes vData(520, 0);
    vData[0] = 0x04;
    vData[8 + 1] = 6;    // sensor type code of 0x3360
    vData[8 + 3] = 0x30; // third switched-on resolution level
    m_sys.mapFeatureReplies[{"/dev/hidraw0", 0x04}] = vData;
    m_pVar->Dev.Ms.PID = 0x1007;
    const uint8_t kCode[4] = {0x02, 0, 0, 0};
    std::memcpy(m_pVar->Dev.Ms.PSD, kCode, 4);
    m_pVar->Dev.Ms.SensorCfgs[0].MDNUM = 1;
    g_nCurDpiLevel[0] = 9;

    CDrv8948 drv(*m_pVar, &m_rawLib);
    ASSERT_EQ(drv.FindDev(), 1);
    EXPECT_EQ(drv.DevMode(), 2);
    EXPECT_EQ(g_nCurDpiLevel[0], 2);
    EXPECT_EQ(drv.GetHandle()->CollectionIndex(), 1);
    EXPECT_EQ(drv.DataHandle()->CollectionIndex(), 2);
    EXPECT_EQ(drv.NotifyHandle()->CollectionIndex(), 3);
    // GetPsd, GetMode and GetProfile of mode 1, each a set and a get.
    std::vector<std::pair<unsigned, Bytes>> vSent;
    for (auto& io : m_sys.vIoctls)
        vSent.push_back({io.nNr, Bytes(io.vBytes.begin(), io.vBytes.begin() + 2)});
    EXPECT_EQ(vSent, (std::vector<std::pair<unsigned, Bytes>>{{0x06, {0x05, 0x01}},
                                                              {0x07, {0x05, 0x00}},
                                                              {0x06, {0x05, 0x02}},
                                                              {0x07, {0x05, 0x00}},
                                                              {0x06, {0x05, 0x11}},
                                                              {0x07, {0x04, 0x00}}}));
}

} // namespace
