#pragma once
// Window messages between the program's windows: one event type carrying (message, wParam,
// lParam), posted with QCoreApplication::postEvent or sent at once with sendEvent.
#include <QEvent>
#include <QPointer>
#include <cstdint>

#include "platform/WndTarget.h"

class QObject;

// Message numbers used by the skinned widgets and their owners.
enum : uint32_t {
    WM_COMMAND_MSG = 0x0111, // a button was clicked or a combo selection made (wParam = id)
    WM_MENUEX_PICK = 1143,   // skinned menu: wParam = item id, lParam = menu kind
    WM_TREE_DBLCLK = 1425,
    WM_TREE_RBUTTONUP = 1426,
    WM_TREE_LBUTTONDOWN = 1428,
    WM_TREE_DELETE = 1429,
    WM_SLIDER_FINAL = 2048,
    WM_SLIDER_DRAG = 2049,
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
