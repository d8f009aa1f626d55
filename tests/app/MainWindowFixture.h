#pragma once
// The real main window on a temporary copy of the demo installation: its cfg.ini changed
// per case, a temporary user data folder, simulated devices, the plain message boxes
// collected and every skinned box answered and recorded. Buttons, boxes and the device list
// are worked with mouse and key events, as a user works them.
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "app/TrayAvailability.h"
#include "app/VelkinDlg.h"
#include "app/dialogs/ProgressDlg.h"
#include "app/presence/SimSession.h"
#include "config/GlobalVar.h"
#include "config/Log.h"
#include "config/Startup.h"
#include "config/TextCatalogue.h"
#include "panels/KeyboardPanels.h"
#include "panels/MousePanels.h"
#include "panels/PadPanels.h"
#include "panels/PanelBase.h"
#include "platform/MessageBox.h"
#include "support/TestDirs.h"
#include "widgets/DialogRegistry.h"
#include "widgets/MsgDlg.h"
#include "widgets/PngBtn.h"
#include "widgets/TreeCtrlEx.h"

// How the user answers one skinned box: OK or Cancel (the close button where the box has
// no Cancel), after typing strText into its input field when it has one.
struct CBoxAnswer {
    bool bOk = false;
    std::string strText;
};

// Watches for progress windows while an apply or reset runs inside the window's own calls:
// counts them, records how far each got and closes one that does not end by itself, so a
// fault shows as a failed expectation rather than a test that never ends.
class CProgressWatch : public QObject {
public:
    explicit CProgressWatch(int nForceMs = 20000) : m_nForceMs(nForceMs) {
        connect(&m_timer, &QTimer::timeout, this, [this] { Poll(); });
        m_timer.start(5);
        m_clock.start();
    }
    int m_nWindows = 0;
    int m_nLastPos = -1;
    bool m_bForced = false;
    // Run on the user-interface thread at each position a window takes and as it ends.
    std::function<void(int)> m_fnPosition;
    std::function<void()> m_fnEnded;

private:
    void Poll() {
        for (QWidget* p : QApplication::topLevelWidgets()) {
            auto* pDlg = qobject_cast<CProgressDlg*>(p);
            if (!pDlg || !pDlg->isVisible())
                continue;
            // One window after another may take the same address: a mark tells them apart.
            if (!pDlg->property("watched").toBool()) {
                pDlg->setProperty("watched", true);
                m_pSeen = pDlg;
                ++m_nWindows;
                m_nLastPos = -1;
                m_clock.restart();
                connect(pDlg, &CProgressDlg::PositionChanged, this, [this](int n) {
                    m_nLastPos = n;
                    if (m_fnPosition)
                        m_fnPosition(n);
                });
                connect(pDlg, &QDialog::finished, this, [this] {
                    if (m_fnEnded)
                        m_fnEnded();
                });
            }
            if (pDlg == m_pSeen && m_clock.elapsed() > m_nForceMs) {
                m_bForced = true;
                pDlg->reject();
            }
        }
    }
    int m_nForceMs;
    QTimer m_timer;
    QElapsedTimer m_clock;
    QPointer<CProgressDlg> m_pSeen;
};

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
        SetTrayAvailableOverride(std::nullopt);
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
    // Answers the open boxes with the next scripted answer, or with m_bAcceptBoxes when the
    // script is used up, by typing and clicking on the box.
    void AnswerBoxes() {
        for (QWidget* p : DialogRegistry::Find(CMsgDlg::kWindowTitle)) {
            auto* pBox = qobject_cast<CMsgDlg*>(p);
            if (!pBox || !pBox->isVisible())
                continue;
            m_vSkinned.push_back(pBox->accessibleDescription().toStdString());
            m_vBusyAtBox.push_back(PictureBusy());
            CBoxAnswer answer{m_bAcceptBoxes, {}};
            if (!m_dqAnswers.empty()) {
                answer = m_dqAnswers.front();
                m_dqAnswers.pop_front();
            }
            if (QLineEdit* pEdit = pBox->InputField(); pEdit && !answer.strText.empty())
                QTest::keyClicks(pEdit, QString::fromStdString(answer.strText));
            CPngBtn* pBtn = answer.bOk ? pBox->OkButton() : pBox->CancelButton();
            if (!answer.bOk && (!pBtn || pBtn->isHidden()))
                pBtn = pBox->CloseButton();
            if (!pBtn) {
                ADD_FAILURE() << "the box has no button to answer with";
                pBox->reject();
                continue;
            }
            QTest::mouseClick(pBtn, Qt::LeftButton, Qt::NoModifier, pBtn->rect().center());
        }
    }
    // The busy flag of the picture of the family the window shows.
    bool PictureBusy() const {
        if (!m_pDlg)
            return false;
        const CPanelBase* p = nullptr;
        switch (m_pDlg->SelectedFamily()) {
        case FAMILY_MOUSE:
            p = m_pDlg->MousePicture();
            break;
        case FAMILY_KEYBOARD:
            p = m_pDlg->KeyboardPicture();
            break;
        case FAMILY_PAD:
            p = m_pDlg->PadPicture();
            break;
        default:
            break;
        }
        return p && p->IsBusy();
    }
    // Clicks the window's button at its middle; false (with a failure) when the window has
    // no such button or the user could not see it.
    bool ClickButton(int nId) {
        CPngBtn* p = m_pDlg ? m_pDlg->Button(nId) : nullptr;
        if (!p || !p->isVisible()) {
            ADD_FAILURE() << "button " << nId << (p ? " is hidden" : " does not exist");
            return false;
        }
        QTest::mouseClick(p, Qt::LeftButton, Qt::NoModifier, p->rect().center());
        return true;
    }
    // Clicks the device list's row of the family.
    bool ClickDeviceRow(int nFamily) {
        CTreeCtrlEx* pList = m_pDlg ? m_pDlg->DevList() : nullptr;
        if (!pList)
            return false;
        for (HTREEITEM h = pList->GetChildItem(TVI_ROOT); h; h = pList->GetNextSiblingItem(h)) {
            if (pList->RecordOf(h)->dwValue != static_cast<uint32_t>(nFamily))
                continue;
            const QRect rc = pList->TextRect(h);
            if (rc.isNull())
                break;
            QTest::mouseClick(pList->viewport(), Qt::LeftButton, Qt::NoModifier, rc.center());
            Pump();
            return true;
        }
        ADD_FAILURE() << "no visible row for family " << nFamily;
        return false;
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
    std::vector<bool> m_vBusyAtBox; // the picture's busy flag while each box was up
    std::deque<CBoxAnswer> m_dqAnswers;
    bool m_bAcceptBoxes = false;
    QTimer m_boxTimer;
    std::unique_ptr<CSimSession> m_pSim;
    std::unique_ptr<CVelkinDlg> m_pDlg;
};
