// velkinctl behaves as a command-line program: usage errors end with status 2, --version
// names the build's version, questions take --yes / --no, and a failed file operation
// names the file and the system's reason.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>
#include <sys/wait.h>

#include "platform/FileLookup.h"
#include "storage/MacroRecord.h"
#include "support/TestDirs.h"

namespace {

struct CRun {
    int nStatus = -1; // exit status, -1 when it did not exit normally
    std::string strOut, strErr;
};

// Runs velkinctl with the arguments (a shell word list) on a closed standard input, so a
// question is answered as without a terminal; both output streams are kept.
CRun RunCtl(const std::string& strArgs) {
    CTempDir tmp;
    const std::string strCmd = std::string(VELKIN_BINARY_DIR "/bin/velkinctl ") + strArgs + " >" +
                               tmp.Path() + "out 2>" + tmp.Path() + "err </dev/null";
    CRun r;
    const int nRaw = std::system(strCmd.c_str());
    r.nStatus = nRaw != -1 && WIFEXITED(nRaw) ? WEXITSTATUS(nRaw) : -1;
    r.strOut = tmp.Read("out");
    r.strErr = tmp.Read("err");
    return r;
}

// The demo installation with a fresh user data folder.
class CommandLineTest : public ::testing::Test {
protected:
    CRun Run(const std::string& strArgs) {
        return RunCtl("--program-dir " VELKIN_SOURCE_DIR "/install/demo --data-dir " +
                      m_data.Path() + " --desktop-dir " + m_data.Path() + " " + strArgs);
    }
    std::string NewMacro(const std::string& strName) {
        CRun r = Run("macros new " + strName);
        EXPECT_EQ(r.nStatus, 0) << r.strErr;
        return r.nStatus == 0 ? nlohmann::json::parse(r.strOut)["dwId"].get<std::string>() : "";
    }
    std::string User(const std::string& strName) { return m_data.Path() + "VelkinDemo/" + strName; }

    CTempDir m_data;
};

std::string ProjectVersion() {
    std::ifstream f(VELKIN_SOURCE_DIR "/CMakeLists.txt");
    std::stringstream ss;
    ss << f.rdbuf();
    std::smatch m;
    const std::string strText = ss.str();
    return std::regex_search(strText, m, std::regex(R"(project\(velkin VERSION ([0-9.]+))"))
               ? m[1].str()
               : "";
}

} // namespace

TEST_F(CommandLineTest, UsageErrorsEndWithStatusTwo) {
    struct Case {
        const char* pszArgs;
        const char* pszSays; // part of the message on standard error
    } aCases[] = {
        {"", "a command is missing"},
        {"frobnicate", "not a command or option: frobnicate"},
        {"--frobnicate", "not a command or option: --frobnicate"},
        {"config --frobnicate", "--frobnicate"},
        {"--program-dir", "--program-dir"},
        {"macros", "macros: a command is missing"},
        {"macros frobnicate", "macros: not a command or option: frobnicate"},
        {"macros import", "FILE is required"},
        {"macros export 1", "FILE is required"},
        {"keycfg export a.kyg b.kyg", "b.kyg"},
        {"macros import --yes --no x.mcf", "--yes excludes --no"},
        {"profiles import --yes --no x.bkm", "--yes"},
        {"macros show 12abc", "not an id"},
    };
    for (const Case& c : aCases) {
        SCOPED_TRACE(c.pszArgs);
        CRun r = Run(c.pszArgs);
        EXPECT_EQ(r.nStatus, 2);
        EXPECT_NE(r.strErr.find(c.pszSays), std::string::npos) << r.strErr;
        EXPECT_EQ(r.strOut, "");
    }
}

TEST(CommandLine, HelpAndVersionEndWithStatusZero) {
    const std::string strVersion = ProjectVersion();
    ASSERT_FALSE(strVersion.empty());
    CRun r = RunCtl("--version");
    EXPECT_EQ(r.nStatus, 0);
    EXPECT_EQ(r.strOut, "velkinctl " + strVersion + "\n");
    EXPECT_EQ(r.strErr, "");

    r = RunCtl("--help");
    EXPECT_EQ(r.nStatus, 0);
    EXPECT_NE(r.strOut.find("--version"), std::string::npos);
    r = RunCtl("macros import --help");
    EXPECT_EQ(r.nStatus, 0);
    EXPECT_NE(r.strOut.find("--yes"), std::string::npos);
    EXPECT_NE(r.strOut.find("--no"), std::string::npos);
}

TEST_F(CommandLineTest, MacroImportReplacesAMacroOfTheSameNameOnlyWithYes) {
    const std::string strOldId = NewMacro("Reload");
    const std::string strTarget = User("Mac/Reload.mcf");
    const auto oldBytes = FileLookup::ReadAll(strTarget);
    ASSERT_TRUE(oldBytes);
    // A recorded macro under the taken name: the A key pressed and let go, seven times.
    StMacro rec{};
    rec.dwMagic = MACRO_MAGIC;
    rec.wLoopCount = 7;
    rec.Events[0] = MacroEvent{0x41, 0, 1, 20};
    rec.Events[1] = MacroEvent{0x41, 0, 0, 20};
    m_data.Write("Reload.mcf", std::string(reinterpret_cast<const char*>(&rec), sizeof(rec)));
    const std::string strFile = m_data.Path() + "Reload.mcf";

    for (const char* pszAnswer : {"", "--no "}) {
        SCOPED_TRACE(pszAnswer);
        CRun r = Run(std::string("macros import ") + pszAnswer + strFile);
        EXPECT_EQ(r.nStatus, 1);
        EXPECT_NE(r.strErr.find("replace it?"), std::string::npos) << r.strErr;
        EXPECT_EQ(FileLookup::ReadAll(strTarget), oldBytes);
    }

    CRun r = Run("macros import --yes " + strFile);
    ASSERT_EQ(r.nStatus, 0) << r.strErr;
    // The macro keeps its id, so the keys bound to it play what was imported.
    EXPECT_EQ(nlohmann::json::parse(r.strOut)["dwId"], strOldId);
    EXPECT_NE(FileLookup::ReadAll(strTarget), oldBytes);
    auto jList = nlohmann::json::parse(Run("macros list").strOut);
    ASSERT_EQ(jList.size(), 1u);
    auto jShown = nlohmann::json::parse(Run("macros show " + strOldId).strOut);
    EXPECT_EQ(jShown["szName"], "Reload");
    EXPECT_EQ(jShown["wLoopCount"], 7);
    EXPECT_EQ(jShown["Events"].size(), 2u);
}

TEST_F(CommandLineTest, FailedFileOperationsNameTheFileAndTheReason) {
    const std::string strMacro = NewMacro("Reload");
    ASSERT_EQ(Run("profiles new P").nStatus, 0);
    // Under a regular file nothing can be written, even by root.
    const std::string strFile = m_data.Write("plain", "x");
    m_data.Write("short.mcf", std::string(100, 'x'));
    struct Case {
        std::string strArgs;
        int nStatus;
        std::string strSays;
    } aCases[] = {
        {"macros export " + strMacro + " " + strFile + "/m.mcf", 1,
         "velkinctl: cannot write " + strFile + "/m.mcf: Not a directory"},
        {"keycfg export " + strFile + "/k.kyg", 1,
         "velkinctl: cannot write " + strFile + "/k.kyg: Not a directory"},
        {"macros import " + m_data.Path() + "missing.mcf", 1,
         "velkinctl: cannot read " + m_data.Path() + "missing.mcf: No such file or directory"},
        {"macros import " + m_data.Path() + "short.mcf", 1,
         "velkinctl: cannot read " + m_data.Path() + "short.mcf: shorter than a macro file"},
        {"macros show " + m_data.Path(), 1,
         "velkinctl: cannot read " + m_data.Path() + ": Is a directory"},
        {"keycfg import " + m_data.Path() + "missing.kyg", 1,
         "velkinctl: cannot read " + m_data.Path() + "missing.kyg: No such file or directory"},
        {"--trace " + strFile + "/t.jsonl --simulate devices", 2,
         "velkinctl: cannot write the trace file " + strFile + "/t.jsonl: Not a directory"},
        {"--simulate=" + m_data.Path() + "missing.json devices", 2,
         "velkinctl: cannot read the simulation file " + m_data.Path() +
             "missing.json: No such file or directory"},
    };
    for (const Case& c : aCases) {
        SCOPED_TRACE(c.strArgs);
        CRun r = Run(c.strArgs);
        EXPECT_EQ(r.nStatus, c.nStatus);
        EXPECT_NE(r.strErr.find(c.strSays), std::string::npos) << r.strErr;
    }
}

TEST_F(CommandLineTest, MacroFolderThatCannotBeMadeIsNamed) {
    // A file where the macro folder belongs: the new macro cannot be written there.
    m_data.Write("VelkinDemo/Mac", "not a folder");
    CRun r = Run("macros new Reload");
    EXPECT_EQ(r.nStatus, 1);
    EXPECT_NE(
        r.strErr.find("velkinctl: cannot write " + User("Mac/Reload.mcf") + ": Not a directory"),
        std::string::npos)
        << r.strErr;
}

TEST(CommandLine, CheckListsHexadecimalItemsWrittenWithAPrefix) {
    CTempDir prog, data;
    prog.Write("cfg.ini", "[OPT]\nappdir=X\nMacProtocol=1\nPadFw=40\n"
                          "[PAD]\nVID=0x258A\nPID=0x00A0\nLedParam=2,0x3,3\nPSD=0x40,01\n");
    CRun r = RunCtl("--program-dir " + prog.Path() + " --data-dir " + data.Path() + " check");
    EXPECT_EQ(r.nStatus, 1);
    for (const char* pszItem : {"[PAD] LedParam: item 0x3", "[PAD] PSD: item 0x40"})
        EXPECT_NE(r.strOut.find(std::string("problem: cfg.ini ") + pszItem + " has a 0x prefix"),
                  std::string::npos)
            << r.strOut;

    r = RunCtl("--program-dir " + prog.Path() + " --data-dir " + data.Path() + " check --json");
    auto j = nlohmann::json::parse(r.strOut);
    ASSERT_EQ(j["problems"].size(), 2u);
    // In reading order: the pad's code comes before its light parameters.
    EXPECT_EQ(j["problems"][1],
              "cfg.ini [PAD] LedParam: item 0x3 has a 0x prefix; this value takes bare "
              "hexadecimal digits (3), so reading stops before it");

    prog.Write("cfg.ini", "[OPT]\nappdir=X\nMacProtocol=1\nPadFw=40\n"
                          "[PAD]\nVID=0x258A\nPID=0x00A0\nLedParam=2,3,3\nPSD=40,01\n");
    r = RunCtl("--program-dir " + prog.Path() + " --data-dir " + data.Path() + " check");
    EXPECT_EQ(r.nStatus, 0) << r.strOut;
}
