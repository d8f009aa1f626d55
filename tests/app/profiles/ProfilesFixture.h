#pragma once
// What the profile tests share: the demo installation with its simulated devices, the shell
// state with real apply threads, a view that records every call and answers the boxes, and
// a file chooser that answers the file dialogs.
#include <gtest/gtest.h>

#include <QWidget>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/dialogs/SoundPlayer.h"
#include "app/profiles/AnswerChooser.h"
#include "app/profiles/ProfileOps.h"
#include "config/Startup.h"
#include "config/TextCatalogue.h"
#include "device/hid/DrvFixture.h"
#include "device/models/ModelFactory.h"
#include "device/sim/SimInstallation.h"
#include "platform/FileLookup.h"
#include "session/Session.h"
#include "storage/MacroStore.h"
#include "storage/WideField.h"
#include "support/DemoInstallation.h"
#include "support/TestDirs.h"

class CRecordingSound : public ISoundPlayer {
public:
    bool PlayLooping(const std::string& s) override {
        vPlayed.push_back(s);
        bPlaying = true;
        return true;
    }
    void Stop() override {
        ++nStops;
        bPlaying = false;
    }
    bool IsPlaying() const override { return bPlaying; }
    bool IsLoading() const override { return false; }
    std::vector<std::string> vPlayed;
    int nStops = 0;
    bool bPlaying = false;
};

// The progress window of one request as the apply thread sees it: the sink handed over with
// the request; RunProgress returns at the thread's first close, or at once when that came
// already.
class CFakeProgress : public IProgressSink {
public:
    void PostMessage(uint32_t, uintptr_t wParam, intptr_t) override {
        std::lock_guard<std::mutex> lock(m_mtx);
        vPositions.push_back(int(wParam));
    }
    void Close() override {
        std::lock_guard<std::mutex> lock(m_mtx);
        m_bClosed = true;
        m_cv.notify_all();
    }
    // False when nothing closed the window within the time.
    bool Run(int nTimeoutMs = 10000) {
        std::unique_lock<std::mutex> lock(m_mtx);
        return m_cv.wait_for(lock, std::chrono::milliseconds(nTimeoutMs),
                             [&] { return m_bClosed; });
    }
    std::vector<int> Positions() {
        std::lock_guard<std::mutex> lock(m_mtx);
        return vPositions;
    }

private:
    std::mutex m_mtx;
    std::condition_variable m_cv;
    bool m_bClosed = false;
    std::vector<int> vPositions;
};

class CFakeProfileView : public IProfileView {
public:
    void SetSelector(const std::string& s, uint32_t dwId) override {
        strSelector = s;
        dwSelectorId = dwId;
        Call("selector");
    }
    void SetModeButtons(int n) override { vModeButtons.push_back(n); }
    void RefreshKeyboardMarks() override { Call("kbmarks"); }
    void ReloadPanels(int n) override { Call("reload" + std::to_string(n)); }
    void ShowKeySet(int n) override { vKeySets.push_back(n); }
    void SetResolutionLevel(int n) override { vLevels.push_back(n); }
    void StorePanels(int n) override { Call("store" + std::to_string(n)); }
    int SelectedFamily() const override { return nFamily; }
    void SwitchFamily(int n) override { Call("family" + std::to_string(n)); }
    void SetBusy(bool b) override {
        vBusy.push_back(b);
        bBusy = b;
    }
    void SetRateAlternative(bool b) override { Call(b ? "altrate1" : "altrate0"); }
    void ShowRateTab(bool b) override { Call(b ? "ratetab1" : "ratetab0"); }
    int OpenTab() const override { return nOpenTab; }
    void LayoutTabs(int n) override { Call("tabs" + std::to_string(n)); }
    void Message(const std::string& s) override {
        vMessages.push_back(s);
        vBusyAtBox.push_back(bBusy);
    }
    bool Confirm(const std::string& s) override {
        vMessages.push_back(s);
        bool b = bConfirm;
        if (!dqConfirm.empty()) {
            b = dqConfirm.front();
            dqConfirm.pop_front();
        }
        return b;
    }
    bool Input(const std::string& s, std::string& strOut) override {
        vMessages.push_back(s);
        if (dqInput.empty())
            return false;
        strOut = dqInput.front();
        dqInput.pop_front();
        return !strOut.empty();
    }
    IProgressSink* NewProgressSink() override {
        vProgress.push_back(std::make_unique<CFakeProgress>());
        return vProgress.back().get();
    }
    void RunProgress(IProgressSink* pSink) override {
        ++nProgress;
        bProgressClosed = static_cast<CFakeProgress*>(pSink)->Run();
        if (fnAfterProgress)
            fnAfterProgress();
    }
    // Runs when the progress window has closed, as something the user did meanwhile.
    std::function<void()> fnAfterProgress;
    ISoundPlayer& Sound() override { return sound; }
    QWidget* Window() override { return &wnd; }
    QRect MenuAnchor(int) const override { return QRect(100, 100, 46, 20); }

    void Call(const std::string& s) { vCalls.push_back(s); }
    bool Called(const std::string& s) const {
        for (const std::string& c : vCalls)
            if (c == s)
                return true;
        return false;
    }

    int nFamily = FAMILY_MOUSE;
    int nOpenTab = 0;
    bool bConfirm = true;
    std::deque<bool> dqConfirm;
    std::deque<std::string> dqInput; // an empty entry cancels
    std::string strSelector;
    uint32_t dwSelectorId = 0;
    std::vector<int> vModeButtons, vKeySets, vLevels;
    std::vector<bool> vBusy, vBusyAtBox;
    bool bBusy = false;
    std::vector<std::string> vMessages, vCalls;
    int nProgress = 0;
    bool bProgressClosed = false;
    std::vector<std::unique_ptr<CFakeProgress>> vProgress; // one per request, as asked for
    CRecordingSound sound;
    QWidget wnd;
};

class CProfilesTest : public ::testing::Test {
protected:
    CProfilesTest() : m_lib(&m_backend) {
        SetMessageBoxSink(&m_boxes);
        EXPECT_TRUE(LoadDemoInstallation(m_var, m_limits, m_data));
        m_pLog = std::make_unique<CLogCapture>();
    }
    ~CProfilesTest() override {
        m_pOps.reset();
        if (m_pState) {
            m_pState->StopApplyThreads();
            m_pState->ShutdownDrivers();
        }
        m_pState.reset();
        m_pLog.reset();
        SetMessageBoxSink(nullptr);
        LogReset();
    }

    // Models on the simulated devices; bConnect finds the devices of the listed families.
    void Build(std::initializer_list<int> connect = {FAMILY_MOUSE, FAMILY_KEYBOARD, FAMILY_PAD}) {
        AttachInstallationDevices(m_var, m_backend);
        m_pState = std::make_unique<CSession>(m_var, m_macros, m_bullets);
        CDevModels models = CreateDevModels(m_var, &m_lib, &m_macros);
        m_pState->pMs = std::move(models.pMs);
        m_pState->pKb = std::move(models.pKb);
        m_pState->pPad = std::move(models.pPad);
        for (int nFamily : connect)
            if (CHidDev* p = m_pState->Dev(nFamily)) {
                EXPECT_EQ(p->Drv()->FindDev(), 1) << nFamily;
            }
        m_pState->StartApplyThreads();
        m_pOps = std::make_unique<CProfileOps>(*m_pState, m_view);
        m_pOps->SetFileChooser(&m_chooser);
    }

    // Profiles named as given, saved as pro.dct; curid.dct written when bCurId.
    void WriteStore(const std::vector<std::string>& vNames, bool bCurId) {
        CProList list(m_var);
        Profile pro{};
        for (const std::string& s : vNames) {
            list.CreateDefault(pro, s);
            list.SetCurrent(list.AddCopy(pro));
        }
        list.SetCurrent(list.List().Head());
        ASSERT_TRUE(list.Save());
        if (bCurId) {
            ASSERT_TRUE(list.WriteCurrentId());
        }
    }

    std::vector<std::string> Names() const {
        std::vector<std::string> v;
        for (const Profile& p : m_pState->proList.List())
            v.push_back(GetWideField(p.szName, PROFILE_NAME_LEN));
        return v;
    }
    Profile& Cur() { return *m_pState->Current(); }
    bool Saved() const { return FileLookup::Exists(m_pState->proList.ProFilePath()); }
    // Every busy-on was followed by a busy-off, and the flag ended clear.
    bool BusyBalanced() const {
        int n = 0;
        for (bool b : m_view.vBusy) {
            n += b ? 1 : -1;
            if (n < 0 || n > 1)
                return false;
        }
        return n == 0;
    }
    CLogCapture& Log() { return *m_pLog; }

    std::unique_ptr<CLogCapture> m_pLog;
    CTempDir m_data;
    CCollectingMessageSink m_boxes;
    CGlobalVar m_var;
    CMacroLimits m_limits;
    CSimBackend m_backend;
    CHidLib m_lib;
    CMacroStore m_macros;
    CMacroStore m_bullets;
    CFakeProfileView m_view;
    CAnswerChooser m_chooser;
    std::unique_ptr<CSession> m_pState;
    std::unique_ptr<CProfileOps> m_pOps;
};
