// Names inside an installation made on Windows, and files replaced without tearing.
#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/FileLookup.h"
#include "support/TestDirs.h"

TEST(FileLookup, ResolvesEachComponentWithoutRegardToCase) {
    CTempDir dir;
    dir.Write("Cfg.INI", "x");
    dir.Write("Text/DE/Text.xml", "y");
    EXPECT_EQ(FileLookup::Resolve(dir.Path(), "cfg.ini"), dir.Path() + "Cfg.INI");
    EXPECT_EQ(FileLookup::Resolve(dir.Path(), "text\\de\\text.xml"),
              dir.Path() + "Text/DE/Text.xml");
    EXPECT_EQ(FileLookup::Resolve(dir.Path(), "Text/fr/text.xml"), dir.Path() + "Text/fr/text.xml");
    EXPECT_EQ(FileLookup::Resolve(dir.Path(), "missing.png"), dir.Path() + "missing.png");
}

TEST(FileLookup, ExactNameWinsOverOtherSpellings) {
    CTempDir dir;
    dir.Write("cfg.ini", "lower");
    dir.Write("CFG.INI", "upper");
    EXPECT_EQ(FileLookup::Resolve(dir.Path(), "CFG.INI"), dir.Path() + "CFG.INI");
    EXPECT_EQ(FileLookup::Resolve(dir.Path(), "cfg.ini"), dir.Path() + "cfg.ini");
}

TEST(FileLookup, WriteAtomicReplacesWholeFilesOnly) {
    CTempDir dir;
    std::string strPath = dir.Write("pro.dct", "old contents");
    ASSERT_TRUE(FileLookup::WriteAtomic(strPath, "new", 3));
    EXPECT_EQ(dir.Read("pro.dct"), "new");
    // A write that cannot be finished (here: the rename, since a folder holds the name) leaves
    // what was there untouched and no temporary file behind.
    dir.Write("busy/keep", "mine");
    EXPECT_FALSE(FileLookup::WriteAtomic(dir.Path() + "busy", "newer", 5));
    EXPECT_EQ(dir.Read("busy/keep"), "mine");
    size_t nEntries = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.Path())) {
        (void)e;
        ++nEntries;
    }
    EXPECT_EQ(nEntries, 2u); // pro.dct and busy
    EXPECT_FALSE(FileLookup::WriteAtomic(dir.Path() + "no-such-folder/x", "a", 1));
    auto data = FileLookup::ReadAll(strPath);
    ASSERT_TRUE(data.has_value());
    EXPECT_EQ(data->size(), 3u);
    EXPECT_FALSE(FileLookup::ReadAll(dir.Path() + "none").has_value());
}

TEST(FileLookup, MakeDirIsOneLevel) {
    CTempDir dir;
    EXPECT_TRUE(FileLookup::MakeDir(dir.Path() + "a/"));
    EXPECT_TRUE(FileLookup::MakeDir(dir.Path() + "a"));
    EXPECT_FALSE(FileLookup::MakeDir(dir.Path() + "b/c"));
}
