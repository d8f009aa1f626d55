// Slider geometry, dragging, clicks on the track, value lists and scale positions.
#include "WidgetFixture.h"
#include "widgets/PngSlider.h"
#include "widgets/SkinWidgetFactory.h"
#include "widgets/SliderGeometry.h"

namespace {
TEST(SliderGeometry, EvenStepsOnA105PixelTrack) {
    struct Case {
        int nPixel, nStep;
    };
    // Steps sit every 10 pixels (105 / 10 with integer division): step 10 at 100, not 105.
    EXPECT_EQ(SliderStepPos(105, 10, 10, {}), 100);
    EXPECT_EQ(SliderStepPos(105, 10, 3, {}), 30);
    const Case cases[] = {{0, 0},   {4, 0},    {6, 1},    {44, 4},   {46, 5}, {95, 9},
                          {96, 10}, {104, 10}, {105, 10}, {500, 10}, {-20, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(SliderStepAt(105, 10, c.nPixel, {}), c.nStep) << "pixel " << c.nPixel;
}

TEST(SliderGeometry, ScalePositionsNearestLaterWinsTies) {
    const std::vector<int> vScale = {0, 10, 30, 31};
    EXPECT_EQ(SliderStepPos(100, 3, 2, vScale), 30);
    EXPECT_EQ(SliderStepAt(100, 3, 5, vScale), 1) << "equal distance to 0 and 10";
    EXPECT_EQ(SliderStepAt(100, 3, 19, vScale), 1);
    EXPECT_EQ(SliderStepAt(100, 3, 20, vScale), 2);
    EXPECT_EQ(SliderStepAt(100, 3, 90, vScale), 3);
}

TEST(SliderGeometry, EvenlySpacedMarks) {
    const std::vector<int> v = EvenMarkPositions(105, 10, 11);
    ASSERT_EQ(v.size(), 11u);
    EXPECT_EQ(v.front(), 5);
    EXPECT_EQ(v.back(), 100);
    // Step 9 with the 5 spare pixels spread over the odd-numbered marks.
    EXPECT_EQ(v, (std::vector<int>{5, 15, 24, 34, 43, 53, 62, 72, 81, 91, 100}));
    EXPECT_TRUE(EvenMarkPositions(20, 10, 12).empty()) << "no room: step 0";
}

class SliderTest : public CWidgetTest {
protected:
    CPngSliderBar* Make(int nMin, int nMax, int nTrackLen = 105) {
        Image("bar.png", QSize(nTrackLen, 8), kClrNr);
        Image("bar_ov.png", QSize(nTrackLen, 8), kClrDn);
        Image("thumb.png", QSize(10, 10), kClrOv);
        SliderOptions opt;
        opt.strThumb = "thumb.png";
        opt.nMin = nMin;
        opt.nMax = nMax;
        opt.nId = 9;
        return CreatePngSlider(m_pParent, QPoint(50, 40), opt);
    }
};

TEST_F(SliderTest, ClickOnTheTrackSetsAndPosts2048) {
    CPngSliderBar* pBar = Make(0, 10);
    ASSERT_NE(pBar, nullptr);
    CPngSlider* pSlider = pBar->Slider();
    Click(pBar, QPoint(104, 4));
    EXPECT_EQ(pSlider->Value(), 10);
    EXPECT_EQ(pSlider->x() + pSlider->width() / 2, 50 + 100) << "thumb centred on step 10";
    EXPECT_EQ(pBar->FillPos(), 100);
    EXPECT_EQ(m_pParent->Take(WM_SLIDER_FINAL),
              (std::vector<RecordedMsg>{{WM_SLIDER_FINAL, 10, 9}}));

    pBar->SetNoClickMessage(true);
    Click(pBar, QPoint(31, 4));
    EXPECT_EQ(pSlider->Value(), 3);
    EXPECT_EQ(m_pParent->Take(WM_SLIDER_FINAL).size(), 1u);

    pSlider->SetDragEnabled(false);
    Click(pBar, QPoint(60, 4));
    EXPECT_EQ(pSlider->Value(), 3) << "a track with dragging off ignores clicks";
}

TEST_F(SliderTest, DraggingPosts2049OnChangesAnd2048OnRelease) {
    CPngSliderBar* pBar = Make(0, 10);
    ASSERT_NE(pBar, nullptr);
    CPngSlider* p = pBar->Slider();
    p->SetValue(2, false);
    const QPoint pt(5, 5);
    SendMouse(p, QEvent::MouseButtonPress, pt);
    auto moveBy = [p](int dx) {
        const QPoint ptGlobal = p->mapToGlobal(QPoint(5, 5)) + QPoint(dx, 0);
        QMouseEvent ev(QEvent::MouseMove, QPointF(p->mapFromGlobal(ptGlobal)), QPointF(ptGlobal),
                       Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(p, &ev);
    };
    moveBy(3);   // centre at 23: still step 2
    moveBy(4);   // 27: step 3
    moveBy(1);   // 28: step 3, nothing new
    moveBy(30);  // 58: step 6
    moveBy(200); // kept inside the track: 105, step 10
    EXPECT_EQ(pBar->FillPos(), 105);
    EXPECT_EQ(m_pParent->Take(WM_SLIDER_DRAG),
              (std::vector<RecordedMsg>{
                  {WM_SLIDER_DRAG, 3, 9}, {WM_SLIDER_DRAG, 6, 9}, {WM_SLIDER_DRAG, 10, 9}}));
    EXPECT_TRUE(m_pParent->Take(WM_SLIDER_FINAL).empty());
    SendMouse(p, QEvent::MouseButtonRelease, pt);
    EXPECT_EQ(p->Value(), 10);
    EXPECT_EQ(pBar->FillPos(), 100) << "the thumb snaps onto the step";
    EXPECT_EQ(m_pParent->Take(WM_SLIDER_FINAL),
              (std::vector<RecordedMsg>{{WM_SLIDER_FINAL, 10, 9}}));
}

TEST_F(SliderTest, ValueListPostsListValues) {
    CPngSliderBar* pBar = Make(0, 99, 200);
    ASSERT_NE(pBar, nullptr);
    CPngSlider* p = pBar->Slider();
    std::vector<int> vList;
    for (int i = 0; i < 100; ++i)
        vList.push_back(100 + 100 * i);
    p->SetValueList(vList);
    p->SetValue(1600, true);
    EXPECT_EQ(p->Pos(), 15);
    EXPECT_EQ(p->Value(), 1600);
    EXPECT_EQ(m_pParent->Take(WM_SLIDER_FINAL),
              (std::vector<RecordedMsg>{{WM_SLIDER_FINAL, 1600, 9}}));

    p->SetValue(1650, true); // not in the list
    EXPECT_EQ(p->Value(), 1600);
    EXPECT_EQ(m_pParent->Take(WM_SLIDER_FINAL).size(), 1u);

    Click(pBar, QPoint(199, 4));
    EXPECT_EQ(p->Value(), 10000);
    EXPECT_EQ(m_pParent->Take(WM_SLIDER_FINAL).back(), (RecordedMsg{WM_SLIDER_FINAL, 10000, 9}));

    SendMouse(p, QEvent::MouseButtonPress, QPoint(5, 5));
    const QPoint ptGlobal = p->mapToGlobal(QPoint(5, 5)) + QPoint(-20, 0);
    QMouseEvent ev(QEvent::MouseMove, QPointF(p->mapFromGlobal(ptGlobal)), QPointF(ptGlobal),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(p, &ev);
    const auto vDrag = m_pParent->Take(WM_SLIDER_DRAG);
    ASSERT_EQ(vDrag.size(), 1u);
    EXPECT_EQ(vDrag[0].wParam % 100, 0u);
    EXPECT_GE(vDrag[0].wParam, 100u);
    EXPECT_LT(vDrag[0].wParam, 10000u);
    SendMouse(p, QEvent::MouseButtonRelease, QPoint(5, 5));
}

TEST_F(SliderTest, ScalePositionsAndMarkMessages) {
    CPngSliderBar* pBar = Make(0, 4);
    ASSERT_NE(pBar, nullptr);
    CPngSlider* p = pBar->Slider();
    p->SetScalePositions({0, 10, 20});
    EXPECT_EQ(Boxes(), std::vector<std::string>{
                           "Warning|CPngSlider::SetScalePos  dwScale and Range unmatch!"});
    p->SetScalePositions({2, 30, 60, 61, 100});
    EXPECT_EQ(Boxes().size(), 1u);
    p->SetValue(2, false);
    EXPECT_EQ(pBar->FillPos(), 60);
    Click(pBar, QPoint(62, 4));
    EXPECT_EQ(p->Value(), 3);

    EXPECT_TRUE(pBar->SpreadMarks()); // five marks of the thumb's width on 105 pixels
    EXPECT_EQ(p->ScalePositions().front(), 5);
    EXPECT_EQ(p->ScalePositions().back(), 100);

    CPngSliderBar* pTight = Make(0, 40, 30);
    ASSERT_NE(pTight, nullptr);
    m_sink.m_vEntries.clear();
    EXPECT_FALSE(pTight->SpreadMarks());
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Warning|Scale num too much"});
}

TEST_F(SliderTest, VerticalSliderMeasuresAlongItsHeight) {
    Image("vbar.png", QSize(8, 105), kClrNr);
    Image("thumb.png", QSize(10, 10), kClrOv);
    SliderOptions opt;
    opt.strTrack = "vbar.png";
    opt.strFill = "";
    opt.strThumb = "thumb.png";
    opt.nMax = 10;
    opt.nId = 4;
    opt.bVertical = true;
    CPngSliderBar* pBar = CreatePngSlider(m_pParent, QPoint(30, 20), opt);
    ASSERT_NE(pBar, nullptr);
    Click(pBar, QPoint(4, 104));
    CPngSlider* p = pBar->Slider();
    EXPECT_EQ(p->Value(), 10);
    EXPECT_EQ(p->y() + p->height() / 2, 20 + 100);
    EXPECT_EQ(p->x() + p->width() / 2, 30 + 4);
    EXPECT_EQ(m_pParent->Take(WM_SLIDER_FINAL),
              (std::vector<RecordedMsg>{{WM_SLIDER_FINAL, 10, 4}}));
}

TEST_F(SliderTest, ValueOutsideTheListOrRangeReadsZero) {
    CPngSliderBar* pBar = Make(0, 10);
    ASSERT_NE(pBar, nullptr);
    CPngSlider* p = pBar->Slider();
    p->SetValueList({5, 6});
    p->SetValue(6, false);
    EXPECT_EQ(p->Value(), 6);
    p->SetValueList({5});
    EXPECT_EQ(p->Value(), 0) << "position 1 lies outside a one-entry list";
    p->SetValueList({});
    p->SetValue(50, false);
    EXPECT_EQ(p->Value(), 10) << "clamped to the range";
}

TEST_F(SliderTest, MissingImagesAreReported) {
    SliderOptions opt;
    opt.strThumb = "thumb.png";
    EXPECT_EQ(CreatePngSlider(m_pParent, QPoint(), opt), nullptr);
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Error|Slider img is null"});
    m_sink.m_vEntries.clear();
    Image("thumb.png", QSize(10, 10), kClrOv);
    EXPECT_EQ(CreatePngSlider(m_pParent, QPoint(), opt), nullptr);
    EXPECT_EQ(Boxes(),
              std::vector<std::string>{"Error|File not exist: " + m_dir.Path() + "skins/bar.png"});
    m_sink.m_vEntries.clear();
    m_dir.Write("skins/bar.png", "not a png");
    EXPECT_EQ(CreatePngSlider(m_pParent, QPoint(), opt), nullptr) << "a broken track never crashes";
    EXPECT_EQ(Boxes().size(), 1u);
}
} // namespace
