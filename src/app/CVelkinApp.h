#pragma once
// The application object: runs the start-up sequence, then the main window until it closes.
#include <QFont>
#include <QString>
#include <memory>
#include <string>

#include "widgets/UiFont.h"

class CSingleInstance;
class CSimSession;
class CSkinPrefetch;

// What the command line asks for.
struct CAppOptions {
    bool bSimulate = false;            // --simulate[=FILE]: simulated devices instead of hidraw
    std::string strSimFile;            // the FILE of --simulate=FILE
    bool bQuitAfterFirstPaint = false; // --quit-after-first-paint (start-up benchmark)
    bool bWidgetGallery = false;       // --widget-gallery [--grab FILE.png]
};

// --help and --version are answered before anything else starts (no display is needed), so
// they are looked for among all arguments, Qt's included.
enum class EAppInfoRequest { None, Help, Version };
EAppInfoRequest FindAppInfoRequest(int argc, char** argv);
// The text of --help.
const char* AppOptionsHelp();

// Reads the arguments Qt left (QApplication takes its own, such as -platform NAME). False
// with strError for an unknown argument or a malformed option.
bool ParseAppOptions(int argc, char** argv, CAppOptions& opt, std::string& strError);

class CVelkinApp {
public:
    explicit CVelkinApp(CAppOptions opt = {});
    ~CVelkinApp();
    // Start-up, the main window and the exit step; returns the process exit status.
    int Run();
    bool IsComplete() const { return m_bComplete; }

private:
    void ExitInstance();

    CAppOptions m_opt;
    std::unique_ptr<CSingleInstance> m_pInstance;
    std::unique_ptr<CSimSession> m_pSim;
    std::unique_ptr<CSkinPrefetch> m_pPrefetch;
    bool m_bComplete = false;
    CUiFont m_uiFont;
};
