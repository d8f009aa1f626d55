#pragma once
// The storage operations' messages and questions in the skinned boxes of the main window.
// An import changes the profile list while it asks; the profile lock it runs under is let go
// while a box is up, so the apply threads never wait for the user.
#include <mutex>

#include "app/profiles/ProfileView.h"
#include "storage/StorageUi.h"

class CSkinnedStorageUi : public IStorageUi {
public:
    // pLock may be null; when it holds the lock it is released around every box.
    CSkinnedStorageUi(IProfileView& view, std::unique_lock<std::mutex>* pLock)
        : m_view(view), m_pLock(pLock) {}
    void Message(const std::string& strText) override;
    bool AskYesNo(const std::string& strText) override;

private:
    template <typename F> auto Unlocked(F f) {
        const bool bHeld = m_pLock && m_pLock->owns_lock();
        if (bHeld)
            m_pLock->unlock();
        auto r = f();
        if (bHeld)
            m_pLock->lock();
        return r;
    }

    IProfileView& m_view;
    std::unique_lock<std::mutex>* m_pLock;
};
