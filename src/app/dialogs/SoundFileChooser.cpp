#include "app/dialogs/SoundFileChooser.h"

#include <QFileDialog>
#include <QStringList>

std::optional<std::string> CQtSoundFileChooser::Choose(QWidget* pParent) {
    QFileDialog dlg(pParent);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setDefaultSuffix(QStringLiteral("wav"));
    dlg.setNameFilter(QStringLiteral("wav(*.wav)"));
    dlg.selectFile(QStringLiteral("*.wav"));
    if (dlg.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList vFiles = dlg.selectedFiles();
    if (vFiles.isEmpty() || vFiles.first().isEmpty())
        return std::nullopt;
    return vFiles.first().toStdString();
}
