// The options dialog: which controls an installation without lists shows, language and skin
// choices taking effect at once, the sound file field and tick box, and what OK and the
// close button write to lang.ini and the profile.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <optional>

#include "app/dialogs/DrvcfgDlg.h"
#include "app/dialogs/FakeSoundPlayer.h"
#include "app/dialogs/MainWindowSkin.h"
#include "app/dialogs/SoundFileChooser.h"
#include "config/IniFile.h"
#include "config/TextCatalogue.h"
#include "storage/Profile.h"
#include "storage/WideField.h"
#include "widgets/ComboBtn.h"
#include "widgets/WidgetFixture.h"

namespace {

class CMainSpy : public IMainWindowSkin {
public:
    void RetextAll() override {
        ++m_nRetext;
        m_strOkAtRetext = Txt("tc_ok");
    }
    void ReloadSkin() override {
        ++m_nReload;
        m_nSkinAtReload = gVar.nSkinsIndex;
    }
    int m_nRetext = 0, m_nReload = 0, m_nSkinAtReload = -1;
    std::string m_strOkAtRetext;
};

class CAnswerChooser : public ISoundFileChooser {
public:
    std::optional<std::string> Choose(QWidget*) override { return m_answer; }
    std::optional<std::string> m_answer;
};

class CDrvcfgTest : public CWidgetTest {
protected:
    void SetUp() override {
        CWidgetTest::SetUp();
        m_savedText = g_Text;
        gVar.szUserDataDir = m_dir.Path() + "user/";
        m_dir.Write("user/keep.txt", "");
        Image("pickfundlg.png", QSize(470, 320), QColor(5, 5, 5));
        for (const char* psz : {"dot", "check", "combo", "exit", "button3"})
            ButtonImages(psz, QSize(24, 20));
        m_pro = std::make_unique<Profile>();
        SetWideField(m_pro->szSound, PROFILE_SOUND_LEN, "/old/sound.wav");
        m_strWav = m_dir.Write("sounds/beep.wav", "RIFF");
    }
    void TearDown() override {
        g_Text = m_savedText;
        CWidgetTest::TearDown();
    }
    DrvcfgContext Context() {
        DrvcfgContext ctx;
        ctx.pProfile = m_pro.get();
        ctx.pProfileLock = &m_mtx;
        ctx.pMain = &m_main;
        ctx.pSound = &m_sound;
        ctx.pChooser = &m_chooser;
        ctx.fnInfo = [this](QWidget*, const std::string& str) { m_vInfos.push_back(str); };
        return ctx;
    }
    // Two languages with their own catalogues, two skins.
    void WithLists() {
        gVar.Langs = {{"English", "en"}, {"Deutsch", "de"}};
        // Both skins use the test images of "skins/".
        gVar.Skins = {{"Dark", "skins"}, {"Light", "skins"}};
        m_dir.Write("Text/en/text.xml", "<texts><config><tc_ok>OK</tc_ok></config></texts>");
        m_dir.Write("Text/de/text.xml", "<texts><config><tc_ok>Gut</tc_ok></config></texts>");
    }
    std::optional<std::string> LangIni(const char* pszKey) {
        return CIniFile(gVar.szUserDataDir + "lang.ini").Raw("OPT", pszKey);
    }
    // Picks an item of a list as its menu does.
    static void Pick(CComboBtn* p, uint32_t dwValue) {
        QCoreApplication::sendPostedEvents();
        CWndMessageEvent ev(WM_MENUEX_PICK, dwValue, 0);
        QApplication::sendEvent(p, &ev);
    }
    std::string Sound() const { return GetWideField(m_pro->szSound, PROFILE_SOUND_LEN); }

    CTextCatalogue m_savedText;
    std::unique_ptr<Profile> m_pro;
    std::mutex m_mtx;
    CMainSpy m_main;
    CFakeSoundPlayer m_sound;
    CAnswerChooser m_chooser;
    std::vector<std::string> m_vInfos;
    std::string m_strWav;
};

TEST_F(CDrvcfgTest, WithoutListsOnlyTheSoundControlsShow) {
    CDrvcfgDlg dlg(m_pParent, Context());
    ASSERT_TRUE(dlg.Build());
    EXPECT_EQ(dlg.LangList(), nullptr);
    EXPECT_EQ(dlg.SkinList(), nullptr);
    EXPECT_EQ(dlg.ShownCaptions(), (std::vector<std::string>{"tc_msg29", "tc_msg30"}));
    ASSERT_NE(dlg.SoundField(), nullptr);
    EXPECT_EQ(dlg.SoundField()->geometry(), QRect(40, 70, 350, 20));
    EXPECT_EQ(dlg.SoundField()->objectName(), "4384");
    EXPECT_EQ(dlg.SoundField()->text().toStdString(), "/old/sound.wav");
    ASSERT_NE(dlg.OkButton(), nullptr);
    EXPECT_EQ(dlg.OkButton()->pos(), QPoint(470 - 122, 320 - 42));
    EXPECT_EQ(dlg.CloseButton()->pos(), QPoint(470 - 36, 10));
    EXPECT_EQ(dlg.BrowseButton()->pos(), QPoint(400, 70));
    EXPECT_EQ(dlg.TickBox()->pos(), QPoint(40, 100));
    EXPECT_TRUE(dlg.CancelButton()->isHidden());
}

TEST_F(CDrvcfgTest, ListsShowTheirEntriesAndTheStoredChoice) {
    WithLists();
    gVar.Langs.push_back({"", "xx"}); // an empty name ends the list
    gVar.Langs.push_back({"Francais", "fr"});
    gVar.nLangIndex = 1;
    gVar.nSkinsIndex = 7; // no such skin: no selection
    CDrvcfgDlg dlg(m_pParent, Context());
    ASSERT_TRUE(dlg.Build());
    ASSERT_NE(dlg.LangList(), nullptr);
    ASSERT_NE(dlg.SkinList(), nullptr);
    EXPECT_EQ(dlg.LangList()->pos(), QPoint(40, 161));
    EXPECT_EQ(dlg.SkinList()->pos(), QPoint(40, 236));
    EXPECT_EQ(dlg.LangList()->ItemCount(0), 2);
    EXPECT_EQ(dlg.LangList()->SelectedValue(), 1u);
    EXPECT_EQ(dlg.SkinList()->SelectedPos(), -1);
    EXPECT_EQ(dlg.ShownCaptions(),
              (std::vector<std::string>{"tc_msg27", "tc_msg28", "tc_msg29", "tc_msg30"}));
}

TEST_F(CDrvcfgTest, LanguageChoiceReloadsTextsAndSkinChoiceReloadsTheMainWindow) {
    WithLists();
    CDrvcfgDlg dlg(m_pParent, Context());
    ASSERT_TRUE(dlg.Build());
    Pick(dlg.LangList(), 1);
    EXPECT_EQ(gVar.nLangIndex, 1);
    EXPECT_EQ(Txt("tc_ok"), "Gut");
    EXPECT_EQ(dlg.OkButton()->Caption(), "Gut");
    EXPECT_EQ(m_main.m_nRetext, 1);
    EXPECT_EQ(m_main.m_strOkAtRetext, "Gut"); // the catalogue was loaded before re-texting
    EXPECT_EQ(m_main.m_nReload, 0);

    Pick(dlg.SkinList(), 1);
    EXPECT_EQ(gVar.nSkinsIndex, 1);
    EXPECT_EQ(m_main.m_nReload, 1);
    EXPECT_EQ(m_main.m_nSkinAtReload, 1);

    // Closing keeps both in effect for this run and stores nothing.
    Click(dlg.CloseButton(), QPoint(2, 2));
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(gVar.nSkinsIndex, 1);
    EXPECT_FALSE(FileLookup::Exists(gVar.szUserDataDir + "lang.ini"));
    EXPECT_EQ(Sound(), "/old/sound.wav");
}

TEST_F(CDrvcfgTest, OkStoresTheSoundFileOnlyWhenOneExists) {
    struct Case {
        const char* pszName;
        std::string strField;
        std::string strSound; // szSound afterwards
        bool bEnded;
        bool bInvalid;
    };
    const Case aCases[] = {
        {"empty field keeps the sound", "", "/old/sound.wav", true, false},
        {"existing file", m_strWav, m_strWav, true, false},
        {"missing file", m_dir.Path() + "nothing.wav", "/old/sound.wav", false, true},
        {"a folder is no file", m_dir.Path() + "sounds", "/old/sound.wav", false, true},
    };
    for (const Case& c : aCases) {
        SCOPED_TRACE(c.pszName);
        SetWideField(m_pro->szSound, PROFILE_SOUND_LEN, "/old/sound.wav");
        std::remove((gVar.szUserDataDir + "lang.ini").c_str());
        m_vInfos.clear();
        CDrvcfgDlg dlg(m_pParent, Context());
        ASSERT_TRUE(dlg.Build());
        dlg.show();
        dlg.SoundField()->setText(QString::fromStdString(c.strField));
        Click(dlg.OkButton(), QPoint(2, 2));
        EXPECT_EQ(Sound(), c.strSound);
        EXPECT_EQ(dlg.isVisible(), !c.bEnded);
        EXPECT_EQ(m_vInfos, c.bInvalid ? std::vector<std::string>{"Invalid File Path."}
                                       : std::vector<std::string>{});
        EXPECT_EQ(LangIni("LangIndex").has_value(), c.bEnded);
    }
}

TEST_F(CDrvcfgTest, TickBoxPlaysAnExistingFileAndStops) {
    CDrvcfgDlg dlg(m_pParent, Context());
    ASSERT_TRUE(dlg.Build());
    dlg.show();
    // The field names a missing file: nothing plays and nothing is said.
    dlg.SoundField()->setText(QString::fromStdString(m_dir.Path() + "nothing.wav"));
    Click(dlg.TickBox(), QPoint(2, 2));
    EXPECT_TRUE(dlg.TickBox()->IsTicked());
    EXPECT_FALSE(m_sound.IsPlaying());
    EXPECT_TRUE(m_vInfos.empty());
    // OK then reports the path and the dialog stays.
    Click(dlg.OkButton(), QPoint(2, 2));
    EXPECT_EQ(m_vInfos, std::vector<std::string>{"Invalid File Path."});
    EXPECT_TRUE(dlg.isVisible());

    Click(dlg.TickBox(), QPoint(2, 2)); // clear: stops
    dlg.SoundField()->setText(QString::fromStdString(m_strWav));
    Click(dlg.TickBox(), QPoint(2, 2));
    EXPECT_EQ(m_sound.m_strPlaying, m_strWav);
    Click(dlg.TickBox(), QPoint(2, 2));
    EXPECT_FALSE(m_sound.IsPlaying());
}

TEST_F(CDrvcfgTest, BrowseFillsTheFieldAndTicksWithoutPlaying) {
    CDrvcfgDlg dlg(m_pParent, Context());
    ASSERT_TRUE(dlg.Build());
    dlg.show();
    Click(dlg.BrowseButton(), QPoint(2, 2)); // cancelled: nothing changes
    EXPECT_EQ(dlg.SoundField()->text().toStdString(), "/old/sound.wav");
    EXPECT_FALSE(dlg.TickBox()->IsTicked());
    m_chooser.m_answer = m_strWav;
    Click(dlg.BrowseButton(), QPoint(2, 2));
    EXPECT_EQ(dlg.SoundField()->text().toStdString(), m_strWav);
    EXPECT_TRUE(dlg.TickBox()->IsTicked());
    EXPECT_EQ(m_sound.m_nStarted, 0);
}

TEST_F(CDrvcfgTest, PlaySoundIsWrittenOnlyWhenItChanges) {
    struct Case {
        int nSwitch;  // the play-sound switch before
        bool bTicked; // the tick box at OK
        std::optional<std::string> strWritten;
    };
    const Case aCases[] = {
        {0, false, std::nullopt}, {0, true, "1"}, {1, false, "0"}, {1, true, std::nullopt}};
    for (const Case& c : aCases) {
        SCOPED_TRACE(std::to_string(c.nSwitch) + (c.bTicked ? " ticked" : " clear"));
        std::remove((gVar.szUserDataDir + "lang.ini").c_str());
        gVar.nPlaySound = c.nSwitch;
        gVar.nLangIndex = 3;
        gVar.nSkinsIndex = 2;
        CDrvcfgDlg dlg(m_pParent, Context());
        ASSERT_TRUE(dlg.Build());
        EXPECT_EQ(dlg.TickBox()->IsTicked(), c.nSwitch != 0);
        dlg.TickBox()->SetTicked(c.bTicked);
        dlg.SoundField()->clear(); // the profile's old file is gone; an empty field keeps it
        dlg.OnOk();
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_EQ(LangIni("PlaySound"), c.strWritten);
        EXPECT_EQ(LangIni("LangIndex"), "3");
        EXPECT_EQ(LangIni("SkinsIndex"), "2");
        EXPECT_EQ(gVar.nPlaySound, c.bTicked ? 1 : 0);
    }
}

TEST_F(CDrvcfgTest, WithoutAProfileOkWritesNothing) {
    DrvcfgContext ctx = Context();
    ctx.pProfile = nullptr;
    gVar.nPlaySound = 1;
    CDrvcfgDlg dlg(m_pParent, ctx);
    ASSERT_TRUE(dlg.Build());
    EXPECT_FALSE(dlg.TickBox()->IsTicked());
    EXPECT_TRUE(dlg.SoundField()->text().isEmpty());
    dlg.OnOk();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_FALSE(FileLookup::Exists(gVar.szUserDataDir + "lang.ini"));
    EXPECT_EQ(gVar.nPlaySound, 1);
}

TEST_F(CDrvcfgTest, SwallowsEnterEscapeSpaceAndF1ButTheFieldTakesBlanks) {
    CDrvcfgDlg dlg(m_pParent, Context());
    ASSERT_TRUE(dlg.Build());
    dlg.show();
    for (int nKey : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space, Qt::Key_F1}) {
        SendKey(&dlg, QEvent::KeyPress, nKey);
        SendKey(&dlg, QEvent::KeyRelease, nKey);
        EXPECT_TRUE(dlg.isVisible()) << nKey;
    }
    SendKey(dlg.SoundField(), QEvent::KeyPress, Qt::Key_Escape);
    SendKey(dlg.SoundField(), QEvent::KeyPress, Qt::Key_Return);
    EXPECT_TRUE(dlg.isVisible());
    dlg.SoundField()->clear();
    SendKey(dlg.SoundField(), QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, 0, false, "a");
    SendKey(dlg.SoundField(), QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, 0, false, " ");
    SendKey(dlg.SoundField(), QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, 0, false, "b");
    EXPECT_EQ(dlg.SoundField()->text(), "a b");
}

TEST_F(CDrvcfgTest, MissingBackgroundEndsTheDialogAsCancelled) {
    std::remove((m_dir.Path() + "skins/pickfundlg.png").c_str());
    CDrvcfgDlg dlg(m_pParent, Context());
    EXPECT_FALSE(dlg.Build());
    EXPECT_EQ(dlg.Run(), QDialog::Rejected);
    EXPECT_FALSE(FileLookup::Exists(gVar.szUserDataDir + "lang.ini"));
}

} // namespace
