// Macro records in their three file forms, the cipher, the mouse-code mask, names.
#include <gtest/gtest.h>

#include "StorageTestUtil.h"
#include "config/Log.h"
#include "platform/FileLookup.h"
#include "storage/MacroCipher.h"
#include "storage/MacroFile.h"
#include "support/FakeClock.h"
#include "support/TestDirs.h"

namespace {

// Published TEA vectors (32 cycles), words as the algorithm takes them.
TEST(TeaCipher, PublishedVectors) {
    struct {
        TeaKey key;
        uint32_t plain[2], cipher[2];
    } kVectors[] = {
        {{{0, 0, 0, 0}}, {0, 0}, {0x41EA3A0A, 0x94BAA940}},
        {{{0, 0, 0, 0}}, {0x01020304, 0x05060708}, {0x6A2F9CF3, 0xFCCF3C55}},
        {{{0x01234567, 0x12345678, 0x23456789, 0x3456789A}}, {0, 0}, {0x34E943B0, 0x900F5DCB}},
        {{{0x01234567, 0x12345678, 0x23456789, 0x3456789A}},
         {0x01020304, 0x05060708},
         {0x773DC179, 0x878A81C0}},
    };
    for (auto& v : kVectors) {
        uint32_t w[2] = {v.plain[0], v.plain[1]};
        TeaEncryptBlock(w, v.key);
        EXPECT_EQ(w[0], v.cipher[0]);
        EXPECT_EQ(w[1], v.cipher[1]);
        TeaDecryptBlock(w, v.key);
        EXPECT_EQ(w[0], v.plain[0]);
        EXPECT_EQ(w[1], v.plain[1]);
    }
}

// Block words are little-endian: bytes 0..3 are the first word.
TEST(TeaCipher, BlockByteOrder) {
    uint8_t by[8] = {0x04, 0x03, 0x02, 0x01, 0x08, 0x07, 0x06, 0x05};
    TeaKey key{{0, 0, 0, 0}};
    TeaEncrypt(by, sizeof(by), key);
    EXPECT_EQ(ReadU32(by), 0x6A2F9CF3u);
    EXPECT_EQ(ReadU32(by + 4), 0xFCCF3C55u);
}

// The whole-buffer path runs several blocks side by side; every block must come out as the
// single-block cipher makes it, whatever the buffer length.
TEST(TeaCipher, BufferMatchesBlockByBlock) {
    TeaKey key{{0x01234567, 0x12345678, 0x23456789, 0x3456789A}};
    for (size_t nLen : {size_t(8), size_t(64), size_t(72), size_t(1480), size_t(1483)}) {
        std::vector<uint8_t> v(nLen);
        for (size_t i = 0; i < nLen; ++i)
            v[i] = static_cast<uint8_t>(i * 7 + 3);
        std::vector<uint8_t> vExpect = v;
        for (size_t i = 0; i + 8 <= nLen; i += 8) {
            uint32_t w[2] = {ReadU32(&vExpect[i]), ReadU32(&vExpect[i + 4])};
            TeaEncryptBlock(w, key);
            std::memcpy(&vExpect[i], w, 8); // little-endian host
        }
        std::vector<uint8_t> vOrig = v;
        TeaEncrypt(v.data(), nLen, key);
        EXPECT_EQ(v, vExpect) << nLen;
        TeaDecrypt(v.data(), nLen, key);
        EXPECT_EQ(v, vOrig) << nLen;
    }
}

StMacro Sample() {
    StMacro m;
    std::memset(&m, 0, sizeof(m));
    m.dwMagic = MACRO_MAGIC;
    m.dwId = 0x123456;
    m.wLoopCount = 3;
    SetMacroName(m, "Sample");
    m.Events[0] = {0x41, 0, 1, 50};
    m.Events[1] = {0x41, 0, 0, 0};
    return m;
}

TEST(MacroFile, EncodedFormDecodes) {
    StMacro m = Sample();
    uint8_t buf[MACRO_FILE_SIZE];
    EncodeMacroBytes(m, buf);
    EXPECT_NE(ReadU32(buf), MACRO_MAGIC);
    for (EMacroForm form : {EMacroForm::PlainAllowed, EMacroForm::Enciphered}) {
        StMacro out;
        ASSERT_TRUE(DecodeMacroBytes(buf, sizeof(buf), form, out));
        EXPECT_EQ(BytesOf(out), BytesOf(m));
    }
}

// A plain record is read as such only from the macro folders; imports and presets decipher
// it and find no magic.
TEST(MacroFile, PlainFormOnlyInFolders) {
    StMacro m = Sample();
    StMacro out;
    EXPECT_TRUE(
        DecodeMacroBytes(reinterpret_cast<uint8_t*>(&m), sizeof(m), EMacroForm::PlainAllowed, out));
    EXPECT_EQ(BytesOf(out), BytesOf(m));
    EXPECT_FALSE(
        DecodeMacroBytes(reinterpret_cast<uint8_t*>(&m), sizeof(m), EMacroForm::Enciphered, out));
}

TEST(MacroFile, LegacyRotatedForm) {
    StMacro m = Sample();
    std::vector<uint8_t> v = BytesOf(m);
    RotateBytesRight2(v.data(), v.size());
    EXPECT_EQ(ReadU32(v.data()), MACRO_LEGACY_MAGIC);
    StMacro out;
    ASSERT_TRUE(DecodeMacroBytes(v.data(), v.size(), EMacroForm::Enciphered, out));
    EXPECT_EQ(BytesOf(out), BytesOf(m));
    // With id 0 the rotated form is not taken: the bytes are deciphered and are no macro.
    m.dwId = 0;
    v = BytesOf(m);
    RotateBytesRight2(v.data(), v.size());
    EXPECT_FALSE(DecodeMacroBytes(v.data(), v.size(), EMacroForm::PlainAllowed, out));
}

TEST(MacroFile, ShortInputIsNoMacro) {
    StMacro m = Sample();
    StMacro out;
    EXPECT_FALSE(DecodeMacroBytes(reinterpret_cast<uint8_t*>(&m), sizeof(m) - 1,
                                  EMacroForm::PlainAllowed, out));
}

// Codes 240..246 need their bit of MacroHasMsKey; the scan stops at the first code 0.
TEST(MacroFile, MouseCodeMask) {
    struct {
        uint8_t byCode;
        int nMask;
        bool bAllowed;
    } kCases[] = {
        {240, 0x00, false}, {240, 0x01, true},  {241, 0x01, false},
        {241, 0x02, true},  {246, 0x3F, false}, {246, 0x40, true},
        {247, 0x00, true},  {251, 0x00, true},  {239, 0x00, true},
    };
    for (auto& c : kCases) {
        StMacro m = Sample();
        m.Events[1].byCode = c.byCode;
        EXPECT_EQ(MacroMouseCodesAllowed(m, c.nMask), c.bAllowed)
            << int(c.byCode) << " " << c.nMask;
    }
    StMacro m = Sample();
    m.Events[2].byCode = 0;
    m.Events[3].byCode = 240; // after the end of the list
    EXPECT_TRUE(MacroMouseCodesAllowed(m, 0));
    // A full list without a terminating event is scanned to its end.
    for (auto& ev : m.Events)
        ev = {0x41, 0, 1, 0};
    m.Events[170].byCode = 240;
    EXPECT_FALSE(MacroMouseCodesAllowed(m, 0));
}

TEST(MacroFile, ReadFileResults) {
    CTempDir dir;
    StMacro m = Sample();
    m.Events[2] = {240, 0, 1, 0};
    uint8_t buf[MACRO_FILE_SIZE];
    EncodeMacroBytes(m, buf);
    std::string strGood = dir.Path() + "a.mcf";
    FileLookup::WriteAtomic(strGood, buf, sizeof(buf));
    StMacro out;
    EXPECT_EQ(ReadMacroFile(strGood, EMacroForm::Enciphered, 1, out), EMacroRead::Ok);
    EXPECT_EQ(ReadMacroFile(strGood, EMacroForm::Enciphered, 0, out), EMacroRead::Unsupported);
    EXPECT_EQ(ReadMacroFile(dir.Path() + "none.mcf", EMacroForm::Enciphered, 1, out),
              EMacroRead::OpenFailed);
    FileLookup::WriteAtomic(dir.Path() + "short.mcf", buf, 1479);
    EXPECT_EQ(ReadMacroFile(dir.Path() + "short.mcf", EMacroForm::Enciphered, 1, out),
              EMacroRead::ReadFailed);
    std::vector<uint8_t> vJunk(1480, 0x33);
    FileLookup::WriteAtomic(dir.Path() + "junk.mcf", vJunk.data(), vJunk.size());
    EXPECT_EQ(ReadMacroFile(dir.Path() + "junk.mcf", EMacroForm::PlainAllowed, 1, out),
              EMacroRead::NotMacro);
}

TEST(MacroFile, NewRecord) {
    CFakeClock clock;
    StMacro m;
    NewMacroRecord(m, std::string(45, 'x'));
    EXPECT_EQ(m.dwMagic, MACRO_MAGIC);
    EXPECT_EQ(m.dwId, (12u << 20) | (34u << 14) | (56u << 8) | (789u & 0xFF));
    EXPECT_EQ(m.bAutoDelay, 1u);
    EXPECT_EQ(m.nLoopMode, 0);
    EXPECT_EQ(m.wLoopCount, 1);
    EXPECT_EQ(m.dwDirty, 0u);
    EXPECT_EQ(MacroName(m), std::string(39, 'x'));
    EXPECT_EQ(m.szName[39], 0);
    EXPECT_EQ(m.Events[0].byCode, 0);
}

// The written copy has no dirty bits and, for a converted bullet macro, the kind byte; the
// caller's record is left as it is.
TEST(MacroFile, SaveClearsDirtyInTheWrittenCopy) {
    CTempDir dir;
    StMacro m = Sample();
    m.dwDirty = MACRO_DIRTY_BITS | 0x1;
    std::string strPath = dir.Path() + "Mac/sub/deeper/m.mcb";
    ASSERT_TRUE(save_macro_to_file_mcb(strPath, m, true)); // the folder chain is made
    EXPECT_EQ(m.dwDirty, MACRO_DIRTY_BITS | 0x1);
    StMacro out;
    ASSERT_EQ(ReadMacroFile(strPath, EMacroForm::Enciphered, 0x7F, out), EMacroRead::Ok);
    EXPECT_EQ(out.dwDirty, 0x1u);
    EXPECT_EQ(out.byKind, MACRO_KIND_CONVERTED);
}

TEST(MacroFile, CopyFile) {
    CTempDir dir;
    StMacro m = Sample();
    std::string strSrc = dir.Path() + "Mac/a.mcf";
    ASSERT_TRUE(save_macro_to_file_mcb(strSrc, m, false));
    std::string strCopy = dir.Path() + "Mac/new/b.mcf";
    EXPECT_TRUE(MyCopyFile(strCopy, strSrc, false));
    EXPECT_EQ(FileLookup::ReadAll(strCopy), FileLookup::ReadAll(strSrc));
    EXPECT_FALSE(MyCopyFile(strCopy, strSrc, false)); // never over an existing file
    // Converting takes a plain source too and marks the bullet macro.
    FileLookup::WriteAtomic(strSrc, &m, sizeof(m));
    std::string strBullet = dir.Path() + "BMac/c.mcb";
    ASSERT_TRUE(MyCopyFile(strBullet, strSrc, true));
    StMacro out;
    ASSERT_EQ(ReadMacroFile(strBullet, EMacroForm::Enciphered, 0x7F, out), EMacroRead::Ok);
    EXPECT_EQ(out.byKind, MACRO_KIND_CONVERTED);
    EXPECT_EQ(out.dwId, m.dwId);
    EXPECT_FALSE(MyCopyFile(dir.Path() + "x.mcb", dir.Path() + "missing.mcf", true));
}

TEST(MacroNames, UserNameCheck) {
    struct {
        const char* pszIn;
        bool bOk;
        const char* pszOut;
    } kCases[] = {
        {"Reload", true, "Reload"},
        {"Reload.mcf", true, "Reload"},
        {"a.b.c", true, "a.b"},
        {"a/b", false, ""},
        {"a\\b", false, ""},
        {"why?", false, ""},
        {"a+b", false, ""},
        {"a=b", false, ""},
        {"a-b", false, ""},
        {"a*b", false, ""},
        {"a&b", false, ""},
        {"100%", false, ""},
        {"hi!", false, ""},
        {"#1", false, ""},
        {"..", false, ""},
        {".", false, ""},
        {"", false, ""},
        {"tab\there", false, ""},
        {"Größe", true, "Größe"},
    };
    for (auto& c : kCases) {
        std::string str = c.pszIn;
        EXPECT_EQ(CheckMacroName(str), c.bOk) << c.pszIn;
        if (c.bOk) {
            EXPECT_EQ(str, c.pszOut);
        }
    }
}

// Names from files become one harmless path component.
TEST(MacroNames, NamesFromFilesStayInside) {
    struct {
        const char* pszIn;
        const char* pszOut;
    } kCases[] = {
        {"Reload", "Reload"},
        {"../../etc/passwd", "___.._etc_passwd"},
        {"..", "__"},
        {"a\\..\\b", "a\\..\\b"},
        {"", "_"},
        {"$sys", "_sys"},
        {".hidden", "_hidden"},
        {"new\nline", "new_line"},
        {"a-b+c", "a-b+c"},
    };
    // Backslashes are separators on the systems the files come from.
    kCases[3].pszOut = "a_.._b";
    for (auto& c : kCases)
        EXPECT_EQ(SafeNameFromFile(c.pszIn), c.pszOut) << c.pszIn;
}

TEST(MacroNames, FileTitle) {
    EXPECT_EQ(FileTitle("/x/y/My Profile.bkm"), "My Profile");
    EXPECT_EQ(FileTitle("a.b.mcf"), "a.b");
    EXPECT_EQ(FileTitle("/x.d/noext"), "noext");
}

} // namespace
