// Skinned tree controls: item operations, the input rules and their messages, painting.
#include "WidgetFixture.h"
#include "widgets/TreeCtrlEx.h"
#include "widgets/TreeCtrlImageEx.h"

namespace {
class TreeTest : public CWidgetTest {
protected:
    void SetUp() override {
        CWidgetTest::SetUp();
        m_pTree = new CTreeCtrlEx(m_pParent, 31);
        m_pTree->Create(QRect(0, 0, 200, 200), nullptr, QRect(), "", "", nullptr);
        m_pParent->show();
    }
    HTREEITEM Leaf(HTREEITEM hParent, const std::string& str, uint32_t dw) {
        return m_pTree->AddChild(false, hParent, false, nullptr, false, str, dw);
    }
    HTREEITEM Folder(HTREEITEM hParent, const std::string& str, uint32_t dw) {
        return m_pTree->AddChild(true, hParent, false, nullptr, false, str, dw);
    }
    QPoint RowPoint(int nRow, int x = 100) const {
        return QPoint(x, nRow * m_pTree->RowHeight() + 5);
    }
    QWidget* View() const { return m_pTree->viewport(); }
    intptr_t L(HTREEITEM h) const { return reinterpret_cast<intptr_t>(h); }

    CTreeCtrlEx* m_pTree = nullptr;
};

TEST_F(TreeTest, FolderDepthAndLeafParents) {
    HTREEITEM h = Folder(TVI_ROOT, "top", 1);
    ASSERT_NE(h, nullptr);
    for (int nAncestors = 0; nAncestors < 4; ++nAncestors) {
        ASSERT_EQ(m_pTree->AncestorCount(h), nAncestors);
        h = Folder(h, "f", 2);
        ASSERT_NE(h, nullptr) << "parent with " << nAncestors << " ancestors";
    }
    EXPECT_EQ(m_pTree->AncestorCount(h), 4);
    HTREEITEM hDeep = Folder(h, "deep", 3);
    ASSERT_NE(hDeep, nullptr) << "a parent with 4 ancestors still takes a folder";
    EXPECT_EQ(Folder(hDeep, "too deep", 4), nullptr) << "its parent has 5 ancestors";
    EXPECT_NE(Leaf(hDeep, "leaf is fine", 5), nullptr);

    HTREEITEM hLeaf = Leaf(TVI_ROOT, "leaf", 6);
    EXPECT_EQ(Leaf(hLeaf, "under a leaf", 7), nullptr);
    EXPECT_EQ(m_pTree->AncestorCount(TVI_ROOT), 0);
}

TEST_F(TreeTest, AddBesideRemoveWalkAndFind) {
    HTREEITEM a = Leaf(TVI_ROOT, "a", 1);
    HTREEITEM c = Leaf(TVI_ROOT, "c", 3);
    HTREEITEM b = m_pTree->AddBeside(a, true, false, nullptr, "b", 2);
    HTREEITEM z = m_pTree->AddBeside(a, false, true, nullptr, "z", 0);
    EXPECT_EQ(m_pTree->AddBeside(TVI_ROOT, false, false, nullptr, "x", 9), nullptr);
    EXPECT_EQ(m_pTree->AddBeside(nullptr, false, false, nullptr, "x", 9), nullptr);
    EXPECT_EQ(m_pTree->GetSelectedItem(), b);
    std::vector<std::string> vOrder;
    m_pTree->Walk(
        TVI_ROOT,
        [&](HTREEITEM, CTreeItemRecord*, const std::string& s, void*) {
            vOrder.push_back(s);
            return 0;
        },
        nullptr, false);
    EXPECT_EQ(vOrder, (std::vector<std::string>{"z", "a", "b", "c"}));
    EXPECT_EQ(m_pTree->FindTopLevelByValue(3), c);
    EXPECT_EQ(m_pTree->FindTopLevelByValue(99), nullptr);

    HTREEITEM f = Folder(TVI_ROOT, "f", 10);
    HTREEITEM fa = Leaf(f, "fa", 11);
    Leaf(f, "fb", 12);
    ASSERT_NE(fa, nullptr);
    EXPECT_EQ(m_pTree->SelectByValue(11)->hItem, fa);
    EXPECT_TRUE(m_pTree->IsExpanded(f)) << "the parent of the found item is opened";
    EXPECT_TRUE(m_pTree->RecordOf(f)->bOpen);

    // The callback removes every item it is given: the walk goes on with the next one.
    int nSeen = 0;
    EXPECT_EQ(m_pTree->Walk(
                  TVI_ROOT,
                  [&](HTREEITEM h, CTreeItemRecord* pRec, const std::string&, void*) {
                      EXPECT_NE(pRec, nullptr);
                      ++nSeen;
                      m_pTree->RemoveItem(h);
                      return 0;
                  },
                  nullptr, true),
              0);
    EXPECT_EQ(nSeen, 7);
    EXPECT_EQ(m_pTree->GetCount(), 0);
    EXPECT_EQ(m_pTree->GetChildItem(TVI_ROOT), nullptr);
    (void)z;
}

TEST_F(TreeTest, RemovingAFolderDropsItsSubtreeRecords) {
    HTREEITEM f = Folder(TVI_ROOT, "f", 1);
    HTREEITEM g = Folder(f, "g", 2);
    Leaf(g, "x", 3);
    Leaf(TVI_ROOT, "keep", 4);
    EXPECT_EQ(m_pTree->GetCount(), 4);
    m_pTree->RemoveItem(f);
    EXPECT_EQ(m_pTree->GetCount(), 1);
    EXPECT_EQ(m_pTree->RecordOf(g), nullptr) << "a stale handle names nothing";
    EXPECT_EQ(m_pTree->SelectByValue(3), nullptr);
    EXPECT_EQ(m_pTree->SetItem(g, std::string("x"), 5u), false);
    m_pTree->RemoveAll();
    EXPECT_EQ(m_pTree->GetCount(), 0);
}

TEST_F(TreeTest, LeftPressRules) {
    HTREEITEM a = Leaf(TVI_ROOT, "a", 1);
    HTREEITEM b = Leaf(TVI_ROOT, "b", 2);
    SendMouse(View(), QEvent::MouseButtonPress, RowPoint(0));
    SendMouse(View(), QEvent::MouseButtonRelease, RowPoint(0));
    EXPECT_EQ(m_pTree->GetSelectedItem(), a);
    SendMouse(View(), QEvent::MouseButtonPress, RowPoint(0)); // the selected row again
    SendMouse(View(), QEvent::MouseButtonRelease, RowPoint(0));
    EXPECT_EQ(m_pParent->Take(WM_TREE_LBUTTONDOWN),
              (std::vector<RecordedMsg>{{WM_TREE_LBUTTONDOWN, 31, L(a)}}));

    m_pTree->m_bIgnoreReclick = false;
    Click(View(), RowPoint(0));
    EXPECT_EQ(m_pParent->Take(WM_TREE_LBUTTONDOWN).size(), 2u);

    // Below the last row: the selection is cleared and reported without an item.
    m_pParent->Clear();
    m_pTree->m_bIgnoreReclick = true;
    Click(View(), RowPoint(1));
    Click(View(), RowPoint(6));
    EXPECT_EQ(m_pTree->GetSelectedItem(), nullptr);
    EXPECT_EQ(
        m_pParent->Take(WM_TREE_LBUTTONDOWN),
        (std::vector<RecordedMsg>{{WM_TREE_LBUTTONDOWN, 31, L(b)}, {WM_TREE_LBUTTONDOWN, 31, 0}}));

    m_pParent->Clear();
    m_pTree->m_bEmptyClicks = false;
    m_pTree->SelectItem(b);
    Click(View(), RowPoint(6));
    EXPECT_EQ(m_pTree->GetSelectedItem(), b);
    EXPECT_TRUE(m_pParent->Take(WM_TREE_LBUTTONDOWN).empty());

    m_pTree->m_bMouseEnabled = false;
    Click(View(), RowPoint(0));
    Click(View(), RowPoint(0), Qt::RightButton);
    EXPECT_EQ(m_pTree->GetSelectedItem(), b);
    EXPECT_TRUE(m_pParent->Take(WM_TREE_LBUTTONDOWN).empty());
    EXPECT_TRUE(m_pParent->Take(WM_TREE_RBUTTONUP).empty());
}

TEST_F(TreeTest, DoubleClickPostsPressThenDoubleClickAndToggles) {
    HTREEITEM f = Folder(TVI_ROOT, "folder", 1);
    Leaf(f, "inside", 2);
    SendMouse(View(), QEvent::MouseButtonPress, RowPoint(0));
    SendMouse(View(), QEvent::MouseButtonRelease, RowPoint(0));
    SendMouse(View(), QEvent::MouseButtonDblClick, RowPoint(0));
    SendMouse(View(), QEvent::MouseButtonRelease, RowPoint(0));
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(m_pParent->m_vMsgs.size(), 2u);
    EXPECT_EQ(m_pParent->m_vMsgs[0], (RecordedMsg{WM_TREE_LBUTTONDOWN, 31, L(f)}));
    EXPECT_EQ(m_pParent->m_vMsgs[1], (RecordedMsg{WM_TREE_DBLCLK, 31, L(f)}));
    EXPECT_TRUE(m_pTree->IsExpanded(f));
    EXPECT_TRUE(m_pTree->RecordOf(f)->bOpen);
    EXPECT_EQ(m_pTree->VisibleRowCount(), 2);

    // A press on the indentation of a row toggles it.
    Click(View(), RowPoint(0, 3));
    EXPECT_FALSE(m_pTree->IsExpanded(f));
    EXPECT_EQ(m_pTree->VisibleRowCount(), 1);
}

TEST_F(TreeTest, RightReleaseAndKeys) {
    HTREEITEM a = Leaf(TVI_ROOT, "a", 1);
    HTREEITEM b = Leaf(TVI_ROOT, "b", 2);
    SendMouse(View(), QEvent::MouseButtonPress, RowPoint(1), Qt::RightButton);
    EXPECT_TRUE(m_pParent->Take(WM_TREE_RBUTTONUP).empty()) << "a right press is swallowed";
    SendMouse(View(), QEvent::MouseButtonRelease, RowPoint(1), Qt::RightButton);
    EXPECT_EQ(m_pParent->Take(WM_TREE_RBUTTONUP),
              (std::vector<RecordedMsg>{{WM_TREE_RBUTTONUP, 31, L(b)}}));
    EXPECT_EQ(m_pTree->GetSelectedItem(), b);

    m_pTree->SelectItem(a);
    SendKey(m_pTree, QEvent::KeyPress, Qt::Key_Down);
    SendKey(m_pTree, QEvent::KeyRelease, Qt::Key_Down);
    SendKey(m_pTree, QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, 0, false, "b");
    EXPECT_EQ(m_pTree->GetSelectedItem(), a) << "arrow keys and type-ahead change nothing";
    EXPECT_TRUE(m_pParent->Take(WM_TREE_DELETE).empty());
    SendKey(m_pTree, QEvent::KeyPress, Qt::Key_Delete);
    EXPECT_TRUE(m_pParent->Take(WM_TREE_DELETE).empty());
    SendKey(m_pTree, QEvent::KeyRelease, Qt::Key_Delete);
    EXPECT_EQ(m_pParent->Take(WM_TREE_DELETE), (std::vector<RecordedMsg>{{WM_TREE_DELETE, 31, 0}}));
}

TEST_F(TreeTest, ToolTipForTextsLongerThanTwenty) {
    Leaf(TVI_ROOT, std::string(21, 'x'), 1);
    Leaf(TVI_ROOT, std::string(20, 'y'), 2);
    SendMouse(View(), QEvent::MouseMove, RowPoint(0), Qt::NoButton);
    EXPECT_EQ(m_pTree->ToolTipText(), QString(21, 'x'));
    SendMouse(View(), QEvent::MouseMove, RowPoint(1), Qt::NoButton);
    EXPECT_TRUE(m_pTree->ToolTipText().isEmpty());
    EXPECT_EQ(m_pTree->HotItem(), m_pTree->FindTopLevelByValue(2));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(View(), &leave);
    EXPECT_EQ(m_pTree->HotItem(), nullptr);
}

TEST_F(TreeTest, PaintingFillsDimsAndFrames) {
    QImage bkg(300, 300, QImage::Format_ARGB32);
    bkg.fill(QColor(200, 100, 50));
    m_pTree->Create(QRect(0, 0, 200, 200), &bkg, QRect(0, 0, 200, 200), "", "", nullptr);
    m_pTree->m_clrSelFill = 0xFF00FF00;
    HTREEITEM a = Leaf(TVI_ROOT, "", 1);
    Leaf(TVI_ROOT, "", 2);
    m_pTree->SelectItem(a);
    QImage img = m_pTree->viewport()->grab().toImage();
    EXPECT_EQ(img.pixelColor(100, 5), QColor(0, 255, 0)) << "selected row";
    EXPECT_EQ(img.pixelColor(100, 25), QColor(200, 100, 50)) << "background piece";
    EXPECT_EQ(img.pixelColor(0, 100), QColor(0x64, 0x64, 0x64)) << "frame";

    m_pTree->m_nDimAlpha = 150;
    img = m_pTree->viewport()->grab().toImage();
    const QColor c = img.pixelColor(100, 25);
    // 0x1E1E1E over the piece at alpha 150.
    auto mix = [](int src, int dst) { return (src * 150 + dst * (255 - 150)) / 255; };
    EXPECT_NEAR(c.red(), mix(0x1E, 200), 2);
    EXPECT_NEAR(c.green(), mix(0x1E, 100), 2);
    EXPECT_NEAR(c.blue(), mix(0x1E, 50), 2);

    m_pTree->m_imgBkg = QImage();
    m_pTree->m_clrFrame = 0;
    m_pTree->update();
    img = m_pTree->viewport()->grab().toImage();
    EXPECT_EQ(img.pixelColor(0, 100), QColor(0, 0, 0)) << "background colour, no frame";
}

TEST_F(TreeTest, OwnedImagesAndMissingFiles) {
    Image("icon.png", QSize(16, 16), kClrOv);
    HTREEITEM h = m_pTree->AddChildFile(false, TVI_ROOT, false, "icon.png", "with icon", 1);
    ASSERT_NE(m_pTree->RecordOf(h), nullptr);
    EXPECT_TRUE(m_pTree->RecordOf(h)->bOwnsImage);
    ASSERT_NE(m_pTree->RecordOf(h)->pImage, nullptr);
    HTREEITEM hNone = m_pTree->AddChildFile(false, TVI_ROOT, false, "missing.png", "no icon", 2);
    ASSERT_NE(hNone, nullptr);
    EXPECT_EQ(m_pTree->RecordOf(hNone)->pImage, nullptr);
    EXPECT_EQ(m_pTree->AddChildFile(false, h, false, "icon.png", "refused", 3), nullptr);
    (void)m_pTree->viewport()->grab(); // paints rows with and without an icon
}

TEST_F(TreeTest, PictureRowsUseTheSecondImageWhenSelected) {
    auto* pPics = new CTreeCtrlImageEx(m_pParent, 32);
    pPics->Create(QRect(0, 0, 120, 100), nullptr, QRect(), "", "", nullptr);
    pPics->SetRowHeight(30);
    QImage img1(20, 20, QImage::Format_ARGB32), img2(20, 20, QImage::Format_ARGB32);
    img1.fill(kClrNr);
    img2.fill(kClrDn);
    HTREEITEM a = pPics->AddPictureItem(TVI_ROOT, &img1, &img2, "", 1);
    pPics->AddPictureItem(TVI_ROOT, &img1, &img2, "", 2);
    EXPECT_FALSE(pPics->RecordOf(a)->bOwnsImage);
    pPics->SelectItem(a);
    const QImage shot = pPics->viewport()->grab().toImage();
    EXPECT_EQ(shot.pixelColor(60, 15), kClrDn) << "centred second image on the selected row";
    EXPECT_EQ(shot.pixelColor(60, 45), kClrNr);
    Click(pPics->viewport(), QPoint(60, 45));
    EXPECT_EQ(m_pParent->Take(WM_TREE_LBUTTONDOWN).size(), 1u);
}
} // namespace
