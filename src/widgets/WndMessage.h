#pragma once
// Window messages between the program's windows: one event type carrying (message, wParam,
// lParam), posted with QCoreApplication::postEvent or sent at once with sendEvent.
#include <QEvent>
#include <QPointer>
#include <cstdint>

#include "platform/WndMessageIds.h"
#include "platform/WndTarget.h"

class QObject;

// The command message of buttons and combo boxes; the numbers other parts of the program
// share are in platform/WndMessageIds.h.
enum : uint32_t {
    WM_COMMAND_MSG = 0x0111, // a button was clicked or a combo selection made (wParam = id)
};

class CWndMessageEvent : public QEvent {
public:
    CWndMessageEvent(uint32_t nMsg, uintptr_t wParam, intptr_t lParam)
        : QEvent(EventType()), m_nMsg(nMsg), m_wParam(wParam), m_lParam(lParam) {}
    static QEvent::Type EventType();

    uint32_t m_nMsg;
    uintptr_t m_wParam;
    intptr_t m_lParam;
};

// Queues the message for the target's event loop; a null target drops it.
void PostWndMessage(QObject* pTarget, uint32_t nMsg, uintptr_t wParam, intptr_t lParam);
// Delivers the message at once; returns whether the target accepted the event.
bool SendWndMessage(QObject* pTarget, uint32_t nMsg, uintptr_t wParam, intptr_t lParam);

// Lets core code (apply threads, listeners) post to a window without knowing Qt. Posting is
// safe from any thread; a target that is gone swallows the message.
class CQtWndTarget : public CWndTarget {
public:
    explicit CQtWndTarget(QObject* pTarget) : m_pTarget(pTarget) {}
    void PostMessage(uint32_t nMsg, uintptr_t wParam, intptr_t lParam) override;
    QObject* Target() const { return m_pTarget.data(); }

private:
    QPointer<QObject> m_pTarget;
};
