#include "app/profiles/FileChooser.h"

#include <QFileDialog>

namespace {
std::string Run(QWidget* pParent, QFileDialog::AcceptMode eMode, const std::string& strProposed,
                const std::string& strFilter, const std::string& strDefaultExt) {
    QFileDialog dlg(pParent);
    dlg.setAcceptMode(eMode);
    dlg.setFileMode(eMode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                     : QFileDialog::ExistingFile);
    dlg.setNameFilter(QString::fromStdString(strFilter));
    dlg.setDefaultSuffix(QString::fromStdString(strDefaultExt));
    dlg.selectFile(QString::fromStdString(strProposed));
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return {};
    return dlg.selectedFiles().constFirst().toStdString();
}
} // namespace

std::string CQtFileChooser::SaveFile(const std::string& strProposed, const std::string& strFilter,
                                     const std::string& strDefaultExt) {
    return Run(m_pParent, QFileDialog::AcceptSave, strProposed, strFilter, strDefaultExt);
}

std::string CQtFileChooser::OpenFile(const std::string& strProposed, const std::string& strFilter,
                                     const std::string& strDefaultExt) {
    return Run(m_pParent, QFileDialog::AcceptOpen, strProposed, strFilter, strDefaultExt);
}
