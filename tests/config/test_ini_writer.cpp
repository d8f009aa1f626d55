// lang.ini is rewritten key by key; every other line stays as the user had it.
#include <gtest/gtest.h>

#include "config/IniFile.h"
#include "support/TestDirs.h"

TEST(IniWriter, ReplacesAddsAndKeepsOtherLines) {
    CTempDir dir;
    std::string strPath = dir.Write(
        "lang.ini", "; my notes\r\n[OPT]\r\nPlaySound=0\r\nLangIndex=1\r\n[Other]\r\nX=1\r\n");
    ASSERT_TRUE(WriteIniValue(strPath, "OPT", "playsound", "1"));
    ASSERT_TRUE(WriteIniValue(strPath, "OPT", "SkinsIndex", "2"));
    ASSERT_TRUE(WriteIniValue(strPath, "New", "K", "v"));
    CIniFile ini(strPath);
    EXPECT_EQ(ini.GetInt("OPT", "PlaySound", 9), 1);
    EXPECT_EQ(ini.GetInt("OPT", "LangIndex", 9), 1);
    EXPECT_EQ(ini.GetInt("OPT", "SkinsIndex", 9), 2);
    EXPECT_EQ(ini.GetInt("Other", "X", 9), 1);
    EXPECT_EQ(ini.GetString("New", "K", "", 10), "v");
    std::string strText = dir.Read("lang.ini");
    EXPECT_EQ(strText.find("; my notes"), 0u);
    EXPECT_EQ(strText.find("playsound"), std::string::npos) << "the key keeps its spelling";
    // SkinsIndex belongs to [OPT], before [Other].
    EXPECT_LT(strText.find("SkinsIndex"), strText.find("[Other]"));
}

TEST(IniWriter, CreatesMissingFile) {
    CTempDir dir;
    ASSERT_TRUE(WriteIniValue(dir.Path() + "lang.ini", "OPT", "LangIndex", "1"));
    EXPECT_EQ(CIniFile(dir.Path() + "lang.ini").GetInt("OPT", "LangIndex", 0), 1);
}

TEST(IniWriter, FailsInAMissingFolder) {
    EXPECT_FALSE(WriteIniValue("/nonexistent-folder/lang.ini", "OPT", "LangIndex", "1"));
}
