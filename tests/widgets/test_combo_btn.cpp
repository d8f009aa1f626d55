// Drop-down buttons and the skinned menu they open.
#include <QTest>

#include "WidgetFixture.h"
#include "widgets/ComboBtn.h"
#include "widgets/SkinWidgetFactory.h"
#include "widgets/menuex/MenuEx.h"
#include "widgets/menuex/MenuExWnd.h"

namespace {
class ComboBtnTest : public CWidgetTest {
protected:
    CComboBtn* Make() {
        ButtonImages("combo", QSize(120, 24));
        CComboBtn* p = CreateComboBtn(m_pParent, 77, QPoint(20, 20), "combo_nr.png", "combo_ov.png",
                                      "combo_dn.png");
        m_pParent->show();
        return p;
    }
    void TearDown() override {
        DestroyMenuEx();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        CWidgetTest::TearDown();
    }
};

TEST_F(ComboBtnTest, TwentyFiveItemsOfferTwenty) {
    CComboBtn* p = Make();
    ASSERT_NE(p, nullptr);
    int nAdded = 0;
    for (int i = 0; i < 25; ++i)
        nAdded += p->AddItem(0, 100 + i, "Item " + std::to_string(i)) ? 1 : 0;
    EXPECT_EQ(nAdded, 20);
    EXPECT_EQ(p->ItemCount(0), 20);
    EXPECT_TRUE(p->SelectByValue(119));
    EXPECT_EQ(p->Caption(), "Item 19");
    EXPECT_FALSE(p->SelectByValue(120)) << "the 21st item was never taken";
    EXPECT_EQ(p->SelectedValue(), 119u);

    Click(p, QPoint(5, 5));
    CMenuExWnd* pMenu = MenuExCurrent();
    ASSERT_NE(pMenu, nullptr);
    EXPECT_EQ(pMenu->ItemCount(), 20);
    EXPECT_EQ(pMenu->ItemId(19), 119u);
    EXPECT_EQ(pMenu->width(), 120 - 4) << "menu width defaults to the button's minus 4";
}

TEST_F(ComboBtnTest, SelectionShowsCaptionValueAndTip) {
    gVar.BtnTips = 1;
    CComboBtn* p = Make();
    ASSERT_NE(p, nullptr);
    p->AddItem(0, 800, "800 DPI");
    p->AddItem(0, 1600, "1600 DPI");
    p->AddItem(1, 5, "other list");
    p->SelectByPos(1);
    EXPECT_EQ(p->Caption(), "1600 DPI");
    EXPECT_EQ(p->SelectedValue(), 1600u);
    EXPECT_EQ(p->toolTip(), "1600 DPI");
    p->SelectByPos(-1);
    EXPECT_EQ(p->Caption(), "");
    EXPECT_EQ(p->SelectedValue(), 0xFFFFFFFFu);
    EXPECT_TRUE(p->toolTip().isEmpty());
    EXPECT_FALSE(p->SelectByValue(5)) << "only the list in use is searched";
    p->SetCurList(1);
    EXPECT_TRUE(p->SelectByValue(5));
}

TEST_F(ComboBtnTest, PickingAnEntryAnswers1143AndSelects) {
    CComboBtn* p = Make();
    ASSERT_NE(p, nullptr);
    for (uint32_t v : {400u, 800u, 1600u})
        p->AddItem(0, v, std::to_string(v));
    int nClicked = 0;
    QObject::connect(p, &CPngBtn::clicked, [&] { ++nClicked; });
    QTest::mouseClick(p, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_TRUE(m_pParent->Take(WM_COMMAND_MSG).empty()) << "opening the menu chooses nothing";
    CMenuExWnd* pMenu = MenuExCurrent();
    ASSERT_NE(pMenu, nullptr);
    EXPECT_EQ(pMenu->ItemText(2), "1600");
    const QPoint pt = pMenu->ItemRect(2).center();
    SendMouse(pMenu, QEvent::MouseMove, pt, Qt::NoButton);
    EXPECT_EQ(pMenu->HoverRow(), 2);
    Click(pMenu, pt);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(MenuExCurrent(), nullptr) << "the menu closes after a pick";
    EXPECT_EQ(p->SelectedValue(), 1600u);
    EXPECT_EQ(p->Caption(), "1600");
    // The choice is reported once, as the command message; the click only opened the menu.
    const auto v = m_pParent->Take(WM_COMMAND_MSG);
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(v[0].wParam, 77u);
    EXPECT_EQ(nClicked, 0);
}

TEST_F(ComboBtnTest, MenuOpensAboveWhenTheScreenEndsBelow) {
    CComboBtn* p = Make();
    ASSERT_NE(p, nullptr);
    const QPoint ptTop = p->mapToGlobal(QPoint(0, 0));
    const int nBottom = ptTop.y() + p->height();
    EXPECT_EQ(p->MenuPosition(5, nBottom + 100), QPoint(ptTop.x() + 2, nBottom));
    EXPECT_EQ(p->MenuPosition(5, nBottom + 99), QPoint(ptTop.x() + 2, ptTop.y() - 100));
}
} // namespace
