// Two real copies of the program: the second hands over to the first and ends; a copy that
// crashed leaves a socket behind that does not block the next start.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <filesystem>
#include <unistd.h>

#include "support/TestDirs.h"

namespace {
class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy_file(VELKIN_BINARY_DIR "/bin/velkin", m_prog.Path() + "velkin");
        std::filesystem::permissions(m_prog.Path() + "velkin", std::filesystem::perms::owner_all);
        // The main window needs its background; without it start-up stops.
        std::filesystem::copy(VELKIN_BINARY_DIR "/bin/skins", m_prog.Path() + "skins",
                              std::filesystem::copy_options::recursive);
        m_prog.Write("cfg.ini",
                     "[OPT]\nDebug=2\nappdir=SI\nMacProtocol=1\nTitle=Single Test\nSuwnd=1\n");
        std::string strMutex = "VELKIN_TEST_" + std::to_string(getpid());
        m_prog.Write("text.xml", "<r><config><tc_mutex>" + strMutex + "</tc_mutex></config></r>");
        m_home.Write("Desktop/.keep", "");
        m_env = QProcessEnvironment::systemEnvironment();
        m_env.insert("HOME", QString::fromStdString(m_home.Path()));
        m_env.insert("XDG_DATA_HOME", QString::fromStdString(m_home.Path() + "data"));
        m_env.insert("XDG_CONFIG_HOME", QString::fromStdString(m_home.Path() + "config"));
        m_env.insert("QT_QPA_PLATFORM", "offscreen");
        m_env.remove("DISPLAY");
    }
    void TearDown() override {
        for (auto& p : m_vProcs)
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(3000);
            }
    }
    QProcess* Start() {
        m_vProcs.push_back(std::make_unique<QProcess>());
        QProcess* p = m_vProcs.back().get();
        p->setProcessEnvironment(m_env);
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(QString::fromStdString(m_prog.Path() + "velkin"), {});
        EXPECT_TRUE(p->waitForStarted(5000));
        return p;
    }
    std::string Log() const { return m_home.Read("Desktop/Log.txt"); }
    static int Count(const std::string& strText, const std::string& strWhat) {
        int n = 0;
        for (size_t nPos = 0; (nPos = strText.find(strWhat, nPos)) != std::string::npos;
             nPos += strWhat.size())
            ++n;
        return n;
    }
    bool WaitForLog(const std::string& strWhat, int nCount, int nTimeoutMs = 15000) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < nTimeoutMs) {
            if (Count(Log(), strWhat) >= nCount)
                return true;
            QThread::msleep(50);
        }
        return false;
    }
    CTempDir m_prog, m_home;
    QProcessEnvironment m_env;
    std::vector<std::unique_ptr<QProcess>> m_vProcs;
};
} // namespace

TEST_F(SingleInstanceTest, SecondCopyShowsTheFirstAndEnds) {
    QProcess* pFirst = Start();
    // The first copy listens before its window exists; its launch line comes before that.
    ASSERT_TRUE(WaitForLog("Launch ", 1));
    QThread::msleep(700);

    QProcess* pSecond = Start();
    ASSERT_TRUE(pSecond->waitForFinished(15000)) << "the second copy must end by itself";
    EXPECT_EQ(pSecond->exitCode(), 0);
    EXPECT_TRUE(WaitForLog("ALREADY_EXISTS, hWnd=", 1));
    // The window was shown at start; the hand-over shows it again.
    EXPECT_TRUE(WaitForLog("OnConfig hWnd=", 2));
    EXPECT_EQ(pFirst->state(), QProcess::Running);
}

TEST_F(SingleInstanceTest, StaleSocketOfACrashedCopyDoesNotBlock) {
    QProcess* pFirst = Start();
    ASSERT_TRUE(WaitForLog("Launch ", 1));
    QThread::msleep(700);
    pFirst->kill(); // no clean-up: the socket file stays behind
    pFirst->waitForFinished(5000);

    QProcess* pNext = Start();
    ASSERT_TRUE(WaitForLog("Launch ", 2));
    EXPECT_FALSE(pNext->waitForFinished(2000)) << "the next copy must keep running";
    EXPECT_EQ(Count(Log(), "ALREADY_EXISTS"), 0);
}
