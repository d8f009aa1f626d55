#include "widgets/WndMessage.h"

#include <QCoreApplication>

QEvent::Type CWndMessageEvent::EventType() {
    static const QEvent::Type s_type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return s_type;
}

void PostWndMessage(QObject* pTarget, uint32_t nMsg, uintptr_t wParam, intptr_t lParam) {
    if (!pTarget)
        return;
    QCoreApplication::postEvent(pTarget, new CWndMessageEvent(nMsg, wParam, lParam));
}

bool SendWndMessage(QObject* pTarget, uint32_t nMsg, uintptr_t wParam, intptr_t lParam) {
    if (!pTarget)
        return false;
    CWndMessageEvent ev(nMsg, wParam, lParam);
    return QCoreApplication::sendEvent(pTarget, &ev);
}

void CQtWndTarget::PostMessage(uint32_t nMsg, uintptr_t wParam, intptr_t lParam) {
    // QPointer is not thread-safe to dereference from a worker thread while the object dies,
    // but postEvent to a deleted object is the real hazard; owners destroy the target only
    // after the threads that post to it have been joined.
    PostWndMessage(m_pTarget.data(), nMsg, wParam, lParam);
}
