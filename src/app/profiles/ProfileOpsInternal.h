#pragma once
// What the profile operation files share.
#include <string>

#include "app/profiles/ProfileOps.h"
#include "app/profiles/ProfileView.h"
#include "session/SessionUi.h"
#include "storage/Profile.h"
#include "storage/WideField.h"

// Sets the busy flag of the selected family's picture for one operation and clears it on
// every way out.
struct CProfileOps::CBusy {
    explicit CBusy(IProfileView& view) : m_view(view) { m_view.SetBusy(true); }
    ~CBusy() { End(); }
    CBusy(const CBusy&) = delete;
    CBusy& operator=(const CBusy&) = delete;
    void End() {
        if (m_bOn)
            m_view.SetBusy(false);
        m_bOn = false;
    }
    IProfileView& m_view;
    bool m_bOn = true;
};

// The session's questions and messages in the window's skinned boxes.
class CProfileOps::CViewUi : public ISessionUi {
public:
    explicit CViewUi(IProfileView& view) : m_view(view) {}
    void Message(const std::string& strText) override { m_view.Message(strText); }
    bool AskYesNo(const std::string& strText) override { return m_view.Confirm(strText); }
    bool Input(const std::string& strPrompt, std::string& strOut) override {
        return m_view.Input(strPrompt, strOut);
    }

private:
    IProfileView& m_view;
};

inline std::string ProfileName(const Profile& p) {
    return GetWideField(p.szName, PROFILE_NAME_LEN);
}
inline std::string ProfileSound(const Profile& p) {
    return GetWideField(p.szSound, PROFILE_SOUND_LEN);
}
