#pragma once
// CNotifyDlg: the pop-up that tells the resolution level, its value and the mode after the
// mouse's own buttons changed them. It is a frameless tool window offset from the main
// window; until the real pop-up exists it shows the texts on a plain box for a while.
#include <QString>
#include <QTimer>
#include <QWidget>
#include <string>

class CNotifyDlg : public QWidget {
    Q_OBJECT
public:
    static constexpr int kShowMs = 1500;
    // nOffsetX/Y: where it appears relative to the owner's top-left corner.
    CNotifyDlg(QWidget* pOwner, int nOffsetX, int nOffsetY);

    void ShowTexts(const std::string& strLevel, const std::string& strValue,
                   const std::string& strValue2, const std::string& strMode);
    QString Text() const { return m_strText; }
    int ShownCount() const { return m_nShown; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QWidget* m_pOwner;
    int m_nOffsetX, m_nOffsetY;
    QString m_strText;
    QTimer m_timer;
    int m_nShown = 0;
};
