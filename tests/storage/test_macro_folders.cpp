// Reading macro folders into stores and trees, the presets, flushing, deleting, renaming.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>

#include "StorageTestUtil.h"
#include "config/FunctionNames.h"
#include "config/Log.h"
#include "platform/FileLookup.h"
#include "storage/MacroFile.h"
#include "storage/MacroFolders.h"
#include "support/FakeClock.h"
#include "support/TestDirs.h"

namespace {

class MacroFolderTest : public ::testing::Test {
protected:
    MacroFolderTest() {
        m_var.szProgramDir = m_prog.Path();
        m_var.szUserDataDir = m_data.Path();
        m_var.MacroHasMsKey = 0x7F;
        m_paths = GetMacroFolders(m_var);
    }
    static StMacro Make(uint32_t dwId, const std::string& strName) {
        StMacro m;
        std::memset(&m, 0, sizeof(m));
        m.dwMagic = MACRO_MAGIC;
        m.dwId = dwId;
        m.wLoopCount = 1;
        SetMacroName(m, strName);
        m.Events[0] = {0x41, 0, 1, 10};
        return m;
    }
    // Writes the enciphered form (what the program writes).
    void Put(const std::string& strPath, const StMacro& m) {
        ASSERT_TRUE(save_macro_to_file_mcb(strPath, m, false));
    }
    static std::vector<std::string> Texts(const CMacroTreeItem* pItem) {
        std::vector<std::string> v;
        for (auto& p : pItem->vChildren)
            v.push_back((p->bFolder ? "+" : "") + p->strText);
        std::sort(v.begin(), v.end());
        return v;
    }

    CFakeClock m_clock;
    CTempDir m_prog, m_data;
    CGlobalVar m_var;
    MacroFolderPaths m_paths;
};

TEST_F(MacroFolderTest, FolderLocations) {
    EXPECT_EQ(m_paths.strMac, m_data.Path() + "Mac");
    EXPECT_EQ(m_paths.strBMac, m_data.Path() + "BMac");
    m_var.LoadCurDir = 1;
    MacroFolderPaths cur = GetMacroFolders(m_var);
    EXPECT_EQ(cur.strMac, m_prog.Path() + "Mac");
    EXPECT_EQ(cur.strBMac, m_prog.Path() + "BMac");
    EXPECT_EQ(cur.strOrgMac, m_data.Path() + "OrgMac"); // presets stay with the user
}

// What a folder scan takes: the extension in lowercase, plain and enciphered files, and
// nothing that is not a valid, supported macro.
TEST_F(MacroFolderTest, ScanTakesValidFilesOnly) {
    Put(m_paths.strMac + "/enc.mcf", Make(1, "enc"));
    StMacro plain = Make(2, "plain");
    FileLookup::WriteAtomic(m_paths.strMac + "/plain.mcf", &plain, sizeof(plain));
    Put(m_paths.strMac + "/upper.MCF", Make(3, "upper"));
    Put(m_paths.strMac + "/bullet.mcb", Make(4, "bullet"));
    Put(m_paths.strMac + "/noext", Make(5, "noext"));
    m_data.Write("Mac/short.mcf", "abc");
    StMacro mouse = Make(6, "mouse");
    mouse.Events[1] = {241, 0, 1, 0}; // right button: bit 1
    Put(m_paths.strMac + "/mouse.mcf", mouse);

    for (int nMask : {0x7F, 0x01}) {
        CMacroStore store;
        CMacroTree tree;
        MacroFolderFlags flags;
        flags.bAddToStore = true;
        int n = ReadMacroFolder(m_paths.strMac, &tree, nullptr, flags, store, "mcf", nMask);
        EXPECT_EQ(n, nMask == 0x7F ? 3 : 2);
        EXPECT_EQ(store.Count(), static_cast<size_t>(n));
        EXPECT_NE(store.Find(1), nullptr);
        EXPECT_NE(store.Find(2), nullptr);
        EXPECT_EQ(store.Find(6) != nullptr, nMask == 0x7F);
        for (auto& p : tree.Root()->vChildren)
            EXPECT_EQ(p->nTextOffset, MACRO_TREE_TEXT_OFFSET);
    }
}

// Sub-folders only with the flag; hidden ones never; folder items down to the tree's depth
// limit with the macros of deeper folders left out; the folder icon.
TEST_F(MacroFolderTest, SubFoldersAndDepth) {
    Put(m_paths.strMac + "/top.mcf", Make(1, "top"));
    std::string strDeep = m_paths.strMac;
    for (int i = 1; i <= 7; ++i) {
        strDeep += "/d" + std::to_string(i);
        Put(strDeep + "/m" + std::to_string(i) + ".mcf", Make(10 + i, "m"));
    }
    Put(m_paths.strMac + "/.git/hidden.mcf", Make(30, "h"));
    Put(m_paths.strMac + "/$trash/hidden.mcf", Make(31, "h"));
    m_data.Write("Mac/d1/d1.png", "png");

    CMacroStore store;
    MacroFolderFlags flags;
    flags.bAddToStore = true;
    EXPECT_EQ(ReadMacroFolder(m_paths.strMac, nullptr, nullptr, flags, store, "mcf", 0x7F), 1);

    flags.bSubFolders = true;
    CMacroTree tree;
    store.Clear();
    // Folders d1..d6: d1 is top-level (0 ancestors), d6 lies under d5 with 4 ancestors; d7
    // would go under d6 with 5 and is refused, so m7 is not read.
    EXPECT_EQ(ReadMacroFolder(m_paths.strMac, &tree, nullptr, flags, store, "mcf", 0x7F), 7);
    EXPECT_EQ(Texts(tree.Root()), (std::vector<std::string>{"+d1", "top"}));
    EXPECT_EQ(tree.MacroCount(), 7u);
    EXPECT_EQ(store.Find(17), nullptr);
    EXPECT_NE(store.Find(16), nullptr);
    CMacroTreeItem* pD1 = nullptr;
    for (auto& p : tree.Root()->vChildren)
        if (p->bFolder)
            pD1 = p.get();
    ASSERT_NE(pD1, nullptr);
    EXPECT_EQ(pD1->strIcon, m_paths.strMac + "/d1/d1.png");
    // The path of m6 follows the folder items from the top.
    CMacroTreeItem* pM6 = tree.FindMacroByValue(16);
    ASSERT_NE(pM6, nullptr);
    EXPECT_EQ(TreeItemToFilePath(m_paths.strMac, pM6, "mcf"),
              m_paths.strMac + "/d1/d2/d3/d4/d5/d6/m6.mcf");

    // Without a tree the store takes the deeper folders too.
    CMacroStore all;
    EXPECT_EQ(ReadMacroFolder(m_paths.strMac, nullptr, nullptr, flags, all, "mcf", 0x7F), 8);
}

TEST_F(MacroFolderTest, NewIdsAndNameFromFile) {
    Put(m_paths.strMac + "/Renamed on disk.mcf", Make(5, "Original"));
    Put(m_paths.strMac + "/SAME.mcf", Make(6, "same"));
    m_clock.SetLocal({2026, 1, 1, 1, 2, 3, 4});
    CMacroStore store;
    MacroFolderFlags flags;
    flags.bAddToStore = flags.bNewIds = flags.bNameFromFile = true;
    CMacroTree tree;
    ASSERT_EQ(ReadMacroFolder(m_paths.strMac, &tree, nullptr, flags, store, "mcf", 0x7F), 2);
    // New ids from the time, no two alike (the clock stands still here: the second is the
    // first + 1).
    uint32_t dwNew = (1u << 20) | (2u << 14) | (3u << 8) | 4u;
    std::vector<uint32_t> vIds;
    for (const StMacro& m : store.List()) {
        vIds.push_back(m.dwId);
        EXPECT_EQ(m.dwDirty & MACRO_DIRTY_OPTIONS, MACRO_DIRTY_OPTIONS);
    }
    std::sort(vIds.begin(), vIds.end());
    EXPECT_EQ(vIds, (std::vector<uint32_t>{dwNew, dwNew + 1}));
    std::vector<std::string> vNames;
    for (const StMacro& m : store.List())
        vNames.push_back(MacroName(m));
    std::sort(vNames.begin(), vNames.end());
    // A name differing only in case is kept.
    EXPECT_EQ(vNames, (std::vector<std::string>{"Renamed on disk", "same"}));
    // The tree's items carry the ids the store holds.
    std::vector<uint32_t> vTree;
    for (auto& p : tree.Root()->vChildren)
        vTree.push_back(p->dwValue);
    std::sort(vTree.begin(), vTree.end());
    EXPECT_EQ(vTree, vIds);
}

TEST_F(MacroFolderTest, OrgMacPresets) {
    StMacro mouse = Make(3, "mouse preset");
    mouse.Events[1] = {240, 0, 1, 0};
    Put(m_paths.strOrgMac + "/a.mcf", Make(1, "a"));
    Put(m_paths.strOrgMac + "/b.mcb", Make(2, "b"));
    Put(m_paths.strOrgMac + "/m.mcf", mouse); // presets skip the mouse-code check
    StMacro plain = Make(4, "plain");
    FileLookup::WriteAtomic(m_paths.strOrgMac + "/plain.mcf", &plain, sizeof(plain));
    Put(m_paths.strOrgMac + "/sub/deep.mcf", Make(5, "deep"));
    CMacroStore macros, bullets;
    EXPECT_EQ(LoadOrgMac(m_paths.strOrgMac, macros, bullets), 3);
    EXPECT_NE(macros.Find(1), nullptr);
    EXPECT_NE(macros.Find(3), nullptr);
    EXPECT_EQ(macros.Find(4), nullptr); // never plain
    EXPECT_NE(bullets.Find(2), nullptr);
}

TEST_F(MacroFolderTest, StartupLoadingAndNames) {
    m_var.MacroDir = 1;
    m_var.MacroHasMsKey = 0;
    Put(m_paths.strOrgMac + "/p.mcf", Make(1, "Preset"));
    Put(m_paths.strMac + "/sub/k.mcf", Make(2, "Keys"));
    Put(m_paths.strBMac + "/b.mcb", Make(3, "Spray"));
    CMacroStore macros(MACRO_STORE_MAX), bullets;
    LoadMacroStores(m_var, macros, bullets);
    EXPECT_EQ(macros.Count(), 2u);
    EXPECT_EQ(macros.List().At(0)->dwId, 1u); // presets come first
    EXPECT_EQ(bullets.Count(), 1u);

    CStoreMacroNames names(macros, bullets);
    const IMacroNameSource* pOld = GetMacroNameSource();
    SetMacroNameSource(&names);
    KeyFun kf{};
    kf.dwFun = MakeFun(12, 0);
    kf.dwMacroId = 3;
    EXPECT_NE(GetFunName(kf, m_var).find("Spray"), std::string::npos);
    SetMacroNameSource(pOld);
    EXPECT_EQ(names.MacroName(2), std::optional<std::string>("Keys"));
    EXPECT_EQ(names.MacroName(3), std::nullopt);
}

TEST(MacroStoreLimits, TwoThousandMacros) {
    CMacroStore store(MACRO_STORE_MAX);
    StMacro m{};
    for (uint32_t i = 1; i <= 2000; ++i) {
        m.dwId = i;
        ASSERT_NE(store.Add(m), nullptr) << i;
    }
    m.dwId = 2001;
    EXPECT_EQ(store.Add(m), nullptr);
    EXPECT_TRUE(store.Full());
    EXPECT_TRUE(store.Remove(5));
    EXPECT_NE(store.Add(m), nullptr);
    // Lookups: exact id, and the low 24 bits for tree values.
    m.dwId = 0x01000007;
    CMacroStore other;
    other.Add(m);
    EXPECT_EQ(other.Find(7), nullptr);
    EXPECT_NE(other.FindByItemValue(7), nullptr);
}

// A flush writes a dirty macro to its item's path and clears the bits; when the write fails
// the bits stay so the next flush tries again.
TEST_F(MacroFolderTest, FlushKeepsDirtyBitsOnFailure) {
    CMacroStore store;
    CMacroTree tree;
    StMacro m = Make(9, "Dirty");
    m.dwDirty = MACRO_DIRTY_EVENTS;
    StMacro* pRec = store.Add(m);
    CMacroTreeItem* pFolder = tree.AddChild(true, nullptr, "gone", 0);
    CMacroTreeItem* pItem = tree.AddChild(false, pFolder, "Dirty", 9);

    // The folder is a file: the write cannot succeed.
    m_data.Write("Mac", "not a folder");
    EXPECT_FALSE(Flush_Dirty_Macro(pItem, &tree, store, m_paths.strMac));
    EXPECT_EQ(pRec->dwDirty, MACRO_DIRTY_EVENTS);

    std::filesystem::remove(m_paths.strMac);
    EXPECT_TRUE(Flush_Dirty_Macro(pItem, &tree, store, m_paths.strMac)); // chain recreated
    EXPECT_EQ(pRec->dwDirty, 0u);
    StMacro out;
    ASSERT_EQ(ReadMacroFile(m_paths.strMac + "/gone/Dirty.mcf", EMacroForm::Enciphered, 0x7F, out),
              EMacroRead::Ok);
    EXPECT_EQ(out.dwId, 9u);
    // Not dirty, folder items and missing items: nothing to do.
    std::filesystem::remove(m_paths.strMac + "/gone/Dirty.mcf");
    EXPECT_TRUE(Flush_Dirty_Macro(pItem, &tree, store, m_paths.strMac));
    EXPECT_FALSE(FileLookup::Exists(m_paths.strMac + "/gone/Dirty.mcf"));
    EXPECT_TRUE(Flush_Dirty_Macro(pFolder, &tree, store, m_paths.strMac));
    EXPECT_FALSE(Flush_Dirty_Macro(nullptr, &tree, store, m_paths.strMac));
}

// A write that fails part-way leaves the old macro file whole.
TEST_F(MacroFolderTest, FailedMacroWriteLeavesOldFile) {
    std::string strPath = m_paths.strMac + "/a.mcf";
    Put(strPath, Make(1, "old"));
    auto vOld = FileLookup::ReadAll(strPath);
    struct sigaction saOld, saIgnore{};
    saIgnore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &saIgnore, &saOld);
    rlimit rlOld;
    getrlimit(RLIMIT_FSIZE, &rlOld);
    rlimit rlSmall = rlOld;
    rlSmall.rlim_cur = 1000;
    setrlimit(RLIMIT_FSIZE, &rlSmall);
    bool bOk = save_macro_to_file_mcb(strPath, Make(1, "new"), false);
    setrlimit(RLIMIT_FSIZE, &rlOld);
    sigaction(SIGXFSZ, &saOld, nullptr);
    EXPECT_FALSE(bOk);
    EXPECT_EQ(FileLookup::ReadAll(strPath), vOld);
}

TEST_F(MacroFolderTest, TreePathLimits) {
    CMacroTree tree;
    CMacroTreeItem* pItem = tree.AddChild(false, nullptr, std::string(300, 'a'), 1);
    EXPECT_EQ(TreeItemToFilePath(m_paths.strMac, pItem, "mcf"), "");
    EXPECT_EQ(tree.AddChild(true, pItem, "under a macro", 0), nullptr);
    EXPECT_EQ(TreeItemToFilePath(m_paths.strMac, tree.Root(), "mcf"), "");
}

TEST_F(MacroFolderTest, DeleteFileAndFolder) {
    CMacroStore store;
    store.Add(Make(1, "a"));
    std::string strPath = m_paths.strMac + "/a.mcf";
    Put(strPath, Make(1, "a"));
    std::string strMsg;
    EXPECT_TRUE(DeleteMacroFile(strPath, 1, store, strMsg));
    EXPECT_FALSE(FileLookup::Exists(strPath));
    EXPECT_EQ(store.Count(), 0u);
    EXPECT_TRUE(DeleteMacroFile(strPath, 1, store, strMsg)); // already gone counts as deleted
    EXPECT_TRUE(DeleteMacroFile(m_paths.strMac + "/no/such/x.mcf", 1, store, strMsg));

    Put(m_paths.strMac + "/f/x.mcf", Make(2, "x"));
    Put(m_paths.strMac + "/f/g/y.mcf", Make(3, "y"));
    m_data.Write("Mac/f/f.png", "png");
    std::filesystem::permissions(m_paths.strMac + "/f/x.mcf", std::filesystem::perms::owner_read);
    EXPECT_TRUE(DeleteMacroFolder(m_paths.strMac + "/f", strMsg));
    EXPECT_FALSE(FileLookup::Exists(m_paths.strMac + "/f"));
    EXPECT_TRUE(DeleteMacroFolder(m_paths.strMac + "/f", strMsg));

    // A hidden sub-folder is not deleted, so its parent cannot be removed.
    m_data.Write("Mac/h/.keep/file", "x");
    EXPECT_FALSE(DeleteMacroFolder(m_paths.strMac + "/h", strMsg));
    EXPECT_EQ(strMsg.rfind("Remove Directory failed, err = ", 0), 0u);
    EXPECT_TRUE(FileLookup::Exists(m_paths.strMac + "/h/.keep/file"));
}

TEST_F(MacroFolderTest, RenameMacroAndFolder) {
    m_var.MacroDir = 1;
    Put(m_paths.strMac + "/grp/old.mcf", Make(1, "old"));
    m_data.Write("Mac/grp/grp.png", "png");
    CMacroStore store;
    CMacroTree tree;
    MacroFolderFlags flags;
    flags.bAddToStore = flags.bSubFolders = true;
    ASSERT_EQ(ReadMacroFolder(m_paths.strMac, &tree, nullptr, flags, store, "mcf", 0x7F), 1);
    CMacroTreeItem* pItem = tree.FindMacroByValue(1);
    std::string strMsg;
    EXPECT_FALSE(RenameMacro(pItem, &tree, store, m_paths.strMac, "mcf", "../up", strMsg));
    EXPECT_EQ(strMsg, "Invalid name.");
    EXPECT_TRUE(FileLookup::Exists(m_paths.strMac + "/grp/old.mcf"));
    ASSERT_TRUE(RenameMacro(pItem, &tree, store, m_paths.strMac, "mcf", "new", strMsg)) << strMsg;
    EXPECT_FALSE(FileLookup::Exists(m_paths.strMac + "/grp/old.mcf"));
    StMacro out;
    ASSERT_EQ(ReadMacroFile(m_paths.strMac + "/grp/new.mcf", EMacroForm::Enciphered, 0x7F, out),
              EMacroRead::Ok);
    EXPECT_EQ(MacroName(out), "new");
    EXPECT_EQ(store.Find(1)->dwDirty, 0u);
    EXPECT_EQ(pItem->strText, "new");

    CMacroTreeItem* pFolder = tree.Root()->vChildren[0].get();
    ASSERT_TRUE(
        RenameMacroFolder(pFolder, &tree, store, m_paths.strMac, "mcf", "team", 0x7F, strMsg))
        << strMsg;
    EXPECT_TRUE(FileLookup::Exists(m_paths.strMac + "/team/new.mcf"));
    EXPECT_TRUE(FileLookup::Exists(m_paths.strMac + "/team/team.png"));
    EXPECT_EQ(pFolder->strIcon, m_paths.strMac + "/team/team.png");
    EXPECT_EQ(Texts(pFolder), std::vector<std::string>{"new"});

    // A move onto an existing non-empty folder fails with the system error.
    Put(m_paths.strMac + "/busy/z.mcf", Make(7, "z"));
    EXPECT_FALSE(
        RenameMacroFolder(pFolder, &tree, store, m_paths.strMac, "mcf", "busy", 0x7F, strMsg));
    EXPECT_EQ(strMsg.rfind("Rename failed. err=0x", 0), 0u);
}

} // namespace
