#pragma once
// The skinned slider: a track window (CPngSliderBar) and a draggable thumb (CPngSlider) that
// sits on the track's parent above it. Both post their values to the track's parent:
// 2049 while the thumb is dragged, 2048 for the final value (wParam value, lParam slider id).
#include <QColor>
#include <QImage>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <vector>

class CPngSliderBar;

class CPngSlider : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMaxList = 250;

    CPngSlider(CPngSliderBar* pBar, const QImage& imgThumb, int nId, bool bVertical, int nMin,
               int nMax);

    int Id() const { return m_nId; }
    bool IsVertical() const { return m_bVertical; }
    int Min() const { return m_nMin; }
    int Max() const { return m_nMax; }
    void SetRange(int nMin, int nMax);
    // The value (the list entry with a value list). With a value list the value is looked up
    // there and an absent value changes nothing; else it is clamped to the range.
    void SetValue(int nValue, bool bNotify);
    // The list entry (with a value list) or the value; 0 when outside the range or the list.
    int Value() const;
    // Position in the range (the list index with a value list).
    int Pos() const { return m_nPos; }
    void SetValueList(const std::vector<int>& vValues);
    const std::vector<int>& ValueList() const { return m_vList; }
    // One pixel position per step; a count that differs from the range is reported.
    void SetScalePositions(const std::vector<int>& vScale);
    const std::vector<int>& ScalePositions() const { return m_vScale; }
    void SetDragEnabled(bool b) { m_bDrag = b; }
    bool IsDragEnabled() const { return m_bDrag; }

    // Geometry along the track (pixels from the track's start).
    int StepPos(int nStep) const;
    int StepAt(int nPixel) const;
    int TrackLength() const;
    // Moves the thumb so its centre lies on this track pixel (kept inside the track).
    void PlaceAt(int nPixel);
    int CenterPixel() const;
    // Places the thumb over its current step (after the track moved or resized).
    void Reposition();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

private:
    friend class CPngSliderBar;
    int ReportedValue(int nPos) const;
    void SetPos(int nPos, bool bNotify);
    void Post(uint32_t nMsg, int nValue);

    QPointer<CPngSliderBar> m_pBar;
    QImage m_imgThumb;
    int m_nId;
    bool m_bVertical;
    int m_nMin, m_nMax;
    int m_nPos = 0;
    std::vector<int> m_vList;
    std::vector<int> m_vScale;
    bool m_bDrag = true;
    bool m_bDragging = false;
    QPoint m_ptLast;
    int m_nLastPosted = INT32_MIN;
};

class CPngSliderBar : public QWidget {
    Q_OBJECT
public:
    CPngSliderBar(QWidget* pParent, int nId);

    void SetBackgroundImage(const QImage& img) {
        m_imgBkg = img;
        update();
    }
    void SetBackgroundColor(const QColor& clr) {
        m_clrBkg = clr;
        update();
    }
    void SetTrackImages(const QImage& imgTrack, const QImage& imgFill);
    void SetMarkImage(const QImage& img, int nMarkOffset = 0);
    void SetFrame(bool b) {
        m_bFrame = b;
        update();
    }
    void SetNoClickMessage(bool b) { m_bNoClickMsg = b; }
    void SetFillPos(int nPixel);
    int FillPos() const { return m_nFill; }
    int Id() const { return m_nId; }
    CPngSlider* Slider() const { return m_pSlider.data(); }
    void AttachSlider(CPngSlider* pSlider) { m_pSlider = pSlider; }
    // Evenly spaced marks for the slider's steps (the mark image's size, or the thumb's when
    // there is no mark image); reports "Scale num too much" when they do not fit.
    bool SpreadMarks();

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void moveEvent(QMoveEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    QImage m_imgBkg, m_imgTrack, m_imgFill, m_imgMark;
    QColor m_clrBkg;
    int m_nMarkOffset = 0;
    int m_nFill = 0;
    bool m_bFrame = false;
    bool m_bNoClickMsg = false;
    int m_nId;
    QPointer<CPngSlider> m_pSlider;
};
