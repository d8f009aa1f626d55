#pragma once
// What the storage harnesses share: a clock without real waits (new ids wait 20 ms each)
// and a scratch installation that is emptied before every input.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "config/GlobalVar.h"
#include "platform/Clock.h"
#include "storage/StorageUi.h"

class CFuzzClock : public IClock {
public:
    uint64_t NowMs() override { return m_nMs; }
    LocalTime Now() override {
        uint64_t n = m_nMs;
        return LocalTime{2026,
                         1,
                         1,
                         static_cast<int>(n / 3600000 % 24),
                         static_cast<int>(n / 60000 % 60),
                         static_cast<int>(n / 1000 % 60),
                         static_cast<int>(n % 1000)};
    }
    void SleepMs(uint32_t nMs) override { m_nMs += nMs; }
    uint64_t m_nMs = 1000;
};

class CFuzzUi : public IStorageUi {
public:
    void Message(const std::string&) override {}
    bool AskYesNo(const std::string&) override { return m_bAnswer = !m_bAnswer; }
    bool m_bAnswer = false;
};

// A fresh scratch folder for program and user data; the settings point into it.
inline CGlobalVar& FuzzInstallation() {
    static CFuzzClock s_clock;
    static std::string s_strRoot;
    static CGlobalVar s_var;
    if (s_strRoot.empty()) {
        SetClock(&s_clock);
        std::string strTemplate =
            (std::filesystem::temp_directory_path() / "velkin-fuzz-XXXXXX").string();
        if (!mkdtemp(strTemplate.data()))
            abort();
        s_strRoot = strTemplate + "/";
    }
    std::error_code ec;
    std::filesystem::remove_all(s_strRoot + "data", ec);
    std::filesystem::create_directories(s_strRoot + "data", ec);
    s_var = CGlobalVar{};
    s_var.szProgramDir = s_strRoot;
    s_var.szUserDataDir = s_strRoot + "data/";
    s_var.MsFw = 0x10;
    s_var.KbFw = 20;
    s_var.PadFw = 40;
    s_var.MacroHasMsKey = 0x7F;
    s_var.Dev.Ms.nSensorCfgIndex = 0;
    return s_var;
}
