#pragma once
// A skin of solid-colour images in a temporary installation, a parent window that records
// the window messages it gets, and helpers to send mouse and key events.
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "config/GlobalVar.h"
#include "platform/MessageBox.h"
#include "support/TestDirs.h"
#include "widgets/WndMessage.h"

struct RecordedMsg {
    uint32_t nMsg;
    uintptr_t wParam;
    intptr_t lParam;
    bool operator==(const RecordedMsg& o) const {
        return nMsg == o.nMsg && wParam == o.wParam && lParam == o.lParam;
    }
};
inline std::ostream& operator<<(std::ostream& os, const RecordedMsg& m) {
    return os << "{" << m.nMsg << ", " << m.wParam << ", " << m.lParam << "}";
}

class CRecorderWnd : public QWidget {
public:
    std::vector<RecordedMsg> m_vMsgs;
    // Delivers posted messages and returns those of one number.
    std::vector<RecordedMsg> Take(uint32_t nMsg) {
        QCoreApplication::sendPostedEvents();
        std::vector<RecordedMsg> v;
        for (const auto& m : m_vMsgs)
            if (m.nMsg == nMsg)
                v.push_back(m);
        return v;
    }
    void Clear() {
        QCoreApplication::sendPostedEvents();
        m_vMsgs.clear();
    }

protected:
    bool event(QEvent* pEvent) override {
        if (pEvent->type() == CWndMessageEvent::EventType()) {
            auto* p = static_cast<CWndMessageEvent*>(pEvent);
            m_vMsgs.push_back({p->m_nMsg, p->m_wParam, p->m_lParam});
            return true;
        }
        return QWidget::event(pEvent);
    }
};

// State colours of the test skin: every image is one colour, so a pixel tells the state.
inline const QColor kClrNr(10, 20, 30), kClrOv(40, 50, 60), kClrDn(70, 80, 90);

class CWidgetTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_saved = gVar;
        gVar = CGlobalVar();
        gVar.szProgramDir = m_dir.Path();
        gVar.Btn_txt_clr_nr = 0xC8C8C8;
        gVar.Btn_txt_clr_ov = 0xFFFFFF;
        gVar.Btn_txt_clr_dn = 0xC89C43;
        gVar.Txt_clr = 0xC8C8C8;
        SetMessageBoxSink(&m_sink);
        m_pParent = new CRecorderWnd();
        m_pParent->resize(800, 600);
    }
    void TearDown() override {
        delete m_pParent;
        SetMessageBoxSink(nullptr);
        gVar = m_saved;
    }
    // Writes a solid image into the skin directory (program dir + "skins/").
    void Image(const std::string& strName, QSize sz, const QColor& clr) {
        QImage img(sz, QImage::Format_ARGB32);
        img.fill(clr);
        const std::string strPath = m_dir.Path() + "skins/" + strName;
        m_dir.Write("skins/" + strName, "");
        ASSERT_TRUE(img.save(QString::fromStdString(strPath), "PNG")) << strPath;
    }
    void ButtonImages(const std::string& strBase, QSize sz) {
        Image(strBase + "_nr.png", sz, kClrNr);
        Image(strBase + "_ov.png", sz, kClrOv);
        Image(strBase + "_dn.png", sz, kClrDn);
    }
    std::vector<std::string> Boxes() const {
        std::vector<std::string> v;
        for (const auto& e : m_sink.m_vEntries)
            v.push_back(e.strTitle + "|" + e.strText);
        return v;
    }

    CTempDir m_dir;
    CGlobalVar m_saved;
    CCollectingMessageSink m_sink;
    CRecorderWnd* m_pParent = nullptr;
};

inline void SendMouse(QWidget* p, QEvent::Type t, QPoint pt, Qt::MouseButton btn = Qt::LeftButton) {
    const Qt::MouseButtons btns = (t == QEvent::MouseButtonPress ||
                                   t == QEvent::MouseButtonDblClick || t == QEvent::MouseMove)
                                      ? Qt::MouseButtons(btn)
                                      : Qt::MouseButtons(Qt::NoButton);
    QMouseEvent ev(t, QPointF(pt), QPointF(p->mapToGlobal(pt)),
                   t == QEvent::MouseMove ? Qt::NoButton : btn, btns, Qt::NoModifier);
    QApplication::sendEvent(p, &ev);
}
inline void Click(QWidget* p, QPoint pt, Qt::MouseButton btn = Qt::LeftButton) {
    SendMouse(p, QEvent::MouseButtonPress, pt, btn);
    SendMouse(p, QEvent::MouseButtonRelease, pt, btn);
}
inline void SendKey(QWidget* p, QEvent::Type t, int nKey,
                    Qt::KeyboardModifiers mods = Qt::NoModifier, quint32 nScan = 0,
                    bool bRepeat = false, const QString& strText = QString()) {
    QKeyEvent ev(t, nKey, mods, nScan, 0, 0, strText, bRepeat);
    QApplication::sendEvent(p, &ev);
}
// The colour of one pixel of what a widget paints.
inline QColor PixelOf(QWidget* p, QPoint pt) {
    return p->grab().toImage().pixelColor(pt);
}
