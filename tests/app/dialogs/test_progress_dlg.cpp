// The progress window: positions inside and outside the range, the painted bar, the close
// button while an apply goes on, the finder's pairing of threads and windows, a real pad
// apply through the finder, and a missing skin.
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "app/dialogs/ProgressChannel.h"
#include "app/dialogs/ProgressDlg.h"
#include "app/dialogs/ProgressFinder.h"
#include "device/hid/DrvFixture.h"
#include "device/models/ApplyThread.h"
#include "device/models/DevPad.h"
#include "device/sim/SimSmallDevices.h"
#include "storage/MacroStore.h"
#include "storage/Profile.h"
#include "support/QtPump.h"
#include "support/TestDirs.h"
#include "widgets/PngBtn.h"

namespace {

const QColor kClrEmpty(200, 0, 0), kClrFull(0, 0, 200);

// A temporary installation whose "skins" folder holds solid progress images, so one pixel
// tells whether the bar is filled there.
class CProgressTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_saved = gVar;
        gVar = CGlobalVar();
        gVar.szProgramDir = m_dir.Path();
        SetMessageBoxSink(&m_boxes);
        Image("progress_nr.png", QSize(530, 140), kClrEmpty);
        Image("progress_ov.png", QSize(530, 140), kClrFull);
        Image("exit_nr.png", QSize(27, 25), Qt::gray);
        Image("exit_ov.png", QSize(27, 25), Qt::white);
    }
    void TearDown() override {
        SetMessageBoxSink(nullptr);
        gVar = m_saved;
    }
    void Image(const std::string& strName, QSize sz, const QColor& clr) {
        QImage img(sz, QImage::Format_ARGB32);
        img.fill(clr);
        m_dir.Write("skins/" + strName, "");
        ASSERT_TRUE(img.save(QString::fromStdString(m_dir.Path() + "skins/" + strName), "PNG"));
    }
    // Runs the event loop until the condition holds or 10 s have passed.
    template <class F> static bool PumpUntil(F fnDone) { return ::PumpUntil(fnDone, 10000); }
    // What a thread does with the sink it found: post positions, then close.
    static void Drive(IProgressSink* pSink, const std::vector<uintptr_t>& vPos, int nCloses) {
        for (uintptr_t n : vPos)
            pSink->PostMessage(APPLY_PROGRESS_MSG, n, 0);
        for (int i = 0; i < nCloses; ++i)
            pSink->Close();
    }

    CTempDir m_dir;
    CGlobalVar m_saved;
    CCollectingMessageSink m_boxes;
};

TEST_F(CProgressTest, TakesOnlyPositionsInsideItsRange) {
    struct Case {
        int nMin, nMax;
        int64_t nPos;
        int nShown;
    };
    const Case aCases[] = {
        {0, 100, 0, 0},  {0, 100, 57, 57}, {0, 100, 100, 100}, {0, 100, 101, 0},
        {0, 100, -1, 0}, {10, 20, 15, 15}, {10, 20, 9, 10},    {10, 20, 21, 10},
    };
    for (const Case& c : aCases) {
        CProgressDlg dlg(nullptr);
        dlg.SetRange(c.nMin, c.nMax);
        dlg.SetPos(c.nPos);
        EXPECT_EQ(dlg.Pos(), c.nShown) << c.nMin << ".." << c.nMax << " pos " << c.nPos;
    }
    // Through the message: a position wider than an int is outside too, other numbers are
    // not the progress message.
    CProgressDlg dlg(nullptr);
    dlg.OnProgressMessage(APPLY_PROGRESS_MSG, 40, 0);
    EXPECT_EQ(dlg.Pos(), 40);
    dlg.OnProgressMessage(APPLY_PROGRESS_MSG, uintptr_t(1) << 40, 0);
    EXPECT_EQ(dlg.Pos(), 0);
    dlg.OnProgressMessage(APPLY_PROGRESS_MSG, 70, 0);
    dlg.OnProgressMessage(1068, 20, 0);
    EXPECT_EQ(dlg.Pos(), 70);
}

TEST_F(CProgressTest, PaintsTheFilledPartOfTheBarOnly) {
    CProgressDlg dlg(nullptr);
    ASSERT_TRUE(dlg.IsSkinned());
    EXPECT_EQ(dlg.size(), QSize(530, 140));
    dlg.show();
    struct Case {
        int nPos;
        int nFillRight; // last filled column; the bar is 441 pixels wide from x 45
    };
    for (const Case& c : {Case{0, 44}, Case{50, 45 + 220 - 1}, Case{100, 485}}) {
        dlg.SetPos(c.nPos);
        const QImage img = dlg.grab().toImage();
        SCOPED_TRACE(c.nPos);
        if (c.nFillRight >= 45) {
            EXPECT_EQ(img.pixelColor(c.nFillRight, 110), kClrFull);
        }
        EXPECT_EQ(img.pixelColor(c.nFillRight + 1, 110), kClrEmpty);
        // Nothing of the filled image outside the bar's rows and columns.
        EXPECT_EQ(img.pixelColor(45, 100), kClrEmpty);
        EXPECT_EQ(img.pixelColor(45, 123), kClrEmpty);
        EXPECT_EQ(img.pixelColor(44, 110), kClrEmpty);
    }
    EXPECT_EQ(dlg.grab().toImage().pixelColor(CProgressDlg::CloseRect().center()),
              QColor(Qt::gray));
}

TEST_F(CProgressTest, IgnoresEnterEscapeAndSpace) {
    CProgressDlg dlg(nullptr);
    dlg.show();
    for (int nKey : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        QKeyEvent ev(QEvent::KeyPress, nKey, Qt::NoModifier);
        QApplication::sendEvent(&dlg, &ev);
        EXPECT_TRUE(dlg.isVisible()) << nKey;
    }
}

TEST_F(CProgressTest, CloseButtonEndsTheWindowWhileTheSinkStaysSafe) {
    CProgressFinder finder;
    auto pDlg = std::make_unique<CProgressDlg>(nullptr, &finder);
    pDlg->show();
    IProgressSink* pSink = nullptr;
    std::thread([&] { pSink = finder.Find(CProgressDlg::kWindowTitle); }).join();
    ASSERT_NE(pSink, nullptr);
    EXPECT_EQ(finder.Find("SomeOtherWindow"), nullptr);

    // Positions from the thread arrive on this thread.
    std::thread apply([&] { Drive(pSink, {30}, 0); });
    apply.join();
    ASSERT_TRUE(PumpUntil([&] { return pDlg->Pos() == 30; }));

    // The user closes the window: it is no longer offered, the apply goes on posting.
    ASSERT_NE(pDlg->CloseButton(), nullptr);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(pDlg->CloseButton(), &press);
    QApplication::sendEvent(pDlg->CloseButton(), &release);
    EXPECT_FALSE(pDlg->isVisible());
    EXPECT_EQ(pDlg->result(), QDialog::Rejected);
    EXPECT_EQ(finder.Find(CProgressDlg::kWindowTitle), nullptr);

    std::thread more([&] { Drive(pSink, {60}, 1); });
    more.join();
    pDlg.reset(); // the window is gone with calls still queued for it
    std::thread last([&] { Drive(pSink, {90, 100}, 2); });
    last.join();
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents();
    SUCCEED(); // nothing reached a destroyed window (the sanitizers watch this)
}

TEST_F(CProgressTest, EachThreadReachesOnlyTheWindowItFound) {
    CProgressFinder finder;
    CProgressDlg dlgFirst(nullptr, &finder);
    dlgFirst.show();
    IProgressSink* pSink = nullptr;
    std::thread earlier([&] {
        pSink = finder.Find(CProgressDlg::kWindowTitle);
        // Closed by the user and replaced by a second window before this thread goes on.
        QMetaObject::invokeMethod(
            &dlgFirst, [&] { dlgFirst.reject(); }, Qt::BlockingQueuedConnection);
    });
    PumpUntil([&] { return !dlgFirst.isVisible(); });
    earlier.join();
    ASSERT_NE(pSink, nullptr);

    CProgressDlg dlgSecond(nullptr, &finder);
    dlgSecond.show();
    std::thread late([&] { Drive(pSink, {70}, 2); }); // bound to the first window
    late.join();
    std::thread current([&] {
        IProgressSink* p = finder.Find(CProgressDlg::kWindowTitle);
        ASSERT_NE(p, nullptr);
        Drive(p, {40}, 0);
    });
    current.join();
    ASSERT_TRUE(PumpUntil([&] { return dlgSecond.Pos() == 40; }));
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(dlgSecond.isVisible()); // the late close went to the first window only
    EXPECT_EQ(dlgSecond.Pos(), 40);
    EXPECT_EQ(dlgFirst.Pos(), 70); // the late thread's position went to the window it found

    // A thread whose Find failed keeps nothing of an earlier window.
    dlgSecond.reject();
    std::thread after([&] {
        IProgressSink* p = finder.Find(CProgressDlg::kWindowTitle);
        EXPECT_EQ(p, nullptr);
        pSink->PostMessage(APPLY_PROGRESS_MSG, 90, 0);
    });
    after.join();
    QApplication::processEvents();
    EXPECT_EQ(dlgSecond.Pos(), 40);
}

TEST_F(CProgressTest, MissingImagesShowSkinLossAndEndTheWindow) {
    CTempDir empty;
    CProgressFinder finder;
    CProgressDlg dlg(nullptr, &finder, empty.Path() + "skins/");
    EXPECT_FALSE(dlg.IsSkinned());
    dlg.show();
    ASSERT_TRUE(PumpUntil([&] { return !dlg.isVisible(); }));
    ASSERT_EQ(m_boxes.m_vEntries.size(), 1u);
    EXPECT_EQ(m_boxes.m_vEntries[0].strText, "ProgressDlg skin loss");
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_FALSE(finder.HasShown());
}

// The simulated back-end, fake clock and settings of the driver tests, for one pad.
class CPadRig : public CDrvTest {
public:
    void TestBody() override {}
    using CDrvTest::m_backend;
    using CDrvTest::m_lib;
    using CDrvTest::m_pVar;
};

// The pad model writing through a real apply thread, its progress shown by the window.
TEST_F(CProgressTest, PadApplyDrivesTheWindowToTheEndAndClosesIt) {
    CPadRig rig;
    rig.m_pVar->PadFw = 40;
    const uint8_t byCode[2] = {0x12, 0x34};
    auto pPad = std::make_shared<CSimPad>("pad", 0x1A2C, 0x0077, byCode);
    rig.m_backend.Attach(pPad);
    rig.m_pVar->Dev.Pad.PSD[0] = 0x12;
    rig.m_pVar->Dev.Pad.PSD[1] = 0x34;
    CDevPad dev(*rig.m_pVar, &rig.m_lib);
    ASSERT_EQ(dev.Drv()->FindDev(), 1);

    auto pPro = std::make_unique<Profile>();
    pPro->dwMagic = PROFILE_MAGIC;
    pPro->dwId = 5;
    pPro->Pad.nPadLedEffect = 1;
    CMacroStore macros, bullets;

    CProgressFinder finder;
    CProgressDlg dlg(nullptr, &finder);
    std::vector<int> vSeen;
    QObject::connect(&dlg, &CProgressDlg::PositionChanged, [&](int n) { vSeen.push_back(n); });
    dlg.show();
    {
        CApplyThread thread(*rig.m_pVar, &finder);
        ASSERT_TRUE(thread.Start(&dev));
        // The request brings no sink: the thread looks the window up by its title.
        ASSERT_TRUE(
            thread.Request(APPLY_FULL_PAD, MakeApplySnapshot(*pPro, macros, bullets), nullptr));
        ASSERT_TRUE(PumpUntil([&] { return thread.Handled() >= 1 && !dlg.isVisible(); }));
        EXPECT_EQ(thread.LastResult(), 1);
        const std::optional<CApplyOutcome> outcome = thread.LastOutcome();
        ASSERT_TRUE(outcome.has_value());
        EXPECT_EQ(outcome->nResult, 1);
        EXPECT_TRUE(outcome->vMessages.empty());
    }
    EXPECT_TRUE(m_boxes.m_vEntries.empty());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    ASSERT_FALSE(vSeen.empty());
    EXPECT_EQ(vSeen.back(), 100);
    EXPECT_TRUE(std::is_sorted(vSeen.begin(), vSeen.end()));
    EXPECT_FALSE(SentReports(*pPad, 0).empty());
}

// The window's way: each request's sink reaches the dialog shown for that request only, a
// close that came before the dialog keeps it from opening, and positions posted before it
// opened show at once.
TEST_F(CProgressTest, ChannelPairsEachRequestWithTheDialogShownForIt) {
    CProgressChannel channel;
    IProgressSink* pEarly = channel.NewSink();
    IProgressSink* pLate = channel.NewSink();
    std::thread([&] { Drive(pEarly, {10, 100}, 2); }).join(); // an apply that ended at once
    QCoreApplication::sendPostedEvents();
    CProgressDlg dlgEarly(nullptr);
    EXPECT_FALSE(channel.Attach(pEarly, dlgEarly)) << "its request is over: no window";

    std::thread([&] { Drive(pLate, {30}, 0); }).join();
    QCoreApplication::sendPostedEvents();
    CProgressDlg dlg(nullptr);
    ASSERT_TRUE(channel.Attach(pLate, dlg));
    EXPECT_EQ(dlg.Pos(), 30);
    std::thread driver([&] {
        Drive(pLate, {60}, 0);
        Drive(pEarly, {90}, 2); // the earlier request's late calls reach nothing
        Drive(pLate, {}, 2);
    });
    EXPECT_EQ(dlg.exec(), QDialog::Accepted);
    driver.join();
    EXPECT_EQ(dlg.Pos(), 60);
}

} // namespace
