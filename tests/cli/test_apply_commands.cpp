// velkinctl apply / reset / sim-state end to end on the demo installation with simulated
// devices: what reaches the device, the exit status and messages of every failure, what
// reset stores, and the progress bar on a terminal and off it.
#include <gtest/gtest.h>

#include <cctype>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <sys/wait.h>

#include "support/RunVelkinctl.h"
#include "support/TestDirs.h"

namespace {

struct CRun {
    int nStatus = -1;
    std::string strOut, strErr;
};

class ApplyCommandsTest : public ::testing::Test {
protected:
    std::string Base() const {
        return std::string(VELKIN_BINARY_DIR "/bin/velkinctl --program-dir " VELKIN_SOURCE_DIR
                                             "/install/demo --data-dir ") +
               m_data.Path() + " --desktop-dir " + m_data.Path() + " ";
    }
    // Runs velkinctl with standard error kept in a file.
    CRun Run(const std::string& strArgs) {
        const std::string strErrFile = m_data.Path() + "stderr.txt";
        const std::string strCmd = Base() + strArgs + " 2>" + strErrFile + " </dev/null";
        CRun r;
        FILE* p = popen(strCmd.c_str(), "r");
        if (!p)
            return r;
        char buf[4096];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0)
            r.strOut.append(buf, n);
        const int nRaw = pclose(p);
        r.nStatus = WIFEXITED(nRaw) ? WEXITSTATUS(nRaw) : -1;
        r.strErr = ReadFile(strErrFile);
        return r;
    }
    static std::string ReadFile(const std::string& strPath) {
        std::ifstream f(strPath, std::ios::binary);
        std::stringstream ss;
        ss << f.rdbuf();
        return ss.str();
    }
    std::string NewProfile(const std::string& strName) {
        CRun r = Run("profiles new " + strName);
        EXPECT_EQ(r.nStatus, 0) << r.strErr;
        return r.nStatus == 0 ? nlohmann::json::parse(r.strOut)["dwId"].get<std::string>() : "";
    }
    std::string SimFile(const std::string& strJson) { return m_data.Write("sim.json", strJson); }
    std::string StatePath() const { return m_data.Path() + "state.json"; }
    nlohmann::json Device(const std::string& strName) {
        nlohmann::json j = nlohmann::json::parse(ReadFile(StatePath()));
        for (const auto& d : j["devices"])
            if (d["name"] == strName)
                return d;
        return nullptr;
    }
    std::string ProFile() const { return m_data.Path() + "VelkinDemo/pro.dct"; }

    CTempDir m_data;
};

// Byte i of a hexadecimal block.
int Byte(const std::string& strHex, size_t i) {
    return std::stoi(strHex.substr(2 * i, 2), nullptr, 16);
}

TEST_F(ApplyCommandsTest, PadApplyWritesTheProfilesLighting) {
    const std::string strId = NewProfile("Alpha");
    const std::string strTrace = m_data.Path() + "trace.jsonl";
    CRun r = Run("--simulate --trace " + strTrace + " --sim-state-out " + StatePath() +
                 " apply --family pad");
    ASSERT_EQ(r.nStatus, 0) << r.strErr;
    EXPECT_NE(r.strOut.find("to the pad"), std::string::npos) << r.strOut;
    EXPECT_NE(r.strErr.find("[##########] 100%"), std::string::npos) << r.strErr;

    // The block the pad holds is the one built from the stored profile's pad region.
    nlohmann::json jPro = nlohmann::json::parse(Run("profiles show " + strId).strOut);
    const int nEffect = jPro["Pad"]["nPadLedEffect"];
    nlohmann::json pad = Device("pad");
    ASSERT_FALSE(pad.is_null());
    const std::string strGeneral = pad["general"];
    EXPECT_EQ(Byte(strGeneral, 0), 0x40); // the demo pad's code stays
    EXPECT_EQ(Byte(strGeneral, 1), 0x01);
    EXPECT_EQ(Byte(strGeneral, 2), nEffect == 10 ? 0 : nEffect + 1);
    EXPECT_EQ(pad["reports"]["set"], 1);
    EXPECT_EQ(pad["reports"]["failed"], 0);
    EXPECT_EQ(Device("mouse")["reports"]["set"], 0); // only the chosen family is written

    // The trace saw the write of that block.
    std::ifstream f(strTrace);
    std::string strLine, strLast;
    while (std::getline(f, strLine)) {
        auto j = nlohmann::json::parse(strLine);
        if (j["operation"] == "SetFeature")
            strLast = j["report"];
    }
    EXPECT_EQ(strLast, "30" + strGeneral);
}

TEST_F(ApplyCommandsTest, ApplyFailuresHaveTheirMessageAndStatus) {
    struct CCase {
        const char* pszName;
        const char* pszSim; // simulation file, or null for the installation's devices
        const char* pszArgs;
        int nStatus;
        const char* pszMessage;
    };
    const CCase kCases[] = {
        // Discovery reads the block once; the apply's read then fails all three tries.
        {"transfer fails", R"({"devices": [{"family": "pad", "failNext": 3, "failAfter": 1}]})",
         "apply --family pad", 1, "Error: Update settings failed!"},
        {"no device", R"({"devices": [{"family": "pad", "present": false}]})", "apply --family pad",
         1, "no pad is connected; nothing was written"},
        {"unknown profile", nullptr, "apply --family pad --profile 0x1", 1,
         "no profile with id or name 0x1"},
        {"unknown family", nullptr, "apply --family lamp", 2, "--family must be"},
        {"flag the pad does not know", nullptr, "apply --family pad --flags 0x10", 2,
         "holds bits the pad does not know"},
        {"nothing selected", nullptr, "apply --family mouse --flags 0x8004", 2,
         "selects nothing to write"},
        {"flags not a number", nullptr, "apply --flags ten", 2, "--flags takes a number"},
    };
    NewProfile("Alpha");
    for (const CCase& c : kCases) {
        const std::string strSim = c.pszSim ? "--simulate=" + SimFile(c.pszSim) : "--simulate";
        CRun r = Run(strSim + " --sim-state-out " + StatePath() + " " + c.pszArgs);
        EXPECT_EQ(r.nStatus, c.nStatus) << c.pszName << ": " << r.strErr;
        EXPECT_NE(r.strErr.find(c.pszMessage), std::string::npos) << c.pszName << ": " << r.strErr;
        EXPECT_EQ(r.strOut.find("Applied"), std::string::npos) << c.pszName;
    }
    // The failing transfer left the pad's block as it was: nothing was sent.
    CRun r = Run("--simulate=" + SimFile(kCases[0].pszSim) + " --sim-state-out " + StatePath() +
                 " apply --family pad");
    EXPECT_EQ(r.nStatus, 1);
    EXPECT_EQ(Device("pad")["reports"]["set"], 0);
    EXPECT_EQ(Device("pad")["reports"]["failed"], 3);
}

TEST_F(ApplyCommandsTest, ApplyOnAFreshDataFolderWritesTheFirstStartProfile) {
    CRun r = Run("--simulate apply --family pad");
    ASSERT_EQ(r.nStatus, 0) << r.strErr;
    EXPECT_NE(r.strOut.find("\"Profile 1\""), std::string::npos) << r.strOut;
    // The default profiles were kept, so the next command names the same ones.
    auto jList = nlohmann::json::parse(Run("profiles list").strOut);
    ASSERT_EQ(jList.size(), 5u);
    std::string strId = jList[0]["dwId"];
    for (char& c : strId)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_NE(r.strOut.find(strId), std::string::npos) << r.strOut;
}

TEST_F(ApplyCommandsTest, ApplyOfANamedProfileKeepsTheCurrentOne) {
    NewProfile("Alpha");
    NewProfile("Beta"); // current
    const std::string strBefore = ReadFile(ProFile());
    CRun r = Run("--simulate apply --family pad --profile alpha"); // by name, any letter case
    ASSERT_EQ(r.nStatus, 0) << r.strErr;
    EXPECT_NE(r.strOut.find("\"Alpha\""), std::string::npos) << r.strOut;
    auto jList = nlohmann::json::parse(Run("profiles list").strOut);
    ASSERT_EQ(jList.size(), 7u);
    EXPECT_EQ(jList[6]["szName"], "Beta");
    EXPECT_EQ(jList[6]["current"], true);
    EXPECT_EQ(ReadFile(ProFile()), strBefore); // apply stores nothing
}

TEST_F(ApplyCommandsTest, ResetSavesWhenItCouldWriteAndOnlyThen) {
    const std::string strId = NewProfile("Alpha");
    const std::string strBefore = ReadFile(ProFile());

    // No pad and ApplyNow 0 in the demo: reset in memory only, nothing stored.
    CRun r = Run("--simulate=" + SimFile(R"({"devices": [{"family": "pad", "present": false}]})") +
                 " reset --family pad");
    EXPECT_EQ(r.nStatus, 0) << r.strErr;
    EXPECT_NE(r.strOut.find("in memory only"), std::string::npos) << r.strOut;
    EXPECT_EQ(ReadFile(ProFile()), strBefore);

    // With the pad: written with the full request and the store saved (the reset names the
    // profile sound of the installation).
    r = Run("--simulate --sim-state-out " + StatePath() + " reset --family pad");
    ASSERT_EQ(r.nStatus, 0) << r.strErr;
    EXPECT_NE(r.strOut.find("saved"), std::string::npos) << r.strOut;
    EXPECT_NE(ReadFile(ProFile()), strBefore);
    nlohmann::json jPro = nlohmann::json::parse(Run("profiles show " + strId).strOut);
    EXPECT_NE(jPro["szSound"].get<std::string>().find("DrvSound.wav"), std::string::npos);
    EXPECT_EQ(Device("pad")["reports"]["set"], 1);

    // A failing write still keeps the reset profile, and says that the device did not take it.
    std::filesystem::remove(ProFile());
    NewProfile("Beta");
    const std::string strFresh = ReadFile(ProFile());
    r = Run("--simulate=" +
            SimFile(R"({"devices": [{"family": "pad", "failNext": 3, "failAfter": 1}]})") +
            " reset --family pad");
    EXPECT_EQ(r.nStatus, 1);
    EXPECT_NE(r.strErr.find("saved them, but writing them to the pad failed"), std::string::npos)
        << r.strErr;
    EXPECT_NE(ReadFile(ProFile()), strFresh);
}

TEST_F(ApplyCommandsTest, SimStateAloneAndWithoutSimulation) {
    CRun r = Run("--simulate sim-state");
    ASSERT_EQ(r.nStatus, 0) << r.strErr;
    nlohmann::json j = nlohmann::json::parse(r.strOut);
    ASSERT_EQ(j["devices"].size(), 3u); // the demo's mouse, keyboard and pad
    for (const auto& d : j["devices"])
        EXPECT_EQ(d["reports"]["set"], 0) << d["name"];

    EXPECT_EQ(Run("sim-state").nStatus, 2);
    r = Run("--sim-state-out - texts");
    EXPECT_NE(r.nStatus, 0); // refused before anything runs
    EXPECT_TRUE(r.strOut.empty());
}

TEST_F(ApplyCommandsTest, MouseAndKeyboardFullApply) {
    NewProfile("Alpha");
    CRun r = Run("--simulate --sim-state-out " + StatePath() + " apply");
    ASSERT_EQ(r.nStatus, 0) << r.strErr;
    EXPECT_NE(r.strOut.find("to the mouse (flags 0x800f)"), std::string::npos) << r.strOut;
    nlohmann::json ms = Device("mouse");
    EXPECT_EQ(ms["reports"]["failed"], 0);
    EXPECT_GT(ms["reports"]["set"].get<int>(), 2);
    // Matrix positions 1 and 2 of mode 1 hold the demo's left and right buttons.
    EXPECT_EQ(ms["modes"][0]["matrix"][0], "0x00000111");
    EXPECT_EQ(ms["modes"][0]["matrix"][1], "0x00000211");

    r = Run("--simulate --sim-state-out " + StatePath() + " apply --family keyboard");
    ASSERT_EQ(r.nStatus, 0) << r.strErr;
    nlohmann::json kb = Device("keyboard");
    EXPECT_EQ(kb["reports"]["failed"], 0);
    EXPECT_GT(kb["reports"]["set"].get<int>(), 2);
}

TEST_F(ApplyCommandsTest, ProgressBarIsRedrawnInPlaceOnATerminal) {
    if (std::system("command -v script >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "script (util-linux) is not installed";
    NewProfile("Alpha");
    const std::string strOut = m_data.Path() + "tty.txt";
    const std::string strCmd = "script -qec \"" + Base() + "--simulate apply --family pad\" " +
                               strOut + " >/dev/null 2>&1 </dev/null";
    ASSERT_EQ(std::system(strCmd.c_str()), 0);
    const std::string strTty = ReadFile(strOut);
    EXPECT_NE(strTty.find("\r[##........]  20%\r[########..]  80%\r[##########] 100%"),
              std::string::npos)
        << strTty;
}

} // namespace
