#include "widgets/SkinWidgetFactory.h"

#include "config/GlobalVar.h"
#include "config/Log.h"
#include "platform/FileLookup.h"
#include "platform/MessageBox.h"
#include "widgets/ComboBtn.h"
#include "widgets/PngBtn.h"
#include "widgets/PngSlider.h"
#include "widgets/SkinImage.h"
#include "widgets/UiFont.h"

namespace {
void ApplyCommonStyle(CPngBtn* pBtn) {
    pBtn->SetColors(ColorFromRef(gVar.Btn_txt_clr_nr), ColorFromRef(gVar.Btn_txt_clr_ov),
                    ColorFromRef(gVar.Btn_txt_clr_dn));
    if (const QFont* pFont = GetUiFont())
        pBtn->SetFontOf(*pFont);
    pBtn->SetFrame(gVar.FrameDebug != 0);
}

bool SameSize(const QImage& a, const QImage& b, const QImage& c) {
    return a.size() == b.size() && a.size() == c.size();
}

QImage BackgroundPiece(const QImage* pBkg, const QPoint& ptOffset, const QRect& rcCtrl) {
    if (!pBkg || pBkg->isNull())
        return QImage();
    return CutImagePiece(*pBkg, rcCtrl.translated(ptOffset));
}
} // namespace

CPngBtn* CreatePngBtn(QWidget* pParent, int nId, const QPoint& pt, const std::string& strNr,
                      const std::string& strOv, const std::string& strDn,
                      const PngBtnOptions& opt) {
    const std::string strDir = GetSkinDir(gVar);
    const QImage imgNr = LoadSkinImage(strDir, strNr);
    if (imgNr.width() == 0) {
        LogPrint("Button %d not created: %s%s missing", nId, strDir.c_str(), strNr.c_str());
        return nullptr;
    }
    const QImage imgOv = LoadSkinImage(strDir, strOv);
    const QImage imgDn = LoadSkinImage(strDir, strDn);
    if (!SameSize(imgNr, imgOv, imgDn))
        PlatformMessageBox("", "The size of " + strNr + " is not equal");

    auto* pBtn = new CPngBtn(pParent, nId);
    pBtn->SetImages(imgNr, imgOv, imgDn);
    pBtn->setGeometry(QRect(pt, imgNr.size()));
    ApplyCommonStyle(pBtn);
    pBtn->SetCheckable(opt.bCheckable);
    pBtn->SetPressOffset(opt.bPressOffset);
    if (!opt.strCaption.empty())
        pBtn->SetCaption(opt.strCaption);
    if (gVar.BtnTips && !opt.strTip.empty())
        pBtn->SetToolTipText(opt.strTip);
    pBtn->SetBackground(BackgroundPiece(opt.pBkg, opt.ptBkgOffset, pBtn->geometry()));
    if (!opt.strIcon.empty()) {
        const QImage imgIcon = LoadSkinImage(strDir, opt.strIcon);
        if (!imgIcon.isNull())
            pBtn->SetIcon(imgIcon, opt.nIconX);
    }
    pBtn->show();
    return pBtn;
}

CComboBtn* CreateComboBtn(QWidget* pParent, int nId, const QPoint& pt, const std::string& strNr,
                          const std::string& strOv, const std::string& strDn, const QImage* pBkg,
                          const QPoint& ptBkgOffset, const QRect* pPiece) {
    const std::string strDir = GetSkinDir(gVar);
    QImage imgNr = LoadSkinImage(strDir, strNr);
    if (imgNr.width() == 0) {
        LogPrint("Combo %d not created: %s%s missing", nId, strDir.c_str(), strNr.c_str());
        return nullptr;
    }
    QImage imgOv = LoadSkinImage(strDir, strOv);
    QImage imgDn = LoadSkinImage(strDir, strDn);
    if (!SameSize(imgNr, imgOv, imgDn))
        PlatformMessageBox("", "The size of " + strNr + " is not equal");
    if (pPiece && !pPiece->isEmpty()) {
        imgNr = imgNr.copy(*pPiece);
        imgOv = imgOv.copy(*pPiece);
        imgDn = imgDn.copy(*pPiece);
    }
    auto* pBtn = new CComboBtn(pParent, nId);
    pBtn->SetImages(imgNr, imgOv, imgDn);
    pBtn->setGeometry(QRect(pt, imgNr.size()));
    ApplyCommonStyle(pBtn);
    pBtn->SetShowTips(gVar.BtnTips != 0);
    pBtn->SetBackground(BackgroundPiece(pBkg, ptBkgOffset, pBtn->geometry()));
    pBtn->show();
    return pBtn;
}

CPngBtn* CreatePngBtnFromPieces(QWidget* pParent, int nId, const QImage& imgNr, const QImage& imgOv,
                                const QImage& imgDn, const QRect& rcPiece) {
    if (imgNr.isNull() || rcPiece.isEmpty())
        return nullptr;
    auto* pBtn = new CPngBtn(pParent, nId);
    pBtn->SetImagePieces(imgNr, imgOv, imgDn, rcPiece);
    pBtn->setGeometry(rcPiece);
    ApplyCommonStyle(pBtn);
    pBtn->show();
    return pBtn;
}

CPngSliderBar* CreatePngSlider(QWidget* pParent, const QPoint& pt, const SliderOptions& opt) {
    const std::string strDir = GetSkinDir(gVar);
    const QImage imgThumb = LoadSkinImage(strDir, opt.strThumb);
    if (imgThumb.isNull() || imgThumb.width() == 0) {
        PlatformMessageBox("Error", "Slider img is null");
        return nullptr;
    }
    const std::string strTrackPath = FileLookup::Resolve(strDir, opt.strTrack);
    if (!FileLookup::Exists(strTrackPath)) {
        PlatformMessageBox("Error", "File not exist: " + strTrackPath);
        return nullptr;
    }
    const QImage imgTrack = LoadSkinImage(strDir, opt.strTrack);
    if (imgTrack.isNull()) {
        // Present but undecodable: the same message tells the installer which file to fix.
        PlatformMessageBox("Error", "File not exist: " + strTrackPath);
        return nullptr;
    }
    const QImage imgFill = LoadSkinImage(strDir, opt.strFill);
    auto* pBar = new CPngSliderBar(pParent, opt.nId);
    pBar->setGeometry(QRect(pt, imgTrack.size()));
    pBar->SetTrackImages(imgTrack, imgFill);
    if (!opt.strMark.empty())
        pBar->SetMarkImage(LoadSkinImage(strDir, opt.strMark));
    pBar->SetFrame(gVar.FrameDebug != 0);
    if (opt.pBkg && !opt.pBkg->isNull())
        pBar->SetBackgroundImage(
            CutImagePiece(*opt.pBkg, pBar->geometry().translated(opt.ptBkgOffset)));
    auto* pSlider = new CPngSlider(pBar, imgThumb, opt.nId, opt.bVertical, opt.nMin, opt.nMax);
    pBar->show();
    pSlider->show();
    pSlider->raise();
    return pBar;
}
