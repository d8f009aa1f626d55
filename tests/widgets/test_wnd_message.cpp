// Window messages between windows and from core threads, and the registry of open dialogs.
#include <QDialog>
#include <thread>

#include "WidgetFixture.h"
#include "widgets/DialogRegistry.h"

namespace {
TEST(WndMessage, CoreThreadsPostThroughTheTarget) {
    CRecorderWnd wnd;
    CQtWndTarget target(&wnd);
    std::thread worker([&target] {
        for (int i = 0; i <= 100; i += 50)
            target.PostMessage(1067, static_cast<uintptr_t>(i), -1);
    });
    worker.join();
    EXPECT_EQ(wnd.Take(1067),
              (std::vector<RecordedMsg>{{1067, 0, -1}, {1067, 50, -1}, {1067, 100, -1}}));
    EXPECT_TRUE(SendWndMessage(&wnd, 2027, 7, 8));
    EXPECT_EQ(wnd.Take(2027).size(), 1u);
}

TEST(WndMessage, AGoneTargetSwallowsMessages) {
    auto* pWnd = new CRecorderWnd();
    CQtWndTarget target(pWnd);
    delete pWnd;
    target.PostMessage(1067, 1, 2); // must not reach freed memory
    PostWndMessage(nullptr, 1067, 1, 2);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(target.Target(), nullptr);
    EXPECT_FALSE(SendWndMessage(nullptr, 1, 0, 0));
}

TEST(DialogRegistry, FindsAndClosesByTitle) {
    auto* pA = new QDialog();
    auto* pB = new QDialog();
    QDialog other;
    DialogRegistry::Register("VelkinMsgTopWindow", pA);
    DialogRegistry::Register("VelkinMsgTopWindow", pB);
    DialogRegistry::Register("MyProgressDlg", &other);
    pA->show();
    pB->show();
    other.show();
    EXPECT_EQ(DialogRegistry::Find("VelkinMsgTopWindow"), (std::vector<QWidget*>{pA, pB}));
    delete pB; // a dialog that went away on its own is forgotten
    EXPECT_EQ(DialogRegistry::Find("VelkinMsgTopWindow"), (std::vector<QWidget*>{pA}));
    EXPECT_EQ(DialogRegistry::CloseAll("VelkinMsgTopWindow"), 1);
    EXPECT_FALSE(pA->isVisible());
    EXPECT_TRUE(other.isVisible());
    EXPECT_TRUE(DialogRegistry::Find("VelkinMsgTopWindow").empty());
    DialogRegistry::Unregister(&other);
    EXPECT_TRUE(DialogRegistry::Find("MyProgressDlg").empty());
    delete pA;
}
} // namespace
