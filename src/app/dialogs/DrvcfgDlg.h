#pragma once
// CDrvcfgDlg: the options dialog. Language and skin take effect the moment they are chosen;
// the sound file of the current profile and the play-sound switch change only on OK, which
// also stores the choices in lang.ini. The close button cancels and writes nothing.
#include <QDialog>
#include <QImage>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "config/GlobalVar.h"

struct Profile;
class CComboBtn;
class CPngBtn;
class IMainWindowSkin;
class ISoundFileChooser;
class ISoundPlayer;
class QLineEdit;

// What the dialog works on besides gVar and the text catalogue; every part may be null.
struct DrvcfgContext {
    Profile* pProfile = nullptr;           // the current profile
    std::mutex* pProfileLock = nullptr;    // held while szSound is written
    IMainWindowSkin* pMain = nullptr;      // re-texted and re-skinned at once
    ISoundPlayer* pSound = nullptr;        // plays while the tick box is ticked
    ISoundFileChooser* pChooser = nullptr; // null: the platform's file dialog
    // Shows a message to the user; null: the skinned information box.
    std::function<void(QWidget*, const std::string&)> fnInfo;
};

class CDrvcfgDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kWindowTitle = "VelkinMsgTopWindow";
    static constexpr const char* kInvalidPathText = "Invalid File Path.";
    static constexpr int kSoundFieldId = 4384;
    static constexpr int kMenuWidth = 184;
    enum : int {
        ID_OK = 1,
        ID_CANCEL = 2,
        ID_CLOSE = 1001,
        ID_BROWSE = 1002,
        ID_TICK = 1003,
        ID_LANG = 1004,
        ID_SKIN = 1005
    };

    CDrvcfgDlg(QWidget* pParent, DrvcfgContext ctx);
    ~CDrvcfgDlg() override;

    // Builds the dialog if not done yet; false when its background is missing, in which
    // case it ends at once as cancelled.
    bool Build();
    // Runs the dialog modally; QDialog::Accepted after OK, else Rejected.
    int Run();

    // The parts, for the main window and tests.
    QLineEdit* SoundField() const { return m_pField; }
    CPngBtn* BrowseButton() const { return m_pBrowse; }
    CPngBtn* TickBox() const { return m_pTick; }
    CComboBtn* LangList() const { return m_pLang; }
    CComboBtn* SkinList() const { return m_pSkin; }
    CPngBtn* CloseButton() const { return m_pClose; }
    CPngBtn* OkButton() const { return m_pOk; }
    CPngBtn* CancelButton() const { return m_pCancel; }
    // The captions drawn now, in drawing order (text ids).
    std::vector<std::string> ShownCaptions() const;

    // The user's actions, as the controls start them.
    void OnLangChosen();
    void OnSkinChosen();
    void OnBrowse();
    void OnTick();
    void OnOk();
    void OnClose();

protected:
    void paintEvent(QPaintEvent*) override;
    void showEvent(QShowEvent*) override;
    bool event(QEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    void keyPressEvent(QKeyEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void done(int r) override;

private:
    CComboBtn* MakeList(int nId, const QPoint& pt, const std::vector<SkinEntry>& vEntries);
    std::string FieldPath() const;
    bool IsSwallowedKey(QObject* pWatched, int nKey) const;
    void WriteLangIni(const char* pszKey, int nValue);

    DrvcfgContext m_ctx;
    bool m_bBuilt = false;
    bool m_bBroken = false;
    QImage m_imgBkg;
    QLineEdit* m_pField = nullptr;
    CPngBtn* m_pBrowse = nullptr;
    CPngBtn* m_pTick = nullptr;
    CComboBtn* m_pLang = nullptr;
    CComboBtn* m_pSkin = nullptr;
    CPngBtn* m_pClose = nullptr;
    CPngBtn* m_pOk = nullptr;
    CPngBtn* m_pCancel = nullptr;
    bool m_bDragging = false;
    QPoint m_ptDrag;
};
