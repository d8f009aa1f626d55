// Apply and reset from the window: the session's checks and requests, with the progress
// window up while the family's apply thread writes.
#include "app/profiles/ProfileOps.h"
#include "app/profiles/ProfileOpsInternal.h"

namespace {
// How long apply waits for its worker to end the request once the progress window closed.
constexpr int kSettleMs = 500;
} // namespace

void CProfileOps::Apply() {
    if (m_session.CheckGunKeys(*m_pUi) != EApplyRefusal::None)
        return;
    CBusy busy(m_view);
    const int nFamily = m_view.SelectedFamily();
    if (m_session.CheckConnected(nFamily, *m_pUi) == EApplyRefusal::NotConnected)
        return;
    {
        auto lock = m_session.LockProfile();
        m_view.StorePanels(nFamily);
    }
    CApplyThread* pThread = m_session.Apply(nFamily);
    const int nHandled = pThread ? pThread->Handled() : 0;
    IProgressSink* pSink = m_view.NewProgressSink();
    if (m_session.RequestFullApply(nFamily, pSink)) {
        m_view.RunProgress(pSink);
        // The worker closes the progress window and then ends the request a moment later;
        // give it that moment so the mode read below comes after the apply's own SetMode.
        pThread->WaitHandled(nHandled + 1, kSettleMs);
    }
    busy.End();
    // What the apply has to tell (a failure, the encoders' warnings) is told now, once.
    m_session.DeliverApplyOutcomes();
    if (nFamily == FAMILY_MOUSE)
        m_session.ReadBackMode();
    m_session.Save();
}

void CProfileOps::Reset() {
    CBusy busy(m_view);
    const int nFamily = m_view.SelectedFamily();
    bool bDone = false;
    const bool bWant = m_session.ResetFamily(nFamily, *m_pUi, bDone);
    if (!bDone)
        return;
    RefreshModes();

    bool bWoken = false;
    IProgressSink* pSink = m_view.NewProgressSink();
    switch (nFamily) {
    case FAMILY_MOUSE: {
        m_view.ReloadPanels(RELOAD_ALL);
        if (bWant)
            bWoken = m_session.RequestFullApply(nFamily, pSink);
        m_view.SetResolutionLevel(m_session.DpiLevel(0));
        break;
    }
    case FAMILY_KEYBOARD:
        m_view.ReloadPanels(RELOAD_KEYBOARD);
        if (bWant)
            bWoken = m_session.RequestFullApply(nFamily, pSink);
        break;
    case FAMILY_PAD:
        m_view.ReloadPanels(RELOAD_PAD);
        if (bWant)
            bWoken = m_session.RequestFullApply(nFamily, pSink);
        break;
    default:
        break;
    }

    if (m_session.ConfiguredFamilies().size() > 1 && nFamily != FAMILY_MOUSE)
        m_view.SwitchFamily(nFamily);
    if (bWoken) {
        m_view.RunProgress(pSink);
        m_session.DeliverApplyOutcomes();
        m_session.Save();
    }
}
