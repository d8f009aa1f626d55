#include "platform/PointerSettingsGnome.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/Clock.h"

extern char** environ;

namespace {

constexpr const char* kSchema = "org.gnome.desktop.peripherals.mouse";
constexpr int kTimeoutMs = 5000;

class CSpawnRunner : public ICommandRunner {
public:
    int Run(const std::vector<std::string>& vArgs, std::string& strOutput) override {
        strOutput.clear();
        int fd[2];
        if (pipe(fd) != 0)
            return -1;
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_adddup2(&fa, fd[1], 1);
        posix_spawn_file_actions_adddup2(&fa, fd[1], 2);
        posix_spawn_file_actions_addclose(&fa, fd[0]);
        std::vector<char*> vArgv;
        for (const std::string& s : vArgs)
            vArgv.push_back(const_cast<char*>(s.c_str()));
        vArgv.push_back(nullptr);
        pid_t pid = 0;
        const int nErr = posix_spawnp(&pid, vArgv[0], &fa, nullptr, vArgv.data(), environ);
        posix_spawn_file_actions_destroy(&fa);
        close(fd[1]);
        if (nErr != 0) {
            close(fd[0]);
            return -1;
        }
        const uint64_t nEnd = GetClock().NowMs() + kTimeoutMs;
        char buf[512];
        for (;;) {
            const uint64_t nNow = GetClock().NowMs();
            if (nNow >= nEnd) {
                kill(pid, SIGKILL);
                break;
            }
            pollfd p{fd[0], POLLIN, 0};
            const int nReady = poll(&p, 1, int(nEnd - nNow));
            if (nReady < 0 && errno == EINTR)
                continue;
            if (nReady <= 0) {
                kill(pid, SIGKILL);
                break;
            }
            const ssize_t n = read(fd[0], buf, sizeof buf);
            if (n <= 0)
                break;
            strOutput.append(buf, size_t(n));
        }
        close(fd[0]);
        int nStatus = 0;
        while (waitpid(pid, &nStatus, 0) < 0 && errno == EINTR) {
        }
        return WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
    }
};

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r\n"), e = s.find_last_not_of(" \t\r\n");
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

const char* GnomeKey(EPointerKey eKey) {
    switch (eKey) {
    case EPointerKey::DoubleClickMs:
        return "double-click";
    case EPointerKey::Speed:
        return "speed";
    case EPointerKey::Acceleration:
        return "accel-profile";
    default:
        return nullptr;
    }
}

} // namespace

bool ParseGnomeSpeed(const std::string& str, int& nSpeed) {
    char* pEnd = nullptr;
    const std::string s = Trim(str);
    const double d = std::strtod(s.c_str(), &pEnd);
    if (s.empty() || *pEnd != 0 || !std::isfinite(d) || d < -1 || d > 1)
        return false;
    nSpeed = int(std::lround(d * 10 + 10));
    if (nSpeed < 1)
        nSpeed = 1;
    return true;
}

std::string FormatGnomeSpeed(int nSpeed) {
    int n = nSpeed < 1 ? 1 : nSpeed > 20 ? 20 : nSpeed;
    char sz[16];
    std::snprintf(sz, sizeof sz, "%.1f", (n - 10) / 10.0);
    return sz;
}

CGnomePointerSettings::CGnomePointerSettings(ICommandRunner* pRunner) : m_pRunner(pRunner) {
    if (!m_pRunner) {
        static CSpawnRunner s_Runner;
        m_pRunner = &s_Runner;
    }
}

bool CGnomePointerSettings::Usable() {
    if (m_nUsable < 0) {
        std::string strOut;
        // Without a settings daemon gsettings falls back to a memory store that accepts
        // every write and keeps none: that counts as no desktop settings at all.
        const int nRc = m_pRunner->Run({"gsettings", "get", kSchema, "double-click"}, strOut);
        m_nUsable = nRc == 0 && strOut.find("memory") == std::string::npos ? 1 : 0;
    }
    return m_nUsable == 1;
}

bool CGnomePointerSettings::Supported(EPointerKey eKey) {
    return GnomeKey(eKey) && Usable();
}

bool CGnomePointerSettings::Get(EPointerKey eKey, PointerValue& value) {
    if (!Supported(eKey))
        return false;
    std::string strOut;
    if (m_pRunner->Run({"gsettings", "get", kSchema, GnomeKey(eKey)}, strOut) != 0)
        return false;
    const std::string s = Trim(strOut);
    value = PointerValue{};
    switch (eKey) {
    case EPointerKey::DoubleClickMs: {
        // "int32 400" or "400"
        const std::string strNum = s.rfind("int32 ", 0) == 0 ? s.substr(6) : s;
        char* pEnd = nullptr;
        const long n = std::strtol(strNum.c_str(), &pEnd, 10);
        if (strNum.empty() || *pEnd != 0)
            return false;
        value.n[0] = int32_t(n);
        return true;
    }
    case EPointerKey::Speed:
        return ParseGnomeSpeed(s, value.n[0]);
    case EPointerKey::Acceleration:
        if (s == "'adaptive'") {
            value = PointerValue{{6, 10, 1}};
            return true;
        }
        // "default" leaves it to the device: neither of the program's two triples.
        return s == "'flat'";
    default:
        return false;
    }
}

bool CGnomePointerSettings::Set(EPointerKey eKey, const PointerValue& value) {
    if (!Supported(eKey))
        return false;
    std::string strValue;
    switch (eKey) {
    case EPointerKey::DoubleClickMs:
        strValue = std::to_string(value.n[0]);
        break;
    case EPointerKey::Speed:
        strValue = FormatGnomeSpeed(value.n[0]);
        break;
    case EPointerKey::Acceleration:
        strValue = value.n[2] != 0 ? "adaptive" : "flat";
        break;
    default:
        return false;
    }
    std::string strOut;
    return m_pRunner->Run({"gsettings", "set", kSchema, GnomeKey(eKey), strValue}, strOut) == 0;
}
