#include "app/CVelkinApp.h"

#include <QApplication>
#include <QWidget>
#include <cstdio>
#include <cstring>

#include "app/GuiMessageBox.h"
#include "app/SingleInstance.h"
#include "app/VelkinDlg.h"
#include "app/presence/SimSession.h"
#include "config/GlobalVar.h"
#include "config/Log.h"
#include "config/Startup.h"
#include "panels/MousePanels.h"
#include "panels/PadPanels.h"
#include "platform/FileLookup.h"
#include "widgets/SkinImage.h"
#include "widgets/UiFont.h"
#include "widgets/WndMessage.h"

namespace {
CGuiMessageBoxSink g_guiSink;
} // namespace

EAppInfoRequest FindAppInfoRequest(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
            return EAppInfoRequest::Help;
        if (std::strcmp(argv[i], "--version") == 0)
            return EAppInfoRequest::Version;
    }
    return EAppInfoRequest::None;
}

const char* AppOptionsHelp() {
    return "Usage: velkin [OPTION]...\n"
           "Configures the USB gaming devices of the installation beside this program.\n"
           "\n"
           "  --simulate[=FILE]         simulated devices instead of the attached ones; FILE\n"
           "                            (JSON) changes what is attached. velkinctl sim-control\n"
           "                            handles them while the program runs\n"
           "  --quit-after-first-paint  end with status 0 once the main window has painted\n"
           "  --widget-gallery          show every skinned control in every state\n"
           "      --grab FILE.png       with --widget-gallery: save it to FILE.png and end\n"
           "  --version                 print the version and exit\n"
           "  -h, --help                print this help and exit\n"
           "\n"
           "Qt's own options (such as -platform NAME) are accepted as well.\n";
}

bool ParseAppOptions(int argc, char** argv, CAppOptions& opt, std::string& strError) {
    bool bGrab = false;
    for (int i = 1; i < argc; ++i) {
        const char* psz = argv[i];
        if (std::strcmp(psz, "--simulate") == 0) {
            opt.bSimulate = true;
        } else if (std::strncmp(psz, "--simulate=", 11) == 0) {
            opt.bSimulate = true;
            opt.strSimFile = psz + 11;
            if (opt.strSimFile.empty()) {
                strError = "--simulate= needs a file name";
                return false;
            }
        } else if (std::strcmp(psz, "--quit-after-first-paint") == 0) {
            opt.bQuitAfterFirstPaint = true;
        } else if (std::strcmp(psz, "--widget-gallery") == 0) {
            opt.bWidgetGallery = true;
        } else if (std::strcmp(psz, "--grab") == 0) {
            // The gallery reads the file name itself.
            if (i + 1 >= argc) {
                strError = "--grab needs a file name";
                return false;
            }
            bGrab = true;
            ++i;
        } else if (psz[0] == '-') {
            strError = std::string("unknown option ") + psz;
            return false;
        } else {
            strError = std::string("unexpected argument ") + psz;
            return false;
        }
    }
    if (bGrab && !opt.bWidgetGallery) {
        strError = "--grab works only with --widget-gallery";
        return false;
    }
    return true;
}

CVelkinApp::CVelkinApp(CAppOptions opt) : m_opt(std::move(opt)) {}
CVelkinApp::~CVelkinApp() = default;

int CVelkinApp::Run() {
    m_bComplete = false;
    SetMessageBoxSink(&g_guiSink);
    if (!LoadConfiguration(DefaultStartupDirs(), gVar, MacroLimits)) {
        ExitInstance();
        return 0;
    }

    // Single instance: a running copy is brought to the front and this one ends.
    m_pInstance = std::make_unique<CSingleInstance>(QString::fromStdString(MutexName()));
    quint64 nWindow = 0;
    if (m_pInstance->HandOverToRunningCopy(nWindow)) {
        LogPrint("ALREADY_EXISTS, hWnd=%llx", static_cast<unsigned long long>(nWindow));
        ExitInstance();
        return 0;
    }
    if (!m_pInstance->Listen())
        LogPrint("Single instance: cannot listen on %s",
                 m_pInstance->ServerName().toLocal8Bit().constData());

    // Simulated devices stand behind the HID library before the window looks for devices.
    if (m_opt.bSimulate) {
        m_pSim = std::make_unique<CSimSession>(gVar);
        std::string strError;
        if (!m_pSim->Install(m_opt.strSimFile, strError))
            std::fprintf(stderr, "velkin: simulation file %s: %s\n", m_opt.strSimFile.c_str(),
                         strError.c_str());
        if (!m_pSim->StartControl(strError))
            LogPrint("Simulation control socket: %s", strError.c_str());
    }

    m_uiFont = CreateUiFont(gVar);
    SetUiFont(m_uiFont.font);
    QApplication::setFont(m_uiFont.font);
    // The first paint needs the background and the device pictures (the largest decodes)
    // and the fonts with their glyphs: the images are decoded on another core while this
    // thread readies the fonts, instead of one after the other.
    std::vector<std::string> vPictures{"main_nr.png"};
    if (gVar.MsFw != 0)
        vPictures.push_back(CKeyMarkDlg::kPicture);
    if (gVar.PadFw != 0)
        vPictures.push_back(CPadMarkDlg::kPicture);
    for (const char* psz : CVelkinDlg::kButtonImages)
        for (const char* pszState : {"_nr.png", "_ov.png"})
            vPictures.push_back(std::string(psz) + pszState);
    m_pPrefetch = std::make_unique<CSkinPrefetch>(GetSkinDir(gVar), std::move(vPictures));
    WarmUpFont(m_uiFont.font);
    // The window may be hidden in the tray while boxes come and go: only its end ends the
    // program.
    QApplication::setQuitOnLastWindowClosed(false);

    m_bComplete = true;
    {
        CVelkinDlg dlg;
        dlg.SetSimSession(m_pSim.get());
        dlg.SetQuitAfterFirstPaint(m_opt.bQuitAfterFirstPaint);
        m_pInstance->SetWindowId(static_cast<quint64>(dlg.winId()));
        m_pInstance->SetHandler([&dlg](uint32_t nMsg, uintptr_t wParam, intptr_t lParam) {
            PostWndMessage(&dlg, nMsg, wParam, lParam);
        });
        dlg.DoModal();
        m_pInstance->SetHandler(nullptr);
    }
    m_pSim.reset();
    ExitInstance();
    return 0;
}

void CVelkinApp::ExitInstance() {
    m_pInstance.reset();
    if (m_bComplete && !gVar.FontName.empty())
        ReleaseUiFont(m_uiFont);
    LogPrint("Driver exit");
    SetMessageBoxSink(nullptr);
}
