#include "app/GuiMessageBox.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <cstdio>

void CGuiMessageBoxSink::Show(const std::string& strTitle, const std::string& strText) {
    fprintf(stderr, "[%s] %s\n", strTitle.c_str(), strText.c_str());
    if (QGuiApplication::platformName() == "offscreen" ||
        QGuiApplication::platformName() == "minimal")
        return;
    QMessageBox box(strTitle == "Warning" ? QMessageBox::Warning : QMessageBox::Critical,
                    QString::fromStdString(strTitle), QString::fromStdString(strText),
                    QMessageBox::Ok);
    box.exec();
}
