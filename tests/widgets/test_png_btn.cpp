// Skinned push buttons and tick boxes: state images, clicks, hover, the creation function.
#include <QPainter>
#include <QTest>

#include "WidgetFixture.h"
#include "widgets/PngBtn.h"
#include "widgets/SkinWidgetFactory.h"

namespace {
class PngBtnTest : public CWidgetTest {
protected:
    CPngBtn* Make(const PngBtnOptions& opt = {}) {
        ButtonImages("btn", QSize(80, 24));
        return CreatePngBtn(m_pParent, 42, QPoint(10, 10), "btn_nr.png", "btn_ov.png", "btn_dn.png",
                            opt);
    }
};

// A click is reported once, by the signal: an owner that also took a command message for
// it ran every command twice.
TEST_F(PngBtnTest, ClickIsReportedOnceAndTheButtonTakesTheNormalImageSize) {
    CPngBtn* p = Make();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->geometry(), QRect(10, 10, 80, 24));
    std::vector<int> vClicked;
    QObject::connect(p, &CPngBtn::clicked, [&](int nId) { vClicked.push_back(nId); });
    QTest::mouseClick(p, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(vClicked, std::vector<int>({42}));
    EXPECT_TRUE(m_pParent->Take(WM_COMMAND_MSG).empty()) << "no second report of the click";

    // A press dragged off the button before release is no click, nor is the right button.
    QTest::mousePress(p, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseRelease(p, Qt::LeftButton, Qt::NoModifier, QPoint(200, 5));
    QTest::mouseClick(p, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(vClicked.size(), 1u);
    // A disabled button takes no click.
    p->setEnabled(false);
    QTest::mouseClick(p, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(vClicked.size(), 1u);
    EXPECT_TRUE(m_pParent->Take(WM_COMMAND_MSG).empty());
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(PngBtnTest, HoverAndPressChooseTheImage) {
    CPngBtn* p = Make();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(PixelOf(p, QPoint(40, 12)), kClrNr);
    SendMouse(p, QEvent::MouseMove, QPoint(3, 3));
    EXPECT_TRUE(p->IsHovered());
    EXPECT_EQ(PixelOf(p, QPoint(40, 12)), kClrOv);
    SendMouse(p, QEvent::MouseButtonPress, QPoint(3, 3));
    EXPECT_EQ(PixelOf(p, QPoint(40, 12)), kClrDn);
    SendMouse(p, QEvent::MouseButtonRelease, QPoint(3, 3));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(p, &leave);
    EXPECT_FALSE(p->IsHovered());
    EXPECT_EQ(PixelOf(p, QPoint(40, 12)), kClrNr);
}

struct StateCase {
    const char* pszName;
    bool bCheckable, bTicked, bEnabled, bHovered, bPressed;
    int nImage; // 0 normal, 1 hover, 2 pressed, 3 disabled
    int nColor; // 0 nr, 1 ov, 2 dn
};

TEST_F(PngBtnTest, StateTable) {
    const StateCase cases[] = {
        {"push normal", false, false, true, false, false, 0, 0},
        {"push hover", false, false, true, true, false, 1, 1},
        {"push pressed", false, false, true, true, true, 2, 2},
        {"push disabled", false, false, false, true, false, 3, 0},
        {"push ticked", false, true, true, false, false, 2, 2},
        {"box ticked", true, true, true, false, false, 2, 2},
        {"box ticked and disabled", true, true, false, false, false, 3, 0},
        {"box hovered", true, false, true, true, false, 1, 1},
        {"box disabled", true, false, false, false, false, 3, 0},
        {"box pressed unticked", true, false, true, false, true, 0, 0},
    };
    CPngBtn btn(m_pParent, 1);
    const QColor aClr[3] = {QColor(1, 1, 1), QColor(2, 2, 2), QColor(3, 3, 3)};
    btn.SetColors(aClr[0], aClr[1], aClr[2]);
    for (const auto& c : cases) {
        btn.SetCheckable(c.bCheckable, false);
        btn.SetTicked(c.bTicked);
        btn.setEnabled(c.bEnabled);
        btn.ShowHovered(c.bHovered);
        btn.ShowPressed(c.bPressed);
        const auto st = btn.CurrentDrawState();
        EXPECT_EQ(st.nImage, c.nImage) << c.pszName;
        EXPECT_EQ(st.clrText, aClr[c.nColor]) << c.pszName;
    }
}

TEST_F(PngBtnTest, TickedAndDisabledBoxShowsTheNormalImage) {
    PngBtnOptions opt;
    opt.bCheckable = true;
    CPngBtn* p = Make(opt);
    ASSERT_NE(p, nullptr);
    SendMouse(p, QEvent::MouseButtonPress, QPoint(3, 3)); // auto-toggle on press
    EXPECT_TRUE(p->IsTicked());
    SendMouse(p, QEvent::MouseButtonRelease, QPoint(3, 3));
    EXPECT_EQ(PixelOf(p, QPoint(40, 12)), kClrDn);
    p->setEnabled(false);
    EXPECT_EQ(PixelOf(p, QPoint(40, 12)), kClrNr);
    p->setEnabled(true);
    Click(p, QPoint(3, 3));
    EXPECT_FALSE(p->IsTicked());
}

TEST_F(PngBtnTest, PressOffsetMovesImageOneLeftOneDown) {
    PngBtnOptions opt;
    opt.bPressOffset = true;
    CPngBtn* p = Make(opt);
    ASSERT_NE(p, nullptr);
    p->ShowPressed(true);
    const QImage img = p->grab().toImage();
    EXPECT_EQ(img.pixelColor(0, 5), kClrDn);
    EXPECT_NE(img.pixelColor(79, 5), kClrDn) << "right column uncovered";
    EXPECT_NE(img.pixelColor(40, 0), kClrDn) << "top row uncovered";
    EXPECT_EQ(img.pixelColor(40, 1), kClrDn);
}

TEST_F(PngBtnTest, BackgroundPieceShowsThroughAndFrameFlagDrawsRed) {
    Image("tr_nr.png", QSize(20, 20), Qt::transparent);
    Image("tr_ov.png", QSize(20, 20), Qt::transparent);
    Image("tr_dn.png", QSize(20, 20), Qt::transparent);
    QImage bkg(200, 200, QImage::Format_ARGB32);
    bkg.fill(Qt::black);
    bkg.setPixelColor(35, 45, QColor(0, 255, 0)); // under the button's (5, 5)
    PngBtnOptions opt;
    opt.pBkg = &bkg;
    opt.ptBkgOffset = QPoint(0, 10);
    gVar.FrameDebug = 1;
    CPngBtn* p =
        CreatePngBtn(m_pParent, 1, QPoint(30, 30), "tr_nr.png", "tr_ov.png", "tr_dn.png", opt);
    ASSERT_NE(p, nullptr);
    const QImage img = p->grab().toImage();
    EXPECT_EQ(img.pixelColor(5, 5), QColor(0, 255, 0));
    EXPECT_EQ(img.pixelColor(0, 10), QColor(0xFF, 0, 0x0A));
}

TEST_F(PngBtnTest, CaptionCentredUnlessOffset) {
    Image("w_nr.png", QSize(100, 20), Qt::black);
    Image("w_ov.png", QSize(100, 20), Qt::black);
    Image("w_dn.png", QSize(100, 20), Qt::black);
    CPngBtn* p = CreatePngBtn(m_pParent, 1, QPoint(0, 0), "w_nr.png", "w_ov.png", "w_dn.png");
    ASSERT_NE(p, nullptr);
    auto inkSpan = [p] {
        const QImage img = p->grab().toImage();
        int nMin = img.width(), nMax = -1;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (qGray(img.pixel(x, y)) > 60) {
                    nMin = std::min(nMin, x);
                    nMax = std::max(nMax, x);
                }
        return std::pair<int, int>(nMin, nMax);
    };
    p->SetCaption("IIII");
    auto [l, r] = inkSpan();
    ASSERT_GE(r, l);
    EXPECT_NEAR((l + r) / 2.0, 50, 3) << l << ".." << r;
    p->SetCaption("IIII", 10);
    auto [l2, r2] = inkSpan();
    EXPECT_GE(l2, 10);
    EXPECT_LT(l2, 16);
    (void)r2;
}

TEST_F(PngBtnTest, FailuresOfTheCreationFunction) {
    EXPECT_EQ(CreatePngBtn(m_pParent, 1, QPoint(), "none_nr.png", "none_ov.png", "none_dn.png"),
              nullptr);
    EXPECT_TRUE(Boxes().empty()) << "a missing normal image is silent";

    Image("odd_nr.png", QSize(80, 24), kClrNr);
    Image("odd_ov.png", QSize(80, 24), kClrOv);
    Image("odd_dn.png", QSize(81, 24), kClrDn);
    CPngBtn* p = CreatePngBtn(m_pParent, 1, QPoint(), "odd_nr.png", "odd_ov.png", "odd_dn.png");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(Boxes(), std::vector<std::string>{"|The size of odd_nr.png is not equal"});
    int nClicked = 0;
    QObject::connect(p, &CPngBtn::clicked, [&] { ++nClicked; });
    QTest::mouseClick(p, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    EXPECT_EQ(nClicked, 1) << "the button still works";
}

TEST_F(PngBtnTest, ToolTipOnlyWithBtnTips) {
    PngBtnOptions opt;
    opt.strTip = "Apply now";
    EXPECT_TRUE(Make(opt)->toolTip().isEmpty());
    gVar.BtnTips = 1;
    EXPECT_EQ(Make(opt)->toolTip(), "Apply now");
}

TEST_F(PngBtnTest, SkinFilesAreFoundWithoutRegardToCase) {
    ButtonImages("Mixed", QSize(30, 10));
    EXPECT_NE(CreatePngBtn(m_pParent, 1, QPoint(), "MIXED_NR.png", "mixed_ov.PNG", "Mixed_dn.png"),
              nullptr);
}
} // namespace
