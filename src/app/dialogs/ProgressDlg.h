#pragma once
// CProgressDlg: the modal progress window of an apply. The apply thread finds it by its
// title "MyProgressDlg" (through CProgressFinder), posts positions 0..100 and closes it at
// the end. The user may close it earlier with its close button; the apply goes on.
#include <QDialog>
#include <QImage>
#include <QRect>
#include <cstdint>
#include <memory>
#include <string>

class CPngBtn;
class CProgressFinder;
struct CProgressLink;

class CProgressDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kWindowTitle = "MyProgressDlg";
    static constexpr const char* kSkinLossText = "ProgressDlg skin loss";
    // Bar, text and close button in client coordinates (right and bottom exclusive).
    static constexpr QRect BarRect() { return QRect(QPoint(45, 101), QPoint(486 - 1, 123 - 1)); }
    static constexpr QRect TextRect() { return QRect(QPoint(15, 12), QPoint(455 - 1, 32 - 1)); }
    static constexpr QRect CloseRect() { return QRect(QPoint(489, 8), QPoint(516 - 1, 33 - 1)); }

    // The images come from strImageDir (a folder ending in '/'); empty means the "skins"
    // folder of the program directory, whatever skin is chosen. pFinder, when given, offers
    // the dialog to apply threads while it is shown; it must outlive the dialog.
    explicit CProgressDlg(QWidget* pParent, CProgressFinder* pFinder = nullptr,
                          const std::string& strImageDir = {});
    ~CProgressDlg() override;

    // False when a background image is missing: the dialog ends at once when shown.
    bool IsSkinned() const { return !m_bBroken; }
    void SetRange(int nMin, int nMax);
    int Min() const { return m_nMin; }
    int Max() const { return m_nMax; }
    // A position outside the range shows the range's minimum. Redraws at once.
    void SetPos(int64_t nPos);
    int Pos() const { return m_nPos; }
    // Width in pixels of the filled part of the bar for the current position.
    int FilledWidth() const;
    CPngBtn* CloseButton() const { return m_pClose; }

    // A window message from an apply thread, already on the user-interface thread: the
    // progress message sets the position, other numbers are ignored.
    void OnProgressMessage(uint32_t nMsg, uintptr_t wParam, intptr_t lParam);
    // The apply thread's close request: the dialog ends with Accepted (the close button
    // ends it with Rejected). Nothing happens once it has ended.
    void OnCloseRequest();

signals:
    void PositionChanged(int nPos);

protected:
    void paintEvent(QPaintEvent*) override;
    void showEvent(QShowEvent*) override;
    void hideEvent(QHideEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void done(int r) override;

private:
    void Withdraw();
    void PlaceOverParent();

    CProgressFinder* m_pFinder;
    std::shared_ptr<CProgressLink> m_pLink;
    QImage m_imgNr, m_imgOv;
    bool m_bBroken = false;
    bool m_bReported = false;
    int m_nMin = 0, m_nMax = 100, m_nPos = 0;
    CPngBtn* m_pClose = nullptr;
    bool m_bDragging = false;
    QPoint m_ptDrag;
};
