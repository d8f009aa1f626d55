#pragma once
// CMsgDlg: the program's own modal message box, drawn from skin images. Five modes: telling
// (1), asking for a name (2), a number (3), capturing a key or combination (4) and asking a
// question (5). Every open box is titled "VelkinMsgTopWindow" so the exit command finds it.
#include <QDialog>
#include <QImage>
#include <QPointer>
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "widgets/KeyCapture.h"

class CPngBtn;
class QLineEdit;

// The dialog's end codes, as the callers compare them.
enum : int { MSG_IDOK = 1, MSG_IDCANCEL = 2 };

class CMsgDlg : public QDialog {
    Q_OBJECT
public:
    enum Mode : int {
        MODE_INFO = 1,
        MODE_TEXT = 2,
        MODE_NUMBER = 3,
        MODE_KEY = 4,
        MODE_QUESTION = 5
    };
    static constexpr const char* kWindowTitle = "VelkinMsgTopWindow";
    static constexpr int kInputId = 513;

    CMsgDlg(QWidget* pParent, int nMode, const std::string& strMessage);
    ~CMsgDlg() override;

    // Mode 4 switches; set before Run or show.
    void SetSingleKey(bool b) { m_bSingleKey = b; }
    void SetTickBox(bool b) { m_bTickBox = b; }

    // Builds the box (images, buttons, fields) if not done yet; false when the background
    // image is missing, in which case the box ends at once as cancelled.
    bool Build();
    // Runs the box modally; MSG_IDOK or MSG_IDCANCEL.
    int Run();
    // The end code after the box ended (MSG_IDCANCEL before).
    int EndCode() const { return m_nEndCode; }

    // Results.
    std::string m_strResult; // mode 2
    int m_nResult = 0;       // mode 3; 0 after Cancel or the close button
    uint8_t m_byMod = 0;     // mode 4
    uint8_t m_byKey1 = 0;
    uint8_t m_byKey2 = 0;

    // The parts, for the owner and tests.
    int Mode() const { return m_nMode; }
    CPngBtn* OkButton() const { return m_pOk; }
    CPngBtn* CancelButton() const { return m_pCancel; }
    CPngBtn* CloseButton() const { return m_pClose; }
    QLineEdit* InputField() const { return m_pEdit; }
    std::string HintText() const;
    CPngBtn* TickBox(int i) const { return m_aTicks.at(static_cast<size_t>(i)); }
    // Feeds one key event to the box as the keyboard would (mode 4: the capture; other modes
    // the Enter/Esc/Space/F1 rules). Returns whether the event was taken.
    bool HandleKey(int nVk, bool bUp, bool bAutoRepeat);

    // Where a box of this size goes over a parent rectangle on a screen of this size.
    static QPoint PlaceBox(const QSize& szBox, const QRect& rcParent, const QSize& szScreen);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    bool event(QEvent* pEvent) override;
    void keyPressEvent(QKeyEvent*) override;
    void showEvent(QShowEvent*) override;
    void done(int r) override;

private:
    void OnOk();
    void OnCancel();
    void OnTextEdited();
    void ShowCapture();
    CPngBtn* MakeButton(int nId, const QPoint& pt, const char* pszNr, const char* pszOv,
                        const char* pszDn, bool bCheckable);
    void WatchKeys(QWidget* p);

    int m_nMode;
    QString m_strMessage;
    bool m_bSingleKey = false;
    bool m_bTickBox = false;
    bool m_bBuilt = false;
    bool m_bBroken = false;
    int m_nEndCode = MSG_IDCANCEL;
    QImage m_imgBkg, m_imgIcon;
    CPngBtn* m_pClose = nullptr;
    CPngBtn* m_pOk = nullptr;
    CPngBtn* m_pCancel = nullptr;
    CPngBtn* m_pHint = nullptr;
    QLineEdit* m_pEdit = nullptr;
    std::array<CPngBtn*, 4> m_aTicks{}; // Shift, Ctrl, Alt, Win
    std::unique_ptr<CKeyCapture> m_pCapture;
    bool m_bDragging = false;
    QPoint m_ptDrag;
};

// Mode 1: tells the user something; the end code.
int MsgInfo(QWidget* pParent, const std::string& strText);
// Mode 5: true when OK ended the box.
bool MsgQuestion(QWidget* pParent, const std::string& strText);
// Mode 2: true when OK ended the box with a non-empty name; the name (at most 259 UTF-16
// units) goes to strOut.
bool MsgTextInput(QWidget* pParent, const std::string& strPrompt, std::string& strOut);
