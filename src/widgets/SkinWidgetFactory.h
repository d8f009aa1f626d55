#pragma once
// The creation functions every panel uses: skinned buttons, drop-down buttons and sliders
// from image files of the current skin, with the colours, font and switches of gVar.
#include <QImage>
#include <QPoint>
#include <QRect>
#include <string>

class QWidget;
class CPngBtn;
class CComboBtn;
class CPngSliderBar;

struct PngBtnOptions {
    std::string strCaption;
    bool bCheckable = false;
    std::string strTip;           // shown only when [OPT] BtnTips is set
    const QImage* pBkg = nullptr; // the parent's background image
    QPoint ptBkgOffset;           // where the parent's client area lies in that image
    bool bPressOffset = false;
    std::string strIcon; // icon file in the skin directory
    int nIconX = 0;
};

// A button at pt with the size of the normal image. Null when the normal image does not
// load; three images of unequal size are reported ("The size of %s is not equal") but the
// button is still made.
CPngBtn* CreatePngBtn(QWidget* pParent, int nId, const QPoint& pt, const std::string& strNr,
                      const std::string& strOv, const std::string& strDn,
                      const PngBtnOptions& opt = {});

// A drop-down button; pPiece selects the part of the three images shown (whole images when
// null) and the button takes its size.
CComboBtn* CreateComboBtn(QWidget* pParent, int nId, const QPoint& pt, const std::string& strNr,
                          const std::string& strOv, const std::string& strDn,
                          const QImage* pBkg = nullptr, const QPoint& ptBkgOffset = {},
                          const QRect* pPiece = nullptr);

// A button showing the same piece of three loaded images (key marks on device pictures),
// placed at the piece's own position.
CPngBtn* CreatePngBtnFromPieces(QWidget* pParent, int nId, const QImage& imgNr, const QImage& imgOv,
                                const QImage& imgDn, const QRect& rcPiece);

struct SliderOptions {
    std::string strTrack = "bar.png";
    std::string strFill = "bar_ov.png";
    std::string strThumb;
    std::string strMark; // optional
    int nMin = 0, nMax = 10;
    int nId = 0;
    bool bVertical = false;
    const QImage* pBkg = nullptr; // parent's background, for the track's own background
    QPoint ptBkgOffset;
};

// A track at pt with the size of the track image and its thumb. Null (with the message box
// of the failure) when the thumb image or the track file is missing.
CPngSliderBar* CreatePngSlider(QWidget* pParent, const QPoint& pt, const SliderOptions& opt);
