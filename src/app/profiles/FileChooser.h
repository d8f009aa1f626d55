#pragma once
// The file dialogs of profile and key configuration export and import, behind a seam so the
// tests can answer them. The program uses QFileDialog.
#include <string>

class QWidget;

class IFileChooser {
public:
    virtual ~IFileChooser() = default;
    // strFilter in QFileDialog form ("bkm (*.bkm)"), strDefaultExt without the dot. The
    // chosen path, empty on cancel. The save dialog asks before replacing a file.
    virtual std::string SaveFile(const std::string& strProposed, const std::string& strFilter,
                                 const std::string& strDefaultExt) = 0;
    virtual std::string OpenFile(const std::string& strProposed, const std::string& strFilter,
                                 const std::string& strDefaultExt) = 0;
};

class CQtFileChooser : public IFileChooser {
public:
    explicit CQtFileChooser(QWidget* pParent) : m_pParent(pParent) {}
    std::string SaveFile(const std::string& strProposed, const std::string& strFilter,
                         const std::string& strDefaultExt) override;
    std::string OpenFile(const std::string& strProposed, const std::string& strFilter,
                         const std::string& strDefaultExt) override;

private:
    QWidget* m_pParent;
};
