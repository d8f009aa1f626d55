#include "cli/CliSession.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <unistd.h>

#include "cli/KeyAssignJson.h"
#include "config/GlobalVar.h"
#include "platform/FileLookup.h"
#include "storage/MacroFolders.h"

void PrintIdJson(uint32_t dwId) {
    PrintJson({{"dwId", HexWordJson(dwId)}});
}

void CliFail(const std::string& strWhy, int nCode) {
    std::fprintf(stderr, "velkinctl: %s\n", strWhy.c_str());
    throw CCliExit{nCode};
}

void CCliSessionUi::Message(const std::string& strText) {
    const int nErrno = errno; // the failure the message is about may be reported next
    std::fprintf(stderr, "velkinctl: %s\n", strText.c_str());
    errno = nErrno;
}

bool CCliSessionUi::AskYesNo(const std::string& strText) {
    if (m_bQuietYes)
        return true;
    if (m_nAnswer >= 0) {
        std::fprintf(stderr, "%s %s\n", strText.c_str(), m_nAnswer ? "yes" : "no");
        return m_nAnswer == 1;
    }
    if (!isatty(STDIN_FILENO)) {
        std::fprintf(stderr, "%s no (not a terminal; use --yes to say yes)\n", strText.c_str());
        return false;
    }
    std::fprintf(stderr, "%s [y/N] ", strText.c_str());
    std::string strLine;
    std::getline(std::cin, strLine);
    return !strLine.empty() && (strLine[0] == 'y' || strLine[0] == 'Y');
}

bool CCliSessionUi::Input(const std::string&, std::string& strOut) {
    strOut = m_strInput;
    return !strOut.empty();
}

void CCliSessionUi::SetAnswer(bool bYes, bool bNo) {
    if (bYes && bNo)
        CliFail("--yes and --no exclude each other", 2);
    m_nAnswer = bYes ? 1 : bNo ? 0 : -1;
}

void LoadCliMacroStores(CCliContext& ctx) {
    ctx.LoadInstallation();
    static bool s_bLoaded = false;
    if (!s_bLoaded)
        LoadMacroStores(gVar, MacroStore, BulletStore);
    s_bLoaded = true;
}

std::unique_ptr<CSession> OpenCliSession(CCliContext& ctx, bool bChanging, bool bMacros) {
    ctx.LoadInstallation();
    if (bMacros)
        LoadCliMacroStores(ctx);

    auto pSession = std::make_unique<CSession>(gVar);
    pSession->LoadProfiles(bChanging);
    const std::string strPro = pSession->proList.ProFilePath();
    if (!pSession->proList.KeptAsidePath().empty())
        std::fprintf(stderr, "velkinctl: unusable %s kept as %s\n", strPro.c_str(),
                     pSession->proList.KeptAsidePath().c_str());
    // A reading command leaves a store it could not use where it is; the defaults it shows
    // then are not saved over it.
    const bool bUnusableInPlace =
        !bChanging && pSession->LoadedFromStore() == 0 && FileLookup::Exists(strPro);
    if (bUnusableInPlace && pSession->DefaultsMade() > 0)
        std::fprintf(stderr,
                     "velkinctl: %s holds no usable profile; these default profiles are not "
                     "saved\n",
                     strPro.c_str());
    else if (pSession->DefaultsMade() > 0)
        SaveCliSession(*pSession);
    return pSession;
}

Profile& FindCliProfile(CSession& session, const std::string& strIdOrName) {
    Profile* p = session.FindProfile(strIdOrName);
    if (!p)
        CliFail("no profile with id or name " + strIdOrName);
    return *p;
}

namespace {
std::string Reason(int nErr) {
    return nErr != 0 ? std::strerror(nErr) : "write failed";
}
} // namespace

void SaveCliSession(CSession& session) {
    errno = 0;
    if (!session.proList.Save())
        CliFail("cannot write " + session.proList.ProFilePath() + ": " + Reason(errno));
    errno = 0;
    if (session.Current() && !session.proList.WriteCurrentId())
        CliFail("cannot write " + session.proList.CurIdPath() + ": " + Reason(errno));
}
