// Key names, keyboard layout conversions, combination names and function display names.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "config/FunctionNames.h"
#include "config/KeyLayouts.h"
#include "config/KeyNames.h"
#include "config/TextCatalogue.h"

namespace {

// Every text the names use reads as "<id>", so a name shows which texts it was built from.
class KeyNamesTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string strXml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><root><config>";
        for (const std::string& strId : TextIds()) {
            if (strId == "tc_gunname2")
                continue; // left out: the built-in name applies
            strXml += "<" + strId + ">&lt;" + strId + "&gt;</" + strId + ">";
        }
        strXml += "</config></root>";
        g_Text.LoadFromBytes(strXml.data(), strXml.size());
    }
    void TearDown() override {
        g_Text.Clear();
        SetMacroNameSource(nullptr);
    }
};

TEST_F(KeyNamesTest, KeyNameTable) {
    const std::map<int, std::string> mapCases = {
        {8, "Backspace"},
        {9, "Tab"},
        {12, "Clr"},
        {13, "Enter"},
        {43, "Enter"},
        {16, "Shift"},
        {19, "Pause"},
        {20, "CapsLock"},
        {27, "Esc"},
        {32, "Space"},
        {33, "PageUp"},
        {36, "Home"},
        {40, "Down"},
        {41, "Select"},
        {42, "Print"},
        {44, "PrintScreen"},
        {47, "Help"},
        {48, "0"},
        {57, "9"},
        {65, "A"},
        {90, "Z"},
        {91, "L_Win"},
        {92, "R_Win"},
        {93, "App"},
        {96, "Num 0"},
        {105, "Num 9"},
        {106, "Num *"},
        {107, "Num +"},
        {108, "\\"},
        {109, "Num -"},
        {110, "Num ."},
        {111, "Num /"},
        {112, "F1"},
        {123, "F12"},
        {144, "NumLock"},
        {145, "Scroll Lock"},
        {160, "L_Shift"},
        {163, "R_Ctrl"},
        {165, "R_Alt"},
        {172, "<tc_kbmedia_main>"},
        {173, "<tc_mute>"},
        {179, "<tc_PL>"},
        {181, "<tc_kbmedia_msel>"},
        {240, "<tc_click>"},
        {241, "<tc_menu>"},
        {244, "<tc_back>"},
        {186, ";"},
        {192, "`"},
        {220, "\\"},
        {222, "'"},
        {255, ""},
        {0, ""},
        {124, ""},
        {180, ""},
        {245, ""},
    };
    for (const auto& [nVk, strName] : mapCases) {
        SCOPED_TRACE(nVk);
        EXPECT_EQ(GetKeyName(static_cast<uint8_t>(nVk), 0), strName);
    }
}

TEST_F(KeyNamesTest, LayoutsNameTheKeyAtTheStoredUsPosition) {
    struct {
        int nLayout;
        uint8_t byStored;
        const char* pszName;
    } aCases[] = {
        {1, 89, "Z"},         {1, 90, "Y"},         {1, 186, "\xC3\x96"}, {1, 219, "\xC3\x9C"},
        {1, 189, "\xC3\x9F"}, {1, 187, "\xC2\xB4"}, {1, 221, "+"},        {1, 191, "-"},
        {1, 222, "\xC3\x84"}, {1, 65, "A"},         {2, 65, "Q"},         {2, 81, "A"},
        {2, 87, "Z"},         {2, 77, ","},         {2, 186, "M"},        {2, 189, ")"},
        {2, 191, "!"},        {2, 222, "\xC3\x99"}, {2, 48, "0"},         {3, 89, "Y"},
        {3, 186, "\xC3\x96"}, {0, 89, "Y"},         {7, 89, "Y"},         {7, 186, ";"},
    };
    for (const auto& c : aCases) {
        SCOPED_TRACE(std::to_string(c.nLayout) + "/" + std::to_string(c.byStored));
        EXPECT_EQ(GetKeyName(c.byStored, c.nLayout), c.pszName);
    }
}

TEST_F(KeyNamesTest, DisplayConversionUndoesTheCaptureConversion) {
    for (int nLayout = 0; nLayout <= 4; ++nLayout) {
        int nConverted = 0;
        for (int n = 0; n < 256; ++n) {
            uint8_t byVk = static_cast<uint8_t>(n);
            uint8_t byStored = CaptureKeyConvert(nLayout, byVk);
            if (byStored == byVk)
                continue;
            ++nConverted;
            EXPECT_EQ(DisplayKeyConvert(nLayout, byStored), byVk)
                << "layout " << nLayout << " key " << n;
        }
        const int aExpected[] = {0, 10, 14, 8, 0};
        EXPECT_EQ(nConverted, aExpected[nLayout]) << "layout " << nLayout;
    }
    EXPECT_EQ(CaptureKeyConvert(1, 89), 90); // a captured Y on QWERTZ is stored as Z
    EXPECT_EQ(CaptureKeyConvert(2, 77), 186);
    EXPECT_EQ(DisplayKeyConvert(2, 223), 223);
    // Encoders with InputMethod 1 send the AZERTY positions.
    EXPECT_EQ(DeviceKeyConvert(1, 65), 81);
    EXPECT_EQ(DeviceKeyConvert(1, 186), 77);
    EXPECT_EQ(DeviceKeyConvert(0, 65), 65);
    EXPECT_EQ(DeviceKeyConvert(2, 65), 65);
}

TEST_F(KeyNamesTest, CombinationNames) {
    struct {
        uint8_t byMod, byVk, byVk2;
        int nLayout;
        const char* pszShort;
        const char* pszLong;
    } aCases[] = {
        {0x00, 0, 0, 0, "", ""},
        {0x00, 0x41, 0, 0, "A", "A"},
        {0x01, 0x41, 0, 0, "Ctrl + A", "L-Ctrl + A"},
        {0x10, 0x41, 0, 0, "Ctrl + A", "R-Ctrl + A"},
        {0x26, 0x41, 0x42, 0, "Alt + Shift + A + B", "L-Alt + L-Shift + R-Shift + A + B"},
        {0x80, 0, 0, 0, "Win", "R-Win"},
        {0x12, 0, 0x70, 0, "Ctrl + Shift + F1", "L-Shift + R-Ctrl + F1"},
        {0xFF, 0x70, 0, 0, "Ctrl + Alt + Shift + Win + F1",
         "L-Ctrl + L-Alt + L-Shift + L-Win + R-Ctrl + R-Alt + R-Shift + R-Win + F1"},
        {0x01, 89, 0, 1, "Ctrl + Z", "L-Ctrl + Z"},
        {0x01, 255, 0x41, 0, "Ctrl +  + A",
         "L-Ctrl +  + A"}, // a key without a name keeps its place
    };
    for (const auto& c : aCases) {
        SCOPED_TRACE(c.pszLong);
        EXPECT_EQ(GetShortComboName(c.byMod, c.byVk, c.byVk2, c.nLayout), c.pszShort);
        EXPECT_EQ(GetLongComboName(c.byMod, c.byVk, c.byVk2, c.nLayout), c.pszLong);
    }
}

class CFakeMacros : public IMacroNameSource {
public:
    std::optional<std::string> MacroName(uint32_t dwId) const override {
        return dwId == 7 ? std::optional<std::string>("Combo") : std::nullopt;
    }
    std::optional<std::string> BulletName(uint32_t dwId) const override {
        return dwId == 3 ? std::optional<std::string>("Burst") : std::nullopt;
    }
};

KeyFun Fun(uint32_t dwFun, uint32_t dwParam = 0) {
    KeyFun kf{};
    kf.dwFun = dwFun;
    kf.dwParam = dwParam;
    return kf;
}

KeyFun Key(uint8_t byMod, uint8_t byVk, uint8_t byVk2) {
    KeyFun kf = Fun(0x020000A1);
    kf.byMod = byMod;
    kf.byVk = byVk;
    kf.byVk2 = byVk2;
    return kf;
}

KeyFun Macro(uint32_t dwClass, uint32_t dwId) {
    KeyFun kf = Fun(dwClass << 24);
    kf.dwMacroId = dwId;
    return kf;
}

TEST_F(KeyNamesTest, FunctionDisplayNames) {
    auto pVar = std::make_unique<CGlobalVar>();
    pVar->Dev.Ms.nCurSensor = 0x3360; // 500, 800, 1000, ...
    CFakeMacros macros;
    SetMacroNameSource(&macros);
    struct {
        const char* pszWhat;
        KeyFun kf;
        const char* pszName;
    } aCases[] = {
        {"nothing", Fun(0), ""},
        {"left button", Fun(0x01000011), "<tc_click>"},
        {"middle button", Fun(0x01000012), "<tc_middle>"},
        {"right button", Fun(0x01000013), "<tc_menu>"},
        {"tilt right", Fun(0x0100001B), "<tc_mvr>"},
        {"mouse code not listed", Fun(0x0100001C), ""},
        {"Fn key", Key(0, 250, 0), "Fn"},
        {"combination", Key(0x05, 0x41, 0), "Ctrl + Alt + A"},
        {"two keys", Key(0, 0x41, 0x42), "A + B"},
        {"play/pause", Fun(0x03000022), "<tc_PL>"},
        {"mute", Fun(0x04000028), "<tc_mute>"},
        {"application back", Fun(0x03000035), "<tc_back>"},
        {"favourites", Fun(0x04000039), "<tc_kbmedia_favor>"},
        {"media code not listed", Fun(0x03000029), ""},
        {"macro", Macro(5, 7), "<tc_mac_def> - Combo"},
        {"missing macro", Macro(5, 8), ""},
        {"bullet macro", Macro(12, 3), "<tc_bullet14> - Burst"},
        {"missing bullet macro", Macro(12, 7), ""},
        {"key off", Fun(0x080000A2), "<tc_key_off>"},
        {"shift layer", Fun(0x080000A3), "Shift"},
        {"rapid fire on a key", Fun(0x080000A4, 0x410503), "<tc_fire> - A"},
        {"rapid fire on a button", Fun(0x080000A4, 0xF10000), "<tc_fire> - <tc_menu>"},
        {"rapid fire on tilt", Fun(0x080000A4, 0xF60000), "<tc_fire> - <tc_titlt2>"},
        {"resolution lock", Fun(0x080000A6, 2), "<tc_snipe> - 800"},
        {"resolution lock, no position", Fun(0x080000A6, 0), "<tc_snipe> - 0"},
        {"resolution lock past the list", Fun(0x080000A6, 99), "<tc_snipe> - 0"},
        {"light switch", Fun(0x080000A7), "<tc_rgb>"},
        {"resolution cycle", Fun(0x080000AA), "<tc_dpiloop>"},
        {"report rate", Fun(0x080000AC), "<tc_reportsw>"},
        {"custom key", Fun(0x080000AD, 5), "<tc_customkey>"},
        {"key sniper", Fun(0x080000AF), "<tc_keysnipe>"},
        {"text 16", Fun(0x080000B0), "<tc_msg16>"},
        {"text 17", Fun(0x080000B1), "<tc_msg17>"},
        {"speed up", Fun(0x080000B2), "<tc_speed> +"},
        {"speed down", Fun(0x080000B3), "<tc_speed> -"},
        {"text 20", Fun(0x080000B4), "<tc_msg20>"},
        {"text 20 again", Fun(0x080000B7), "<tc_msg20>"},
        {"brightness down", Fun(0x080000B6), "<tc_brightness> -"},
        {"gun", Fun(0x080000C0, 0x19170020), "<tc_chiji14> <tc_gunname1> + <tc_chiji6>"},
        {"gun built-in name", Fun(0x080000C0, 0x11), "<tc_chiji14> AKM + 4X"},
        {"gun no scope", Fun(0x080000C0, 0x36), "<tc_chiji14> <tc_gunname7> + "},
        {"gun first scope", Fun(0x080000C0, 0x05), "<tc_chiji14> <tc_gunname6> + <tc_chiji15>"},
        {"gun outside presets", Fun(0x080000C0, 0x0F), "<tc_chiji14>  + <tc_chiji15>"},
        {"gun switch", Fun(0x080000C2), "<tc_chiji3>"},
        {"rate up", Fun(0x080000D0), "<tc_reportsw> +"},
        {"rate down", Fun(0x080000D1), "<tc_reportsw> -"},
        {"fine resolution down", Fun(0x080000D3), "<tc_dpisubmin>"},
        {"class 8 not listed", Fun(0x080000A5), ""},
        {"raw function 1", Fun(0x09000000, 0x55), "<tc_hw1>"},
        {"raw function 4", Fun(0x09000003), "<tc_hw4>"},
        {"raw function past 4", Fun(0x09000004), ""},
        {"gun menu command", Fun(0x0A0000C0), ""},
        {"extra key 1", Fun(0x0B000000), "<tc_ex1>"},
        {"extra key 6", Fun(0x0B000005), "<tc_ex6>"},
        {"extra key 7", Fun(0x0B000006), ""},
        {"unknown class", Fun(0x0D000011), ""},
        {"rapid-fire code in class 0", Fun(0x000000A4, 0x200000), "<tc_fire> - Space"},
        {"rapid-fire code in class 11", Fun(0x0B0000A4, 0x410000), "<tc_fire> - A"},
        {"rapid-fire code in class 1", Fun(0x010000A4, 0x410000), "<tc_fire> - A"},
    };
    for (const auto& c : aCases) {
        SCOPED_TRACE(c.pszWhat);
        EXPECT_EQ(GetFunName(c.kf, *pVar), c.pszName);
    }
    // The key names follow the configured layout.
    pVar->KbType = 1;
    EXPECT_EQ(GetFunName(Key(0x01, 89, 0), *pVar), "Ctrl + Z");
    EXPECT_EQ(GetFunName(Fun(0x080000A4, 0x590000), *pVar), "<tc_fire> - Z");
}

TEST_F(KeyNamesTest, MacroFunctionsHaveNoNameWithoutMacroStores) {
    auto pVar = std::make_unique<CGlobalVar>();
    EXPECT_EQ(GetFunName(Macro(5, 7), *pVar), "");
    EXPECT_EQ(GetFunName(Macro(12, 3), *pVar), "");
}

} // namespace
