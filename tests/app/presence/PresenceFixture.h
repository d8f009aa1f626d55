#pragma once
// What the presence tests share: the demo installation with its simulated devices behind a
// library of their own, the shell state with a current profile, a view that records what it
// is asked to do, and a scheduler that runs the retry steps when the test says so.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/presence/DevicePresence.h"
#include "config/Startup.h"
#include "device/hid/DrvFixture.h"
#include "device/models/ModelFactory.h"
#include "device/sim/SimInstallation.h"
#include "session/Session.h"
#include "support/DemoInstallation.h"
#include "support/QtPump.h"
#include "support/TestDirs.h"

class CFakePresenceView : public IPresenceView, public ISessionListener {
public:
    // The window follows mode changes through the session, as the profile controls do.
    void OnSessionChange(const CSessionChange& c) override {
        if (c.eWhat == ESessionChange::Mode)
            ++nRefreshMode;
    }
    void SetDevStatus(const std::string& s, bool b) override {
        strStatus = s;
        bStatusChecked = b;
        ++nStatus;
    }
    void ReloadKeyPanel() override { ++nReloadKey; }
    void ReloadDpiPanel() override { ++nReloadDpi; }
    void SelectDpiLevel(int n) override { vSelected.push_back(n); }
    bool HasNotifyPopup() const override { return bPopup; }
    void ShowNotify(const CNotifyTexts& t) override { vNotify.push_back(t); }
    void SetRateCode(int n) override { vRate.push_back(n); }
    void SyncMode() override { ++nSyncMode; }
    void SwitchKeySet(int n) override { vKeySet.push_back(n); }
    void HideWindow() override { ++nHide; }
    void CloseWindow() override { ++nClose; }
    void ShowMessage(const char* psz) override { vMessages.push_back(psz); }
    bool IsWindowShown() const override { return true; }

    bool bPopup = true;
    std::string strStatus;
    bool bStatusChecked = false;
    int nStatus = 0, nReloadKey = 0, nReloadDpi = 0, nRefreshMode = 0, nSyncMode = 0;
    int nHide = 0, nClose = 0;
    std::vector<int> vSelected, vRate, vKeySet;
    std::vector<CNotifyTexts> vNotify;
    std::vector<std::string> vMessages;
};

class CStepScheduler : public IPresenceScheduler {
public:
    void After(uint32_t nMs, std::function<void()> fn) override {
        vDelays.push_back(nMs);
        vSteps.push_back(std::move(fn));
    }
    // Runs the oldest waiting step; false when none waits.
    bool RunNext() {
        if (vSteps.empty())
            return false;
        std::function<void()> fn = std::move(vSteps.front());
        vSteps.erase(vSteps.begin());
        fn();
        return true;
    }
    void RunAll() {
        while (RunNext()) {
        }
    }
    std::vector<uint32_t> vDelays;
    std::vector<std::function<void()>> vSteps;
};

class CPresenceTest : public ::testing::Test {
protected:
    CPresenceTest() : m_lib(&m_backend) {
        SetMessageBoxSink(&m_boxes);
        EXPECT_TRUE(LoadDemoInstallation(m_var, m_limits, m_data));
        // Start-up chose its own log writer; capture from here on.
        m_pLog = std::make_unique<CLogCapture>();
    }
    ~CPresenceTest() override {
        m_pPresence.reset();
        if (m_pState)
            m_pState->ShutdownDrivers();
        m_pState.reset();
        m_pLog.reset();
        SetMessageBoxSink(nullptr);
        LogReset();
    }

    // A companion keyboard (901) with three key-set switch keys and no keyboard family.
    void ConfigureCompanion() {
        m_var.Dev.Ms.KeySwVk[0] = 0x70;
        m_var.Dev.Ms.KeySwVk[1] = 0x71;
        m_var.Dev.Ms.KeySwVk[2] = 0x72;
        m_var.Dev.Ms.KbIC = 2305;
        m_var.KbFw = 0;
    }

    // Attaches the installation's devices, makes the models and a current profile. With
    // pLib null the models use the installed back-end.
    void Build(bool bFind = true, CHidLib* pLib = nullptr, bool bOwnLib = true) {
        if (bOwnLib)
            AttachInstallationDevices(m_var, m_backend);
        CHidLib* pUse = bOwnLib ? &m_lib : pLib;
        m_pState = std::make_unique<CSession>(m_var);
        m_pState->AddListener(&m_view);
        CDevModels models = CreateDevModels(m_var, pUse);
        m_pState->pMs = std::move(models.pMs);
        m_pState->pKb = std::move(models.pKb);
        m_pState->pPad = std::move(models.pPad);
        m_pState->pCompanion = CreateCompanionKb(m_var, pUse);
        Profile pro{};
        m_pState->proList.CreateDefault(pro, "Test");
        m_pState->proList.SetCurrent(m_pState->proList.AddCopy(pro));
        if (bFind)
            for (CHidDev* p : {m_pState->pMs.get(), m_pState->pKb.get(), m_pState->pPad.get(),
                               m_pState->pCompanion.get()})
                if (p) {
                    EXPECT_EQ(p->Drv()->FindDev(), 1);
                }
        m_pPresence = std::make_unique<CDevicePresence>(*m_pState, m_view);
        m_pPresence->SetScheduler(&m_steps);
    }

    CLogCapture& Log() { return *m_pLog; }
    SimDevicePtr Dev(const char* pszName) { return m_backend.Find(pszName); }
    Profile& Cur() { return *m_pState->Current(); }

    std::string MousePath() const { return "\\\\?\\usb#vid_258a&pid_1011#6&1a2b#{guid}"; }
    std::string KbPath() const { return "\\\\?\\USB#VID_258A&PID_0090#x"; }
    std::string PadPath() const { return "\\\\?\\USB#VID_258A&PID_00A0#x"; }

    // Runs the event loop until bDone holds or nMs of real time passed.
    static bool WaitFor(const std::function<bool()>& fnDone, int nMs = 3000) {
        return PumpUntil(fnDone, nMs);
    }

    CFakeClock m_clock;
    std::unique_ptr<CLogCapture> m_pLog;
    CTempDir m_data;
    CCollectingMessageSink m_boxes;
    CGlobalVar m_var;
    CMacroLimits m_limits;
    CSimBackend m_backend;
    CHidLib m_lib;
    std::unique_ptr<CSession> m_pState;
    CFakePresenceView m_view;
    CStepScheduler m_steps;
    std::unique_ptr<CDevicePresence> m_pPresence;
};
