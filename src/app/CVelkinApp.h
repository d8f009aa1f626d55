#pragma once
// The application object: runs the start-up sequence, then the main window until it closes.
#include <QFont>
#include <QString>
#include <memory>

#include "widgets/UiFont.h"

class QWidget;
class CSingleInstance;

class CVelkinApp {
public:
    CVelkinApp();
    ~CVelkinApp();
    // Start-up, the main window and the exit step; returns the process exit status.
    int Run();
    bool IsComplete() const { return m_bComplete; }

private:
    void ExitInstance();

    std::unique_ptr<CSingleInstance> m_pInstance;
    bool m_bComplete = false;
    CUiFont m_uiFont;
};
