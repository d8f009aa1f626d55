// The skinned message box: modes, layout, buttons and results, the name check, the number
// box, key capture and the keyboard rules.
#include <QLineEdit>
#include <QTimer>
#include <climits>

#include "WidgetFixture.h"
#include "config/KeyNames.h"
#include "config/TextCatalogue.h"
#include "support/FakeClock.h"
#include "widgets/DialogRegistry.h"
#include "widgets/InfoBox.h"
#include "widgets/MsgDlg.h"
#include "widgets/PngBtn.h"

namespace {
class MsgDlgTest : public CWidgetTest {
protected:
    void SetUp() override {
        CWidgetTest::SetUp();
        Image("msg_nr.png", QSize(520, 220), QColor(30, 30, 30));
        Image("msgico.png", QSize(40, 40), QColor(0, 0, 255));
        ButtonImages("exit", QSize(26, 26));
        ButtonImages("button3", QSize(96, 30));
        ButtonImages("Check", QSize(17, 17));
        const std::string strXml = "<texts><config><tc_ok>OK</tc_ok><tc_cancel>Cancel</tc_cancel>"
                                   "<tc_tips2>No punctuation</tc_tips2></config></texts>";
        g_Text.LoadFromBytes(strXml.data(), strXml.size());
        CKeyCapture::ResetMemory();
    }
    void TearDown() override {
        g_Text.Clear();
        CWidgetTest::TearDown();
    }
    // Types one key event with text into the focused field as the keyboard would.
    static void Type(QWidget* p, const QString& str) {
        SendKey(p, QEvent::KeyPress, 0, Qt::NoModifier, 0, false, str);
    }
    CFakeClock m_clock;
};

TEST_F(MsgDlgTest, LayoutOfTheInputModes) {
    CMsgDlg dlg(nullptr, CMsgDlg::MODE_KEY, "prompt");
    dlg.SetTickBox(true);
    ASSERT_TRUE(dlg.Build());
    EXPECT_EQ(dlg.size(), QSize(520, 220));
    EXPECT_EQ(dlg.windowTitle(), "VelkinMsgTopWindow");
    EXPECT_EQ(dlg.CloseButton()->pos(), QPoint(484, 10));
    EXPECT_EQ(dlg.CancelButton()->pos(), QPoint(378, 178));
    EXPECT_EQ(dlg.OkButton()->pos(), QPoint(276, 178));
    EXPECT_EQ(dlg.OkButton()->Caption(), "OK");
    EXPECT_EQ(dlg.CancelButton()->Caption(), "Cancel");
    EXPECT_EQ(dlg.InputField()->geometry(), QRect(QPoint(60, 95), QPoint(459, 118)));
    EXPECT_TRUE(dlg.InputField()->isReadOnly());
    const int aLefts[4] = {62, 129, 196, 263};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(dlg.TickBox(i)->geometry(), QRect(aLefts[i], 134, 17, 17)) << i;

    CMsgDlg info(nullptr, CMsgDlg::MODE_INFO, "hello");
    ASSERT_TRUE(info.Build());
    EXPECT_EQ(info.OkButton()->pos(), QPoint(378, 178)) << "OK takes Cancel's place";
    EXPECT_TRUE(info.CancelButton()->isHidden());
    EXPECT_EQ(info.InputField(), nullptr);
    EXPECT_EQ(info.grab().toImage().pixelColor(60, 100), QColor(0, 0, 255)) << "icon at 45, 85";
}

TEST_F(MsgDlgTest, PlacementOverTheParentOrTheScreen) {
    const QSize szBox(520, 220), szScreen(1920, 1080);
    EXPECT_EQ(CMsgDlg::PlaceBox(szBox, QRect(100, 100, 1000, 650), szScreen), QPoint(340, 315));
    EXPECT_EQ(CMsgDlg::PlaceBox(szBox, QRect(-900, 100, 1000, 650), szScreen), QPoint(700, 430));
    EXPECT_EQ(CMsgDlg::PlaceBox(szBox, QRect(), szScreen), QPoint(700, 430));
    EXPECT_EQ(CMsgDlg::PlaceBox(szBox, QRect(-900, 0, 10, 10), QSize(521, 221)), QPoint(10, 10));
}

TEST_F(MsgDlgTest, InformationBoxKeys) {
    CMsgDlg dlg(nullptr, CMsgDlg::MODE_INFO, "text");
    ASSERT_TRUE(dlg.Build());
    dlg.show();
    for (int nKey : {Qt::Key_Escape, Qt::Key_Space, Qt::Key_F1}) {
        SendKey(&dlg, QEvent::KeyPress, nKey);
        SendKey(&dlg, QEvent::KeyRelease, nKey);
    }
    EXPECT_TRUE(dlg.isVisible()) << "Esc, Space and F1 are swallowed";
    SendKey(&dlg, QEvent::KeyPress, Qt::Key_Return);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.EndCode(), MSG_IDOK);
}

TEST_F(MsgDlgTest, ModalRunsAndTheRegistryClosesThem) {
    QTimer::singleShot(0, [] {
        const auto v = DialogRegistry::Find("VelkinMsgTopWindow");
        ASSERT_EQ(v.size(), 1u);
        SendKey(v[0], QEvent::KeyPress, Qt::Key_Enter, Qt::KeypadModifier);
    });
    EXPECT_EQ(MsgInfo(nullptr, "hello"), MSG_IDOK);
    EXPECT_TRUE(DialogRegistry::Find("VelkinMsgTopWindow").empty());

    QTimer::singleShot(0, [] { EXPECT_EQ(DialogRegistry::CloseAll("VelkinMsgTopWindow"), 1); });
    EXPECT_FALSE(MsgQuestion(nullptr, "sure?"));

    QTimer::singleShot(0, [] {
        auto* pDlg = static_cast<CMsgDlg*>(DialogRegistry::Find("VelkinMsgTopWindow").at(0));
        Click(pDlg->OkButton(), QPoint(5, 5));
    });
    EXPECT_TRUE(MsgQuestion(nullptr, "sure?"));
}

TEST_F(MsgDlgTest, MissingBackgroundEndsAsCancelled) {
    m_dir.Write("skins/msg_nr.png", "");
    CMsgDlg dlg(nullptr, CMsgDlg::MODE_TEXT, "name?");
    EXPECT_EQ(dlg.Run(), MSG_IDCANCEL);
    EXPECT_TRUE(DialogRegistry::Find("VelkinMsgTopWindow").empty());
    std::string str = "unchanged";
    EXPECT_FALSE(MsgTextInput(nullptr, "name?", str));
    EXPECT_EQ(str, "unchanged");
}

TEST_F(MsgDlgTest, NameCheckCutsAtTheFirstPunctuationMark) {
    CMsgDlg dlg(nullptr, CMsgDlg::MODE_TEXT, "name?");
    ASSERT_TRUE(dlg.Build());
    QLineEdit* pEdit = dlg.InputField();
    Type(pEdit, "ab.c");
    EXPECT_EQ(pEdit->text(), "ab");
    EXPECT_EQ(pEdit->cursorPosition(), 2);
    EXPECT_EQ(dlg.HintText(), "No punctuation");
    Type(pEdit, "d");
    EXPECT_EQ(pEdit->text(), "abd");
    EXPECT_EQ(dlg.HintText(), "");

    // Allowed: - ^ _ ` ~ and letters of any script; refused: the fullwidth ! and the yen sign.
    pEdit->clear();
    Type(pEdit, QString::fromUtf8("a-^_`~é"));
    EXPECT_EQ(pEdit->text(), QString::fromUtf8("a-^_`~é"));
    for (const char* psz :
         {"!", "/", ":", "@", "[", "]", "{", "}", "\xEF\xBC\x81", "\xEF\xBF\xA5"}) {
        pEdit->setText("x");
        Type(pEdit, QString::fromUtf8(psz));
        EXPECT_EQ(pEdit->text(), "x") << psz;
    }
    pEdit->setText(QString(60, 'y'));
    Type(pEdit, "!");
    EXPECT_EQ(pEdit->text().size(), 61) << "only the first 49 characters are checked";

    pEdit->setText("name");
    Click(dlg.OkButton(), QPoint(5, 5));
    EXPECT_EQ(dlg.EndCode(), MSG_IDOK);
    EXPECT_EQ(dlg.m_strResult, "name");
}

TEST_F(MsgDlgTest, EmptyNameEndsAsCancelled) {
    CMsgDlg dlg(nullptr, CMsgDlg::MODE_TEXT, "name?");
    ASSERT_TRUE(dlg.Build());
    Click(dlg.OkButton(), QPoint(5, 5));
    EXPECT_EQ(dlg.EndCode(), MSG_IDCANCEL);
}

TEST_F(MsgDlgTest, NumberBox) {
    struct Case {
        const char* pszTyped;
        int nResult;
    };
    const Case cases[] = {{"", 0}, {"123", 123}, {"12a3", 123}, {"99999999999", INT_MAX}};
    for (const auto& c : cases) {
        CMsgDlg dlg(nullptr, CMsgDlg::MODE_NUMBER, "how many?");
        ASSERT_TRUE(dlg.Build());
        for (const char* p = c.pszTyped; *p; ++p)
            Type(dlg.InputField(), QString(QChar(*p)));
        Click(dlg.OkButton(), QPoint(5, 5));
        EXPECT_EQ(dlg.EndCode(), MSG_IDOK);
        EXPECT_EQ(dlg.m_nResult, c.nResult) << c.pszTyped;
    }
    CMsgDlg dlg(nullptr, CMsgDlg::MODE_NUMBER, "how many?");
    ASSERT_TRUE(dlg.Build());
    Type(dlg.InputField(), "5");
    Click(dlg.CloseButton(), QPoint(5, 5));
    EXPECT_EQ(dlg.EndCode(), MSG_IDCANCEL);
    EXPECT_EQ(dlg.m_nResult, 0);
}

// One key event as the keyboard delivers it; scan codes are X keycodes.
struct KeyStep {
    int nQtKey;
    quint32 nScan;
    bool bUp;
    int nWaitMs; // clock moves this much before the event
    bool bRepeat = false;
};
constexpr quint32 kLCtrl = 37, kRCtrl = 105, kLShift = 50, kRShift = 62, kRAlt = 108;

struct CaptureCase {
    const char* pszName;
    bool bSingleKey;
    std::vector<KeyStep> vSteps;
    uint8_t byMod, byKey;
};

TEST_F(MsgDlgTest, KeyCaptureSequences) {
    const CaptureCase cases[] = {
        {"left Ctrl then A within a second",
         false,
         {{Qt::Key_Control, kLCtrl, false, 0},
          {Qt::Key_A, 0, false, 999},
          {Qt::Key_A, 0, true, 10},
          {Qt::Key_Control, kLCtrl, true, 10}},
         0x01,
         'A'},
        {"left Ctrl, a pause, then A",
         false,
         {{Qt::Key_Control, kLCtrl, false, 0},
          {Qt::Key_Control, kLCtrl, true, 100},
          {Qt::Key_A, 0, false, 1000}},
         0x00,
         'A'},
        {"left then right Ctrl",
         false,
         {{Qt::Key_Control, kLCtrl, false, 0},
          {Qt::Key_Control, kLCtrl, true, 50},
          {Qt::Key_Control, kRCtrl, false, 50}},
         0x10,
         0},
        {"held A repeats nothing",
         false,
         {{Qt::Key_Shift, kLShift, false, 0},
          {Qt::Key_A, 0, false, 100},
          {Qt::Key_A, 0, false, 1500},
          {Qt::Key_A, 0, false, 1500, true}},
         0x02,
         'A'},
        {"right Shift and right Alt",
         false,
         {{Qt::Key_Shift, kRShift, false, 0},
          {Qt::Key_Alt, kRAlt, false, 100},
          {Qt::Key_F5, 0, false, 100}},
         0x60,
         0x74},
        {"Enter and Esc are captured",
         false,
         {{Qt::Key_Escape, 0, false, 0},
          {Qt::Key_Escape, 0, true, 10},
          {Qt::Key_Return, 0, false, 10}},
         0x00,
         13},
        {"single key: Ctrl then A",
         true,
         {{Qt::Key_Control, kLCtrl, false, 0}, {Qt::Key_A, 0, false, 100}},
         0x00,
         'A'},
        {"single key: Ctrl alone", true, {{Qt::Key_Control, kLCtrl, false, 0}}, 0x01, 0},
    };
    for (const auto& c : cases) {
        CKeyCapture::ResetMemory();
        CMsgDlg dlg(nullptr, CMsgDlg::MODE_KEY, "press");
        dlg.SetSingleKey(c.bSingleKey);
        dlg.SetTickBox(false);
        ASSERT_TRUE(dlg.Build());
        dlg.show();
        EXPECT_TRUE(dlg.TickBox(0)->isHidden());
        for (const auto& s : c.vSteps) {
            m_clock.m_nNow += static_cast<uint64_t>(s.nWaitMs);
            SendKey(dlg.InputField(), s.bUp ? QEvent::KeyRelease : QEvent::KeyPress, s.nQtKey,
                    Qt::NoModifier, s.nScan, s.bRepeat);
        }
        EXPECT_TRUE(dlg.isVisible()) << c.pszName;
        EXPECT_EQ(dlg.m_byMod, c.byMod) << c.pszName;
        EXPECT_EQ(dlg.m_byKey1, c.byKey) << c.pszName;
        EXPECT_EQ(dlg.InputField()->text().toStdString(), GetLongComboName(c.byMod, c.byKey, 0))
            << c.pszName;
        Click(dlg.OkButton(), QPoint(5, 5));
        EXPECT_EQ(dlg.EndCode(), MSG_IDOK) << c.pszName;
        EXPECT_EQ(dlg.m_byKey2, 0);
    }
}

TEST_F(MsgDlgTest, LongNameOfLeftCtrlAndA) {
    CMsgDlg dlg(nullptr, CMsgDlg::MODE_KEY, "press");
    ASSERT_TRUE(dlg.Build());
    SendKey(&dlg, QEvent::KeyPress, Qt::Key_Control, Qt::NoModifier, kLCtrl);
    SendKey(&dlg, QEvent::KeyPress, Qt::Key_A);
    EXPECT_EQ(dlg.InputField()->text(), "L-Ctrl + A");
}

TEST_F(MsgDlgTest, TickBoxesChooseTheModifiers) {
    CMsgDlg dlg(nullptr, CMsgDlg::MODE_KEY, "press");
    dlg.SetTickBox(true);
    ASSERT_TRUE(dlg.Build());
    SendKey(&dlg, QEvent::KeyPress, Qt::Key_Shift, Qt::NoModifier, kLShift);
    EXPECT_EQ(dlg.InputField()->text(), "") << "modifier keys show nothing";
    Click(dlg.TickBox(1), QPoint(3, 3)); // Ctrl
    Click(dlg.TickBox(2), QPoint(3, 3)); // Alt
    Click(dlg.TickBox(3), QPoint(3, 3)); // Win, ticked ...
    Click(dlg.TickBox(3), QPoint(3, 3)); // ... and unticked
    m_clock.m_nNow += 50;
    SendKey(&dlg, QEvent::KeyPress, Qt::Key_F5);
    EXPECT_EQ(dlg.InputField()->text().toStdString(), GetLongComboName(0, 0x74, 0));
    Click(dlg.OkButton(), QPoint(5, 5));
    EXPECT_EQ(dlg.EndCode(), MSG_IDOK);
    EXPECT_EQ(dlg.m_byMod, 0x05);
    EXPECT_EQ(dlg.m_byKey1, 0x74);
}

TEST_F(MsgDlgTest, TheLastKeyEventOutlivesTheBox) {
    {
        CMsgDlg dlg(nullptr, CMsgDlg::MODE_KEY, "press");
        ASSERT_TRUE(dlg.Build());
        SendKey(&dlg, QEvent::KeyPress, Qt::Key_B);
        EXPECT_EQ(dlg.m_byKey1, 'B');
    }
    CMsgDlg dlg(nullptr, CMsgDlg::MODE_KEY, "press");
    ASSERT_TRUE(dlg.Build());
    SendKey(&dlg, QEvent::KeyPress, Qt::Key_B); // still held from the last box
    EXPECT_EQ(dlg.m_byKey1, 0);
    SendKey(&dlg, QEvent::KeyRelease, Qt::Key_B);
    SendKey(&dlg, QEvent::KeyPress, Qt::Key_B);
    EXPECT_EQ(dlg.m_byKey1, 'B');
}

TEST_F(MsgDlgTest, PlainInformationBox) {
    InfoBox("Device %d: %s", 3, "ok");
    InfoBox("%s", std::string(300, 'z').c_str());
    ASSERT_EQ(m_sink.m_vEntries.size(), 2u);
    EXPECT_EQ(m_sink.m_vEntries[0].strTitle, "Info");
    EXPECT_EQ(m_sink.m_vEntries[0].strText, "Device 3: ok");
    EXPECT_EQ(m_sink.m_vEntries[1].strText.size(), 259u);
}
} // namespace
