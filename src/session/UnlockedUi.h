#pragma once
// A user interface that lets go of a held lock while it talks to the user. An import
// changes the profile list under the profile lock and may ask questions meanwhile; the
// apply threads never wait for the user's answer.
#include <mutex>
#include <string>

#include "session/SessionUi.h"

class CUnlockedUi : public ISessionUi {
public:
    CUnlockedUi(ISessionUi& ui, std::unique_lock<std::mutex>& lock) : m_ui(ui), m_lock(lock) {}
    template <typename F> auto Unlocked(F f) {
        const bool bHeld = m_lock.owns_lock();
        if (bHeld)
            m_lock.unlock();
        auto r = f();
        if (bHeld)
            m_lock.lock();
        return r;
    }

    void Message(const std::string& strText) override {
        Unlocked([&] {
            m_ui.Message(strText);
            return 0;
        });
    }
    bool AskYesNo(const std::string& strText) override {
        return Unlocked([&] { return m_ui.AskYesNo(strText); });
    }
    bool Input(const std::string& strPrompt, std::string& strOut) override {
        return Unlocked([&] { return m_ui.Input(strPrompt, strOut); });
    }

private:
    ISessionUi& m_ui;
    std::unique_lock<std::mutex>& m_lock;
};
