// The skinned-menu library: entries, sub-menus by parent index and the 1143 reply.
#include "WidgetFixture.h"
#include "widgets/menuex/MenuEx.h"
#include "widgets/menuex/MenuExWnd.h"

namespace {
class MenuExTest : public CWidgetTest {
protected:
    void TearDown() override {
        DestroyMenuEx();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        CWidgetTest::TearDown();
    }
    MenuExRequest Request(intptr_t nKind) {
        MenuExRequest req;
        req.pOwner = m_pParent;
        req.nWidth = 150;
        req.ptAnchor = QPoint(100, 100);
        req.nKind = nKind;
        req.images = MenuExImagesIn(m_dir.Path() + "skins/");
        return req;
    }
};

TEST_F(MenuExTest, EntryRecordLayoutAndText) {
    const MenuEntry e = MakeMenuEntry(kMenuTopLevel, 7, std::string(45, 'x'));
    EXPECT_EQ(MenuEntryText(e), std::string(39, 'x'));
    EXPECT_EQ(e.szText[39], 0);
    const MenuEntry u = MakeMenuEntry(3, 9, "Grüße");
    EXPECT_EQ(MenuEntryText(u), "Grüße");
    EXPECT_EQ(u.nParent, 3);
}

TEST_F(MenuExTest, SubMenusByParentIndexAndTheReply) {
    const MenuEntry entries[] = {
        MakeMenuEntry(kMenuTopLevel, 101, "New"),
        MakeMenuEntry(kMenuTopLevel, 0, "Export"),
        MakeMenuEntry(1, 201, "As file"),
        MakeMenuEntry(1, 202, "To clipboard"),
        MakeMenuEntry(kMenuTopLevel, 103, "Delete"),
        MakeMenuEntry(9, 999, "bad parent"),
    };
    ASSERT_TRUE(CreateMenuEx(Request(55), entries, 6));
    CMenuExWnd* pMenu = MenuExCurrent();
    ASSERT_NE(pMenu, nullptr);
    ASSERT_EQ(pMenu->ItemCount(), 3);
    EXPECT_EQ(pMenu->ItemText(1), "Export");
    EXPECT_TRUE(pMenu->HasSubMenu(1));
    EXPECT_FALSE(pMenu->HasSubMenu(0));
    EXPECT_EQ(pMenu->height(), 3 * 25 + 2);

    pMenu->ActivateRow(1); // opens the sub-menu, answers nothing
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(m_pParent->Take(WM_MENUEX_PICK).empty());
    CMenuExWnd* pSub = pMenu->SubMenu();
    ASSERT_NE(pSub, nullptr);
    ASSERT_EQ(pSub->ItemCount(), 2);
    Click(pSub, pSub->ItemRect(1).center());
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(m_pParent->Take(WM_MENUEX_PICK),
              (std::vector<RecordedMsg>{{WM_MENUEX_PICK, 202, 55}}));
    EXPECT_EQ(MenuExCurrent(), nullptr);
}

TEST_F(MenuExTest, AtMostFiftyEntriesAndOneMenuAtATime) {
    std::vector<MenuEntry> v;
    for (int i = 0; i < 60; ++i)
        v.push_back(
            MakeMenuEntry(kMenuTopLevel, static_cast<uint32_t>(i), "e" + std::to_string(i)));
    ASSERT_TRUE(CreateMenuEx(Request(1), v.data(), 60));
    CMenuExWnd* pFirst = MenuExCurrent();
    ASSERT_NE(pFirst, nullptr);
    EXPECT_EQ(pFirst->ItemCount(), 50);
    ASSERT_TRUE(CreateMenuEx(Request(2), v.data(), 2));
    EXPECT_NE(MenuExCurrent(), pFirst);
    EXPECT_EQ(MenuExCurrent()->ItemCount(), 2);
    DestroyMenuEx();
    EXPECT_EQ(MenuExCurrent(), nullptr);
}

TEST_F(MenuExTest, NothingShownWithoutOwnerOrTopLevelEntry) {
    const MenuEntry e = MakeMenuEntry(0, 1, "orphan");
    EXPECT_FALSE(CreateMenuEx(Request(1), &e, 1));
    MenuExRequest req = Request(1);
    req.pOwner = nullptr;
    const MenuEntry top = MakeMenuEntry(kMenuTopLevel, 1, "x");
    EXPECT_FALSE(CreateMenuEx(req, &top, 1));
    EXPECT_EQ(MenuExCurrent(), nullptr);
}

TEST_F(MenuExTest, KeyboardPicksTheHoveredEntry) {
    const MenuEntry entries[] = {MakeMenuEntry(kMenuTopLevel, 1, "a"),
                                 MakeMenuEntry(kMenuTopLevel, 2, "b")};
    ASSERT_TRUE(CreateMenuEx(Request(9), entries, 2));
    CMenuExWnd* pMenu = MenuExCurrent();
    SendKey(pMenu, QEvent::KeyPress, Qt::Key_Down);
    SendKey(pMenu, QEvent::KeyPress, Qt::Key_Down);
    SendKey(pMenu, QEvent::KeyPress, Qt::Key_Return);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(m_pParent->Take(WM_MENUEX_PICK), (std::vector<RecordedMsg>{{WM_MENUEX_PICK, 2, 9}}));
}
} // namespace
