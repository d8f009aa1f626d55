#include "config/TextCatalogue.h"

#include <cstdarg>
#include <cstdio>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

#include "config/HtmlEntities.h"
#include "config/Log.h"
#include "support/TestDirs.h"

namespace {

std::string Wrap(const std::string& strBody) {
    return "<texts><config>" + strBody + "</config></texts>";
}

// Loads a document from memory and returns the text of one id.
std::string TextOf(const std::string& strDoc, const char* pszId) {
    CTextCatalogue cat;
    cat.LoadFromBytes(strDoc.data(), strDoc.size());
    return cat.Text(pszId);
}

// UTF-16 code units of a document holding non-ASCII text, built by hand so the test does
// not depend on the converter under test.
std::string Utf16Doc(bool bBigEndian, bool bBom) {
    std::u16string strDoc = u"<texts><config><tc_ok>Gr\u00F6\u00DFe \u4E2D \U0001F600</tc_ok>"
                            u"</config></texts>";
    std::string out;
    if (bBom)
        out += bBigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t u : strDoc) {
        const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        out += bBigEndian ? hi : lo;
        out += bBigEndian ? lo : hi;
    }
    return out;
}

const char* const kNonAscii = "Gr\xC3\xB6\xC3\x9F"
                              "e \xE4\xB8\xAD \xF0\x9F\x98\x80";

} // namespace

TEST(TextIds, OrderAndCount) {
    const std::vector<std::string>& ids = TextIds();
    ASSERT_EQ(ids.size(), 329u);
    EXPECT_EQ(std::set<std::string>(ids.begin(), ids.end()).size(), 329u) << "ids are unique";

    const struct {
        int nIndex;
        const char* pszId;
    } kSpots[] = {
        {0, "tc_title"},        {1, "tc_mutex"},        {24, "tc_macro_loop3"},
        {25, "tc_macro_msg1"},  {60, "tc_macro_msg36"}, {61, "tc_click"},
        {87, "tc_hz"},          {98, "tc_PL"},          {113, "tc_kbmedia_msel"},
        {114, "tc_chiji1"},     {133, "tc_chiji20"},    {134, "tc_msg1"},
        {164, "tc_ms1"},        {185, "tc_kb1"},        {192, "tc_ms_led1"},
        {207, "tc_ms2_led1"},   {222, "tc_ms3_led1"},   {232, "tc_kb_led1"},
        {249, "tc_pad_led1"},   {264, "tc_game_mode1"}, {274, "tc_adv_str1"},
        {284, "tc_bullet1"},    {304, "tc_hw1"},        {307, "tc_hw4"},
        {308, "tc_brightness"}, {309, "tc_speed"},      {310, "tc_direct"},
        {311, "tc_sys_str1"},   {315, "tc_sys_str5"},   {316, "tc_ex1"},
        {321, "tc_ex6"},        {322, "tc_gunname1"},   {328, "tc_gunname7"},
    };
    for (const auto& spot : kSpots) {
        EXPECT_EQ(ids[spot.nIndex], spot.pszId) << "at " << spot.nIndex;
        EXPECT_EQ(TextIdIndex(spot.pszId), spot.nIndex) << spot.pszId;
    }
    EXPECT_EQ(TextIdIndex("tc_msg31"), -1);
    EXPECT_EQ(TextIdIndex("tc_pl"), -1) << "ids are case-sensitive";
    EXPECT_EQ(TextIdIndex(""), -1);
}

TEST(TextCatalogue, MissingFileLeavesOnlyFallbacks) {
    CTempDir dir;
    CTextCatalogue cat;
    const std::string strDoc = Wrap("<tc_ok>OK</tc_ok><tc_hz>hertz</tc_hz>");
    cat.LoadFromBytes(strDoc.data(), strDoc.size());
    ASSERT_EQ(cat.Text("tc_ok"), "OK");

    // A second load replaces everything, including texts the new source lacks.
    EXPECT_FALSE(cat.Load(dir.Path() + "text.xml"));
    for (const std::string& strId : TextIds()) {
        if (strId == "tc_hz" || strId.rfind("tc_gunname", 0) == 0)
            continue;
        EXPECT_EQ(cat.Text(strId), "") << strId;
    }
    EXPECT_EQ(cat.Text("tc_hz"), "Hz");
    const char* const kGuns[] = {"M4", "AKM", "M16", "UMP9", "SCAR-L", "TOMPSON", "UZI"};
    for (int g = 0; g < 7; ++g) {
        EXPECT_EQ(cat.Text("tc_gunname" + std::to_string(g + 1)), kGuns[g]);
        EXPECT_STREQ(BuiltInGunName(g), kGuns[g]);
    }
    EXPECT_EQ(BuiltInGunName(7), nullptr);
    EXPECT_EQ(BuiltInGunName(-1), nullptr);
}

TEST(TextCatalogue, FallbacksOnlyReplaceEmptyTexts) {
    CTextCatalogue cat;
    const std::string strDoc =
        Wrap("<tc_hz>Hertz</tc_hz><tc_gunname2>AK-47</tc_gunname2><tc_gunname3></tc_gunname3>");
    cat.LoadFromBytes(strDoc.data(), strDoc.size());
    EXPECT_EQ(cat.Text("tc_hz"), "Hertz");
    EXPECT_EQ(cat.Text("tc_gunname1"), "M4");
    EXPECT_EQ(cat.Text("tc_gunname2"), "AK-47");
    EXPECT_EQ(cat.Text("tc_gunname3"), "M16");
    EXPECT_EQ(cat.Text("tc_mutex"), "") << "the mutex fallback belongs to start-up";
}

TEST(TextCatalogue, LoadsFromFileAndGlobalAccess) {
    CTempDir dir;
    const std::string strPath =
        dir.Write("Text/de/text.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n" +
                                          Wrap("<tc_ok>Weiter</tc_ok>\r\n<tc_cancel>Abbrechen"
                                               "</tc_cancel>"));
    EXPECT_TRUE(g_Text.Load(strPath));
    EXPECT_EQ(Txt("tc_ok"), "Weiter");
    EXPECT_EQ(Txt("tc_cancel"), "Abbrechen");
    EXPECT_EQ(Txt("tc_unknown"), "");
    EXPECT_EQ(Txt(nullptr), "");
    EXPECT_EQ(g_Text.Text(TextIdIndex("tc_ok")), "Weiter");
    EXPECT_EQ(g_Text.Text(-1), "");
    EXPECT_EQ(g_Text.Text(329), "");
    g_Text.Clear();
    EXPECT_EQ(Txt("tc_ok"), "");
    EXPECT_EQ(Txt("tc_hz"), "");
}

TEST(TextCatalogue, EncodingsGiveTheSameText) {
    const std::string strUtf8 = Wrap(std::string("<tc_ok>") + kNonAscii + "</tc_ok>");
    const struct {
        const char* pszName;
        std::string strBytes;
    } kCases[] = {
        {"UTF-8 without BOM", strUtf8},
        {"UTF-8 BOM", "\xEF\xBB\xBF" + strUtf8},
        {"UTF-8 declared", "<?xml version='1.0' encoding='utf-8'?>" + strUtf8},
        {"UTF-16LE BOM", Utf16Doc(false, true)},
        {"UTF-16BE BOM", Utf16Doc(true, true)},
        {"UTF-16LE without BOM", Utf16Doc(false, false)},
        {"UTF-16BE without BOM", Utf16Doc(true, false)},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(TextOf(c.strBytes, "tc_ok"), kNonAscii) << c.pszName;

    // Zero bytes left behind by an editor in an 8-bit file are dropped wherever they are.
    std::string strZeros = strUtf8;
    for (size_t nPos : {size_t(30), size_t(22), size_t(7), size_t(1)})
        strZeros.insert(nPos, 1, '\0');
    EXPECT_EQ(TextOf(strZeros, "tc_ok"), kNonAscii);
}

TEST(TextCatalogue, DeclaredAndGuessedEightBitEncodings) {
    const struct {
        const char* pszName;
        std::string strBytes;
        std::string strExpected;
    } kCases[] = {
        {"ISO-8859-1 declaration",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>" + Wrap("<tc_ok>caf\xE9</tc_ok>"),
         "caf\xC3\xA9"},
        {"windows-1252 declaration",
         "<?xml version=\"1.0\" encoding=\"windows-1252\"?>" +
             Wrap("<tc_ok>\x80 \x93x\x94</tc_ok>"),
         "\xE2\x82\xAC \xE2\x80\x9Cx\xE2\x80\x9D"},
        {"GBK declaration",
         "<?xml version=\"1.0\" encoding=\"GBK\"?>" + Wrap("<tc_ok>\xD6\xD0\xCE\xC4</tc_ok>"),
         "\xE4\xB8\xAD\xE6\x96\x87"},
        {"HTML meta charset",
         "<texts><meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">"
         "</meta><config><tc_ok>\xFC</tc_ok></config></texts>",
         "\xC3\xBC"},
        {"invalid UTF-8 without declaration is Windows-1252", Wrap("<tc_ok>\x80 caf\xE9</tc_ok>"),
         "\xE2\x82\xAC caf\xC3\xA9"},
        {"declared UTF-8 with a bad byte",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + Wrap("<tc_ok>a\xFF"
                                                             "b</tc_ok>"),
         "a\xEF\xBF\xBD"
         "b"},
        {"declared UTF-16 in an 8-bit file",
         "<?xml version=\"1.0\" encoding=\"UTF-16\"?>" + Wrap("<tc_ok>caf\xE9</tc_ok>"),
         "caf\xC3\xA9"},
        {"GBK with a truncated character",
         "<?xml version=\"1.0\" encoding=\"GBK\"?>" + Wrap("<tc_ok>\xD6\xD0\xD6</tc_ok>"),
         "\xE4\xB8\xAD\xEF\xBF\xBD"},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(TextOf(c.strBytes, "tc_ok"), c.strExpected) << c.pszName;

    // One byte becoming three: the converter's output buffer has to grow.
    std::string strEuros, strExpected;
    for (int n = 0; n < 500; ++n) {
        strEuros += '\xA4';
        strExpected += "\xE2\x82\xAC";
    }
    EXPECT_EQ(TextOf("<?xml version=\"1.0\" encoding=\"ISO-8859-15\"?>" +
                         Wrap("<tc_ok>" + strEuros + "</tc_ok>"),
                     "tc_ok"),
              strExpected);
}

namespace {
std::vector<std::string> g_LogLines;
void CaptureLog(const char* pszFormat, ...) {
    char szBuf[512];
    va_list ap;
    va_start(ap, pszFormat);
    vsnprintf(szBuf, sizeof(szBuf), pszFormat, ap);
    va_end(ap);
    g_LogLines.emplace_back(szBuf);
}
} // namespace

TEST(TextCatalogue, UnknownEncodingIsLoggedAndGuessed) {
    const LogPrintFn pOld = LogPrint;
    LogPrint = CaptureLog;
    g_LogLines.clear();
    const std::string strValid =
        "<?xml version=\"1.0\" encoding=\"x-no-such-code\"?>" + Wrap("<tc_ok>caf\xC3\xA9</tc_ok>");
    const std::string strInvalid =
        "<?xml version=\"1.0\" encoding=\"UTF-8//IGNORE\"?>" + Wrap("<tc_ok>caf\xE9</tc_ok>");
    const std::string strValidText = TextOf(strValid, "tc_ok");
    const std::string strInvalidText = TextOf(strInvalid, "tc_ok");
    LogPrint = pOld;
    EXPECT_EQ(strValidText, "caf\xC3\xA9");
    EXPECT_EQ(strInvalidText, "caf\xC3\xA9") << "not valid UTF-8, so Windows-1252";
    ASSERT_EQ(g_LogLines.size(), 2u);
    EXPECT_NE(g_LogLines[0].find("x-no-such-code"), std::string::npos) << g_LogLines[0];
}

TEST(TextCatalogue, References) {
    const struct {
        const char* pszInput;
        const char* pszExpected;
    } kCases[] = {
        {"a &amp; b", "a & b"},
        {"&lt;&gt;&quot;&apos;", "<>\"'"},
        {"&#x4E2D;", "\xE4\xB8\xAD"},
        {"&#X4e2d;", "\xE4\xB8\xAD"},
        {"&#20013;", "\xE4\xB8\xAD"},
        {"&#x1F600;", "\xF0\x9F\x98\x80"},
        {"&eacute;", "\xC3\xA9"},
        {"&Eacute;", "\xC3\x89"},
        {"&EACUTE;", "&EACUTE;"}, // capital and small form exist: no guessing
        {"&AMP;", "&"},           // no case partner: any case
        {"&Nbsp;&COPY;&Euro;", "\xC2\xA0\xC2\xA9\xE2\x82\xAC"},
        {"&hArr;&harr;", "\xE2\x87\x94\xE2\x86\x94"},
        {"&thetasym;&THETASYM;", "\xCF\x91\xCF\x91"},
        {"&bogus;", "&bogus;"},
        {"&amp", "&amp"}, // no semicolon
        {"&#0;", "&#0;"},
        {"&#xD800;", "&#xD800;"},
        {"&#x110000;", "&#x110000;"},
        {"&#99999999999999999999;", "&#99999999999999999999;"},
        {"&#;&#x;&;", "&#;&#x;&;"},
        {"&abcdefghij;", "&abcdefghij;"}, // longer than any name
        {"R&D &amp;&amp;", "R&D &&"},
        {"&amp;amp;", "&amp;"}, // decoded once, not twice
        {"&&amp;", "&&"},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(TextOf(Wrap(std::string("<tc_ok>") + c.pszInput + "</tc_ok>"), "tc_ok"),
                  c.pszExpected)
            << c.pszInput;
}

TEST(HtmlEntities, Table) {
    EXPECT_EQ(HtmlEntities::Count(), 253u) << "the 252 HTML 4 names and apos";
    const struct {
        const char* pszName;
        int nCode;
    } kCases[] = {
        {"nbsp", 160},  {"yuml", 255},     {"Yuml", 376},   {"YUML", -1},   {"fnof", 402},
        {"Alpha", 913}, {"sigmaf", 962},   {"upsih", 978},  {"rArr", 8658}, {"rarr", 8594},
        {"lang", 9001}, {"rang", 9002},    {"diams", 9830}, {"euro", 8364}, {"apos", 39},
        {"APOS", 39},   {"permil", 8240},  {"ETH", 208},    {"eth", 240},   {"Eth", -1},
        {"", -1},       {"alefsym", 8501}, {"nosuch", -1},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(HtmlEntities::Find(c.pszName), c.nCode) << c.pszName;
}

TEST(TextCatalogue, MarkupInsideTexts) {
    const struct {
        const char* pszName;
        const char* pszBody;
        const char* pszExpected;
    } kCases[] = {
        {"CDATA is literal", "<tc_ok><![CDATA[a &amp; <b>]]> &amp;</tc_ok>", "a &amp; <b> &"},
        {"comment contributes nothing", "<tc_ok>a<!-- x -->b</tc_ok>", "ab"},
        {"processing instruction contributes nothing", "<tc_ok>a<?pi x?>b</tc_ok>", "ab"},
        {"white space preserved", "<tc_ok>  two\r\n  lines\t</tc_ok>", "  two\r\n  lines\t"},
        {"only white space", "<tc_ok>   </tc_ok>", "   "},
        {"child element gives empty text", "<tc_ok>a<b>x</b>c</tc_ok>", ""},
        {"empty element", "<tc_ok/>", ""},
        {"attributes ignored", "<tc_ok lang='en' x=\"1\">OK</tc_ok>", "OK"},
        {"first occurrence wins", "<tc_ok>first</tc_ok><tc_ok>second</tc_ok>", "first"},
        {"names are case-sensitive", "<TC_OK>upper</TC_OK><tc_ok>lower</tc_ok>", "lower"},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(TextOf(Wrap(c.pszBody), "tc_ok"), c.pszExpected) << c.pszName;

    const std::string strDoctype =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE texts [ <!ENTITY x \"y\"> ]>\n<!-- head -->\n" +
        Wrap("<tc_ok>OK</tc_ok>");
    EXPECT_EQ(TextOf(strDoctype, "tc_ok"), "OK");
}

TEST(TextCatalogue, NestedConfigIsSearchedAfterTheOuterOne) {
    const std::string strDoc = "<anything>"
                               "<other><config><tc_ok>wrong place</tc_ok></config></other>"
                               "<config>"
                               "  <tc_cancel>outer</tc_cancel>"
                               "  <config><tc_cancel>inner</tc_cancel><tc_ok>inner ok</tc_ok>"
                               "    <config><tc_apply>deepest</tc_apply></config>"
                               "  </config>"
                               "  <config><tc_exit>second nested is not searched</tc_exit></config>"
                               "</config>"
                               "<config><tc_web>second config is not searched</tc_web></config>"
                               "</anything>";
    CTextCatalogue cat;
    EXPECT_TRUE(cat.LoadFromBytes(strDoc.data(), strDoc.size()));
    EXPECT_EQ(cat.Text("tc_cancel"), "outer");
    EXPECT_EQ(cat.Text("tc_ok"), "inner ok");
    EXPECT_EQ(cat.Text("tc_apply"), "deepest");
    EXPECT_EQ(cat.Text("tc_exit"), "");
    EXPECT_EQ(cat.Text("tc_web"), "");

    // Load's one-pass search gives what the generic lookup gives, id by id.
    pugi::xml_document doc;
    ASSERT_TRUE(CTextCatalogue::Parse(doc, strDoc));
    for (const std::string& strId : TextIds()) {
        if (strId != "tc_hz" && strId.rfind("tc_gunname", 0) != 0) {
            EXPECT_EQ(CTextCatalogue::Lookup(doc, "config", strId.c_str()), cat.Text(strId))
                << strId;
        }
    }
    EXPECT_EQ(CTextCatalogue::Lookup(doc, "other", "tc_ok"), "") << "other is no child of config";
}

TEST(TextCatalogue, LookupWithoutConfig) {
    const char* const kDocs[] = {"", "<texts/>", "<texts><tc_ok>x</tc_ok></texts>",
                                 "<config><tc_ok>root is never searched</tc_ok></config>"};
    for (const char* pszDoc : kDocs) {
        pugi::xml_document doc;
        CTextCatalogue::Parse(doc, pszDoc);
        EXPECT_EQ(CTextCatalogue::Lookup(doc, "config", "tc_ok"), "") << pszDoc;
        EXPECT_EQ(TextOf(pszDoc, "tc_ok"), "") << pszDoc;
    }
}

TEST(TextCatalogue, SyntaxErrorKeepsWhatParsedBefore) {
    const std::string strDoc = "<texts><config><tc_ok>OK</tc_ok><tc_cancel>Cancel</tc_cancel>"
                               "<tc_apply>a < b</tc_apply><tc_exit>Exit</tc_exit></config></texts>";
    pugi::xml_document doc;
    const pugi::xml_parse_result res = CTextCatalogue::Parse(doc, strDoc);
    EXPECT_FALSE(res);
    EXPECT_EQ(CTextCatalogue::Lookup(doc, "config", "tc_cancel"), "Cancel");

    CTextCatalogue cat;
    EXPECT_FALSE(cat.LoadFromBytes(strDoc.data(), strDoc.size()));
    EXPECT_EQ(cat.Text("tc_ok"), "OK");
    EXPECT_EQ(cat.Text("tc_cancel"), "Cancel");
    EXPECT_EQ(cat.Text("tc_exit"), "");
    EXPECT_EQ(cat.Text("tc_hz"), "Hz");

    CTempDir dir;
    EXPECT_TRUE(cat.Load(dir.Write("text.xml", strDoc))) << "a malformed file is still read";
    EXPECT_EQ(cat.Text("tc_cancel"), "Cancel");
}

TEST(TextCatalogue, TruncatedAndGarbageInputNeverFails) {
    const std::string strFull =
        "\xEF\xBB\xBF<?xml version=\"1.0\"?><!DOCTYPE t><texts><config><tc_ok>O&amp;K</tc_ok>"
        "<tc_cancel><![CDATA[c]]></tc_cancel><!-- c --><tc_exit>E</tc_exit></config></texts>";
    for (size_t n = 0; n <= strFull.size(); ++n) {
        CTextCatalogue cat;
        cat.LoadFromBytes(strFull.data(), n);
        EXPECT_EQ(cat.Text("tc_hz"), "Hz");
    }
    CTextCatalogue cat;
    EXPECT_TRUE(cat.LoadFromBytes(strFull.data(), strFull.size()));
    EXPECT_EQ(cat.Text("tc_ok"), "O&K");
    EXPECT_EQ(cat.Text("tc_cancel"), "c");
    EXPECT_EQ(cat.Text("tc_exit"), "E");
    EXPECT_FALSE(cat.LoadFromBytes(nullptr, 0));
    EXPECT_EQ(cat.Text("tc_ok"), "");
}

// The demo installation ships a complete catalogue per language.
TEST(TextCatalogue, DemoCataloguesAreComplete) {
    const struct {
        const char* pszLang;
        bool bBom;
    } kLangs[] = {{"en", true}, {"de", false}};
    for (const auto& lang : kLangs) {
        const std::string strPath =
            std::string(VELKIN_SOURCE_DIR) + "/install/demo/Text/" + lang.pszLang + "/text.xml";
        FILE* pFile = std::fopen(strPath.c_str(), "rb");
        ASSERT_NE(pFile, nullptr) << strPath;
        std::string strBytes;
        char szBuf[4096];
        for (size_t n; (n = std::fread(szBuf, 1, sizeof(szBuf), pFile)) > 0;)
            strBytes.append(szBuf, n);
        std::fclose(pFile);
        EXPECT_EQ(strBytes.rfind("\xEF\xBB\xBF", 0) == 0, lang.bBom) << lang.pszLang;

        CTextCatalogue cat;
        EXPECT_TRUE(cat.LoadFromBytes(strBytes.data(), strBytes.size())) << lang.pszLang;
        for (const std::string& strId : TextIds())
            EXPECT_FALSE(cat.Text(strId).empty()) << lang.pszLang << " " << strId;

        // Every element of the catalogue is a known id: a typo would silently leave a text
        // empty.
        pugi::xml_document doc;
        CTextCatalogue::Parse(doc, strBytes.substr(lang.bBom ? 3 : 0));
        size_t nElements = 0;
        for (pugi::xml_node el : doc.document_element().child("config").children()) {
            if (el.type() != pugi::node_element)
                continue;
            ++nElements;
            EXPECT_GE(TextIdIndex(el.name()), 0) << lang.pszLang << " " << el.name();
        }
        EXPECT_EQ(nElements, TextIds().size()) << lang.pszLang << ": one element per id";
    }
}
