#include "app/CVelkinApp.h"

#include <QApplication>
#include <QWidget>

#include "app/GuiMessageBox.h"
#include "app/PlainMainWindow.h"
#include "app/SingleInstance.h"
#include "widgets/UiFont.h"
#include "config/GlobalVar.h"
#include "config/Log.h"
#include "config/Startup.h"
#include "platform/FileLookup.h"

namespace {
CGuiMessageBoxSink g_guiSink;
} // namespace

CVelkinApp::CVelkinApp() = default;
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

    m_uiFont = CreateUiFont(gVar);
    SetUiFont(m_uiFont.font);
    QApplication::setFont(m_uiFont.font);

    m_bComplete = true;
    {
        CPlainMainWindow wnd(QString::fromStdString(gVar.pszTitle));
        m_pInstance->SetWindowId(static_cast<quint64>(wnd.winId()));
        m_pInstance->SetHandler(
            [&wnd](uint32_t, uintptr_t, intptr_t lParam) { wnd.OnTrayMessage(lParam); });
        wnd.show();
        QApplication::exec();
        m_pInstance->SetHandler(nullptr);
    }
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
