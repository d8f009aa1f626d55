#include "app/dialogs/DrvcfgDlg.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>

#include "app/dialogs/MainWindowSkin.h"
#include "app/dialogs/SoundFileChooser.h"
#include "app/dialogs/SoundPlayer.h"
#include "config/Log.h"
#include "config/Startup.h"
#include "config/TextCatalogue.h"
#include "config/TextEncoding.h"
#include "platform/FileLookup.h"
#include "storage/Profile.h"
#include "storage/WideField.h"
#include "widgets/ComboBtn.h"
#include "widgets/DialogRegistry.h"
#include "widgets/MsgDlg.h"
#include "widgets/PngBtn.h"
#include "widgets/SkinImage.h"
#include "widgets/SkinWidgetFactory.h"
#include "widgets/UiFont.h"
#include "widgets/WndMessage.h"

namespace {
constexpr size_t kMaxListEntries = 10;
constexpr size_t kMaxItemText = 39;
constexpr size_t kMaxPath = 259;

// Windows rectangles (right and bottom exclusive) as Qt rectangles.
QRect WinRect(int l, int t, int r, int b) {
    return QRect(QPoint(l, t), QPoint(r - 1, b - 1));
}

struct Caption {
    const char* pszId;
    QRect rc;
};
const Caption kCapLang{"tc_msg27", WinRect(40, 140, 240, 159)};
const Caption kCapSkin{"tc_msg28", WinRect(40, 215, 240, 234)};
const Caption kCapSound{"tc_msg29", WinRect(40, 49, 240, 68)};
const Caption kCapTick{"tc_msg30", WinRect(59, 99, 259, 118)};

QFont FieldFont() {
    return ShellDlgFont(14, 400);
}

// Word-wrapped, cut with an ellipsis when taller than the rectangle, never clipped.
void DrawWrapped(QPainter& p, const QRect& rc, const QString& str) {
    const QFontMetrics fm = p.fontMetrics();
    QString strShown = str;
    while (strShown.size() > 1 &&
           fm.boundingRect(rc, Qt::TextWordWrap, strShown).height() > rc.height() + fm.height())
        strShown = strShown.left(strShown.size() - 2) + QChar(0x2026);
    p.drawText(rc, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextDontClip, strShown);
}

bool IsFile(const std::string& strPath) {
    return !strPath.empty() && FileLookup::Exists(strPath) && !FileLookup::IsDirectory(strPath);
}
} // namespace

CDrvcfgDlg::CDrvcfgDlg(QWidget* pParent, DrvcfgContext ctx)
    : QDialog(pParent, Qt::Dialog | Qt::FramelessWindowHint), m_ctx(std::move(ctx)) {
    setWindowTitle(QString::fromLatin1(kWindowTitle));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CDrvcfgDlg::~CDrvcfgDlg() {
    DialogRegistry::Unregister(this);
}

CComboBtn* CDrvcfgDlg::MakeList(int nId, const QPoint& pt, const std::vector<SkinEntry>& vEntries) {
    if (vEntries.empty())
        return nullptr;
    CComboBtn* p =
        CreateComboBtn(this, nId, pt, "combo_nr.png", "combo_ov.png", "combo_nr.png", &m_imgBkg);
    if (!p)
        return nullptr;
    p->SetMenuWidth(kMenuWidth);
    p->setFocusPolicy(Qt::NoFocus);
    for (size_t i = 0; i < vEntries.size() && i < kMaxListEntries; ++i) {
        if (vEntries[i].szName.empty())
            break;
        p->AddItem(0, static_cast<uint32_t>(i),
                   TextEncoding::CutToUtf16Units(vEntries[i].szName, kMaxItemText));
    }
    p->show();
    return p;
}

bool CDrvcfgDlg::Build() {
    if (m_bBuilt)
        return !m_bBroken;
    m_bBuilt = true;
    // The dialog's background belongs to the installation, whatever skin is chosen; its
    // controls come from the current skin.
    const std::string strDir = FileLookup::Resolve(gVar.szProgramDir, "skins") + "/";
    m_imgBkg = LoadSkinImage(strDir, "pickfundlg.png");
    if (m_imgBkg.width() == 0) {
        LogPrint("CDrvcfgDlg: pickfundlg.png missing in %s, dialog closed", strDir.c_str());
        m_bBroken = true;
        return false;
    }
    const int W = m_imgBkg.width(), H = m_imgBkg.height();
    setFixedSize(W, H);
    QRect rcParent;
    if (QWidget* pParent = parentWidget())
        rcParent = QRect(pParent->mapToGlobal(QPoint(0, 0)), pParent->size());
    QSize szScreen(1920, 1080);
    if (QScreen* pScreen = QGuiApplication::primaryScreen())
        szScreen = pScreen->geometry().size();
    move(CMsgDlg::PlaceBox(QSize(W, H), rcParent, szScreen));

    m_pLang = MakeList(ID_LANG, QPoint(40, 161), gVar.Langs);
    m_pSkin = MakeList(ID_SKIN, QPoint(40, 236), gVar.Skins);

    m_pField = new QLineEdit(this);
    m_pField->setObjectName(QString::number(kSoundFieldId));
    m_pField->setGeometry(WinRect(40, 70, 390, 90));
    m_pField->setFont(FieldFont());
    m_pField->setFrame(true);
    m_pField->setMaxLength(static_cast<int>(kMaxPath));
    m_pField->setStyleSheet(
        QStringLiteral("QLineEdit { color: rgb(200, 200, 200); background: black; }"));

    PngBtnOptions opt;
    opt.pBkg = &m_imgBkg;
    m_pBrowse = CreatePngBtn(this, ID_BROWSE, QPoint(400, 70), "dot_nr.png", "dot_ov.png",
                             "dot_nr.png", opt);
    PngBtnOptions optTick = opt;
    optTick.bCheckable = true;
    m_pTick = CreatePngBtn(this, ID_TICK, QPoint(40, 100), "check_nr.png", "check_ov.png",
                           "check_dn.png", optTick);
    m_pClose = CreatePngBtn(this, ID_CLOSE, QPoint(W - 36, 10), "exit_nr.png", "exit_ov.png",
                            "exit_ov.png", opt);
    PngBtnOptions optOk = opt;
    optOk.strCaption = Txt("tc_ok");
    m_pOk = CreatePngBtn(this, ID_OK, QPoint(W - 122, H - 42), "button3_nr.png", "button3_ov.png",
                         "button3_nr.png", optOk);
    PngBtnOptions optCancel = opt;
    optCancel.strCaption = Txt("tc_cancel");
    m_pCancel = CreatePngBtn(this, ID_CANCEL, QPoint(W - 122, H - 42), "button3_nr.png",
                             "button3_ov.png", "button3_nr.png", optCancel);
    if (m_pCancel)
        m_pCancel->hide();
    for (CPngBtn* p : {m_pBrowse, m_pTick, m_pClose, m_pOk})
        if (p)
            p->setFocusPolicy(Qt::NoFocus);
    if (m_pBrowse)
        connect(m_pBrowse, &CPngBtn::clicked, this, [this] { OnBrowse(); });
    if (m_pTick)
        connect(m_pTick, &CPngBtn::clicked, this, [this] { OnTick(); });
    if (m_pClose)
        connect(m_pClose, &CPngBtn::clicked, this, [this] { OnClose(); });
    if (m_pOk)
        connect(m_pOk, &CPngBtn::clicked, this, [this] { OnOk(); });

    if (m_ctx.pProfile) {
        m_pField->setText(
            QString::fromStdString(GetWideField(m_ctx.pProfile->szSound, PROFILE_SOUND_LEN)));
        if (m_pTick)
            m_pTick->SetTicked(gVar.nPlaySound != 0);
    }
    if (m_pLang)
        m_pLang->SelectByValue(static_cast<uint32_t>(gVar.nLangIndex));
    if (m_pSkin)
        m_pSkin->SelectByValue(static_cast<uint32_t>(gVar.nSkinsIndex));

    installEventFilter(this);
    for (QWidget* p : findChildren<QWidget*>())
        p->installEventFilter(this);
    DialogRegistry::Register(kWindowTitle, this);
    return true;
}

int CDrvcfgDlg::Run() {
    if (!Build())
        return QDialog::Rejected;
    return exec();
}

void CDrvcfgDlg::showEvent(QShowEvent* pEvent) {
    if (!Build())
        QMetaObject::invokeMethod(
            this, [this] { done(QDialog::Rejected); }, Qt::QueuedConnection);
    QDialog::showEvent(pEvent);
}

void CDrvcfgDlg::done(int r) {
    DialogRegistry::Unregister(this);
    QDialog::done(r);
}

std::vector<std::string> CDrvcfgDlg::ShownCaptions() const {
    std::vector<std::string> v;
    if (m_pLang && !m_pLang->isHidden())
        v.push_back(kCapLang.pszId);
    if (m_pSkin && !m_pSkin->isHidden())
        v.push_back(kCapSkin.pszId);
    v.push_back(kCapSound.pszId);
    v.push_back(kCapTick.pszId);
    return v;
}

void CDrvcfgDlg::paintEvent(QPaintEvent*) {
    // Background and captions into one off-screen picture, copied at once.
    QImage img(size(), QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::black);
    {
        QPainter p(&img);
        if (!m_imgBkg.isNull())
            p.drawImage(rect(), m_imgBkg);
        p.setFont(FieldFont());
        p.setPen(ColorFromRef(gVar.Txt_clr));
        for (const std::string& strId : ShownCaptions()) {
            for (const Caption* pCap : {&kCapLang, &kCapSkin, &kCapSound, &kCapTick})
                if (strId == pCap->pszId)
                    DrawWrapped(p, pCap->rc, QString::fromStdString(Txt(pCap->pszId)));
        }
    }
    QPainter p(this);
    p.drawImage(0, 0, img);
}

bool CDrvcfgDlg::event(QEvent* pEvent) {
    const QEvent::Type t = pEvent->type();
    if (t == QEvent::WhatsThis || t == QEvent::EnterWhatsThisMode)
        return true; // the help request is swallowed
    if (t == CWndMessageEvent::EventType()) {
        auto* pMsg = static_cast<CWndMessageEvent*>(pEvent);
        // The lists report a choice as a command message; the buttons use their signal.
        if (pMsg->m_nMsg == WM_COMMAND_MSG) {
            if (pMsg->m_wParam == ID_LANG)
                OnLangChosen();
            else if (pMsg->m_wParam == ID_SKIN)
                OnSkinChosen();
        }
        return true;
    }
    return QDialog::event(pEvent);
}

bool CDrvcfgDlg::IsSwallowedKey(QObject* pWatched, int nKey) const {
    switch (nKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_F1:
        return true;
    case Qt::Key_Space:
        // A path typed into the sound field may hold blanks.
        return pWatched != m_pField;
    default:
        return false;
    }
}

bool CDrvcfgDlg::eventFilter(QObject* pWatched, QEvent* pEvent) {
    const QEvent::Type t = pEvent->type();
    if ((t == QEvent::KeyPress || t == QEvent::KeyRelease) &&
        IsSwallowedKey(pWatched, static_cast<QKeyEvent*>(pEvent)->key()))
        return true;
    return QDialog::eventFilter(pWatched, pEvent);
}

void CDrvcfgDlg::keyPressEvent(QKeyEvent* pEvent) {
    // Only the buttons end the dialog: QDialog would end it on Escape and Enter.
    pEvent->accept();
}

void CDrvcfgDlg::mousePressEvent(QMouseEvent* pEvent) {
    if (pEvent->button() == Qt::LeftButton) {
        m_bDragging = true;
        m_ptDrag = pEvent->globalPosition().toPoint() - frameGeometry().topLeft();
    }
}

void CDrvcfgDlg::mouseMoveEvent(QMouseEvent* pEvent) {
    if (m_bDragging)
        move(pEvent->globalPosition().toPoint() - m_ptDrag);
}

void CDrvcfgDlg::mouseReleaseEvent(QMouseEvent*) {
    m_bDragging = false;
}

void CDrvcfgDlg::OnLangChosen() {
    if (!m_pLang || m_pLang->SelectedPos() < 0)
        return;
    gVar.nLangIndex = static_cast<int>(m_pLang->SelectedValue());
    const std::string strPath = TextCataloguePath(gVar);
    if (!g_Text.Load(strPath))
        LogPrint("CDrvcfgDlg: text catalogue %s not read", strPath.c_str());
    if (m_pOk)
        m_pOk->SetCaption(Txt("tc_ok"));
    if (m_pCancel)
        m_pCancel->SetCaption(Txt("tc_cancel"));
    update();
    if (m_ctx.pMain)
        m_ctx.pMain->RetextAll();
}

void CDrvcfgDlg::OnSkinChosen() {
    if (!m_pSkin || m_pSkin->SelectedPos() < 0)
        return;
    gVar.nSkinsIndex = static_cast<int>(m_pSkin->SelectedValue());
    if (m_ctx.pMain)
        m_ctx.pMain->ReloadSkin();
}

void CDrvcfgDlg::OnBrowse() {
    CQtSoundFileChooser qtChooser;
    ISoundFileChooser* pChooser = m_ctx.pChooser ? m_ctx.pChooser : &qtChooser;
    std::optional<std::string> strFile = pChooser->Choose(this);
    if (!strFile || strFile->empty() || !m_pField)
        return;
    m_pField->setText(QString::fromStdString(*strFile));
    if (m_pTick)
        m_pTick->SetTicked(true);
}

std::string CDrvcfgDlg::FieldPath() const {
    if (!m_pField)
        return std::string();
    return TextEncoding::CutToUtf16Units(m_pField->text().toStdString(), kMaxPath);
}

void CDrvcfgDlg::OnTick() {
    if (!m_pTick || !m_ctx.pSound)
        return;
    if (m_pTick->IsTicked()) {
        const std::string strPath = FieldPath();
        if (IsFile(strPath))
            m_ctx.pSound->PlayLooping(strPath);
    } else {
        m_ctx.pSound->Stop();
    }
}

void CDrvcfgDlg::WriteLangIni(const char* pszKey, int nValue) {
    const std::string strPath = gVar.szUserDataDir + "lang.ini";
    if (!WriteIniValue(strPath, "OPT", pszKey, std::to_string(nValue)))
        LogPrint("CDrvcfgDlg: %s not written to %s", pszKey, strPath.c_str());
}

void CDrvcfgDlg::OnOk() {
    if (Profile* pPro = m_ctx.pProfile) {
        const std::string strPath = FieldPath();
        if (!strPath.empty()) {
            if (!IsFile(strPath)) {
                if (m_ctx.fnInfo)
                    m_ctx.fnInfo(this, kInvalidPathText);
                else
                    MsgInfo(this, kInvalidPathText);
                return; // the dialog stays open so the path can be corrected
            }
            std::unique_lock<std::mutex> lock;
            if (m_ctx.pProfileLock)
                lock = std::unique_lock<std::mutex>(*m_ctx.pProfileLock);
            SetWideField(pPro->szSound, PROFILE_SOUND_LEN, strPath);
        }
        WriteLangIni("LangIndex", gVar.nLangIndex);
        WriteLangIni("SkinsIndex", gVar.nSkinsIndex);
        const int nTicked = m_pTick && m_pTick->IsTicked() ? 1 : 0;
        if (nTicked != gVar.nPlaySound) {
            gVar.nPlaySound = nTicked;
            WriteLangIni("PlaySound", nTicked);
        }
    }
    done(QDialog::Accepted);
}

void CDrvcfgDlg::OnClose() {
    done(QDialog::Rejected);
}
