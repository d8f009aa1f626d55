#include "app/dialogs/ProgressDlg.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <utility>

#include "app/dialogs/ProgressFinder.h"
#include "config/GlobalVar.h"
#include "config/Log.h"
#include "config/TextCatalogue.h"
#include "device/models/ProgressSink.h"
#include "platform/FileLookup.h"
#include "platform/MessageBox.h"
#include "widgets/DialogRegistry.h"
#include "widgets/PngBtn.h"
#include "widgets/SkinImage.h"
#include "widgets/SkinWidgetFactory.h"
#include "widgets/UiFont.h"

namespace {
enum : int { ID_CLOSE = 1001 };

bool IsIgnoredKey(int nKey) {
    return nKey == Qt::Key_Return || nKey == Qt::Key_Enter || nKey == Qt::Key_Escape ||
           nKey == Qt::Key_Space;
}
} // namespace

CProgressDlg::CProgressDlg(QWidget* pParent, CProgressFinder* pFinder,
                           const std::string& strImageDir)
    : QDialog(pParent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_pFinder(pFinder), m_pLink(std::make_shared<CProgressLink>()) {
    m_pLink->pDlg = this;
    setWindowTitle(QString::fromLatin1(kWindowTitle));
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The progress images belong to the installation, not to the chosen skin.
    const std::string strDir =
        strImageDir.empty() ? FileLookup::Resolve(gVar.szProgramDir, "skins") + "/" : strImageDir;
    m_imgNr = LoadSkinImage(strDir, "progress_nr.png");
    m_imgOv = LoadSkinImage(strDir, "progress_ov.png");
    if (m_imgNr.width() == 0 || m_imgOv.width() == 0) {
        LogPrint("CProgressDlg: progress images missing in %s", strDir.c_str());
        m_bBroken = true;
        resize(1, 1);
        return;
    }
    setFixedSize(m_imgNr.size());

    PngBtnOptions opt;
    opt.pBkg = &m_imgNr;
    m_pClose = CreatePngBtn(this, ID_CLOSE, CloseRect().topLeft(), "exit_nr.png", "exit_ov.png",
                            "exit_ov.png", opt);
    if (m_pClose) {
        m_pClose->setGeometry(CloseRect());
        m_pClose->SetBackground(CutImagePiece(m_imgNr, CloseRect()));
        m_pClose->setFocusPolicy(Qt::NoFocus);
        m_pClose->installEventFilter(this);
        // Only the window goes: the apply thread finishes on its own and its later
        // messages find no window.
        connect(m_pClose, &CPngBtn::clicked, this, [this] { done(QDialog::Rejected); });
    }
}

CProgressDlg::~CProgressDlg() {
    Withdraw();
    DialogRegistry::Unregister(this);
}

void CProgressDlg::SetRange(int nMin, int nMax) {
    if (nMax < nMin)
        std::swap(nMin, nMax);
    m_nMin = nMin;
    m_nMax = nMax;
    SetPos(m_nPos);
}

void CProgressDlg::SetPos(int64_t nPos) {
    m_nPos = (nPos >= m_nMin && nPos <= m_nMax) ? static_cast<int>(nPos) : m_nMin;
    if (isVisible())
        repaint();
    emit PositionChanged(m_nPos);
}

int CProgressDlg::FilledWidth() const {
    if (m_nMax <= m_nMin)
        return 0;
    const int64_t nWidth = BarRect().width();
    return static_cast<int>(nWidth * (m_nPos - m_nMin) / (int64_t(m_nMax) - m_nMin));
}

void CProgressDlg::OnProgressMessage(uint32_t nMsg, uintptr_t wParam, intptr_t) {
    if (nMsg != APPLY_PROGRESS_MSG)
        return;
    // Anything beyond an int is outside the range and shows the minimum.
    SetPos(wParam > uintptr_t(INT64_MAX) ? int64_t(-1) : int64_t(wParam));
}

void CProgressDlg::OnCloseRequest() {
    if (isVisible())
        done(QDialog::Accepted);
}

void CProgressDlg::PlaceOverParent() {
    QRect rcOver;
    if (QWidget* pParent = parentWidget())
        rcOver = QRect(pParent->mapToGlobal(QPoint(0, 0)), pParent->size());
    else if (QScreen* pScreen = QGuiApplication::primaryScreen())
        rcOver = pScreen->geometry();
    if (!rcOver.isNull())
        move(rcOver.left() + (rcOver.width() - width()) / 2,
             rcOver.top() + (rcOver.height() - height()) / 2);
}

void CProgressDlg::showEvent(QShowEvent* pEvent) {
    QDialog::showEvent(pEvent);
    if (m_bBroken) {
        if (!m_bReported) {
            m_bReported = true;
            PlatformMessageBox("Error", kSkinLossText);
        }
        QMetaObject::invokeMethod(
            this, [this] { done(QDialog::Rejected); }, Qt::QueuedConnection);
        return;
    }
    PlaceOverParent();
    DialogRegistry::Register(kWindowTitle, this);
    if (m_pFinder)
        m_pFinder->Publish(m_pLink);
}

void CProgressDlg::hideEvent(QHideEvent* pEvent) {
    Withdraw();
    QDialog::hideEvent(pEvent);
}

void CProgressDlg::done(int r) {
    Withdraw();
    DialogRegistry::Unregister(this);
    QDialog::done(r);
}

void CProgressDlg::Withdraw() {
    if (m_pFinder)
        m_pFinder->Withdraw(m_pLink);
}

void CProgressDlg::keyPressEvent(QKeyEvent* pEvent) {
    // QDialog would end on Escape and press a default button on Enter.
    if (IsIgnoredKey(pEvent->key())) {
        pEvent->accept();
        return;
    }
    QDialog::keyPressEvent(pEvent);
}

bool CProgressDlg::eventFilter(QObject* pWatched, QEvent* pEvent) {
    const QEvent::Type t = pEvent->type();
    if ((t == QEvent::KeyPress || t == QEvent::KeyRelease) &&
        IsIgnoredKey(static_cast<QKeyEvent*>(pEvent)->key()))
        return true;
    return QDialog::eventFilter(pWatched, pEvent);
}

void CProgressDlg::paintEvent(QPaintEvent*) {
    // Off-screen first, then one copy: the bar never flickers while positions arrive.
    QImage img(size(), QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::black);
    {
        QPainter p(&img);
        if (!m_imgNr.isNull())
            p.drawImage(0, 0, m_imgNr);
        const int nFill = FilledWidth();
        if (nFill > 0 && !m_imgOv.isNull()) {
            const QRect rcFill(BarRect().topLeft(), QSize(nFill, BarRect().height()));
            p.drawImage(rcFill.topLeft(), m_imgOv, rcFill);
        }
        const QString str = QString::fromStdString(Txt("tc_msg12"));
        if (!str.isEmpty()) {
            p.setFont(UiFontOr(font()));
            p.setPen(ColorFromRef(gVar.Txt_clr));
            p.drawText(TextRect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                       p.fontMetrics().elidedText(str, Qt::ElideRight, TextRect().width()));
        }
    }
    QPainter p(this);
    p.drawImage(0, 0, img);
}

void CProgressDlg::mousePressEvent(QMouseEvent* pEvent) {
    if (pEvent->button() == Qt::LeftButton) {
        m_bDragging = true;
        m_ptDrag = pEvent->globalPosition().toPoint() - frameGeometry().topLeft();
    }
}

void CProgressDlg::mouseMoveEvent(QMouseEvent* pEvent) {
    if (m_bDragging)
        move(pEvent->globalPosition().toPoint() - m_ptDrag);
}

void CProgressDlg::mouseReleaseEvent(QMouseEvent*) {
    m_bDragging = false;
}
