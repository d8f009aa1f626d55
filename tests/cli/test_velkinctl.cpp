// velkinctl as a user runs it: exit status, JSON on standard output, clear errors.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sys/wait.h>

#include "support/RunVelkinctl.h"
#include "support/TestDirs.h"

namespace {} // namespace

TEST(Velkinctl, ConfigReportsOptionsAndMessagesInOrder) {
    CTempDir prog, data, desk;
    prog.Write("cfg.ini", "[OPT]\nappdir=\nMacProtocol=7\nrcHomePageBtn=1,2\nProfileNum=5\n");
    CRunResult r = RunVelkinctl("--program-dir " + prog.Path() + " --data-dir " + data.Path() +
                                " --desktop-dir " + desk.Path() + " config");
    ASSERT_EQ(r.nStatus, 0);
    auto j = nlohmann::json::parse(r.strOut);
    EXPECT_EQ(j["OPT"]["ProfileNum"], 5);
    EXPECT_EQ(j["OPT"]["TrayIcon"], 2);
    EXPECT_EQ(j["OPT"]["ProgramDir"], prog.Path());
    EXPECT_EQ(j["MacroLimits"]["nMaxUnits"], 128);
    ASSERT_EQ(j["messages"].size(), 3u);
    EXPECT_EQ(j["messages"][0]["text"], "APPDATA=NULL");
    EXPECT_EQ(j["messages"][1]["text"], "Wrong rect num");
    EXPECT_EQ(j["messages"][2]["text"], "Macro Protocol is unknown");
    EXPECT_EQ(j["messages"][2]["title"], "Error");
}

TEST(Velkinctl, TextsListsEveryId) {
    CTempDir prog, data;
    prog.Write("cfg.ini", "[OPT]\nappdir=X\nMacProtocol=1\n");
    prog.Write("text.xml", "<r><config><tc_ok>OK &amp; go</tc_ok></config></r>");
    CRunResult r =
        RunVelkinctl("--program-dir " + prog.Path() + " --data-dir " + data.Path() + " texts");
    ASSERT_EQ(r.nStatus, 0);
    auto j = nlohmann::json::parse(r.strOut);
    EXPECT_EQ(j.size(), 329u);
    EXPECT_EQ(j["tc_ok"], "OK & go");
    EXPECT_EQ(j["tc_hz"], "Hz");
    EXPECT_EQ(j["tc_title"], "");
}

TEST(Velkinctl, MissingDirectoryIsAClearError) {
    CTempDir data;
    for (const char* pszOpt : {"--program-dir", "--data-dir", "--desktop-dir"}) {
        CRunResult r = RunVelkinctl(std::string(pszOpt) + " /nonexistent/velkin config");
        EXPECT_NE(r.nStatus, 0) << pszOpt;
        EXPECT_TRUE(r.strOut.empty()) << pszOpt;
    }
}

TEST(Velkinctl, CheckPassesOnTheDemoAndFailsOnProblems) {
    CTempDir data;
    // The demo's skins are drawn by the GUI build; without them the check rightly complains.
    if (std::filesystem::exists(VELKIN_BINARY_DIR "/bin/dark/main_nr.png")) {
        CRunResult r = RunVelkinctl("--program-dir " VELKIN_BINARY_DIR "/bin --data-dir " +
                                    data.Path() + " check");
        EXPECT_EQ(r.nStatus, 0) << r.strOut;
    }

    CTempDir prog;
    prog.Write("cfg.ini", "[OPT]\nappdir=X\nMacProtocol=9\n");
    CRunResult r = RunVelkinctl("--program-dir " + prog.Path() + " --data-dir " + data.Path() +
                                " check --json");
    EXPECT_EQ(r.nStatus, 1);
    auto j = nlohmann::json::parse(r.strOut);
    ASSERT_EQ(j["messages"].size(), 1u);
    EXPECT_EQ(j["messages"][0]["text"], "Macro Protocol is unknown");
}
