#pragma once
// What the session tests share: the demo installation, the session with its own stores, the
// simulated devices and their models, a user who answers from a script, and a listener that
// records what the session told.
#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "config/Startup.h"
#include "config/TextCatalogue.h"
#include "device/hid/DrvFixture.h"
#include "device/hid/HidLib.h"
#include "device/models/ModelFactory.h"
#include "device/sim/SimBackend.h"
#include "device/sim/SimInstallation.h"
#include "platform/FileLookup.h"
#include "session/Session.h"
#include "storage/WideField.h"
#include "support/DemoInstallation.h"
#include "support/TestDirs.h"

// Answers the session's questions from queues and records everything it was told.
class CScriptedUi : public ISessionUi {
public:
    void Message(const std::string& s) override { vTold.push_back(s); }
    bool AskYesNo(const std::string& s) override {
        vTold.push_back(s);
        const bool b = dqYes.empty() ? false : dqYes.front();
        if (!dqYes.empty())
            dqYes.pop_front();
        return b;
    }
    bool Input(const std::string& s, std::string& strOut) override {
        vTold.push_back(s);
        if (dqNames.empty())
            return false;
        strOut = dqNames.front();
        dqNames.pop_front();
        return !strOut.empty();
    }
    std::deque<bool> dqYes;
    std::deque<std::string> dqNames;
    std::vector<std::string> vTold;
};

class CRecordingListener : public ISessionListener {
public:
    void OnSessionChange(const CSessionChange& c) override { v.push_back(c); }
    int Count(ESessionChange e) const {
        int n = 0;
        for (const CSessionChange& c : v)
            n += c.eWhat == e ? 1 : 0;
        return n;
    }
    std::vector<CSessionChange> v;
};

class SessionTest : public ::testing::Test {
protected:
    SessionTest() : m_lib(&m_backend) {
        SetMessageBoxSink(&m_boxes);
        EXPECT_TRUE(LoadDemoInstallation(m_var, m_limits, m_data));
        m_pSession = std::make_unique<CSession>(m_var, m_macros, m_bullets);
        m_pSession->AddListener(&m_heard);
    }
    ~SessionTest() override {
        m_pSession->ShutdownDrivers();
        m_pSession.reset();
        SetMessageBoxSink(nullptr);
    }
    // The models on the simulated devices, found when bFind.
    void AddModels(bool bFind) {
        AttachInstallationDevices(m_var, m_backend);
        CDevModels models = CreateDevModels(m_var, &m_lib, &m_macros);
        m_pSession->pMs = std::move(models.pMs);
        m_pSession->pKb = std::move(models.pKb);
        m_pSession->pPad = std::move(models.pPad);
        if (!bFind)
            return;
        for (int n : m_pSession->ConfiguredFamilies()) {
            EXPECT_EQ(m_pSession->Dev(n)->Drv()->FindDev(), 1) << n;
        }
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> v;
        for (const Profile& p : m_pSession->proList.List())
            v.push_back(GetWideField(p.szName, PROFILE_NAME_LEN));
        return v;
    }
    std::string Name(const Profile* p) const {
        return p ? GetWideField(p->szName, PROFILE_NAME_LEN) : "(none)";
    }
    CSession& S() { return *m_pSession; }

    CTempDir m_data;
    CCollectingMessageSink m_boxes;
    CGlobalVar m_var;
    CMacroLimits m_limits;
    CSimBackend m_backend;
    CHidLib m_lib;
    CMacroStore m_macros;
    CMacroStore m_bullets;
    CRecordingListener m_heard;
    CScriptedUi m_ui;
    std::unique_ptr<CSession> m_pSession;
};
