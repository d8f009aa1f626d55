#include "app/profiles/SkinnedStorageUi.h"

void CSkinnedStorageUi::Message(const std::string& strText) {
    Unlocked([&] {
        m_view.Message(strText);
        return 0;
    });
}

bool CSkinnedStorageUi::AskYesNo(const std::string& strText) {
    return Unlocked([&] { return m_view.Confirm(strText); });
}
