// velkinctl keyname / funname: the names the panels show for a key code or a function, in
// the installation's language and keyboard layout.
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "cli/CliContext.h"
#include "config/FunctionNames.h"
#include "config/GlobalVar.h"
#include "config/KeyNames.h"

namespace {

// Decimal or 0x hexadecimal, at most nMax; anything else ends the command with a message.
uint32_t ParseNumber(const std::string& strArg, const char* pszWhat, uint32_t dwMax) {
    errno = 0;
    char* pEnd = nullptr;
    unsigned long long qw = strtoull(strArg.c_str(), &pEnd, 0);
    if (strArg.empty() || strArg[0] == '-' || *pEnd != '\0' || errno != 0 || qw > dwMax) {
        fprintf(stderr, "velkinctl: %s must be a number from 0 to 0x%X: %s\n", pszWhat, dwMax,
                strArg.c_str());
        throw CCliExit{2};
    }
    return static_cast<uint32_t>(qw);
}

void PrintLine(const std::string& str) {
    fwrite(str.data(), 1, str.size(), stdout);
    fputc('\n', stdout);
}

} // namespace

void RegisterKeyCommands(CLI::App& app, CCliContext& ctx) {
    static std::string s_strCode;
    CLI::App* pKey = app.add_subcommand("keyname", "print the name of a virtual-key code");
    pKey->add_option("CODE", s_strCode, "key code, decimal or 0x hexadecimal")->required();
    pKey->callback([&ctx] {
        uint8_t byVk = static_cast<uint8_t>(ParseNumber(s_strCode, "CODE", 0xFF));
        ctx.LoadInstallation();
        PrintLine(GetKeyName(byVk, gVar.KbType));
    });

    static std::string s_strWord, s_strParam, s_strMod, s_strVk, s_strVk2;
    CLI::App* pFun = app.add_subcommand("funname", "print the display name of a function word");
    pFun->add_option("WORD", s_strWord, "function word: class << 24 | code")->required();
    pFun->add_option("PARAM", s_strParam,
                     "parameter (dwParam); for macro and bullet classes 5 and 12 the macro id");
    pFun->add_option("--mod", s_strMod, "modifier bits of a key function (class 2)");
    pFun->add_option("--vk", s_strVk, "key code of a key function (class 2)");
    pFun->add_option("--vk2", s_strVk2, "second key code of a key function (class 2)");
    pFun->callback([&ctx] {
        KeyFun kf{};
        kf.dwFun = ParseNumber(s_strWord, "WORD", 0xFFFFFFFF);
        uint32_t dwParam = s_strParam.empty() ? 0 : ParseNumber(s_strParam, "PARAM", 0xFFFFFFFF);
        uint32_t nClass = FunClass(kf.dwFun);
        if (nClass == 5 || nClass == 12)
            kf.dwMacroId = dwParam;
        else
            kf.dwParam = dwParam;
        if (!s_strMod.empty())
            kf.byMod = static_cast<uint8_t>(ParseNumber(s_strMod, "--mod", 0xFF));
        if (!s_strVk.empty())
            kf.byVk = static_cast<uint8_t>(ParseNumber(s_strVk, "--vk", 0xFF));
        if (!s_strVk2.empty())
            kf.byVk2 = static_cast<uint8_t>(ParseNumber(s_strVk2, "--vk2", 0xFF));
        ctx.LoadInstallation();
        PrintLine(GetFunName(kf, gVar));
    });
}
