// The simulation session: its command parser, the commands on the simulated devices, and
// the control socket as `velkinctl sim-control` uses it.
#include <QLocalSocket>
#include <QProcess>
#include <nlohmann/json.hpp>

#include "app/presence/PresenceFixture.h"
#include "app/presence/SimSession.h"
#include "config/TextCatalogue.h"
#include "device/hid/HidBackend.h"
#include "device/sim/SimControl.h"
#include "device/sim/SimMouse8948.h"

namespace {

TEST(SimControlParser, AcceptsTheCommandsAndRefusesEverythingElse) {
    struct {
        const char* pszLine;
        bool bOk;
        ESimCommand eCmd;
        const char* pszDevice;
        int nValue;
    } const cases[] = {
        {"plug mouse", true, ESimCommand::Plug, "mouse", 0},
        {"  unplug   receiver \r\n", true, ESimCommand::Unplug, "receiver", 0},
        {"dpi-button", true, ESimCommand::DpiButton, "", 0},
        {"mode 3", true, ESimCommand::Mode, "", 3},
        {"keyset 0", true, ESimCommand::KeySet, "", 0},
        {"state", true, ESimCommand::State, "", 0},
        {"", false, ESimCommand::State, "", 0},
        {"plug", false, ESimCommand::State, "", 0},
        {"plug a b", false, ESimCommand::State, "", 0},
        {"mode 0", false, ESimCommand::State, "", 0},
        {"mode 4", false, ESimCommand::State, "", 0},
        {"mode 12", false, ESimCommand::State, "", 0},
        {"keyset 3", false, ESimCommand::State, "", 0},
        {"keyset -1", false, ESimCommand::State, "", 0},
        {"state now", false, ESimCommand::State, "", 0},
        {"reboot", false, ESimCommand::State, "", 0},
    };
    for (const auto& c : cases) {
        CSimCommand cmd;
        std::string strError;
        ASSERT_EQ(ParseSimCommand(c.pszLine, cmd, strError), c.bOk) << c.pszLine;
        if (!c.bOk) {
            EXPECT_FALSE(strError.empty());
            continue;
        }
        EXPECT_EQ(cmd.eCmd, c.eCmd) << c.pszLine;
        EXPECT_EQ(cmd.strDevice, c.pszDevice);
        EXPECT_EQ(cmd.nValue, c.nValue);
    }
    CSimCommand cmd;
    std::string strError;
    EXPECT_FALSE(ParseSimCommand("plug " + std::string(300, 'x'), cmd, strError));
}

class SimSessionTest : public CPresenceTest {
protected:
    void SetUp() override {
        m_pSession = std::make_unique<CSimSession>(m_var);
        std::string strError;
        ASSERT_TRUE(m_pSession->Install("", strError)) << strError;
        // The models reach the simulated devices through the installed back-end.
        Build(true, nullptr, false);
        m_pSession->SetPresence(m_pPresence.get());
    }
    void TearDown() override {
        m_pPresence.reset();
        if (m_pState)
            for (CHidDev* p : {m_pState->pMs.get(), m_pState->pKb.get(), m_pState->pPad.get()})
                if (p && p->Drv())
                    p->Drv()->Shutdown();
        m_pState.reset();
        m_pSession.reset();
    }
    std::shared_ptr<CSimMouse8948> Mouse() {
        return std::dynamic_pointer_cast<CSimMouse8948>(m_pSession->Backend().Find("mouse"));
    }
    std::unique_ptr<CSimSession> m_pSession;
};

TEST_F(SimSessionTest, PlugAndUnplugReachPresenceAfterTheAnswer) {
    EXPECT_EQ(std::string(GetHidBackend().Name()), "sim");
    EXPECT_EQ(m_pSession->Execute("unplug mouse"), "ok");
    EXPECT_EQ(m_view.nStatus, 0); // delivered from the event loop
    ASSERT_TRUE(WaitFor([&] { return m_view.nStatus == 1; }));
    EXPECT_EQ(m_view.strStatus, Txt("tc_msg13"));
    EXPECT_FALSE(m_pState->Connected(FAMILY_MOUSE));
    EXPECT_EQ(m_pSession->Execute("unplug mouse"), "error: mouse is already unplugged");
    EXPECT_EQ(m_pSession->Execute("dpi-button"), "error: the mouse is unplugged");

    EXPECT_EQ(m_pSession->Execute("plug mouse"), "ok");
    ASSERT_TRUE(WaitFor([&] { return m_pPresence->ArrivalPending(FAMILY_MOUSE); }));
    m_steps.RunAll();
    EXPECT_TRUE(m_pState->Connected(FAMILY_MOUSE));
    EXPECT_EQ(m_view.strStatus, Txt("tc_msg14"));
}

TEST_F(SimSessionTest, ButtonsSendNotificationsTheWindowFollows) {
    m_pState->pMs->Drv()->Init(m_pPresence->Target());
    ASSERT_TRUE(WaitFor([&] { return Log().Has("ServiceThread Start"); }));
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 300)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    Cur().Ms.nMode = 0;
    EXPECT_EQ(m_pSession->Execute("mode 3"), "ok");
    ASSERT_TRUE(WaitFor([&] { return Cur().Ms.nMode == 2; }));
    EXPECT_EQ(Mouse()->State().nMode, 3);

    // The next switched-on level: ordinal 1 -> 2 -> ... and round again.
    const size_t nBefore = m_view.vSelected.size();
    EXPECT_EQ(m_pSession->Execute("dpi-button"), "ok");
    ASSERT_TRUE(WaitFor([&] { return m_view.vSelected.size() > nBefore; }));
    EXPECT_EQ(m_view.vSelected.back(), 1);
    EXPECT_EQ(Mouse()->State().byGeneral[2][3] >> 4, 2);

    auto j = nlohmann::json::parse(m_pSession->Execute("state").substr(3));
    bool bSeen = false;
    for (const auto& d : j["devices"])
        if (d["name"] == "mouse") {
            EXPECT_EQ(d["mode"], 3);
            EXPECT_EQ(d["levels"][2]["ordinal"], 2);
            bSeen = true;
        }
    EXPECT_TRUE(bSeen);
}

TEST_F(SimSessionTest, CommandErrorsAreAnsweredNotFatal) {
    EXPECT_EQ(m_pSession->Execute("plug toaster"), "error: no simulated device \"toaster\"");
    EXPECT_EQ(m_pSession->Execute("keyset 0"), "error: no simulated receiver");
    EXPECT_EQ(m_pSession->Execute("mode 9").rfind("error: ", 0), 0u);
    EXPECT_EQ(m_pSession->Execute("").rfind("error: ", 0), 0u);
}

TEST_F(SimSessionTest, ControlSocketAnswersOneLinePerCommand) {
    const std::string strPath = m_data.Path() + "sim.sock";
    std::string strError;
    ASSERT_TRUE(m_pSession->StartControl(strError, strPath)) << strError;
    // A second session on the same socket is refused while the first listens.
    CSimSession other(m_var);
    EXPECT_FALSE(other.StartControl(strError, strPath));

    QLocalSocket sock;
    sock.connectToServer(QString::fromStdString(strPath));
    ASSERT_TRUE(WaitFor([&] { return sock.state() == QLocalSocket::ConnectedState; }));
    sock.write("mode 2\nbogus\n");
    std::vector<std::string> vAnswers;
    ASSERT_TRUE(WaitFor([&] {
        while (sock.canReadLine())
            vAnswers.push_back(sock.readLine().trimmed().toStdString());
        return vAnswers.size() >= 2;
    }));
    EXPECT_EQ(vAnswers[0], "ok");
    EXPECT_EQ(vAnswers[1].rfind("error: unknown command", 0), 0u);
    EXPECT_EQ(Mouse()->State().nMode, 2);
}

// velkinctl sim-control as a script runs it against the running session: the answer on
// standard output and the exit status 0 (ok), 1 (refused) or 2 (no session).
TEST_F(SimSessionTest, VelkinctlSimControlPrintsTheAnswerWithItsStatus) {
    const std::string strPath = m_data.Path() + "ctl.sock";
    std::string strError;
    ASSERT_TRUE(m_pSession->StartControl(strError, strPath)) << strError;
    struct Run {
        int nStatus = -1;
        std::string strOut, strErr;
    };
    auto run = [&](const QStringList& args, const std::string& strSocket) {
        QProcess proc;
        proc.start(VELKIN_BINARY_DIR "/bin/velkinctl",
                   QStringList{"sim-control", "--socket", QString::fromStdString(strSocket)} +
                       args);
        Run r;
        // The session answers from this thread's event loop while velkinctl waits.
        if (!WaitFor([&] { return proc.state() == QProcess::NotRunning; }))
            return r;
        r.nStatus = proc.exitStatus() == QProcess::NormalExit ? proc.exitCode() : -2;
        r.strOut = proc.readAllStandardOutput().trimmed().toStdString();
        r.strErr = proc.readAllStandardError().toStdString();
        return r;
    };
    struct Case {
        QStringList args;
        int nStatus;
        const char* pszOut;
    } const cases[] = {
        {{"mode", "2"}, 0, "ok"},
        {{"unplug", "mouse"}, 0, "ok"},
        {{"dpi-button"}, 1, "error: the mouse is unplugged"},
        {{"plug", "toaster"}, 1, "error: no simulated device \"toaster\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const Run r = run(c.args, strPath);
        EXPECT_EQ(r.nStatus, c.nStatus) << r.strErr;
        EXPECT_EQ(r.strOut, c.pszOut);
    }
    EXPECT_EQ(Mouse()->State().nMode, 2);
    EXPECT_FALSE(Mouse()->IsPresent());

    const Run state = run({"state"}, strPath);
    ASSERT_EQ(state.nStatus, 0) << state.strErr;
    ASSERT_EQ(state.strOut.rfind("ok ", 0), 0u) << state.strOut;
    auto j = nlohmann::json::parse(state.strOut.substr(3));
    EXPECT_FALSE(j["devices"].empty());

    const Run none = run({"state"}, m_data.Path() + "nobody.sock");
    EXPECT_EQ(none.nStatus, 2);
    EXPECT_NE(none.strErr.find("start the program with --simulate"), std::string::npos)
        << none.strErr;
}

} // namespace
