// velkinctl profiles / macros / keycfg on the demo installation: what they print, what they
// store, and their exit status on failure.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sys/wait.h>

#include "platform/FileLookup.h"
#include "support/RunVelkinctl.h"
#include "support/TestDirs.h"

namespace {

class StorageCommandsTest : public ::testing::Test {
protected:
    CRunResult Run(const std::string& strArgs) {
        return RunVelkinctl("--program-dir " VELKIN_SOURCE_DIR "/install/demo --data-dir " +
                            m_data.Path() + " --desktop-dir " + m_data.Path() + " " + strArgs);
    }
    nlohmann::json Json(const std::string& strArgs) {
        CRunResult r = Run(strArgs);
        EXPECT_EQ(r.nStatus, 0) << strArgs;
        return r.nStatus == 0 ? nlohmann::json::parse(r.strOut) : nlohmann::json();
    }
    std::string User(const std::string& strName) { return m_data.Path() + "VelkinDemo/" + strName; }

    CTempDir m_data;
};

TEST_F(StorageCommandsTest, AFreshDataFolderHasTheFirstStartProfilesWithStableIds) {
    // The demo's ProfileNum is 5: the program's first start shows them, and so does velkinctl.
    auto jList = Json("profiles list");
    ASSERT_EQ(jList.size(), 5u);
    EXPECT_EQ(jList[0]["szName"], "Profile 1");
    EXPECT_EQ(jList[4]["szName"], "Profile 5");
    EXPECT_EQ(jList[0]["current"], true);
    // They were saved at once, so the ids one command printed name the same profiles in the
    // next command.
    EXPECT_TRUE(FileLookup::Exists(User("pro.dct")));
    EXPECT_EQ(Json("profiles list"), jList);
    EXPECT_EQ(Json("profiles show " + std::string(jList[2]["dwId"]))["szName"], "Profile 3");
}

TEST_F(StorageCommandsTest, ProfileLifecycleByIdAndByName) {
    std::string strA = Json("profiles new Alpha")["dwId"];
    std::string strB = Json("profiles new Beta")["dwId"];
    auto jList = Json("profiles list");
    ASSERT_EQ(jList.size(), 7u);
    EXPECT_EQ(jList[6]["szName"], "Beta");
    EXPECT_EQ(jList[6]["current"], true);

    auto jShow = Json("profiles show " + strA);
    EXPECT_EQ(jShow["szName"], "Alpha");
    EXPECT_EQ(jShow["Ms"]["nSensor"], "0x00003389");
    EXPECT_EQ(jShow["Ms"]["Mode"][0]["Dpi"][1]["nX"], 800);
    EXPECT_EQ(jShow["Pad"]["nPadLedEffect"], 2);
    EXPECT_EQ(Json("profiles show ALPHA")["dwId"], strA); // a name in any letter case

    EXPECT_EQ(Run("profiles rename alpha Renamed").nStatus, 0);
    EXPECT_EQ(Run("profiles select " + strA).nStatus, 0);
    jList = Json("profiles list");
    EXPECT_EQ(jList[5]["szName"], "Renamed");
    EXPECT_EQ(jList[5]["current"], true);
    EXPECT_EQ(Run("profiles delete renamed").nStatus, 0);
    jList = Json("profiles list");
    ASSERT_EQ(jList.size(), 6u);
    EXPECT_EQ(jList[0]["current"], true); // the first remaining one

    EXPECT_EQ(Run("profiles show 0x1").nStatus, 1);
    EXPECT_EQ(Run("profiles show nonsense").nStatus, 1);
    EXPECT_EQ(Run("profiles delete 0x1").nStatus, 1);
}

TEST_F(StorageCommandsTest, ProfileRefusalsAreTheWindowsAndChangeNothing) {
    ASSERT_EQ(Run("profiles new Alpha").nStatus, 0);
    const auto jBefore = Json("profiles list");
    struct {
        const char* pszArgs;
        int nStatus;
        const char* pszMessage;
    } cases[] = {
        // Another letter case, and a name that is the same once cut to 19 characters.
        {"profiles new aLPHA", 1, "A profile with this name already exists."},
        {"profiles new \"Profile 1 and a long tail\"", 0, nullptr},
        {"profiles new \"PROFILE 1 AND A LONG other tail\"", 1,
         "A profile with this name already exists."},
    };
    for (const auto& c : cases) {
        CRunResult r = Run(c.pszArgs);
        EXPECT_EQ(r.nStatus, c.nStatus) << c.pszArgs << ": " << r.strErr;
        if (c.pszMessage) {
            EXPECT_NE(r.strErr.find(c.pszMessage), std::string::npos) << r.strErr;
        }
    }
    EXPECT_EQ(Json("profiles list").size(), jBefore.size() + 1);

    // Down to one profile: the last one cannot be deleted.
    for (const auto& j : Json("profiles list"))
        Run("profiles delete " + std::string(j["dwId"]));
    auto jList = Json("profiles list");
    ASSERT_EQ(jList.size(), 1u);
    CRunResult r = Run("profiles delete " + std::string(jList[0]["dwId"]));
    EXPECT_EQ(r.nStatus, 1);
    EXPECT_NE(r.strErr.find("The last profile cannot be deleted."), std::string::npos) << r.strErr;
    EXPECT_EQ(Json("profiles list"), jList);
}

TEST_F(StorageCommandsTest, TwelveProfilesAtMost) {
    for (int i = 5; i < 12; ++i) // after the five first-start profiles
        ASSERT_EQ(Run("profiles new P" + std::to_string(i)).nStatus, 0);
    CRunResult r = Run("profiles new Thirteen");
    EXPECT_EQ(r.nStatus, 1);
    EXPECT_NE(r.strErr.find("The number of profile has reached it's maximum"), std::string::npos);
    EXPECT_EQ(Json("profiles list").size(), 12u);
}

TEST_F(StorageCommandsTest, DefaultsWritesTheRawRecord) {
    std::string strOut = m_data.Path() + "def.bin";
    ASSERT_EQ(Run("profiles defaults --out " + strOut).nStatus, 0);
    auto v = FileLookup::ReadAll(strOut);
    ASSERT_TRUE(v);
    ASSERT_EQ(v->size(), 56256u);
    EXPECT_EQ((*v)[4], 0x97);
    EXPECT_EQ((*v)[7], 0xFC);
    EXPECT_FALSE(FileLookup::Exists(User("pro.dct"))); // the store is not touched
}

TEST_F(StorageCommandsTest, UnusableStoreIsKeptAsideOnlyByChangingCommands) {
    m_data.Write("VelkinDemo/pro.dct", "junk");
    // A reading command shows the first start's profiles but saves nothing over the file.
    EXPECT_EQ(Json("profiles list").size(), 5u);
    EXPECT_EQ(FileLookup::ReadAll(User("pro.dct"))->size(), 4u);
    ASSERT_EQ(Run("profiles new Fresh").nStatus, 0);
    int nAside = 0;
    auto vList = Json("profiles list");
    EXPECT_EQ(vList.size(), 6u);
    std::string strDir = m_data.Path() + "VelkinDemo";
    for (auto& e : std::filesystem::directory_iterator(strDir))
        if (e.path().filename().string().rfind("pro.dct.bad-", 0) == 0)
            ++nAside;
    EXPECT_EQ(nAside, 1);
}

TEST_F(StorageCommandsTest, MacrosAndProfileFiles) {
    EXPECT_EQ(Run("macros new bad/name").nStatus, 1);
    std::string strMacro = Json("macros new Reload")["dwId"];
    EXPECT_EQ(Run("macros new Reload").nStatus, 1); // the name exists
    auto jList = Json("macros list");
    ASSERT_EQ(jList.size(), 1u);
    EXPECT_EQ(jList[0]["szName"], "Reload");
    std::string strFile = m_data.Path() + "copy.mcf";
    ASSERT_EQ(Run("macros export " + strMacro + " " + strFile).nStatus, 0);
    EXPECT_EQ(Json("macros show " + strFile)["szName"], "Reload");
    EXPECT_EQ(Json("macros import " + strFile).size(), 1u);
    EXPECT_TRUE(FileLookup::Exists(User("Mac/copy.mcf")));
    m_data.Write("junk.mcf", std::string(1480, 'x'));
    EXPECT_EQ(Run("macros import " + m_data.Path() + "junk.mcf").nStatus, 1);

    std::string strProfile = Json("profiles new Source")["dwId"];
    std::string strBkm = m_data.Path() + "Shared.bkm";
    ASSERT_EQ(Run("profiles export " + strProfile + " " + strBkm).nStatus, 0);
    EXPECT_EQ(FileLookup::ReadAll(strBkm)->size(), 85856u);
    auto jImported = Json("profiles import --no " + strBkm);
    EXPECT_EQ(Json("profiles show " + jImported["dwId"].get<std::string>())["szName"], "Shared");
    EXPECT_EQ(Run("profiles import " + strBkm).nStatus, 1); // the name is taken now
    EXPECT_EQ(Run("profiles import --yes --no " + strBkm).nStatus, 2);

    std::string strKyg = m_data.Path() + "keys.kyg";
    ASSERT_EQ(Run("keycfg export " + strKyg).nStatus, 0);
    ASSERT_EQ(Run("keycfg import " + strKyg).nStatus, 0);
    EXPECT_EQ(FileLookup::ReadAll(User("keycfg.kyg")), FileLookup::ReadAll(strKyg));
    m_data.Write("bad.kyg", std::string(27748, '\0'));
    EXPECT_EQ(Run("keycfg import " + m_data.Path() + "bad.kyg").nStatus, 1);
}

} // namespace
