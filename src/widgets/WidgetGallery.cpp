#include "widgets/WidgetGallery.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <cstring>
#include <memory>

#include "config/GlobalVar.h"
#include "config/Startup.h"
#include "config/TextCatalogue.h"
#include "platform/FileLookup.h"
#include "widgets/ComboBtn.h"
#include "widgets/MsgDlg.h"
#include "widgets/PngBtn.h"
#include "widgets/PngSlider.h"
#include "widgets/SkinImage.h"
#include "widgets/SkinWidgetFactory.h"
#include "widgets/SliderGeometry.h"
#include "widgets/TreeCtrlEx.h"
#include "widgets/TreeCtrlImageEx.h"
#include "widgets/UiFont.h"
#include "widgets/WndMessage.h"
#include "widgets/menuex/MenuEx.h"
#include "widgets/menuex/MenuExWnd.h"

namespace {
constexpr int kPaneX = 35;
constexpr int kGalleryW = 1070, kGalleryH = 890;
enum : int { ID_SLIDER = 3001, ID_DPI = 3002, ID_STEP = 3003 };

struct Caption {
    QRect rc;
    QString str;
    bool bHeading;
};

// The skin's main window background with the controls on it.
class CGalleryPane : public QWidget {
public:
    explicit CGalleryPane(QWidget* pParent) : QWidget(pParent) {
        m_imgBkg = LoadSkinFile("main_nr.png");
        resize(m_imgBkg.isNull() ? QSize(1000, 650) : m_imgBkg.size());
    }
    const QImage* Background() const { return &m_imgBkg; }
    void Heading(int x, int y, const char* psz) {
        m_vCaptions.push_back({QRect(x, y, 300, 18), psz, true});
    }
    void Label(int x, int y, int w, const QString& str) {
        m_vCaptions.push_back({QRect(x, y, w, 14), str, false});
    }
    QString m_strSlider, m_strDpi;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        if (!m_imgBkg.isNull())
            p.drawImage(0, 0, m_imgBkg);
        else
            p.fillRect(rect(), QColor(0x14, 0x16, 0x1B));
        QFont fontTitle = UiFontOr(font());
        fontTitle.setPixelSize(15);
        fontTitle.setBold(true);
        p.setFont(fontTitle);
        p.setPen(ColorFromRef(gVar.Txt_clr));
        p.drawText(QRect(16, 0, 600, 36), Qt::AlignVCenter, QStringLiteral("Widget gallery"));
        QFont fontHead = UiFontOr(font());
        fontHead.setPixelSize(13);
        fontHead.setBold(true);
        QFont fontLabel = UiFontOr(font());
        fontLabel.setPixelSize(11);
        for (const Caption& c : m_vCaptions) {
            p.setFont(c.bHeading ? fontHead : fontLabel);
            p.setPen(c.bHeading ? ColorFromRef(gVar.Btn_txt_clr_dn)
                                : ColorFromRef(gVar.Txt_clr).darker(125));
            p.drawText(c.rc, Qt::AlignLeft | Qt::AlignVCenter, c.str);
        }
        p.setFont(fontHead);
        p.setPen(ColorFromRef(gVar.Txt_clr));
        p.drawText(QRect(580, 316, 120, 34), Qt::AlignLeft | Qt::AlignVCenter, m_strSlider);
        p.drawText(QRect(580, 366, 120, 34), Qt::AlignLeft | Qt::AlignVCenter, m_strDpi);
    }
    bool event(QEvent* pEvent) override {
        if (pEvent->type() == CWndMessageEvent::EventType()) {
            auto* pMsg = static_cast<CWndMessageEvent*>(pEvent);
            if (pMsg->m_nMsg == WM_SLIDER_DRAG || pMsg->m_nMsg == WM_SLIDER_FINAL) {
                const int nValue = static_cast<int>(pMsg->m_wParam);
                if (pMsg->m_lParam == ID_DPI)
                    m_strDpi = QString::number(nValue) + " DPI";
                else if (pMsg->m_lParam == ID_SLIDER)
                    m_strSlider = QString::number(nValue);
                update();
            }
            return true;
        }
        return QWidget::event(pEvent);
    }

private:
    QImage m_imgBkg;
    std::vector<Caption> m_vCaptions;
};

const char* const kStates[4] = {"normal", "hover", "pressed", "disabled"};

void AddButtons(CGalleryPane* pPane) {
    PngBtnOptions opt;
    opt.pBkg = pPane->Background();
    opt.strCaption = "Apply";
    pPane->Heading(36, 56, "Push buttons");
    for (int i = 0; i < 4; ++i) {
        const QPoint pt(36 + (i % 2) * 128, 80 + (i / 2) * 56);
        CPngBtn* p = CreatePngBtn(pPane, 100 + i, pt, "button_nr.png", "button_ov.png",
                                  "button_dn.png", opt);
        if (!p)
            continue;
        p->ShowHovered(i == 1);
        p->ShowPressed(i == 2);
        p->setEnabled(i != 3);
        pPane->Label(pt.x(), pt.y() + 32, 104, kStates[i]);
    }

    pPane->Heading(36, 196, "Tick boxes and radio buttons");
    const char* const kTick[5] = {"off", "hover", "on", "off, dis.", "on, dis."};
    for (int nRow = 0; nRow < 2; ++nRow) {
        const char* pszBase = nRow == 0 ? "Check" : "radio";
        for (int i = 0; i < 5; ++i) {
            const QPoint pt(40 + i * 56, 222 + nRow * 44);
            PngBtnOptions o;
            o.pBkg = pPane->Background();
            o.bCheckable = true;
            CPngBtn* p =
                CreatePngBtn(pPane, 200 + nRow * 10 + i, pt, std::string(pszBase) + "_nr.png",
                             std::string(pszBase) + "_ov.png", std::string(pszBase) + "_dn.png", o);
            if (!p)
                continue;
            p->ShowHovered(i == 1);
            p->SetTicked(i == 2 || i == 4);
            p->setEnabled(i < 3);
            if (nRow == 0)
                pPane->Label(pt.x() - 4, pt.y() + 19, 56, kTick[i]);
        }
    }

    pPane->Heading(36, 314, "Icon, press offset, frame flag");
    PngBtnOptions o;
    o.pBkg = pPane->Background();
    o.strCaption = "Macros";
    o.strIcon = "tree_item.png";
    o.nIconX = 12;
    o.bPressOffset = true;
    if (CPngBtn* p = CreatePngBtn(pPane, 300, QPoint(36, 336), "button2_nr.png", "button2_ov.png",
                                  "button2_dn.png", o))
        p->SetCaption("Macros", 36);
    if (CPngBtn* p = CreatePngBtn(pPane, 301, QPoint(184, 336), "button2_nr.png", "button2_ov.png",
                                  "button2_dn.png", o)) {
        p->SetCaption("Macros", 36);
        p->ShowPressed(true);
    }
    pPane->Label(36, 370, 140, "icon, caption at x 36");
    pPane->Label(184, 370, 140, "pressed: moved 1 px");
    o = PngBtnOptions();
    o.pBkg = pPane->Background();
    o.strCaption = "Frame flag";
    if (CPngBtn* p = CreatePngBtn(pPane, 302, QPoint(36, 388), "button_nr.png", "button_ov.png",
                                  "button_dn.png", o))
        p->SetFrame(true);
}

void AddCombos(CGalleryPane* pPane, CComboBtn*& pMenuCombo) {
    pPane->Heading(345, 56, "Drop-down buttons");
    const int kValues[5] = {400, 800, 1600, 3200, 6400};
    for (int i = 0; i < 4; ++i) {
        const QPoint pt(345 + (i % 2) * 180, 80 + (i / 2) * 56);
        CComboBtn* p = CreateComboBtn(pPane, 400 + i, pt, "combo_nr.png", "combo_ov.png",
                                      "combo_dn.png", pPane->Background());
        if (!p)
            continue;
        p->SetCaption("", 12);
        for (int v : kValues)
            p->AddItem(0, static_cast<uint32_t>(v), std::to_string(v) + " DPI");
        if (i != 3)
            p->SelectByValue(static_cast<uint32_t>(kValues[1 + i]));
        p->ShowHovered(i == 1);
        p->ShowPressed(i == 2);
        pPane->Label(pt.x(), pt.y() + 30, 150, i == 3 ? QString("nothing selected") : kStates[i]);
        if (i == 2)
            pMenuCombo = p;
    }
}

void AddSliders(CGalleryPane* pPane) {
    pPane->Heading(345, 296, "Sliders: steps with marks, value list");
    SliderOptions opt;
    opt.strThumb = "thumb_nr.png";
    opt.strMark = "mark.png";
    opt.nMin = 0;
    opt.nMax = 10;
    opt.nId = ID_SLIDER;
    opt.pBkg = pPane->Background();
    if (CPngSliderBar* pBar = CreatePngSlider(pPane, QPoint(350, 325), opt)) {
        CPngSlider* pSlider = pBar->Slider();
        pSlider->SetScalePositions(EvenMarkPositions(pBar->width(), pSlider->width(), 11));
        pSlider->SetValue(6, false);
        pPane->m_strSlider = QString::number(pSlider->Value());
    }
    SliderOptions dpi;
    dpi.strTrack = "mouse/dpi-bar.png";
    dpi.strFill = "mouse/dpi-bar-ov.png";
    dpi.strThumb = "mouse/dpi-thumb.png";
    dpi.nMin = 0;
    dpi.nMax = 7;
    dpi.nId = ID_DPI;
    dpi.pBkg = pPane->Background();
    if (CPngSliderBar* pBar = CreatePngSlider(pPane, QPoint(350, 375), dpi)) {
        CPngSlider* pSlider = pBar->Slider();
        pSlider->SetValueList({400, 800, 1200, 1600, 2000, 2400, 3200, 4000});
        pSlider->SetValue(1600, false);
        pPane->m_strDpi = QString::number(pSlider->Value()) + " DPI";
    }
}

void AddTrees(CGalleryPane* pPane) {
    pPane->Heading(745, 56, "Tree");
    auto* pTree = new CTreeCtrlEx(pPane, 500);
    const QRect rc(745, 78, 225, 330);
    pTree->Create(rc, pPane->Background(), rc, "folder_open.png", "folder_close.png", GetUiFont());
    pTree->m_clrSelText = gVar.LstBox_txt_clr_dn;
    pTree->m_clrText = gVar.LstBox_txt_clr_nr;
    pTree->m_clrSelFill = 0xFF1D5F8A;
    pTree->m_clrHotFill = 0x40FFFFFF;
    pTree->m_bHoverHighlight = true;
    pTree->m_clrFrame = 0x4C403A;
    QFont font = UiFontOr(pTree->font());
    font.setPixelSize(13);
    pTree->m_fontNormal = font;
    font.setBold(true);
    pTree->m_fontSel = font;
    static QImage s_imgItem = LoadSkinFile("tree_item.png");
    const QImage* pItem = s_imgItem.isNull() ? nullptr : &s_imgItem;
    HTREEITEM hGames = pTree->AddChild(true, TVI_ROOT, false, nullptr, false, "Games", 1);
    pTree->AddChild(false, hGames, false, pItem, false, "Rapid fire", 11);
    HTREEITEM hSel = pTree->AddChild(false, hGames, true, pItem, false, "Build and jump", 12);
    pTree->AddChild(false, hGames, false, pItem, false, "A macro whose name is long", 13);
    HTREEITEM hSub = pTree->AddChild(true, hGames, false, nullptr, false, "Strategy", 14);
    pTree->AddChild(false, hSub, false, pItem, false, "Group select", 141);
    pTree->Expand(hSub, TreeExpand::Expand);
    HTREEITEM hOffice = pTree->AddChild(true, TVI_ROOT, false, nullptr, false, "Office", 2);
    pTree->AddChild(false, hOffice, false, pItem, false, "Copy line", 21);
    pTree->AddChild(false, TVI_ROOT, false, pItem, false, "Screenshot", 3);
    pTree->AddChild(false, TVI_ROOT, false, nullptr, false, "Plain row", 4);
    pTree->SelectItem(hSel);
    // Show the hover fill on the fourth row, as the pointer would.
    const QPoint ptHot(60, pTree->RowHeight() * 3 + 5);
    QMouseEvent ev(QEvent::MouseMove, ptHot, pTree->viewport()->mapToGlobal(ptHot), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(pTree->viewport(), &ev);

    pPane->Heading(36, 446, "Picture list");
    auto* pPics = new CTreeCtrlImageEx(pPane, 501);
    const QRect rcPics(36, 468, 300, 150);
    pPics->Create(rcPics, pPane->Background(), rcPics, "", "", GetUiFont());
    pPics->SetRowHeight(36);
    pPics->m_nImageAlign = 1;
    pPics->m_rcCaption = QRect(QPoint(130, 0), QPoint(290, 35));
    pPics->m_clrSelFill = 0xFF3DA5E8;
    pPics->m_clrText = gVar.LstBox_txt_clr_nr;
    pPics->m_clrSelText = gVar.LstBox_txt_clr_dn;
    pPics->m_fontNormal = font;
    pPics->m_fontSel = font;
    pPics->m_clrFrame = 0x4C403A;
    static QImage s_imgNr = LoadSkinFile("button_nr.png"), s_imgOv = LoadSkinFile("button_dn.png");
    HTREEITEM hFirst = nullptr;
    for (int i = 0; i < 4; ++i) {
        HTREEITEM h = pPics->AddPictureItem(TVI_ROOT, &s_imgNr, &s_imgOv,
                                            "Preset " + std::to_string(i + 1), 600 + i);
        if (i == 1)
            hFirst = h;
    }
    pPics->SelectItem(hFirst);
}

void AddMessageBoxes(QWidget* pGallery) {
    auto embed = [pGallery](CMsgDlg* pDlg, int x) {
        if (!pDlg->Build()) {
            delete pDlg;
            return;
        }
        pDlg->setWindowFlags(Qt::Widget);
        pDlg->setParent(pGallery);
        pDlg->move(x, 660);
        pDlg->show();
    };
    embed(new CMsgDlg(nullptr, CMsgDlg::MODE_INFO,
                      "The settings were written to the device. This box tells the user "
                      "something and has one button."),
          10);
    auto* pKey = new CMsgDlg(nullptr, CMsgDlg::MODE_KEY, "Press the key for this button:");
    pKey->SetTickBox(true);
    embed(pKey, 540);
    if (pKey->parent() == pGallery) {
        pKey->TickBox(1)->SetTicked(true);
        pKey->TickBox(2)->SetTicked(true);
        pKey->TickBox(3)->ShowHovered(true);
        CKeyCapture::ResetMemory();
        pKey->HandleKey(0x74, false, false); // F5
        pKey->HandleKey(0x74, true, false);
        pKey->OkButton()->ShowHovered(true);
    }
}

class CGallery : public QWidget {
public:
    CGallery() {
        setWindowTitle(QStringLiteral("Velkin widget gallery"));
        setFixedSize(kGalleryW, kGalleryH);
        setAutoFillBackground(true);
        QPalette pal = palette();
        pal.setColor(QPalette::Window, QColor(0x0E, 0x10, 0x13));
        setPalette(pal);
        m_pPane = new CGalleryPane(this);
        m_pPane->move(kPaneX, 0);
        AddButtons(m_pPane);
        AddCombos(m_pPane, m_pMenuCombo);
        AddSliders(m_pPane);
        AddTrees(m_pPane);
        AddMessageBoxes(this);
    }
    CComboBtn* MenuCombo() const { return m_pMenuCombo; }

private:
    CGalleryPane* m_pPane = nullptr;
    CComboBtn* m_pMenuCombo = nullptr;
};

void EnsureConfiguration() {
    if (!gVar.szProgramDir.empty())
        return;
    LoadConfiguration(DefaultStartupDirs(), gVar, MacroLimits);
    if (!GetUiFont())
        SetUiFont(ShellDlgFont(gVar.FontSize > 0 ? gVar.FontSize : 14, 400));
}
} // namespace

QWidget* CreateWidgetGallery() {
    return new CGallery();
}

QImage GrabWidgetGallery(QWidget* pGallery) {
    QImage img = pGallery->grab().toImage();
    auto* pGal = dynamic_cast<CGallery*>(pGallery);
    if (!pGal || !pGal->MenuCombo())
        return img;
    pGal->MenuCombo()->OpenMenu();
    QApplication::processEvents();
    if (CMenuExWnd* pMenu = MenuExCurrent()) {
        // The menu is a pop-up of its own; paint it where it lies over the gallery.
        if (pMenu->ItemCount() > 1) {
            const QPoint ptHover = pMenu->ItemRect(1).center();
            QMouseEvent ev(QEvent::MouseMove, ptHover, pMenu->mapToGlobal(ptHover), Qt::NoButton,
                           Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(pMenu, &ev);
        }
        const QImage imgMenu = pMenu->grab().toImage();
        const QPoint pt = pMenu->pos() - pGallery->mapToGlobal(QPoint(0, 0));
        QPainter p(&img);
        p.drawImage(pt, imgMenu);
        DestroyMenuEx();
    }
    return img;
}

int RunWidgetGallery(int argc, char** argv) {
    std::unique_ptr<QApplication> pApp;
    if (!QApplication::instance())
        pApp = std::make_unique<QApplication>(argc, argv);
    EnsureConfiguration();
    const char* pszGrab = nullptr;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--grab") == 0)
            pszGrab = argv[i + 1];
    std::unique_ptr<QWidget> pGallery(CreateWidgetGallery());
    if (pszGrab) {
        pGallery->show();
        QApplication::processEvents();
        const bool bOk = GrabWidgetGallery(pGallery.get()).save(QString::fromLocal8Bit(pszGrab));
        return bOk ? 0 : 1;
    }
    pGallery->show();
    return QApplication::exec();
}
