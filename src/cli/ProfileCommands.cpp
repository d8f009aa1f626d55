// velkinctl profiles: the profile store through the session the program uses, so every
// rule and refusal is the window's. A profile is named by its id (decimal or 0x
// hexadecimal) or by its name in any letter case. Every command that changes the store
// saves it as the program does (pro.dct, then curid.dct).
#include <cstdio>
#include <memory>

#include "cli/CliSession.h"
#include "cli/KeyAssignJson.h"
#include "cli/StorageJson.h"
#include "config/GlobalVar.h"
#include "platform/FileLookup.h"
#include "storage/ProfileStore.h"
#include "storage/WideField.h"

namespace {

struct CProfileArgs {
    std::string strProfile, strName, strFile;
    bool bYes = false, bNo = false;
};

CProfileArgs g_args;

void AddYesNo(CLI::App* pCmd, const char* pszYes, const char* pszNo) {
    pCmd->add_flag("--yes", g_args.bYes, pszYes);
    pCmd->add_flag("--no", g_args.bNo, pszNo);
}

CLI::Option* AddProfileArg(CLI::App* pCmd) {
    return pCmd->add_option("PROFILE", g_args.strProfile, "profile id or name")->required();
}

} // namespace

void RegisterProfileCommands(CLI::App& app, CCliContext& ctx) {
    CLI::App* pProfiles = app.add_subcommand("profiles", "the profile store (pro.dct)");
    pProfiles->require_subcommand(1);

    pProfiles->add_subcommand("list", "list the profiles")->callback([&ctx] {
        auto pSession = OpenCliSession(ctx, false, false);
        nlohmann::json j = nlohmann::json::array();
        for (const Profile& p : pSession->proList.List())
            j.push_back({{"dwId", HexWordJson(p.dwId)},
                         {"szName", GetWideField(p.szName, PROFILE_NAME_LEN)},
                         {"current", &p == pSession->Current()}});
        PrintJson(j);
    });

    CLI::App* pShow = pProfiles->add_subcommand("show", "print a profile as JSON");
    AddProfileArg(pShow);
    pShow->callback([&ctx] {
        auto pSession = OpenCliSession(ctx, false, false);
        PrintJson(ProfileJson(FindCliProfile(*pSession, g_args.strProfile)));
    });

    CLI::App* pNew = pProfiles->add_subcommand(
        "new", "add a default profile and select it (a name no profile has in any letter case)");
    pNew->add_option("NAME", g_args.strName, "profile name (19 characters are kept)")->required();
    pNew->callback([&ctx] {
        auto pSession = OpenCliSession(ctx, true, false);
        CCliSessionUi ui;
        ui.m_strInput = g_args.strName;
        Profile* p = pSession->NewProfile(ui);
        if (!p)
            throw CCliExit{1}; // the session told why
        PrintIdJson(p->dwId);
    });

    CLI::App* pDelete =
        pProfiles->add_subcommand("delete", "delete a profile (the last one cannot be deleted)");
    AddProfileArg(pDelete);
    pDelete->callback([&ctx] {
        auto pSession = OpenCliSession(ctx, true, false);
        const uint32_t dwId = FindCliProfile(*pSession, g_args.strProfile).dwId;
        CCliSessionUi ui;
        ui.m_bQuietYes = true; // naming the profile on the command line is the confirmation
        if (!pSession->DeleteProfile(dwId, ui))
            throw CCliExit{1};
    });

    CLI::App* pRename = pProfiles->add_subcommand("rename", "rename a profile");
    AddProfileArg(pRename);
    pRename->add_option("NAME", g_args.strName, "new name (19 characters are kept)")->required();
    pRename->callback([&ctx] {
        auto pSession = OpenCliSession(ctx, true, false);
        const uint32_t dwId = FindCliProfile(*pSession, g_args.strProfile).dwId;
        CCliSessionUi ui;
        ui.m_strInput = g_args.strName;
        if (!pSession->RenameProfile(dwId, ui))
            CliFail("a profile name cannot be empty", 2);
        SaveCliSession(*pSession);
    });

    CLI::App* pSelect = pProfiles->add_subcommand("select", "make a profile the current one");
    AddProfileArg(pSelect);
    pSelect->callback([&ctx] {
        auto pSession = OpenCliSession(ctx, true, false);
        pSession->Select(FindCliProfile(*pSession, g_args.strProfile).dwId);
        SaveCliSession(*pSession);
    });

    CLI::App* pExport =
        pProfiles->add_subcommand("export", "write a profile with its macros (.bkm)");
    AddProfileArg(pExport);
    pExport->add_option("FILE", g_args.strFile, "file to write")->required();
    pExport->callback([&ctx] {
        auto pSession = OpenCliSession(ctx, false, true);
        const uint32_t dwId = FindCliProfile(*pSession, g_args.strProfile).dwId;
        CCliSessionUi ui;
        if (!pSession->ExportProfile(dwId, g_args.strFile, ui))
            CliFail("cannot write " + g_args.strFile);
    });

    CLI::App* pImport = pProfiles->add_subcommand("import", "add a profile from a .bkm file");
    pImport->add_option("FILE", g_args.strFile, "file to read")->required();
    AddYesNo(pImport, "replace macro files that exist already",
             "keep macro files that exist already");
    pImport->callback([&ctx] {
        CCliSessionUi ui;
        ui.SetAnswer(g_args.bYes, g_args.bNo);
        auto pSession = OpenCliSession(ctx, true, true);
        Profile* p = pSession->ImportProfile(g_args.strFile, ui);
        if (!p)
            throw CCliExit{1};
        // The import saved the store as the program does; check that it arrived.
        CProList check(gVar);
        if (check.Load(false) == 0 || !check.FindById(p->dwId))
            CliFail("cannot write " + pSession->proList.ProFilePath());
        PrintIdJson(p->dwId);
    });

    CLI::App* pDefaults =
        pProfiles->add_subcommand("defaults", "write the raw default profile of the installation");
    pDefaults->add_option("--out", g_args.strFile, "file for the 56256-byte record")->required();
    pDefaults->add_option("--name", g_args.strName, "profile name")->default_val("Profile1");
    pDefaults->callback([&ctx] {
        ctx.LoadInstallation();
        CProList store(gVar);
        auto pProfile = std::make_unique<Profile>();
        store.CreateDefault(*pProfile, g_args.strName);
        if (!FileLookup::WriteAtomic(g_args.strFile, pProfile.get(), sizeof(Profile)))
            CliFail("cannot write " + g_args.strFile);
    });
}
