// The log set-up, its two writers and the hex dumps.
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <fstream>
#include <thread>

#include "config/Log.h"
#include "platform/DebugOutput.h"
#include "support/FakeClock.h"
#include "support/TestDirs.h"

namespace {
class LogTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetDebugOutputSink([this](const std::string& s) { m_vDebug.push_back(s); });
    }
    void TearDown() override {
        LogReset();
        SetDebugOutputSink(nullptr);
    }
    std::vector<std::string> m_vDebug;
    CTempDir m_dir;
    CFakeClock m_clock;
};
} // namespace

TEST_F(LogTest, LevelZeroWritesNothing) {
    LogSetup(0, m_dir.Path());
    LogPrint("hello %d", 1);
    EXPECT_TRUE(m_vDebug.empty());
    EXPECT_FALSE(std::ifstream(m_dir.Path() + "Log.txt").good());
}

TEST_F(LogTest, DebuggerWriterTagsAndCutsEntries) {
    LogSetup(1, m_dir.Path());
    LogPrint("value=%d", 5);
    LogPrint("%s", std::string(600, 'x').c_str());
    ASSERT_EQ(m_vDebug.size(), 2u);
    EXPECT_EQ(m_vDebug[0], "QV  value=5");
    EXPECT_EQ(m_vDebug[1].size(), 511u); // a 512-character buffer, tag included
    EXPECT_FALSE(std::ifstream(m_dir.Path() + "Log.txt").good());
}

TEST_F(LogTest, FileWriterStampsEveryEntry) {
    m_clock.SetLocal(LocalTime{2026, 12, 10, 9, 5, 7, 42});
    LogSetup(2, m_dir.Path());
    LogPrint("first");
    LogPrint("second %s", "entry");
    EXPECT_EQ(m_dir.Read("Log.txt"), "\r\n05:07.042   first\r\n05:07.042   second entry");
    EXPECT_TRUE(m_vDebug.empty());
}

TEST_F(LogTest, FileIsTrimmedOnlyPastTheLimit) {
    struct Case {
        size_t nSize;
        bool bEmptied;
    } cases[] = {{600000, true}, {500000, false}, {512000, false}, {512001, true}};
    for (const Case& c : cases) {
        m_dir.Write("Log.txt", std::string(c.nSize, 'a'));
        LogSetup(2, m_dir.Path());
        LogPrint("new");
        std::string strText = m_dir.Read("Log.txt");
        size_t nExpected = (c.bEmptied ? 0 : c.nSize) + std::string("\r\n00:00.000   new").size();
        EXPECT_EQ(strText.size(), nExpected) << c.nSize;
        LogReset();
    }
}

TEST_F(LogTest, UnwritableFileFallsBackToDebugger) {
    LogSetup(2, m_dir.Path() + "missing-folder/");
    EXPECT_EQ(m_vDebug, std::vector<std::string>{"QV  Open Log failed"});
    LogPrint("still logged");
    EXPECT_EQ(m_vDebug.back(), "QV  still logged");
}

TEST_F(LogTest, WritingAnEntryKeepsTheCallersErrno) {
    // Callers log a failed file operation and then report its errno to the user.
    struct Case {
        int nDebug;
        std::string strDir;
    } aCases[] = {{2, m_dir.Path()}, {2, m_dir.Path() + "missing-folder/"}, {1, m_dir.Path()}};
    for (const Case& c : aCases) {
        SCOPED_TRACE(c.nDebug);
        LogSetup(c.nDebug, c.strDir);
        errno = ENOTDIR;
        LogPrint("write failed, errno=%d", errno);
        EXPECT_EQ(errno, ENOTDIR);
        LogReset();
    }
}

TEST_F(LogTest, DumpLines) {
    LogSetup(1, m_dir.Path());
    uint8_t data[48];
    for (int i = 0; i < 48; ++i)
        data[i] = static_cast<uint8_t>(i);

    LogDump(data, 8, 32, "Send Psd: ");
    ASSERT_EQ(m_vDebug.size(), 1u);
    EXPECT_EQ(m_vDebug[0], "QV  Send Psd:  00 01 02 03 04 05 06 07 ");

    m_vDebug.clear();
    LogDump(data, 10, 4, "P:");
    EXPECT_EQ(m_vDebug, (std::vector<std::string>{"QV  P: 00 01 02 03 ", "QV  P: 04 05 06 07 ",
                                                  "QV  P: 08 09 "}));

    m_vDebug.clear();
    LogDump(data, 3, 8, nullptr);
    EXPECT_EQ(m_vDebug, std::vector<std::string>{"QV  00 01 02 "});

    m_vDebug.clear();
    LogDumpGrouped("Tab:", data, 48, 24, 4);
    ASSERT_EQ(m_vDebug.size(), 2u);
    EXPECT_EQ(m_vDebug[0],
              "QV  Tab: 00 01 02 03  04 05 06 07  08 09 0a 0b  0c 0d 0e 0f  10 11 12 13  "
              "14 15 16 17  ");
    EXPECT_EQ(m_vDebug[1].substr(0, 22), "QV  Tab: 18 19 1a 1b  ");
}

TEST_F(LogTest, DumpWithoutLineLengthWrapsAtTheBuffer) {
    LogSetup(2, m_dir.Path());
    std::vector<uint8_t> data(200, 0xab);
    LogDump(data.data(), data.size(), 0, "X:");
    std::string strText = m_dir.Read("Log.txt");
    size_t nSecond = strText.find("\r\n", 2);
    ASSERT_NE(nSecond, std::string::npos);
    // "X: " plus 169 bytes of three characters fill 510 of the 511 usable characters.
    EXPECT_EQ(nSecond - 2 - 12, 3u + 169 * 3);
    EXPECT_EQ(strText.substr(nSecond + 2 + 12, 3), "ab "); // the next line has no prefix
    EXPECT_EQ(strText.size() - (nSecond + 2 + 12), 31u * 3);
}

TEST_F(LogTest, GroupedDumpStopsAtTheBufferEnd) {
    LogSetup(1, m_dir.Path());
    std::vector<uint8_t> data(400, 1);
    LogDumpGrouped(nullptr, data.data(), data.size(), 0, 3);
    ASSERT_EQ(m_vDebug.size(), 1u);
    EXPECT_LE(m_vDebug[0].size(), 4u + 512);
}

TEST_F(LogTest, EntriesFromThreadsNeverMix) {
    LogSetup(2, m_dir.Path());
    std::vector<std::thread> vThreads;
    for (int t = 0; t < 4; ++t)
        vThreads.emplace_back([t] {
            for (int i = 0; i < 200; ++i)
                LogPrint("thread %d entry %03d %s", t, i, std::string(60, char('a' + t)).c_str());
        });
    for (auto& th : vThreads)
        th.join();
    std::string strText = m_dir.Read("Log.txt");
    size_t nLines = 0, nPos = 0;
    while ((nPos = strText.find("\r\n", nPos)) != std::string::npos) {
        nPos += 2;
        size_t nEnd = strText.find("\r\n", nPos);
        std::string strLine =
            strText.substr(nPos, nEnd == std::string::npos ? std::string::npos : nEnd - nPos);
        ASSERT_EQ(strLine.size(), 12u + 19 + 60) << strLine;
        char c = strLine.back();
        EXPECT_EQ(strLine.substr(strLine.size() - 60), std::string(60, c));
        ++nLines;
    }
    EXPECT_EQ(nLines, 800u);
}
