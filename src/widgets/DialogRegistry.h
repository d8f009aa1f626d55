#pragma once
// Open modal dialogs by window title, so the exit command and the apply thread can find and
// close them ("VelkinMsgTopWindow", "MyProgressDlg").
#include <string>
#include <vector>

class QWidget;

namespace DialogRegistry {
void Register(const std::string& strTitle, QWidget* pDlg);
void Unregister(QWidget* pDlg);
// Dialogs open under this title, oldest first.
std::vector<QWidget*> Find(const std::string& strTitle);
// Closes (rejects) every dialog open under this title; returns how many were closed.
int CloseAll(const std::string& strTitle);
} // namespace DialogRegistry
