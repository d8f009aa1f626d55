#pragma once
// What the profile operation files share.
#include <string>

#include "app/profiles/ProfileView.h"
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

inline std::string ProfileName(const Profile& p) {
    return GetWideField(p.szName, PROFILE_NAME_LEN);
}
inline std::string ProfileSound(const Profile& p) {
    return GetWideField(p.szSound, PROFILE_SOUND_LEN);
}
