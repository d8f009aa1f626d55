// pro.dct and curid.dct: loading, saving, the unusable file kept aside, atomic replacement.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <memory>
#include <sys/resource.h>

#include "StorageTestUtil.h"
#include "config/Log.h"
#include "platform/FileLookup.h"
#include "storage/ProfileId.h"
#include "storage/ProfileStore.h"
#include "storage/WideField.h"
#include "support/FakeClock.h"
#include "support/TestDirs.h"

namespace {

class ProfileStoreTest : public ::testing::Test {
protected:
    ProfileStoreTest() {
        m_var.szProgramDir = m_prog.Path();
        m_var.szUserDataDir = m_data.Path();
    }
    // A valid record with this id and name; everything else zero.
    static std::unique_ptr<Profile> Make(uint32_t dwId, const std::string& strName = "p") {
        auto p = std::make_unique<Profile>();
        std::memset(p.get(), 0, sizeof(Profile));
        p->dwMagic = PROFILE_MAGIC;
        p->dwId = dwId;
        SetWideField(p->szName, PROFILE_NAME_LEN, strName);
        return p;
    }
    std::vector<uint8_t> FileBytes(const std::string& strPath) {
        auto v = FileLookup::ReadAll(strPath);
        return v ? *v : std::vector<uint8_t>();
    }
    std::vector<uint32_t> Ids(const CProList& store) {
        std::vector<uint32_t> v;
        for (const Profile& p : store.List())
            v.push_back(p.dwId);
        return v;
    }

    CFakeClock m_clock;
    CTempDir m_prog, m_data;
    CGlobalVar m_var;
};

TEST_F(ProfileStoreTest, SaveLoadRoundTripKeepsEveryByte) {
    CProList store(m_var);
    auto p = Make(0x1234, "Work");
    p->Ms.Mode[2].byLod[35] = 0xAB; // last named byte of the mouse region
    p->byResv2[119] = 0x5A;         // reserved bytes are carried unchanged
    p->Pad.Led[10].byResv[7] = 0x11;
    store.AddCopy(*p);
    store.AddCopy(*Make(0x5678));
    ASSERT_TRUE(store.Save());
    auto v = FileBytes(m_data.Path() + "pro.dct");
    ASSERT_EQ(v.size(), 675072u);
    EXPECT_EQ(ReadU32(v.data() + 8), 0x1234u);
    EXPECT_EQ(ReadU32(v.data() + 56256 + 8), 0x5678u);

    CProList loaded(m_var);
    EXPECT_EQ(loaded.Load(), 2);
    ASSERT_EQ(loaded.Count(), 2u);
    EXPECT_EQ(BytesOf(*loaded.List().At(0)), BytesOf(*p));
}

// Only the first twelve records with a non-zero id are written, packed from slot 0.
TEST_F(ProfileStoreTest, SaveSkipsIdZeroAndStopsAtTwelve) {
    CProList store(m_var);
    store.AddCopy(*Make(1));
    store.AddCopy(*Make(0)); // in the middle: not saved, the rest move up
    for (uint32_t i = 2; i <= 14; ++i)
        store.AddCopy(*Make(i));
    ASSERT_TRUE(store.Save());
    CProList loaded(m_var);
    EXPECT_EQ(loaded.Load(), 12);
    EXPECT_EQ(Ids(loaded), (std::vector<uint32_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
}

TEST_F(ProfileStoreTest, LoadSkipsInvalidSlots) {
    std::vector<uint8_t> v(675072, 0);
    auto Put = [&](int nSlot, const Profile& p) {
        std::memcpy(v.data() + nSlot * 56256, &p, 56256);
    };
    Put(1, *Make(7));
    auto pBadMagic = Make(8);
    pBadMagic->dwMagic = 0x12345678;
    Put(3, *pBadMagic);
    Put(5, *Make(0)); // magic right, id 0
    Put(11, *Make(9));
    FileLookup::WriteAtomic(m_data.Path() + "pro.dct", v.data(), v.size());
    CProList store(m_var);
    EXPECT_EQ(store.Load(), 2);
    EXPECT_EQ(Ids(store), (std::vector<uint32_t>{7, 9}));
    EXPECT_TRUE(store.KeptAsidePath().empty());
}

// Files that give no profile: which of them are kept aside, and whether the list survives.
TEST_F(ProfileStoreTest, UnusableFilesAreKeptAside) {
    auto pMagicOnly = Make(0);
    std::vector<uint8_t> vMagicNoId(675072, 0);
    for (int i = 0; i < 12; ++i)
        std::memcpy(vMagicNoId.data() + i * 56256, pMagicOnly.get(), 56256);
    struct {
        const char* pszWhat;
        std::vector<uint8_t> vFile;
        bool bKeptAside;
    } kCases[] = {
        {"all zero", std::vector<uint8_t>(675072, 0), false},
        {"one byte short", std::vector<uint8_t>(675071, 1), true},
        {"one byte long", std::vector<uint8_t>(675073, 0), true},
        {"empty", {}, true},
        {"magic but no ids", vMagicNoId, true},
    };
    for (auto& c : kCases) {
        SCOPED_TRACE(c.pszWhat);
        CTempDir data;
        m_var.szUserDataDir = data.Path();
        std::string strPath = data.Path() + "pro.dct";
        FileLookup::WriteAtomic(strPath, c.vFile.data(), c.vFile.size());
        CProList store(m_var);
        store.AddCopy(*Make(42));
        EXPECT_EQ(store.Load(), 0);
        if (c.bKeptAside) {
            // 2026-12-10 12:34:56 from the fake clock.
            EXPECT_EQ(store.KeptAsidePath(), strPath + ".bad-20261210-123456");
            EXPECT_EQ(FileBytes(store.KeptAsidePath()), c.vFile);
            EXPECT_FALSE(FileLookup::Exists(strPath));
        } else {
            EXPECT_TRUE(store.KeptAsidePath().empty());
        }
        // Wrong size and unusable files leave the list; an all-zero file empties it.
        EXPECT_EQ(store.Count(), c.bKeptAside ? 1u : 0u);
    }
}

TEST_F(ProfileStoreTest, KeptAsideFileIsNeverOverwritten) {
    std::string strPath = m_data.Path() + "pro.dct";
    m_data.Write("pro.dct", "first");
    CProList store(m_var);
    store.Load();
    m_data.Write("pro.dct", "second");
    store.Load();
    EXPECT_EQ(m_data.Read("pro.dct.bad-20261210-123456"), "first");
    EXPECT_EQ(m_data.Read("pro.dct.bad-20261210-123456-2"), "second");
    // Without keeping aside (read-only callers) the file stays where it is.
    m_data.Write("pro.dct", "third");
    EXPECT_EQ(store.Load(false), 0);
    EXPECT_EQ(m_data.Read("pro.dct"), "third");
}

TEST_F(ProfileStoreTest, MissingFileEmptiesTheList) {
    CProList store(m_var);
    store.AddCopy(*Make(1));
    EXPECT_EQ(store.Load(), 0);
    EXPECT_EQ(store.Count(), 0u);
    EXPECT_TRUE(store.KeptAsidePath().empty());
}

// The whole file is replaced or not at all: a write that fails part-way (here the file
// size limit, as a full disk would) leaves the previous pro.dct as it was.
TEST_F(ProfileStoreTest, FailedSaveLeavesOldFileIntact) {
    CProList store(m_var);
    store.AddCopy(*Make(1, "old"));
    ASSERT_TRUE(store.Save());
    auto vOld = FileBytes(store.ProFilePath());
    store.AddCopy(*Make(2, "new"));

    struct sigaction saOld, saIgnore{};
    saIgnore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &saIgnore, &saOld);
    rlimit rlOld;
    getrlimit(RLIMIT_FSIZE, &rlOld);
    rlimit rlSmall = rlOld;
    rlSmall.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &rlSmall);
    bool bSaved = store.Save();
    setrlimit(RLIMIT_FSIZE, &rlOld);
    sigaction(SIGXFSZ, &saOld, nullptr);

    EXPECT_FALSE(bSaved);
    EXPECT_EQ(FileBytes(store.ProFilePath()), vOld);
    // No temporary file is left behind.
    int nFiles = 0;
    for (auto& e : std::filesystem::directory_iterator(m_data.Path()))
        nFiles += e.is_regular_file() ? 1 : 0;
    EXPECT_EQ(nFiles, 1);
}

TEST_F(ProfileStoreTest, SaveIntoMissingFolderFails) {
    m_var.szUserDataDir = m_data.Path() + "gone/";
    CProList store(m_var);
    store.AddCopy(*Make(1));
    EXPECT_FALSE(store.Save());
}

TEST_F(ProfileStoreTest, LoadCurDirChoosesTheProgramFolder) {
    m_var.LoadCurDir = 1;
    CProList store(m_var);
    store.AddCopy(*Make(3));
    ASSERT_TRUE(store.Save());
    store.SelectById(3);
    ASSERT_TRUE(store.WriteCurrentId());
    EXPECT_TRUE(FileLookup::Exists(m_prog.Path() + "pro.dct"));
    EXPECT_FALSE(FileLookup::Exists(m_data.Path() + "pro.dct"));
    // curid.dct always lies in the user data folder.
    EXPECT_TRUE(FileLookup::Exists(m_data.Path() + "curid.dct"));
    EXPECT_FALSE(FileLookup::Exists(m_prog.Path() + "curid.dct"));
}

TEST_F(ProfileStoreTest, CurrentId) {
    CProList store(m_var);
    EXPECT_EQ(store.ReadCurrentId(), 0u);
    EXPECT_FALSE(store.WriteCurrentId()); // no current profile: nothing written
    EXPECT_FALSE(FileLookup::Exists(store.CurIdPath()));
    store.AddCopy(*Make(0xA1B2C3D4));
    store.AddCopy(*Make(5));
    EXPECT_TRUE(store.SelectById(0xA1B2C3D4));
    ASSERT_TRUE(store.WriteCurrentId());
    EXPECT_EQ(FileBytes(store.CurIdPath()), (std::vector<uint8_t>{0xD4, 0xC3, 0xB2, 0xA1}));
    EXPECT_EQ(store.ReadCurrentId(), 0xA1B2C3D4u);
    // An unknown id selects the first record; removing the current one moves to the first.
    store.SelectById(99);
    EXPECT_EQ(store.Current()->dwId, 0xA1B2C3D4u);
    store.Remove(store.Current());
    EXPECT_EQ(store.Current()->dwId, 5u);
    m_data.Write("curid.dct", "ab");
    EXPECT_EQ(store.ReadCurrentId(), 0u); // fewer than 4 bytes
}

TEST(ProfileIds, Formula) {
    struct {
        LocalTime t;
        uint32_t dwProfile, dwMacro;
    } kCases[] = {
        {{2026, 1, 1, 12, 34, 56, 789}, 0xC8B815, (12u << 20) | (34u << 14) | (56u << 8) | 21u},
        {{2026, 1, 1, 23, 59, 59, 999}, 0x7EFBE7, (7u << 20) | (59u << 14) | (59u << 8) | 0xE7u},
        {{2026, 1, 1, 16, 0, 0, 512}, 0, 0}, // hour 16 enters as 0
        {{2026, 1, 1, 0, 0, 1, 0}, 0x100, 0x100},
    };
    for (auto& c : kCases) {
        EXPECT_EQ(ProfileIdFromTime(c.t), c.dwProfile);
        EXPECT_EQ(MacroIdFromTime(c.t), c.dwMacro);
    }
}

// Ids made one after another come from the milliseconds after the clock's time while the
// clock stands still, are never 0 and never wait; a clock that moved on, or went back far
// (midnight, a clock set back), is taken as it reads.
TEST(ProfileIds, OneMillisecondEachWithoutWaiting) {
    CFakeClock clock;
    auto at = [](int h, int m, int s, int ms) { return LocalTime{2026, 1, 1, h, m, s, ms}; };
    clock.SetLocal(at(1, 2, 3, 4));
    EXPECT_EQ(NewProfileId(), ProfileIdFromTime(at(1, 2, 3, 4)));
    EXPECT_EQ(NewProfileId(), ProfileIdFromTime(at(1, 2, 3, 5)));
    EXPECT_EQ(NewProfileId(), ProfileIdFromTime(at(1, 2, 3, 6)));
    // Each kind counts on its own.
    EXPECT_EQ(NewMacroId(), MacroIdFromTime(at(1, 2, 3, 4)));
    EXPECT_EQ(NewMacroId(), MacroIdFromTime(at(1, 2, 3, 5)));

    clock.SetLocal(at(1, 2, 3, 999)); // a second's end carries into the next second
    EXPECT_EQ(NewProfileId(), ProfileIdFromTime(at(1, 2, 3, 999)));
    EXPECT_EQ(NewProfileId(), ProfileIdFromTime(at(1, 2, 4, 0)));
    clock.SetLocal(at(1, 2, 3, 998)); // a little behind the last id: still after it
    EXPECT_EQ(NewProfileId(), ProfileIdFromTime(at(1, 2, 4, 1)));
    clock.SetLocal(at(1, 2, 9, 500)); // moved on
    EXPECT_EQ(NewProfileId(), ProfileIdFromTime(at(1, 2, 9, 500)));
    clock.SetLocal(at(0, 30, 0, 7)); // far back: the clock's own time
    EXPECT_EQ(NewProfileId(), ProfileIdFromTime(at(0, 30, 0, 7)));

    // A time whose id is 0 is passed over, also across midnight.
    clock.SetLocal(at(16, 0, 0, 512));
    ASSERT_EQ(ProfileIdFromTime(at(16, 0, 0, 512)), 0u);
    EXPECT_EQ(NewProfileId(), ProfileIdFromTime(at(16, 0, 0, 513)));
    clock.SetLocal(at(23, 59, 59, 999));
    EXPECT_EQ(NewMacroId(), MacroIdFromTime(at(23, 59, 59, 999)));
    clock.SetLocal(at(23, 59, 59, 999));
    EXPECT_EQ(NewMacroId(), MacroIdFromTime(at(0, 0, 0, 1))); // 0:00:00.000 gives 0
    EXPECT_TRUE(clock.Sleeps().empty());
}

// On the real clock a burst of ids (defaults at first start, a profile import's macros)
// holds no repeat.
TEST(ProfileIds, BurstOnTheRealClockIsDistinct) {
    std::vector<uint32_t> v;
    for (int i = 0; i < 40; ++i)
        v.push_back(NewMacroId());
    for (size_t i = 1; i < v.size(); ++i)
        EXPECT_NE(v[i], v[i - 1]) << i;
}

} // namespace
