#pragma once
// What the driver tests share: a fake clock, collected message boxes and log lines, the
// simulated back-end, and a settings record for a mouse with sensor 0x3360.
#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "config/GlobalVar.h"
#include "config/Log.h"
#include "config/SensorTable.h"
#include "device/hid/HidLib.h"
#include "device/sim/SimBackend.h"
#include "platform/MessageBox.h"
#include "support/FakeClock.h"

class CLogCapture {
public:
    CLogCapture() {
        s_pThis = this;
        m_pOld = LogPrint;
        LogPrint = &CLogCapture::Print;
    }
    ~CLogCapture() {
        LogPrint = m_pOld;
        s_pThis = nullptr;
    }
    std::vector<std::string> Lines() {
        std::lock_guard<std::mutex> lock(m_mtx);
        return m_vLines;
    }
    bool Has(const std::string& s) {
        for (const std::string& l : Lines())
            if (l.find(s) != std::string::npos)
                return true;
        return false;
    }
    // Lines that start with the prefix, in order.
    std::vector<std::string> With(const std::string& strPrefix) {
        std::vector<std::string> v;
        for (const std::string& l : Lines())
            if (l.rfind(strPrefix, 0) == 0)
                v.push_back(l);
        return v;
    }

private:
    static void Print(const char* pszFormat, ...) {
        char sz[1024];
        va_list ap;
        va_start(ap, pszFormat);
        std::vsnprintf(sz, sizeof sz, pszFormat, ap);
        va_end(ap);
        if (s_pThis) {
            std::lock_guard<std::mutex> lock(s_pThis->m_mtx);
            s_pThis->m_vLines.push_back(sz);
        }
    }
    static inline CLogCapture* s_pThis = nullptr;
    LogPrintFn m_pOld;
    std::mutex m_mtx;
    std::vector<std::string> m_vLines;
};

class CDrvTest : public ::testing::Test {
protected:
    CDrvTest() : m_lib(&m_backend) {
        SetMessageBoxSink(&m_boxes);
        m_pVar = std::make_unique<CGlobalVar>();
        CGlobalVar& v = *m_pVar;
        v.MsFw = 0x12;
        v.Dev.Ms.VID = 0x258A;
        v.Dev.Ms.PID = 0x1234;
        v.Dev.Ms.Sensor = 0x3360;
        v.Dev.Ms.SensorCfgs[0].Sensor = 0x3360;
        v.Dev.Ms.SensorCfgs[0].DM = 6;
        v.Dev.Ms.SensorCfgs[0].MDNUM = 3;
        v.Dev.Ms.SensorCfgs[1].Sensor = 0x3389;
        v.Dev.Ms.SensorCfgs[1].DM = 8;
        v.Dev.Ms.SensorCfgs[1].MDNUM = 1;
        set_cur_sensor(v.Dev.Ms, 0x3360);
        v.Dev.Kb.VID = 0x258A;
        v.Dev.Kb.PID = 0x0049;
        v.Dev.Pad.VID = 0x1A2C;
        v.Dev.Pad.PID = 0x0077;
    }
    ~CDrvTest() override { SetMessageBoxSink(nullptr); }

    std::vector<std::string> BoxTexts() {
        std::vector<std::string> v;
        for (auto& e : m_boxes.m_vEntries)
            v.push_back(e.strTitle + ": " + e.strText);
        return v;
    }

    CFakeClock m_clock;
    CLogCapture m_log;
    CCollectingMessageSink m_boxes;
    CSimBackend m_backend;
    CHidLib m_lib;
    std::unique_ptr<CGlobalVar> m_pVar;
};

// Host-to-device reports of a simulated device, as (collection, bytes).
inline std::vector<std::vector<uint8_t>> SentReports(const CSimDevice& dev, int nCol) {
    std::vector<std::vector<uint8_t>> v;
    for (const CSimTraceEntry& e : dev.Trace())
        if (e.nCollection == nCol && e.strDirection == "out")
            v.push_back(e.vBytes);
    return v;
}
