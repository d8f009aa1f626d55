#pragma once
// The real main window on a temporary copy of the demo installation: its cfg.ini changed
// per case, a temporary user data folder, simulated devices, the plain message boxes
// collected and every skinned box answered and recorded.
#include <QApplication>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "app/VelkinDlg.h"
#include "app/presence/SimSession.h"
#include "config/GlobalVar.h"
#include "config/Log.h"
#include "config/Startup.h"
#include "config/TextCatalogue.h"
#include "platform/MessageBox.h"
#include "support/TestDirs.h"
#include "widgets/DialogRegistry.h"
#include "widgets/MsgDlg.h"

class CMainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_saved = gVar;
        namespace fs = std::filesystem;
        const fs::path bin = VELKIN_BINARY_DIR "/bin";
        ASSERT_TRUE(fs::exists(bin / "cfg.ini")) << "the demo installation must be built";
        for (const char* psz :
             {"cfg.ini", "ProCfg.ini", "lang.ini", "Text", "skins", "dark", "light"})
            if (fs::exists(bin / psz))
                fs::copy(bin / psz, fs::path(m_prog.Path()) / psz, fs::copy_options::recursive);
        m_strOrigCfg = m_prog.Read("cfg.ini");
        // Tab headers and the small buttons are not part of the demo skin yet.
        for (const char* pszSkin : {"skins/", "dark/", "light/"})
            for (const char* pszImg : {"header", "btn", "add", "del", "dot"})
                for (const char* pszState : {"_nr.png", "_ov.png"})
                    if (fs::exists(fs::path(m_prog.Path()) / pszSkin))
                        fs::copy_file(bin / "skins/button_nr.png",
                                      fs::path(m_prog.Path()) / pszSkin /
                                          (std::string(pszImg) + pszState),
                                      fs::copy_options::overwrite_existing);
        ResetCfg();
        SetMessageBoxSink(&m_sink);
    }
    void TearDown() override {
        m_boxTimer.stop();
        m_pDlg.reset();
        m_pSim.reset();
        SetMessageBoxSink(nullptr);
        LogReset();
        g_Text.Clear();
        gVar = m_saved;
    }

    // Back to the demo's cfg.ini (with the log file on), for the next case of a table.
    void ResetCfg() {
        m_strCfg = m_strOrigCfg;
        SetKey("OPT", "Debug", "2");
    }
    // Replaces key=value in the section, or adds it at the section's top.
    void SetKey(const std::string& strSection, const std::string& strKey,
                const std::string& strValue) {
        const std::string strHead = "[" + strSection + "]";
        size_t nSec = m_strCfg.find(strHead);
        ASSERT_NE(nSec, std::string::npos) << strSection;
        size_t nEnd = m_strCfg.find("\n[", nSec + 1);
        if (nEnd == std::string::npos)
            nEnd = m_strCfg.size();
        std::string strBody = m_strCfg.substr(nSec, nEnd - nSec);
        const std::regex re("\n" + strKey + "=[^\n]*");
        if (std::regex_search(strBody, re))
            strBody = std::regex_replace(strBody, re, "\n" + strKey + "=" + strValue,
                                         std::regex_constants::format_first_only);
        else
            strBody.insert(strHead.size(), "\n" + strKey + "=" + strValue);
        m_strCfg = m_strCfg.substr(0, nSec) + strBody + m_strCfg.substr(nEnd);
    }

    // Loads the installation and attaches its simulated devices (strSimJson replaces them).
    void Load(const std::string& strSimJson = {}) {
        m_prog.Write("cfg.ini", m_strCfg);
        StartupDirs dirs{m_prog.Path(), m_data.Path(), m_data.Path() + "Desktop/"};
        std::filesystem::create_directories(dirs.strDesktop);
        ASSERT_TRUE(LoadConfiguration(dirs, gVar, MacroLimits));
        m_pSim = std::make_unique<CSimSession>(gVar);
        std::string strError;
        if (strSimJson.empty()) {
            ASSERT_TRUE(m_pSim->Install("", strError)) << strError;
        } else {
            m_data.Write("sim.json", strSimJson);
            ASSERT_TRUE(m_pSim->Install(m_data.Path() + "sim.json", strError)) << strError;
        }
    }
    // A window over the loaded installation, initialised; skinned boxes, during start-up
    // and after it, are answered (Cancel unless m_bAcceptBoxes) and their texts kept.
    bool Start() {
        m_pDlg = std::make_unique<CVelkinDlg>();
        m_pDlg->SetSimSession(m_pSim.get());
        m_boxTimer.disconnect();
        QObject::connect(&m_boxTimer, &QTimer::timeout, [this] { AnswerBoxes(); });
        m_boxTimer.start(20);
        const bool b = m_pDlg->InitDialog();
        QCoreApplication::sendPostedEvents();
        return b;
    }
    void AnswerBoxes() {
        for (QWidget* p : DialogRegistry::Find(CMsgDlg::kWindowTitle)) {
            if (!p->isVisible())
                continue;
            m_vSkinned.push_back(p->accessibleDescription().toStdString());
            if (m_bAcceptBoxes)
                static_cast<QDialog*>(p)->accept();
            else
                static_cast<QDialog*>(p)->reject();
        }
    }
    std::vector<std::string> Boxes() const {
        std::vector<std::string> v;
        for (const auto& e : m_sink.m_vEntries)
            v.push_back(e.strTitle + "|" + e.strText);
        return v;
    }
    std::string Log() const { return m_data.Read("Desktop/Log.txt"); }
    static void Pump() {
        for (int i = 0; i < 5; ++i) {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
        }
    }

    CTempDir m_prog, m_data;
    std::string m_strOrigCfg, m_strCfg;
    CGlobalVar m_saved;
    CCollectingMessageSink m_sink;
    std::vector<std::string> m_vSkinned;
    bool m_bAcceptBoxes = false;
    QTimer m_boxTimer;
    std::unique_ptr<CSimSession> m_pSim;
    std::unique_ptr<CVelkinDlg> m_pDlg;
};
