#pragma once
// CPngBtn: a push button (or tick box) painted from three skin images, normal, hover and
// pressed, over the piece of its parent's background that lies under it.
#include <QColor>
#include <QImage>
#include <QRegion>
#include <QWidget>
#include <cstdint>
#include <string>

class CPngBtn : public QWidget {
    Q_OBJECT
public:
    explicit CPngBtn(QWidget* pParent = nullptr, int nId = 0);

    int Id() const { return m_nId; }
    void SetId(int nId) { m_nId = nId; }

    // Whole state images; the disabled image becomes a copy of the normal one.
    void SetImages(const QImage& imgNormal, const QImage& imgHover, const QImage& imgPressed);
    // The same sub-rectangle of three images.
    void SetImagePieces(const QImage& imgNormal, const QImage& imgHover, const QImage& imgPressed,
                        const QRect& rcPiece);
    void SetBackground(const QImage& imgPiece) {
        m_imgBkg = imgPiece;
        update();
    }
    void SetIcon(const QImage& imgIcon, int nIconX);
    // Caption, left offset of the text (below 1: centred) and Qt alignment flags (0: the
    // default single line, vertically centred, elided).
    void SetCaption(const std::string& strCaption, int nTextX = 0, int nFormat = 0);
    std::string Caption() const { return m_strCaption.toStdString(); }
    void SetTextRect(const QRect& rc) {
        m_rcText = rc;
        update();
    }
    void SetColors(const QColor& clrNr, const QColor& clrOv, const QColor& clrDn);
    void SetCheckable(bool bCheckable, bool bAutoToggle = true);
    bool IsCheckable() const { return m_bCheckable; }
    void SetTicked(bool bTicked);
    bool IsTicked() const { return m_bTicked; }
    void SetPressOffset(bool b) { m_bPressOffset = b; }
    void SetToolTipText(const std::string& str);
    void SetClipRegion(const QRegion& rgn) {
        m_rgnClip = rgn;
        update();
    }
    void SetFrame(bool b) {
        m_bFrame = b;
        update();
    }
    void SetFontOf(const QFont& font) {
        setFont(font);
        update();
    }

    bool IsHovered() const { return m_bHovered; }
    bool IsPressed() const { return m_bPressed; }
    // Shows the hover or pressed look without a pointer (the widget gallery).
    void ShowHovered(bool b) {
        m_bHovered = b;
        update();
    }
    void ShowPressed(bool b) {
        m_bPressed = b;
        update();
    }

    // Which image and caption colour the next paint uses: 0 normal, 1 hover, 2 pressed,
    // 3 disabled; bMoved tells whether the press offset applies.
    struct DrawState {
        int nImage;
        QColor clrText;
        bool bMoved;
    };
    DrawState CurrentDrawState() const;

signals:
    // A left press and release inside the button. Owners connect to it; no command message
    // is sent for a click (a CComboBtn reports a chosen entry with one instead).
    void clicked(int nId);

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void leaveEvent(QEvent*) override;
    void changeEvent(QEvent*) override;
    // Called after a left click inside the button; emits clicked, the click's one report.
    virtual void OnClicked();
    // Drawing into the off-screen picture; CComboBtn and the gallery reuse it.
    virtual void DrawInto(QPainter& p);

    int m_nId;
    QImage m_imgNormal, m_imgHover, m_imgPressed, m_imgDisabled;
    QImage m_imgBkg;
    QImage m_imgIcon;
    int m_nIconX = 0;
    QString m_strCaption;
    int m_nTextX = 0;
    QRect m_rcText;
    int m_nFormat = 0;
    QColor m_clrNr{200, 200, 200}, m_clrOv{255, 255, 255}, m_clrDn{67, 156, 200};
    bool m_bCheckable = false, m_bTicked = false, m_bAutoToggle = false;
    bool m_bHovered = false, m_bPressed = false, m_bPressOffset = false;
    QRegion m_rgnClip;
    bool m_bFrame = false;
};
