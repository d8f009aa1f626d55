#include "cli/CliContext.h"

#include <cstdio>
#include <cstring>

#include "config/GlobalVar.h"
#include "config/Startup.h"
#include "platform/FileLookup.h"
#include "platform/Paths.h"

namespace {
void RequireDir(const std::string& strOption, const std::string& strDir) {
    if (strDir.empty() || FileLookup::IsDirectory(strDir))
        return;
    fprintf(stderr, "velkinctl: %s: directory does not exist: %s\n", strOption.c_str(),
            strDir.c_str());
    throw CCliExit{2};
}
} // namespace

void CCliContext::LoadInstallation() {
    if (bLoaded)
        return;
    RequireDir("--program-dir", strProgramDir);
    RequireDir("--data-dir", strDataDir);
    RequireDir("--desktop-dir", strDesktopDir);
    if (!strProgramDir.empty())
        Paths::SetProgramDirOverride(strProgramDir);
    if (!strDataDir.empty())
        Paths::SetLocalAppDataOverride(strDataDir);
    if (!strDesktopDir.empty())
        Paths::SetDesktopOverride(strDesktopDir);
    SetMessageBoxSink(&msgSink);
    if (!LoadConfiguration(DefaultStartupDirs(), gVar, MacroLimits)) {
        fprintf(stderr, "velkinctl: the program directory cannot be found\n");
        throw CCliExit{2};
    }
    bLoaded = true;
}

nlohmann::json CCliContext::MessagesJson() const {
    nlohmann::json j = nlohmann::json::array();
    for (const auto& e : msgSink.m_vEntries)
        j.push_back({{"title", e.strTitle}, {"text", e.strText}});
    return j;
}

void PrintJson(const nlohmann::json& j) {
    // Texts from installations are not always valid UTF-8; replace rather than abort.
    std::string str = j.dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
    fwrite(str.data(), 1, str.size(), stdout);
    fputc('\n', stdout);
}

std::string ErrnoText(int nErr) {
    // errno 0 would read "Success"; a failure that left none is still a failure.
    return nErr != 0 ? std::strerror(nErr) : "the system gave no reason";
}

void FailFileOp(const char* pszVerb, const std::string& strPath, int nErr, int nCode) {
    fprintf(stderr, "velkinctl: cannot %s %s: %s\n", pszVerb, strPath.c_str(),
            ErrnoText(nErr).c_str());
    throw CCliExit{nCode};
}
