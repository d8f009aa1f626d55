// The user-interface font: the installation's private face when it names one and ships
// appfont.ttf, else the desktop's sans-serif face; both at FontSize pixels.
#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QStringList>
#include <filesystem>

#include "widgets/UiFont.h"
#include "support/TestDirs.h"

namespace {
const char* kFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
}

TEST(UiFont, PrivateFontWhenNamedAndShipped) {
    if (!std::filesystem::exists(kFontFile))
        GTEST_SKIP() << "no TrueType font to ship";
    CTempDir prog;
    std::filesystem::copy_file(kFontFile, prog.Path() + "AppFont.TTF"); // any spelling
    CGlobalVar var;
    var.szProgramDir = prog.Path();
    var.FontName = "DejaVu Sans";
    var.FontSize = 17;
    CUiFont ui = CreateUiFont(var);
    ASSERT_GE(ui.nPrivateFontId, 0);
    EXPECT_TRUE(QFontDatabase::applicationFontFamilies(ui.nPrivateFontId).contains("DejaVu Sans"));
    EXPECT_EQ(ui.font.family(), "DejaVu Sans");
    EXPECT_EQ(ui.font.pixelSize(), 17);
    EXPECT_EQ(ui.font.weight(), QFont::Weight(90));
    ReleaseUiFont(ui);
    EXPECT_EQ(ui.nPrivateFontId, -1);
}

TEST(UiFont, FallbackWithoutNameOrFile) {
    CTempDir prog;
    CGlobalVar var;
    var.szProgramDir = prog.Path();
    var.FontSize = 14;
    for (const char* pszName : {"", "Missing Face"}) {
        var.FontName = pszName; // with a name but no appfont.ttf the fallback applies too
        CUiFont ui = CreateUiFont(var);
        EXPECT_EQ(ui.nPrivateFontId, -1) << pszName;
        EXPECT_EQ(ui.font.pixelSize(), 14);
        EXPECT_EQ(ui.font.weight(), QFont::Normal);
    }
    prog.Write("appfont.ttf", "not a font");
    var.FontName = "Broken";
    EXPECT_EQ(CreateUiFont(var).nPrivateFontId, -1);
}
