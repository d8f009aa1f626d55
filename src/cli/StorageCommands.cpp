// velkinctl profiles / macros / keycfg: the profile store, the macro files and the exported
// files of the installation, through the same operations the program's menus use. Every
// command that changes the store saves it as the program does (pro.dct, then curid.dct).
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <unistd.h>

#include "cli/CliContext.h"
#include "cli/KeyAssignJson.h"
#include "cli/StorageJson.h"
#include "config/GlobalVar.h"
#include "config/TextCatalogue.h"
#include "platform/FileLookup.h"
#include "storage/KeyCfgFile.h"
#include "storage/MacroFile.h"
#include "storage/MacroFolders.h"
#include "storage/ProfileFile.h"
#include "storage/ProfileId.h"
#include "storage/ProfileStore.h"
#include "storage/WideField.h"

namespace {

[[noreturn]] void Fail(const std::string& strWhy, int nCode = 1) {
    fprintf(stderr, "velkinctl: %s\n", strWhy.c_str());
    throw CCliExit{nCode};
}

uint32_t ParseId(const std::string& strArg) {
    errno = 0;
    char* pEnd = nullptr;
    unsigned long long qw = strtoull(strArg.c_str(), &pEnd, 0);
    if (strArg.empty() || strArg[0] == '-' || *pEnd != '\0' || errno != 0 || qw > 0xFFFFFFFFull)
        Fail("not an id (decimal or 0x hexadecimal): " + strArg, 2);
    return static_cast<uint32_t>(qw);
}

// Questions are answered by --yes / --no, else on the terminal; without a terminal the
// answer is no, so nothing the user has is replaced unasked.
class CCliUi : public IStorageUi {
public:
    int m_nAnswer = -1; // -1 ask, 0 no, 1 yes
    void Message(const std::string& strText) override {
        fprintf(stderr, "velkinctl: %s\n", strText.c_str());
    }
    bool AskYesNo(const std::string& strText) override {
        if (m_nAnswer >= 0) {
            fprintf(stderr, "%s %s\n", strText.c_str(), m_nAnswer ? "yes" : "no");
            return m_nAnswer == 1;
        }
        if (!isatty(STDIN_FILENO)) {
            fprintf(stderr, "%s no (not a terminal; use --yes to replace)\n", strText.c_str());
            return false;
        }
        fprintf(stderr, "%s [y/N] ", strText.c_str());
        std::string strLine;
        std::getline(std::cin, strLine);
        return !strLine.empty() && (strLine[0] == 'y' || strLine[0] == 'Y');
    }
};

// The store as the program has it: pro.dct, the current profile from curid.dct.
// Read-only commands never move an unusable pro.dct aside.
std::unique_ptr<CProList> OpenStore(CCliContext& ctx, bool bChanging) {
    ctx.LoadInstallation();
    auto pStore = std::make_unique<CProList>(gVar);
    pStore->Load(bChanging);
    if (!pStore->KeptAsidePath().empty())
        fprintf(stderr, "velkinctl: unusable %s kept as %s\n", pStore->ProFilePath().c_str(),
                pStore->KeptAsidePath().c_str());
    pStore->SelectById(pStore->ReadCurrentId());
    return pStore;
}

void SaveStore(const CProList& store) {
    if (!store.Save())
        Fail("cannot write " + store.ProFilePath());
    if (store.Current() && !store.WriteCurrentId())
        Fail("cannot write " + store.CurIdPath());
}

Profile& FindProfile(CProList& store, const std::string& strId) {
    Profile* p = store.FindById(ParseId(strId));
    if (!p)
        Fail("no profile with id " + strId);
    return *p;
}

void LoadMacros(CCliContext& ctx) {
    ctx.LoadInstallation();
    static bool s_bLoaded = false;
    if (!s_bLoaded)
        LoadMacroStores(gVar, MacroStore, BulletStore);
    s_bLoaded = true;
}

void PrintId(uint32_t dwId) {
    nlohmann::json j = {{"dwId", HexWordJson(dwId)}};
    PrintJson(j);
}

void RegisterProfileCommands(CLI::App& app, CCliContext& ctx) {
    CLI::App* pProfiles = app.add_subcommand("profiles", "the profile store (pro.dct)");
    pProfiles->require_subcommand(1);
    static std::string s_strId, s_strName, s_strFile;
    static bool s_bYes = false, s_bNo = false;

    pProfiles->add_subcommand("list", "list the profiles")->callback([&ctx] {
        auto pStore = OpenStore(ctx, false);
        nlohmann::json j = nlohmann::json::array();
        for (const Profile& p : pStore->List())
            j.push_back({{"dwId", HexWordJson(p.dwId)},
                         {"szName", GetWideField(p.szName, PROFILE_NAME_LEN)},
                         {"current", &p == pStore->Current()}});
        PrintJson(j);
    });

    CLI::App* pShow = pProfiles->add_subcommand("show", "print a profile as JSON");
    pShow->add_option("ID", s_strId, "profile id")->required();
    pShow->callback([&ctx] {
        auto pStore = OpenStore(ctx, false);
        PrintJson(ProfileJson(FindProfile(*pStore, s_strId)));
    });

    CLI::App* pNew = pProfiles->add_subcommand("new", "add a default profile and select it");
    pNew->add_option("NAME", s_strName, "profile name (19 characters are kept)")->required();
    pNew->callback([&ctx] {
        auto pStore = OpenStore(ctx, true);
        if (pStore->Count() >= PROFILE_FILE_SLOTS)
            Fail("The number of profile has reached it's maximum");
        auto pProfile = std::make_unique<Profile>();
        pStore->CreateDefault(*pProfile, s_strName);
        std::string strSound = FileLookup::Resolve(gVar.szProgramDir, "DrvSound.wav");
        if (FileLookup::Exists(strSound))
            SetWideField(pProfile->szSound, PROFILE_SOUND_LEN, strSound);
        Profile* pAdded = pStore->AddCopy(*pProfile);
        if (!pAdded)
            Fail("out of memory");
        pStore->SetCurrent(pAdded);
        SaveStore(*pStore);
        PrintId(pAdded->dwId);
    });

    CLI::App* pDelete = pProfiles->add_subcommand("delete", "delete a profile");
    pDelete->add_option("ID", s_strId, "profile id")->required();
    pDelete->callback([&ctx] {
        auto pStore = OpenStore(ctx, true);
        pStore->Remove(&FindProfile(*pStore, s_strId));
        SaveStore(*pStore);
    });

    CLI::App* pRename = pProfiles->add_subcommand("rename", "rename a profile");
    pRename->add_option("ID", s_strId, "profile id")->required();
    pRename->add_option("NAME", s_strName, "new name (19 characters are kept)")->required();
    pRename->callback([&ctx] {
        auto pStore = OpenStore(ctx, true);
        Profile& p = FindProfile(*pStore, s_strId);
        SetWideField(p.szName, PROFILE_NAME_LEN, s_strName);
        SaveStore(*pStore);
    });

    CLI::App* pSelect = pProfiles->add_subcommand("select", "make a profile the current one");
    pSelect->add_option("ID", s_strId, "profile id")->required();
    pSelect->callback([&ctx] {
        auto pStore = OpenStore(ctx, true);
        pStore->SetCurrent(&FindProfile(*pStore, s_strId));
        SaveStore(*pStore);
    });

    CLI::App* pExport =
        pProfiles->add_subcommand("export", "write a profile with its macros (.bkm)");
    pExport->add_option("ID", s_strId, "profile id")->required();
    pExport->add_option("FILE", s_strFile, "file to write")->required();
    pExport->callback([&ctx] {
        auto pStore = OpenStore(ctx, false);
        pStore->SetCurrent(&FindProfile(*pStore, s_strId));
        LoadMacros(ctx);
        CCliUi ui;
        if (!ExportProfile(*pStore, gVar, MacroStore, BulletStore, s_strFile, ui))
            throw CCliExit{1};
    });

    CLI::App* pImport = pProfiles->add_subcommand("import", "add a profile from a .bkm file");
    pImport->add_option("FILE", s_strFile, "file to read")->required();
    pImport->add_flag("--yes", s_bYes, "replace macro files that exist already");
    pImport->add_flag("--no", s_bNo, "keep macro files that exist already");
    pImport->callback([&ctx] {
        if (s_bYes && s_bNo)
            Fail("--yes and --no exclude each other", 2);
        auto pStore = OpenStore(ctx, true);
        LoadMacros(ctx);
        CCliUi ui;
        ui.m_nAnswer = s_bYes ? 1 : s_bNo ? 0 : -1;
        Profile* p = ImportProfile(*pStore, gVar, MacroStore, BulletStore, s_strFile, ui);
        if (!p)
            throw CCliExit{1};
        // ImportProfile saved the store as the program does; check that it arrived.
        CProList check(gVar);
        if (check.Load(false) == 0 || !check.FindById(p->dwId))
            Fail("cannot write " + pStore->ProFilePath());
        PrintId(p->dwId);
    });

    CLI::App* pDefaults =
        pProfiles->add_subcommand("defaults", "write the raw default profile of the installation");
    pDefaults->add_option("--out", s_strFile, "file for the 56256-byte record")->required();
    pDefaults->add_option("--name", s_strName, "profile name")->default_val("Profile1");
    pDefaults->callback([&ctx] {
        ctx.LoadInstallation();
        CProList store(gVar);
        auto pProfile = std::make_unique<Profile>();
        store.CreateDefault(*pProfile, s_strName);
        if (!FileLookup::WriteAtomic(s_strFile, pProfile.get(), sizeof(Profile)))
            Fail("cannot write " + s_strFile);
    });
}

const StMacro* FindMacro(const std::string& strId, bool& bBullet) {
    uint32_t dwId = ParseId(strId);
    if (const StMacro* p = MacroStore.Find(dwId)) {
        bBullet = false;
        return p;
    }
    if (const StMacro* p = BulletStore.Find(dwId)) {
        bBullet = true;
        return p;
    }
    return nullptr;
}

void RegisterMacroCommands(CLI::App& app, CCliContext& ctx) {
    CLI::App* pMacros = app.add_subcommand("macros", "the macro files (Mac, BMac, OrgMac)");
    pMacros->require_subcommand(1);
    static std::string s_strArg, s_strFile, s_strName;
    static bool s_bBullet = false;

    pMacros->add_subcommand("list", "list the macros the program loads")->callback([&ctx] {
        LoadMacros(ctx);
        nlohmann::json j = nlohmann::json::array();
        for (const StMacro& m : MacroStore.List())
            j.push_back(
                {{"dwId", HexWordJson(m.dwId)}, {"szName", MacroName(m)}, {"store", "macro"}});
        for (const StMacro& m : BulletStore.List())
            j.push_back(
                {{"dwId", HexWordJson(m.dwId)}, {"szName", MacroName(m)}, {"store", "bullet"}});
        PrintJson(j);
    });

    CLI::App* pShow = pMacros->add_subcommand("show", "print a macro (by id or file) as JSON");
    pShow->add_option("ID-or-FILE", s_strArg, "macro id, or a macro file")->required();
    pShow->callback([&ctx] {
        ctx.LoadInstallation();
        if (FileLookup::Exists(s_strArg)) {
            StMacro m;
            EMacroRead res =
                ReadMacroFile(s_strArg, EMacroForm::PlainAllowed, gVar.MacroHasMsKey, m);
            if (res == EMacroRead::OpenFailed || res == EMacroRead::ReadFailed)
                Fail("Read macro file failed: " + s_strArg);
            if (res == EMacroRead::NotMacro)
                Fail("This is not a valid macro file.");
            nlohmann::json j = MacroJson(m);
            j["supported"] = res == EMacroRead::Ok;
            PrintJson(j);
            return;
        }
        LoadMacros(ctx);
        bool bBullet = false;
        const StMacro* p = FindMacro(s_strArg, bBullet);
        if (!p)
            Fail("no macro with id " + s_strArg);
        PrintJson(MacroJson(*p));
    });

    CLI::App* pImport = pMacros->add_subcommand("import", "copy a macro file into Mac (or BMac)");
    pImport->add_option("FILE", s_strFile, "a .mcf or .mcb file")->required();
    pImport->add_flag("--bullet", s_bBullet, "import as a bullet macro into BMac");
    pImport->callback([&ctx] {
        LoadMacros(ctx);
        StMacro m;
        int nErr = 0;
        switch (ReadMacroFile(s_strFile, EMacroForm::PlainAllowed, gVar.MacroHasMsKey, m, &nErr)) {
        case EMacroRead::OpenFailed:
            Fail("Open macro file failed. error=0x" + std::to_string(nErr));
        case EMacroRead::ReadFailed:
            Fail("Read macro file failed. error=0x" + std::to_string(nErr));
        case EMacroRead::NotMacro:
            Fail("This is not a valid macro file.");
        case EMacroRead::Unsupported:
            Fail("This macro contains unsupported key.");
        case EMacroRead::Ok:
            break;
        }
        std::string strName = TextEncoding::CutToUtf16Units(SafeNameFromFile(FileTitle(s_strFile)),
                                                            MACRO_NAME_LEN - 1);
        CMacroStore& store = s_bBullet ? BulletStore : MacroStore;
        MacroFolderPaths paths = GetMacroFolders(gVar);
        std::string strTarget = (s_bBullet ? paths.strBMac : paths.strMac) + "/" + strName +
                                (s_bBullet ? ".mcb" : ".mcf");
        if (FileLookup::Exists(strTarget))
            Fail(Txt("tc_macro_msg8").empty() ? "This name already exists" : Txt("tc_macro_msg8"));
        if (store.Full())
            Fail("The number of macro is up to the maximum");
        SetMacroName(m, strName);
        m.dwId = NewMacroId();
        m.dwDirty |= MACRO_DIRTY_BITS;
        if (!save_macro_to_file_mcb(strTarget, m, false))
            Fail("cannot write " + strTarget);
        m.dwDirty &= ~MACRO_DIRTY_BITS;
        store.Add(m);
        PrintId(m.dwId);
    });

    CLI::App* pExport = pMacros->add_subcommand("export", "write a macro to a file");
    pExport->add_option("ID", s_strArg, "macro id")->required();
    pExport->add_option("FILE", s_strFile, "file to write")->required();
    pExport->callback([&ctx] {
        LoadMacros(ctx);
        bool bBullet = false;
        const StMacro* p = FindMacro(s_strArg, bBullet);
        if (!p)
            Fail("no macro with id " + s_strArg);
        if (!save_macro_to_file_mcb(s_strFile, *p, false))
            Fail("cannot write " + s_strFile);
    });

    CLI::App* pNew = pMacros->add_subcommand("new", "create an empty macro file");
    pNew->add_option("NAME", s_strName, "macro name")->required();
    pNew->add_flag("--bullet", s_bBullet, "a bullet macro in BMac");
    pNew->callback([&ctx] {
        LoadMacros(ctx);
        std::string strName = s_strName;
        if (!CheckMacroName(strName))
            Fail("Invalid name.");
        strName = TextEncoding::CutToUtf16Units(strName, MACRO_NAME_LEN - 1);
        CMacroStore& store = s_bBullet ? BulletStore : MacroStore;
        if (store.Full())
            Fail(s_bBullet ? "The number of bullet is up to the maximum"
                           : "The number of macro is up to the maximum");
        MacroFolderPaths paths = GetMacroFolders(gVar);
        std::string strTarget = (s_bBullet ? paths.strBMac : paths.strMac) + "/" + strName +
                                (s_bBullet ? ".mcb" : ".mcf");
        if (FileLookup::Exists(strTarget))
            Fail(Txt("tc_macro_msg8").empty() ? "This name already exists" : Txt("tc_macro_msg8"));
        StMacro m;
        NewMacroRecord(m, strName);
        if (!save_macro_to_file_mcb(strTarget, m, false))
            Fail("cannot write " + strTarget);
        store.Add(m);
        PrintId(m.dwId);
    });
}

void RegisterKeyCfgCommands(CLI::App& app, CCliContext& ctx) {
    CLI::App* pKeyCfg = app.add_subcommand("keycfg", "key configuration files (.kyg)");
    pKeyCfg->require_subcommand(1);
    static std::string s_strFile;

    auto RequireMouse = [] {
        if ((gVar.MsFw & 0xFF) < 16)
            Fail("this installation's mouse has no key configuration files (MsFw low byte < 16)");
    };

    CLI::App* pExport = pKeyCfg->add_subcommand("export", "write the current profile's mouse keys");
    pExport->add_option("FILE", s_strFile, "file to write")->required();
    pExport->callback([&ctx, RequireMouse] {
        auto pStore = OpenStore(ctx, false);
        RequireMouse();
        if (!pStore->Current())
            Fail("there is no current profile");
        LoadMacros(ctx);
        CCliUi ui;
        if (!ExportKeyCfg(*pStore, MacroStore, BulletStore, s_strFile, ui))
            throw CCliExit{1};
    });

    CLI::App* pImport =
        pKeyCfg->add_subcommand("import", "take default mouse keys and presets from a .kyg");
    pImport->add_option("FILE", s_strFile, "file to read")->required();
    pImport->callback([&ctx, RequireMouse] {
        auto pStore = OpenStore(ctx, true);
        RequireMouse();
        if (!pStore->Current())
            Fail("there is no current profile");
        LoadMacros(ctx);
        CCliUi ui;
        if (!ImportKeyCfg(*pStore, gVar, MacroStore, BulletStore, s_strFile, ui))
            throw CCliExit{1};
        CProList check(gVar);
        if (check.Load(false) == 0)
            Fail("cannot write " + pStore->ProFilePath());
    });
}

} // namespace

void RegisterStorageCommands(CLI::App& app, CCliContext& ctx) {
    RegisterProfileCommands(app, ctx);
    RegisterMacroCommands(app, ctx);
    RegisterKeyCfgCommands(app, ctx);
}
