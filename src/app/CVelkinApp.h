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
};

// Reads the program's own options; unknown arguments are left to Qt. False with strError
// for a malformed option.
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
