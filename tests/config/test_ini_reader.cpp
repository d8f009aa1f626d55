// Reading rules of the installation's INI files.
#include <gtest/gtest.h>

#include "config/IniFile.h"
#include "platform/MessageBox.h"

namespace {
CIniFile FromText(const std::string& strText) {
    CIniFile ini;
    ini.LoadFromBytes(strText.data(), strText.size());
    return ini;
}

struct SinkGuard {
    SinkGuard() { SetMessageBoxSink(&sink); }
    ~SinkGuard() { SetMessageBoxSink(nullptr); }
    CCollectingMessageSink sink;
};
} // namespace

TEST(IniReader, Integers) {
    struct Case {
        const char* pszValue;
        int32_t nExpected;
    } cases[] = {
        {"42", 42},         {"  42  ", 42},     {"-1", -1}, {"0x125", 0x125}, {"0X1000", 0x1000},
        {"0xffffffff", -1}, {"12abc", 12},      {"0x", 0},  {"abc", 7},       {"", 7},
        {"+5", 5},          {"\"0x20\"", 0x20},
    };
    for (const Case& c : cases) {
        CIniFile ini = FromText(std::string("[OPT]\nKey=") + c.pszValue + "\n");
        EXPECT_EQ(ini.GetInt("OPT", "Key", 7), c.nExpected) << "value '" << c.pszValue << "'";
    }
    EXPECT_EQ(FromText("[OPT]\n").GetInt("OPT", "Key", 7), 7);
}

TEST(IniReader, SectionsAndKeysIgnoreCaseAndFirstWins) {
    CIniFile ini = FromText(
        "[opt]\r\nTITLE=First\r\ntitle=Second\r\n[Other]\r\nTitle=X\r\n[OPT]\r\nTitle=Third\r\n");
    EXPECT_EQ(ini.GetString("OPT", "Title", "", 100), "First");
    EXPECT_EQ(ini.GetString("other", "title", "", 100), "X");
    EXPECT_TRUE(ini.HasSection("OpT"));
    EXPECT_FALSE(ini.Raw("OPT", "Missing").has_value());
}

TEST(IniReader, StringsAreCutToTheirBuffer) {
    CIniFile ini = FromText("[OPT]\nVer=1.2.3.4.5.6.7\nName=\xC3\xA9t\xC3\xA9\n");
    EXPECT_EQ(ini.GetString("OPT", "Ver", "", 10), "1.2.3.4.5");
    EXPECT_EQ(ini.GetString("OPT", "Name", "", 3), "\xC3\xA9t"); // characters, not bytes
    EXPECT_EQ(ini.GetString("OPT", "None", "dflt", 30), "dflt");
}

TEST(IniReader, NumberLists) {
    struct Case {
        const char* pszValue;
        int nBase;
        int nCapacity;
        std::vector<int32_t> vExpected;
    } cases[] = {
        {"1,2,3", 10, 10, {1, 2, 3}},
        {"1, 2 ,3", 10, 10, {1, 2, 3}},  // blanks around items are allowed
        {"1,,2,", 10, 10, {1, 2}},       // empty items skipped
        {"1,2x,3", 10, 10, {1}},         // stops at the first bad item
        {"1,-2,3", 10, 10, {1}},         // a sign is not a digit
        {"1 2,3", 10, 10, {}},           // a blank inside an item
        {"1,2,3,4,5", 10, 3, {1, 2, 3}}, // capacity
        {"ff,0x10,A", 16, 10, {255}}, // a 0x prefix is no digit, not even in base 16
        {"0X1f,2", 16, 10, {}},
        {"0x", 16, 10, {}},
        {"10,g", 16, 10, {16}},
        {"7,4294967295,4294967296,9", 10, 10, {7, -1}}, // a number wider than 32 bits stops it
        {"", 10, 10, {}},
    };
    for (const Case& c : cases) {
        CIniFile ini = FromText(std::string("[S]\nL=") + c.pszValue + "\n");
        std::vector<int32_t> v;
        int n = ini.GetList("S", "L", c.nBase, v, c.nCapacity);
        EXPECT_EQ(n, static_cast<int>(c.vExpected.size())) << c.pszValue;
        EXPECT_EQ(v, c.vExpected) << c.pszValue;
    }
}

TEST(IniReader, Colours) {
    CIniFile ini = FromText("[S]\nA=67,156,200\nB=255\nC=1,2\nD=\n");
    EXPECT_EQ(ini.GetColor("S", "A", 5), 67u + 156u * 256 + 200u * 65536);
    EXPECT_EQ(ini.GetColor("S", "B", 5), 255u); // missing components are 0
    EXPECT_EQ(ini.GetColor("S", "C", 5), 1u + 2u * 256);
    EXPECT_EQ(ini.GetColor("S", "D", 5), 5u); // an empty value counts as missing
    EXPECT_EQ(ini.GetColor("S", "Missing", 0x123456), 0x123456u);
}

TEST(IniReader, RectanglesAndPoints) {
    SinkGuard guard;
    CIniFile ini = FromText(
        "[S]\nGood=10,20,110,220,99\nNeg=-5,-6,7,8\nShort=1,2,3\nEmpty=\nPt=3,4\nPtShort=9\n");
    RECT rc{1, 1, 1, 1};
    EXPECT_TRUE(ini.GetRect("S", "Good", rc));
    EXPECT_EQ(rc, (RECT{10, 20, 110, 220}));
    EXPECT_TRUE(ini.GetRect("S", "Neg", rc));
    EXPECT_EQ(rc, (RECT{-5, -6, 7, 8}));
    EXPECT_TRUE(guard.sink.m_vEntries.empty());

    rc = RECT{1, 1, 1, 1};
    EXPECT_FALSE(ini.GetRect("S", "Missing", rc));
    EXPECT_FALSE(ini.GetRect("S", "Empty", rc));
    EXPECT_TRUE(guard.sink.m_vEntries.empty()); // silently
    EXPECT_FALSE(ini.GetRect("S", "Short", rc));
    EXPECT_EQ(rc, (RECT{1, 1, 1, 1}));
    ASSERT_EQ(guard.sink.m_vEntries.size(), 1u);
    EXPECT_EQ(guard.sink.m_vEntries[0].strTitle, "Error");
    EXPECT_EQ(guard.sink.m_vEntries[0].strText, "Wrong rect num");

    EXPECT_EQ(ini.GetPoint("S", "Pt", POINT{0, 0}), (POINT{3, 4}));
    EXPECT_EQ(ini.GetPoint("S", "Missing", POINT{30, 40}), (POINT{30, 40}));
    EXPECT_EQ(ini.GetPoint("S", "Empty", POINT{30, 40}), (POINT{30, 40})); // silently
    EXPECT_EQ(ini.GetPoint("S", "PtShort", POINT{30, 40}), (POINT{30, 40}));
    ASSERT_EQ(guard.sink.m_vEntries.size(), 2u);
    EXPECT_EQ(guard.sink.m_vEntries[1].strText, "Wrong POINT num");
}

TEST(IniReader, Encodings) {
    // UTF-16LE with BOM and CRLF.
    std::u16string strWide = u"[OPT]\r\nTitle=Gr\u00FC\u00DFe\r\n";
    std::string strBytes = "\xFF\xFE";
    for (char16_t c : strWide) {
        strBytes += static_cast<char>(c & 0xFF);
        strBytes += static_cast<char>(c >> 8);
    }
    EXPECT_EQ(FromText(strBytes).GetString("OPT", "Title", "", 100), "Gr\xC3\xBC\xC3\x9F"
                                                                     "e");
    // UTF-8 with BOM, UTF-8 without, and Windows-1252 bytes that are not valid UTF-8.
    EXPECT_EQ(FromText("\xEF\xBB\xBF[OPT]\nTitle=Gr\xC3\xBC\n").GetString("OPT", "Title", "", 100),
              "Gr\xC3\xBC");
    EXPECT_EQ(FromText("[OPT]\nTitle=Gr\xFC\x80\n").GetString("OPT", "Title", "", 100),
              "Gr\xC3\xBC\xE2\x82\xAC");
}

TEST(IniReader, MissingFileReadsAsEmpty) {
    CIniFile ini("/nonexistent/cfg.ini");
    EXPECT_FALSE(ini.IsLoaded());
    EXPECT_EQ(ini.GetInt("OPT", "TrayIcon", 2), 2);
}
