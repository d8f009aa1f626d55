#include "platform/Paths.h"

#include <cstdlib>
#include <fstream>
#include <mutex>
#include <unistd.h>

namespace {
std::mutex g_mtxOverrides;
std::string g_strProgramDir, g_strLocalAppData, g_strDesktop;

std::string HomeDir() {
    const char* pszHome = getenv("HOME");
    return pszHome && *pszHome ? Paths::WithSlash(pszHome) : std::string("/tmp/");
}

// Reads XDG_DESKTOP_DIR from user-dirs.dirs: a line XDG_DESKTOP_DIR="$HOME/Desktop".
std::string DesktopFromUserDirs() {
    const char* pszConfig = getenv("XDG_CONFIG_HOME");
    std::string strFile =
        (pszConfig && *pszConfig ? Paths::WithSlash(pszConfig) : HomeDir() + ".config/") +
        "user-dirs.dirs";
    std::ifstream f(strFile);
    std::string strLine;
    while (std::getline(f, strLine)) {
        size_t nPos = strLine.find_first_not_of(" \t");
        if (nPos == std::string::npos || strLine.compare(nPos, 16, "XDG_DESKTOP_DIR=") != 0)
            continue;
        std::string strValue = strLine.substr(nPos + 16);
        if (strValue.size() >= 2 && strValue.front() == '"' && strValue.back() == '"')
            strValue = strValue.substr(1, strValue.size() - 2);
        if (strValue.compare(0, 5, "$HOME") == 0)
            strValue =
                HomeDir() + strValue.substr(strValue.size() > 5 && strValue[5] == '/' ? 6 : 5);
        if (strValue.empty() || strValue[0] != '/')
            return std::string();
        return Paths::WithSlash(strValue);
    }
    return std::string();
}
} // namespace

namespace Paths {

std::string WithSlash(const std::string& dir) {
    if (dir.empty() || dir.back() == '/')
        return dir;
    return dir + "/";
}

std::string ProgramDir() {
    {
        std::lock_guard<std::mutex> lock(g_mtxOverrides);
        if (!g_strProgramDir.empty())
            return g_strProgramDir;
    }
    char szBuf[4096];
    ssize_t n = readlink("/proc/self/exe", szBuf, sizeof(szBuf) - 1);
    if (n <= 0 || n >= static_cast<ssize_t>(sizeof(szBuf) - 1))
        return std::string();
    std::string strPath(szBuf, static_cast<size_t>(n));
    size_t nSlash = strPath.rfind('/');
    if (nSlash == std::string::npos)
        return std::string();
    return strPath.substr(0, nSlash + 1);
}

std::string LocalAppDataDir() {
    {
        std::lock_guard<std::mutex> lock(g_mtxOverrides);
        if (!g_strLocalAppData.empty())
            return g_strLocalAppData;
    }
    const char* pszData = getenv("XDG_DATA_HOME");
    if (pszData && *pszData == '/')
        return WithSlash(pszData);
    return HomeDir() + ".local/share/";
}

std::string DesktopDir() {
    {
        std::lock_guard<std::mutex> lock(g_mtxOverrides);
        if (!g_strDesktop.empty())
            return g_strDesktop;
    }
    std::string strDir = DesktopFromUserDirs();
    return strDir.empty() ? HomeDir() + "Desktop/" : strDir;
}

void SetProgramDirOverride(const std::string& dir) {
    std::lock_guard<std::mutex> lock(g_mtxOverrides);
    g_strProgramDir = WithSlash(dir);
}
void SetLocalAppDataOverride(const std::string& dir) {
    std::lock_guard<std::mutex> lock(g_mtxOverrides);
    g_strLocalAppData = WithSlash(dir);
}
void SetDesktopOverride(const std::string& dir) {
    std::lock_guard<std::mutex> lock(g_mtxOverrides);
    g_strDesktop = WithSlash(dir);
}
void ClearOverrides() {
    std::lock_guard<std::mutex> lock(g_mtxOverrides);
    g_strProgramDir.clear();
    g_strLocalAppData.clear();
    g_strDesktop.clear();
}

} // namespace Paths
