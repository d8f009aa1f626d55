#include "widgets/MsgDlg.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QTextLayout>
#include <climits>

#include "config/GlobalVar.h"
#include "config/KeyNames.h"
#include "config/Log.h"
#include "config/TextCatalogue.h"
#include "platform/FileLookup.h"
#include "widgets/DialogRegistry.h"
#include "widgets/PngBtn.h"
#include "widgets/QtKeyToVk.h"
#include "widgets/SkinImage.h"
#include "widgets/SkinWidgetFactory.h"
#include "widgets/UiFont.h"

namespace {
enum : int { ID_CLOSE = 1001, ID_OK = 1, ID_CANCEL = 2, ID_TICK0 = 1010, ID_HINT = 1020 };
constexpr int kVkEnter = 13, kVkEsc = 27, kVkSpace = 32, kVkF1 = 0x70;
constexpr int kTickLeft0 = 2, kTickStep = 67, kTickTop = 134, kTickSize = 17;
const char* const kTickNames[4] = {"Shift", "Ctrl", "Alt", "Win"};
// Bits the tick boxes add to the modifier byte, in box order Shift, Ctrl, Alt, Win.
constexpr uint8_t kTickBits[4] = {MOD_LSHIFT, MOD_LCTRL, MOD_LALT, MOD_LWIN};

// Every ASCII punctuation mark except - ^ _ ` ~, and the fullwidth ! and yen sign: names
// become file and folder names on every system the files travel to.
bool IsForbiddenNameChar(char16_t c) {
    return (c >= 0x21 && c <= 0x2C) || c == 0x2E || c == 0x2F || (c >= 0x3A && c <= 0x40) ||
           (c >= 0x5B && c <= 0x5D) || (c >= 0x7B && c <= 0x7D) || c == 0xFF01 || c == 0xFFE5;
}

// Word-wrapped text cut with an ellipsis when it is taller than the rectangle.
void DrawWrapped(QPainter& p, const QRect& rc, const QString& str) {
    const QFontMetrics fm = p.fontMetrics();
    QString strShown = str;
    while (strShown.size() > 1 &&
           fm.boundingRect(rc, Qt::TextWordWrap, strShown).height() > rc.height() + fm.height())
        strShown = strShown.left(strShown.size() - 2) + QChar(0x2026);
    p.drawText(rc, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextDontClip, strShown);
}
} // namespace

CMsgDlg::CMsgDlg(QWidget* pParent, int nMode, const std::string& strMessage)
    : QDialog(pParent, Qt::Dialog | Qt::FramelessWindowHint), m_nMode(nMode),
      m_strMessage(QString::fromStdString(strMessage)) {
    setWindowTitle(QString::fromLatin1(kWindowTitle));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CMsgDlg::~CMsgDlg() {
    DialogRegistry::Unregister(this);
}

CPngBtn* CMsgDlg::MakeButton(int nId, const QPoint& pt, const char* pszNr, const char* pszOv,
                             const char* pszDn, bool bCheckable) {
    PngBtnOptions opt;
    opt.bCheckable = bCheckable;
    opt.pBkg = &m_imgBkg;
    CPngBtn* p = CreatePngBtn(this, nId, pt, pszNr, pszOv, pszDn, opt);
    if (p)
        p->setFocusPolicy(Qt::NoFocus);
    return p;
}

bool CMsgDlg::Build() {
    if (m_bBuilt)
        return !m_bBroken;
    m_bBuilt = true;
    // The box's own images live in the installation's "skins" folder, whatever skin is
    // chosen; the buttons come from the current skin.
    const std::string strBoxDir = FileLookup::Resolve(gVar.szProgramDir, "skins") + "/";
    m_imgBkg = LoadSkinImage(strBoxDir, "msg_nr.png");
    if (m_imgBkg.width() == 0) {
        LogPrint("CMsgDlg: msg_nr.png missing in %s, box closed", strBoxDir.c_str());
        m_bBroken = true;
        return false;
    }
    m_imgIcon = LoadSkinImage(strBoxDir, "msgico.png");
    if (m_imgIcon.width() == 0)
        m_imgIcon = QImage();

    const int W = m_imgBkg.width(), H = m_imgBkg.height();
    setFixedSize(W, H);
    QRect rcParent;
    if (QWidget* pParent = parentWidget())
        rcParent = QRect(pParent->mapToGlobal(QPoint(0, 0)), pParent->size());
    QSize szScreen(1920, 1080);
    if (QScreen* pScreen = QGuiApplication::primaryScreen())
        szScreen = pScreen->geometry().size();
    move(PlaceBox(QSize(W, H), rcParent, szScreen));

    m_pClose = MakeButton(ID_CLOSE, QPoint(W - 36, 10), "exit_nr.png", "exit_ov.png", "exit_ov.png",
                          false);
    const QPoint ptCancel(W - 142, H - 42), ptOk(W - 244, H - 42);
    m_pOk = MakeButton(ID_OK, m_nMode == MODE_INFO ? ptCancel : ptOk, "button3_nr.png",
                       "button3_ov.png", "button3_nr.png", false);
    m_pCancel = MakeButton(ID_CANCEL, ptCancel, "button3_nr.png", "button3_ov.png",
                           "button3_nr.png", false);
    if (m_pOk) {
        m_pOk->SetCaption(Txt("tc_ok"));
        connect(m_pOk, &CPngBtn::clicked, this, [this] { OnOk(); });
    }
    if (m_pCancel) {
        m_pCancel->SetCaption(Txt("tc_cancel"));
        connect(m_pCancel, &CPngBtn::clicked, this, [this] { OnCancel(); });
        if (m_nMode == MODE_INFO)
            m_pCancel->hide();
    }
    if (m_pClose)
        connect(m_pClose, &CPngBtn::clicked, this, [this] { OnCancel(); });

    if (m_nMode == MODE_TEXT || m_nMode == MODE_NUMBER || m_nMode == MODE_KEY) {
        const int E = (W - 400) / 2;
        m_pEdit = new QLineEdit(this);
        m_pEdit->setObjectName(QString::number(kInputId));
        m_pEdit->setGeometry(QRect(QPoint(E, 95), QPoint(E + 400 - 1, 119 - 1)));
        m_pEdit->setFont(ShellDlgFont(16, 600));
        m_pEdit->setFrame(true);
        if (m_nMode == MODE_NUMBER)
            m_pEdit->setValidator(new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral("[0-9]*")), m_pEdit));
        if (m_nMode == MODE_KEY) {
            m_pEdit->setReadOnly(true);
            m_pCapture = std::make_unique<CKeyCapture>(m_bSingleKey, m_bTickBox, gVar.KbType);
            for (int i = 0; i < 4; ++i) {
                CPngBtn* p =
                    MakeButton(ID_TICK0 + i, QPoint(E + kTickLeft0 + i * kTickStep, kTickTop),
                               "Check_nr.png", "Check_nr.png", "Check_dn.png", true);
                if (p) {
                    p->resize(kTickSize, kTickSize);
                    p->setVisible(m_bTickBox);
                }
                m_aTicks[static_cast<size_t>(i)] = p;
            }
        }
        if (m_nMode == MODE_TEXT)
            connect(m_pEdit, &QLineEdit::textEdited, this, [this] { OnTextEdited(); });
        // The hint is a caption-only skinned button: it shows the skin under it and red text.
        m_pHint = new CPngBtn(this, ID_HINT);
        m_pHint->setGeometry(QRect(QPoint(E, 149), QPoint(E + 120 - 1, 164 - 1)));
        m_pHint->SetBackground(CutImagePiece(m_imgBkg, m_pHint->geometry()));
        m_pHint->SetColors(Qt::red, Qt::red, Qt::red);
        m_pHint->SetFontOf(UiFontOr(font()));
        m_pHint->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_pHint->SetCaption("", 1);
        m_pEdit->setFocus();
    }
    WatchKeys(this);
    for (QWidget* p : findChildren<QWidget*>())
        WatchKeys(p);
    DialogRegistry::Register(kWindowTitle, this);
    return true;
}

void CMsgDlg::WatchKeys(QWidget* p) {
    p->installEventFilter(this);
}

QPoint CMsgDlg::PlaceBox(const QSize& szBox, const QRect& rcParent, const QSize& szScreen) {
    const int W = szBox.width(), H = szBox.height();
    int nLeft = rcParent.left() + (rcParent.width() - W) / 2;
    int nTop = rcParent.top() + (rcParent.height() - H) / 2;
    if (rcParent.isNull() || nLeft < 0 || nLeft > szScreen.width() || nTop < 0 ||
        nTop > szScreen.height()) {
        nLeft = szScreen.width() - W < 2 ? 10 : (szScreen.width() - W) / 2;
        nTop = szScreen.height() - H < 2 ? 10 : (szScreen.height() - H) / 2;
    }
    return QPoint(nLeft, nTop);
}

int CMsgDlg::Run() {
    if (!Build()) {
        m_nEndCode = MSG_IDCANCEL;
        return m_nEndCode;
    }
    exec();
    return m_nEndCode;
}

void CMsgDlg::showEvent(QShowEvent* pEvent) {
    if (!Build()) {
        // No background: the box ends as cancelled without ever being seen.
        QMetaObject::invokeMethod(
            this, [this] { done(QDialog::Rejected); }, Qt::QueuedConnection);
    }
    QDialog::showEvent(pEvent);
}

void CMsgDlg::done(int r) {
    m_nEndCode = r == QDialog::Accepted ? MSG_IDOK : MSG_IDCANCEL;
    DialogRegistry::Unregister(this);
    QDialog::done(r);
}

std::string CMsgDlg::HintText() const {
    return m_pHint ? m_pHint->Caption() : std::string();
}

void CMsgDlg::OnOk() {
    switch (m_nMode) {
    case MODE_TEXT:
        m_strResult = m_pEdit ? m_pEdit->text().toStdString() : std::string();
        if (m_strResult.empty())
            done(QDialog::Rejected);
        else
            done(QDialog::Accepted);
        return;
    case MODE_NUMBER: {
        // Digits only, but possibly more than an int holds: saturate instead of wrapping.
        bool bOk = false;
        const qlonglong n = m_pEdit ? m_pEdit->text().toLongLong(&bOk) : 0;
        m_nResult = !bOk ? (m_pEdit && !m_pEdit->text().isEmpty() ? INT_MAX : 0)
                         : static_cast<int>(std::min<qlonglong>(n, INT_MAX));
        done(QDialog::Accepted);
        return;
    }
    case MODE_KEY:
        if (m_bTickBox)
            for (size_t i = 0; i < m_aTicks.size(); ++i)
                if (m_aTicks[i] && m_aTicks[i]->IsTicked())
                    m_byMod |= kTickBits[i];
        done(QDialog::Accepted);
        return;
    default:
        done(QDialog::Accepted);
        return;
    }
}

void CMsgDlg::OnCancel() {
    m_nResult = 0;
    done(QDialog::Rejected);
}

void CMsgDlg::OnTextEdited() {
    if (!m_pEdit)
        return;
    const QString str = m_pEdit->text();
    const qsizetype nScan = std::min<qsizetype>(str.size(), 49);
    for (qsizetype i = 0; i < nScan; ++i) {
        if (IsForbiddenNameChar(str.at(i).unicode())) {
            m_pEdit->setText(str.left(i));
            m_pEdit->end(false);
            if (m_pHint)
                m_pHint->SetCaption(Txt("tc_tips2"), 1);
            return;
        }
    }
    if (m_pHint)
        m_pHint->SetCaption("", 1);
}

void CMsgDlg::ShowCapture() {
    if (!m_pCapture)
        return;
    m_byMod = m_pCapture->m_byMod;
    m_byKey1 = m_pCapture->m_byKey1;
    m_byKey2 = m_pCapture->m_byKey2;
    if (m_pEdit)
        m_pEdit->setText(QString::fromStdString(GetLongComboName(m_byMod, m_byKey1, m_byKey2)));
}

bool CMsgDlg::HandleKey(int nVk, bool bUp, bool bAutoRepeat) {
    if (m_nMode == MODE_KEY) {
        // Every key goes to the capture, Enter, Esc and Space included. Repeats of a held key
        // are the platform's, not the user's.
        if (!bAutoRepeat && m_pCapture && m_pCapture->OnKey(nVk, bUp))
            ShowCapture();
        return true;
    }
    if (nVk == kVkEnter || nVk == VK_KEYPAD_ENTER) {
        if (!bUp && !bAutoRepeat)
            OnOk();
        return true;
    }
    return nVk == kVkEsc || nVk == kVkSpace || nVk == kVkF1;
}

bool CMsgDlg::eventFilter(QObject* pWatched, QEvent* pEvent) {
    const QEvent::Type t = pEvent->type();
    if (t == QEvent::KeyPress || t == QEvent::KeyRelease) {
        auto* pKey = static_cast<QKeyEvent*>(pEvent);
        if (HandleKey(QtKeyToVk(*pKey), t == QEvent::KeyRelease, pKey->isAutoRepeat()))
            return true;
    } else if (t == QEvent::ShortcutOverride && m_nMode == MODE_KEY) {
        pEvent->accept(); // no shortcut may take a key from the capture
        return true;
    }
    return QDialog::eventFilter(pWatched, pEvent);
}

bool CMsgDlg::event(QEvent* pEvent) {
    if (pEvent->type() == QEvent::WhatsThis || pEvent->type() == QEvent::EnterWhatsThisMode)
        return true; // the help request is swallowed
    return QDialog::event(pEvent);
}

void CMsgDlg::keyPressEvent(QKeyEvent* pEvent) {
    // QDialog would close on Esc and press the default button on Enter; both are handled
    // by the key rules above.
    pEvent->accept();
}

void CMsgDlg::paintEvent(QPaintEvent*) {
    QImage img(size(), QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::black);
    {
        QPainter p(&img);
        if (!m_imgBkg.isNull())
            p.drawImage(rect(), m_imgBkg);
        if (m_nMode == MODE_INFO && !m_imgIcon.isNull())
            p.drawImage(45, 85, m_imgIcon);
    }
    QPainter p(this);
    p.drawImage(0, 0, img);
    p.setFont(UiFontOr(font()));
    if (!m_strMessage.isEmpty()) {
        p.setPen(ColorFromRef(gVar.Txt_clr));
        const QRect rc = (m_nMode == MODE_INFO || m_nMode == MODE_QUESTION)
                             ? QRect(QPoint(100, 90), QPoint(470 - 1, 120 - 1))
                             : QRect(QPoint(65, 70), QPoint(465 - 1, 90 - 1));
        DrawWrapped(p, rc, m_strMessage);
    }
    if (m_nMode == MODE_KEY && m_bTickBox) {
        p.setPen(ColorFromRef(gVar.Txt_clr));
        for (size_t i = 0; i < m_aTicks.size(); ++i) {
            const CPngBtn* pBox = m_aTicks[i];
            if (!pBox)
                continue;
            const QRect rcBox = pBox->geometry();
            const QRect rc(QPoint(rcBox.right() + 1 + 5, rcBox.top()),
                           QPoint(rcBox.right() + 50, rcBox.bottom()));
            p.drawText(rc, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                       QString::fromLatin1(kTickNames[i]));
        }
    }
}

void CMsgDlg::mousePressEvent(QMouseEvent* pEvent) {
    if (pEvent->button() == Qt::LeftButton) {
        // The whole background acts as the caption: dragging it moves the box.
        m_bDragging = true;
        m_ptDrag = pEvent->globalPosition().toPoint() - frameGeometry().topLeft();
    }
}

void CMsgDlg::mouseMoveEvent(QMouseEvent* pEvent) {
    if (m_bDragging)
        move(pEvent->globalPosition().toPoint() - m_ptDrag);
}

void CMsgDlg::mouseReleaseEvent(QMouseEvent*) {
    m_bDragging = false;
}

int MsgInfo(QWidget* pParent, const std::string& strText) {
    CMsgDlg dlg(pParent, CMsgDlg::MODE_INFO, strText);
    return dlg.Run();
}

bool MsgQuestion(QWidget* pParent, const std::string& strText) {
    CMsgDlg dlg(pParent, CMsgDlg::MODE_QUESTION, strText);
    return dlg.Run() == MSG_IDOK;
}

bool MsgTextInput(QWidget* pParent, const std::string& strPrompt, std::string& strOut) {
    CMsgDlg dlg(pParent, CMsgDlg::MODE_TEXT, strPrompt);
    if (dlg.Run() != MSG_IDOK || dlg.m_strResult.empty())
        return false;
    QString str = QString::fromStdString(dlg.m_strResult);
    qsizetype n = std::min<qsizetype>(str.size(), 259);
    if (n > 0 && n < str.size() && str.at(n - 1).isHighSurrogate())
        --n;
    strOut = str.left(n).toStdString();
    return true;
}
