#include "app/dialogs/ProgressChannel.h"

#include "app/dialogs/ProgressDlg.h"

CProgressChannel::CProgressChannel() = default;

CProgressChannel::~CProgressChannel() = default;

IProgressSink* CProgressChannel::NewSink() {
    m_vSinks.push_back(std::make_unique<CSink>(m_context));
    return m_vSinks.back().get();
}

bool CProgressChannel::Attach(IProgressSink* pSink, CProgressDlg& dlg) {
    auto* p = dynamic_cast<CSink*>(pSink);
    if (!p)
        return true; // not one of ours: the dialog runs until its user closes it
    CState& st = *p->State();
    if (st.bClosed)
        return false;
    st.pDlg = &dlg;
    if (st.bHasPos)
        dlg.OnProgressMessage(uint32_t(st.nMsg), st.wPos, 0);
    return true;
}

void CProgressChannel::CSink::PostMessage(uint32_t nMsg, uintptr_t wParam, intptr_t lParam) {
    QMetaObject::invokeMethod(
        &m_context,
        [pState = m_pState, nMsg, wParam, lParam] {
            pState->nMsg = int(nMsg);
            pState->wPos = wParam;
            pState->bHasPos = true;
            if (CProgressDlg* pDlg = pState->pDlg.data())
                pDlg->OnProgressMessage(nMsg, wParam, lParam);
        },
        Qt::QueuedConnection);
}

void CProgressChannel::CSink::Close() {
    QMetaObject::invokeMethod(
        &m_context,
        [pState = m_pState] {
            pState->bClosed = true;
            if (CProgressDlg* pDlg = pState->pDlg.data())
                pDlg->OnCloseRequest();
        },
        Qt::QueuedConnection);
}
