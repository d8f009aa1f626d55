// velkinctl profiles / macros / keycfg: the profile store, the macro files and the exported
// files of the installation, through the same operations the program's menus use. Every
// command that changes the store saves it as the program does (pro.dct, then curid.dct).
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "cli/CliContext.h"
#include "cli/CliSession.h"
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

std::string NameInUseText() {
    const std::string& str = Txt("tc_macro_msg8");
    return str.empty() ? "This name already exists" : str;
}

std::string ReplaceItText() {
    const std::string& str = Txt("tc_macro_msg35");
    return str.empty() ? "replace it?" : str;
}

// A macro file that could not be read: the system's reason, or a file cut short.
[[noreturn]] void FailMacroRead(const std::string& strPath, int nErr) {
    if (nErr == 0)
        Fail("cannot read " + strPath + ": shorter than a macro file (" +
             std::to_string(MACRO_FILE_SIZE) + " bytes)");
    FailFileOp("read", strPath, nErr);
}

void RegisterMacroCommands(CLI::App& app, CCliContext& ctx) {
    CLI::App* pMacros = app.add_subcommand("macros", "the macro files (Mac, BMac, OrgMac)");
    pMacros->require_subcommand(1);
    static std::string s_strArg, s_strFile, s_strName;
    static bool s_bBullet = false;

    pMacros->add_subcommand("list", "list the macros the program loads")->callback([&ctx] {
        LoadCliMacroStores(ctx);
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
            int nErr = 0;
            EMacroRead res =
                ReadMacroFile(s_strArg, EMacroForm::PlainAllowed, gVar.MacroHasMsKey, m, &nErr);
            if (res == EMacroRead::OpenFailed || res == EMacroRead::ReadFailed)
                FailMacroRead(s_strArg, nErr);
            if (res == EMacroRead::NotMacro)
                Fail("This is not a valid macro file.");
            nlohmann::json j = MacroJson(m);
            j["supported"] = res == EMacroRead::Ok;
            PrintJson(j);
            return;
        }
        LoadCliMacroStores(ctx);
        bool bBullet = false;
        const StMacro* p = FindMacro(s_strArg, bBullet);
        if (!p)
            Fail("no macro with id " + s_strArg);
        PrintJson(MacroJson(*p));
    });

    CLI::App* pImport = pMacros->add_subcommand(
        "import", "copy a macro file into Mac (or BMac), named after the file");
    pImport->add_option("FILE", s_strFile, "a .mcf or .mcb file")->required();
    pImport->add_flag("--bullet", s_bBullet, "import as a bullet macro into BMac");
    static bool s_bYes = false, s_bNo = false;
    CLI::Option* pYes = pImport->add_flag(
        "--yes", s_bYes, "replace a macro of the same name (it keeps its id, so its keys stay)");
    CLI::Option* pNo =
        pImport->add_flag("--no", s_bNo, "keep a macro of the same name and import nothing");
    pYes->excludes(pNo);
    pImport->callback([&ctx] {
        LoadCliMacroStores(ctx);
        StMacro m;
        int nErr = 0;
        switch (ReadMacroFile(s_strFile, EMacroForm::PlainAllowed, gVar.MacroHasMsKey, m, &nErr)) {
        case EMacroRead::OpenFailed:
        case EMacroRead::ReadFailed:
            FailMacroRead(s_strFile, nErr);
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
        // A macro of that name is replaced only when the user says so. It keeps its id: the
        // keys bound to it then play the imported events.
        uint32_t dwReplacedId = 0;
        if (FileLookup::Exists(strTarget)) {
            CCliSessionUi ui;
            ui.SetAnswer(s_bYes, s_bNo);
            if (!ui.AskYesNo(NameInUseText() + "  " + strName + ",  " + ReplaceItText()))
                Fail(NameInUseText() + ": " + strTarget + "; nothing was imported");
            StMacro old;
            constexpr int kAnyMouseCode = 0x7F;
            if (ReadMacroFile(strTarget, EMacroForm::PlainAllowed, kAnyMouseCode, old) ==
                    EMacroRead::Ok &&
                store.Find(old.dwId))
                dwReplacedId = old.dwId;
        }
        if (dwReplacedId == 0 && store.Full())
            Fail("The number of macro is up to the maximum");
        SetMacroName(m, strName);
        m.dwId = dwReplacedId != 0 ? dwReplacedId : NewMacroId();
        m.dwDirty |= MACRO_DIRTY_BITS;
        if (!save_macro_to_file_mcb(strTarget, m, false))
            FailFileOp("write", strTarget, errno);
        m.dwDirty &= ~MACRO_DIRTY_BITS;
        if (dwReplacedId != 0)
            store.Remove(dwReplacedId);
        store.Add(m);
        PrintIdJson(m.dwId);
    });

    CLI::App* pExport = pMacros->add_subcommand("export", "write a macro to a file");
    pExport->add_option("ID", s_strArg, "macro id")->required();
    pExport->add_option("FILE", s_strFile, "file to write")->required();
    pExport->callback([&ctx] {
        LoadCliMacroStores(ctx);
        bool bBullet = false;
        const StMacro* p = FindMacro(s_strArg, bBullet);
        if (!p)
            Fail("no macro with id " + s_strArg);
        if (!save_macro_to_file_mcb(s_strFile, *p, false))
            FailFileOp("write", s_strFile, errno);
    });

    CLI::App* pNew = pMacros->add_subcommand("new", "create an empty macro file");
    pNew->add_option("NAME", s_strName, "macro name")->required();
    pNew->add_flag("--bullet", s_bBullet, "a bullet macro in BMac");
    pNew->callback([&ctx] {
        LoadCliMacroStores(ctx);
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
            Fail(NameInUseText());
        StMacro m;
        NewMacroRecord(m, strName);
        if (!save_macro_to_file_mcb(strTarget, m, false))
            FailFileOp("write", strTarget, errno);
        store.Add(m);
        PrintIdJson(m.dwId);
    });
}

void RegisterKeyCfgCommands(CLI::App& app, CCliContext& ctx) {
    CLI::App* pKeyCfg = app.add_subcommand("keycfg", "key configuration files (.kyg)");
    pKeyCfg->require_subcommand(1);
    static std::string s_strFile;

    // The window offers key configuration files only for such mice.
    auto RequireMouse = [](const CSession& session) {
        if (!session.GunFw())
            Fail("this installation's mouse has no key configuration files (MsFw low byte < 16)");
    };

    CLI::App* pExport = pKeyCfg->add_subcommand("export", "write the current profile's mouse keys");
    pExport->add_option("FILE", s_strFile, "file to write")->required();
    pExport->callback([&ctx, RequireMouse] {
        auto pSession = OpenCliSession(ctx, false, true);
        RequireMouse(*pSession);
        if (!pSession->Current())
            Fail("there is no current profile");
        CCliSessionUi ui;
        errno = 0;
        if (!pSession->ExportKeyCfg(s_strFile, ui))
            FailFileOp("write", s_strFile, errno);
    });

    CLI::App* pImport =
        pKeyCfg->add_subcommand("import", "take default mouse keys and presets from a .kyg");
    pImport->add_option("FILE", s_strFile, "file to read")->required();
    pImport->callback([&ctx, RequireMouse] {
        auto pSession = OpenCliSession(ctx, true, true);
        RequireMouse(*pSession);
        if (!pSession->Current())
            Fail("there is no current profile");
        // The file's own faults (size, kind) are the import's to report; one that cannot be
        // read at all is named here with the reason.
        const auto data = FileLookup::ReadAll(s_strFile);
        if (!data)
            FailFileOp("read", s_strFile, errno);
        CCliSessionUi ui;
        if (!pSession->ImportKeyCfg(s_strFile, ui))
            throw CCliExit{1};
        // The program keeps going when keycfg.kyg or the store cannot be written, since the
        // keys apply for its run; a command has no run after it, so both must have arrived.
        const std::vector<uint8_t> vKyg(data->begin(),
                                        data->begin() + std::min(data->size(), KYG_FILE_SIZE));
        const std::string strKyg = gVar.szUserDataDir + "keycfg.kyg";
        if (FileLookup::ReadAll(strKyg) != vKyg &&
            !FileLookup::WriteAtomic(strKyg, vKyg.data(), vKyg.size()))
            FailFileOp("write", strKyg, errno);
        if (!pSession->proList.Save())
            FailFileOp("write", pSession->proList.ProFilePath(), errno);
    });
}

} // namespace

// profiles (ProfileCommands.cpp).
void RegisterProfileCommands(CLI::App& app, CCliContext& ctx);

void RegisterStorageCommands(CLI::App& app, CCliContext& ctx) {
    RegisterProfileCommands(app, ctx);
    RegisterMacroCommands(app, ctx);
    RegisterKeyCfgCommands(app, ctx);
}
