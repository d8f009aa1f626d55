// velkinctl apply / reset: the current profile (or a named one) written to one family's
// device through the same model and apply thread the program uses, with a progress bar in
// place of the progress window. Reset returns the family's region of the current profile
// to its defaults as the reset button does, writes it when it can and saves the store.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>

#include "cli/DeviceSession.h"
#include "cli/ProgressBar.h"
#include "config/GlobalVar.h"
#include "config/KeyLookup.h"
#include "config/TextCatalogue.h"
#include "device/hid/CurLevels.h"
#include "device/models/ApplyThread.h"
#include "device/models/ModelFactory.h"
#include "device/models/ProfileSource.h"
#include "platform/FileLookup.h"
#include "storage/MacroFolders.h"
#include "storage/MacroStore.h"
#include "storage/ProfileStore.h"
#include "storage/WideField.h"

namespace {

// What each family's apply writes for each flag bit, and which bits it takes at all.
struct CFamilyInfo {
    const char* pszName;
    int nFullFlags; // the Apply and Reset buttons' request
    int nAccepted;  // bits the family's requests may carry
    int nWrites;    // bits of nAccepted that select something to write
    const char* pszBits;
};

enum EFamily { FAMILY_MOUSE, FAMILY_KEYBOARD, FAMILY_PAD, FAMILY_COUNT };

const CFamilyInfo kFamilies[FAMILY_COUNT] = {
    // Bit 2 has no meaning for the mouse, but the full request carries it.
    {"mouse", APPLY_FULL_MOUSE, 0x800F, 0x000B,
     "0x1 keys, macros, matrices and gun data; 0x2 general data; 0x4 (no effect, part of the "
     "full request); 0x8 pointer settings"},
    {"keyboard", APPLY_FULL_KEYBOARD, 0x8017, 0x0017,
     "0x1 keys, macros and key matrix; 0x2 configuration block and colour table; 0x4 per-key "
     "colours of all groups; 0x10 per-key colours of the current group"},
    // The pad always writes its whole lighting block; any of the full request's bits asks
    // for it.
    {"pad", APPLY_FULL_PAD, 0x8007, 0x0007, "0x1, 0x2 or 0x4: the whole lighting block"},
};

struct CApplyOptions {
    std::string strFamily;
    std::string strFlags;
    std::string strProfile;
};

CApplyOptions g_applyOpt;
CApplyOptions g_resetOpt;

[[noreturn]] void Fail(const std::string& strWhy, int nCode = 1) {
    std::fprintf(stderr, "velkinctl: %s\n", strWhy.c_str());
    throw CCliExit{nCode};
}

bool ParseNumber(const std::string& str, unsigned long long qwMax, unsigned long long& qwOut) {
    errno = 0;
    char* pEnd = nullptr;
    qwOut = std::strtoull(str.c_str(), &pEnd, 0);
    return !str.empty() && str[0] != '-' && *pEnd == '\0' && errno == 0 && qwOut <= qwMax;
}

std::string HexWord(uint32_t dw) {
    char sz[12];
    std::snprintf(sz, sizeof sz, "0x%08x", dw);
    return sz;
}

std::string Hex(int n) {
    char sz[12];
    std::snprintf(sz, sizeof sz, "0x%x", unsigned(n));
    return sz;
}

CHidDev* ModelOf(CDevModels& models, int nFamily) {
    switch (nFamily) {
    case FAMILY_MOUSE:
        return models.pMs.get();
    case FAMILY_KEYBOARD:
        return models.pKb.get();
    default:
        return models.pPad.get();
    }
}

// --family, or the first configured family in the order mouse, keyboard, pad.
int ChooseFamily(CDevModels& models, const std::string& strFamily) {
    if (strFamily.empty()) {
        for (int n = 0; n < FAMILY_COUNT; ++n)
            if (ModelOf(models, n))
                return n;
        Fail("this installation configures no device (MsFw, KbFw 20, PadFw 40)");
    }
    for (int n = 0; n < FAMILY_COUNT; ++n) {
        if (strFamily != kFamilies[n].pszName)
            continue;
        if (!ModelOf(models, n)) {
            static const char* const kWhy[FAMILY_COUNT] = {"MsFw is 0", "KbFw is not 20",
                                                           "PadFw is not 40"};
            Fail(std::string("this installation has no ") + kFamilies[n].pszName + " (" + kWhy[n] +
                     ")",
                 2);
        }
        return n;
    }
    Fail("--family must be mouse, keyboard or pad, not " + strFamily, 2);
}

int ParseFlags(const std::string& strFlags, int nFamily) {
    const CFamilyInfo& fam = kFamilies[nFamily];
    if (strFlags.empty())
        return fam.nFullFlags;
    unsigned long long qw = 0;
    if (!ParseNumber(strFlags, 0xFFFF, qw))
        Fail("--flags takes a number from 0 to 0xFFFF, not " + strFlags, 2);
    const int nFlag = int(qw);
    const std::string strHelp = std::string(" (the ") + fam.pszName + " takes " + fam.pszBits +
                                "; 0x8000 shows the progress)";
    if (nFlag & ~fam.nAccepted)
        Fail("--flags " + Hex(nFlag) + " holds bits the " + fam.pszName + " does not know" +
                 strHelp,
             2);
    if (!(nFlag & fam.nWrites))
        Fail("--flags " + Hex(nFlag) + " selects nothing to write" + strHelp, 2);
    return nFlag;
}

std::unique_ptr<CProList> OpenStore(bool bChanging) {
    auto pStore = std::make_unique<CProList>(gVar);
    pStore->Load(bChanging);
    if (!pStore->KeptAsidePath().empty())
        std::fprintf(stderr, "velkinctl: unusable %s kept as %s\n", pStore->ProFilePath().c_str(),
                     pStore->KeptAsidePath().c_str());
    pStore->SelectById(pStore->ReadCurrentId());
    if (!pStore->Current())
        Fail("there is no profile; create one with: velkinctl profiles new NAME");
    return pStore;
}

std::string Trim(const std::string& str) {
    const size_t nBegin = str.find_first_not_of(" \t\r\n");
    if (nBegin == std::string::npos)
        return "";
    return str.substr(nBegin, str.find_last_not_of(" \t\r\n") - nBegin + 1);
}

// The message boxes shown since nFrom go to standard error, as the program would show them.
void PrintBoxes(const CCliContext& ctx, size_t nFrom) {
    const auto& v = ctx.msgSink.m_vEntries;
    for (size_t i = nFrom; i < v.size(); ++i) {
        const std::string strTitle = v[i].strTitle.empty() ? "Message" : v[i].strTitle;
        std::fprintf(stderr, "velkinctl: %s: %s\n", strTitle.c_str(), Trim(v[i].strText).c_str());
    }
}

// Gun keys in mode 2 need the gun-preset switch key beside them while the gun option is on.
bool GunCheckFails(const Profile& profile) {
    if ((gVar.MsFw & 0xFF) < 16)
        return false;
    const MsMode& mode = profile.Ms.Mode[1];
    uint32_t dwGunOpt = 0;
    std::memcpy(&dwGunOpt, &mode.byGunOpt, sizeof dwGunOpt);
    const int nSet = mode.nKeySet;
    if (dwGunOpt == 0 || nSet < 0 || nSet >= MS_KEY_SETS)
        return false;
    bool bGun = false, bSwitch = false;
    for (const KeyAssign& k : mode.Keys[nSet]) {
        const uint32_t dwFun = k.Main.dwFun;
        if ((dwFun >> 24) != 8)
            continue;
        bGun = bGun || (dwFun & 0xFFFFFF) == 0xC0;
        bSwitch = bSwitch || (dwFun & 0xFFFFFF) == 0xC2;
    }
    return bGun && !bSwitch;
}

// Key set 0 of every mode from the ProCfg.ini preset of the profile's list position.
void ResetKeys(const CProList& store, Profile& profile) {
    int nPos = -1;
    for (size_t i = 0; i < store.Count(); ++i)
        if (store.List().At(i) == &profile)
            nPos = int(i);
    const MsModeTables* pPreset = GetResetPreset(gVar.Dev.Keys, nPos);
    if (!pPreset)
        return;
    for (int m = 0; m < MS_MODE_NUM; ++m)
        std::memcpy(profile.Ms.Mode[m].Keys[0], (*pPreset)[m], sizeof(KeyAssign) * MS_KEY_MAX);
}

// The installation's models and the chosen family's; FindDevice then looks for its device.
// The macro stores are loaded for the families whose keys refer to macros.
struct CDeviceSetup {
    CDevModels models;
    int nFamily = FAMILY_PAD;
    CHidDev* pDev = nullptr;
    bool bConnected = false;
};

void ChooseDevice(CCliContext& ctx, const std::string& strFamily, CDeviceSetup& setup) {
    PrepareDevices(ctx);
    setup.models = CreateDevModels(gVar);
    setup.nFamily = ChooseFamily(setup.models, strFamily);
    setup.pDev = ModelOf(setup.models, setup.nFamily);
}

void FindDevice(CDeviceSetup& setup) {
    if (setup.nFamily != FAMILY_PAD)
        LoadMacroStores(gVar, MacroStore, BulletStore);
    CHidDrv* pDrv = setup.pDev->Drv();
    setup.bConnected = pDrv && pDrv->FindDev() == 1 && setup.pDev->GetHandle() != nullptr;
}

// Runs one request on a real apply thread with the progress bar as its progress window and
// waits for it. Returns the apply's result (1 success).
int RunApply(CHidDev& dev, CProList& store, std::mutex& mtxProfile, int nFlag) {
    CProListSource source(store, mtxProfile);
    CProgressBar bar(stderr, CProgressBar::StderrIsTerminal());
    int nResult = 0;
    {
        CApplyThread thread(gVar, source, &bar);
        if (!thread.Start(&dev))
            Fail("the apply thread cannot start");
        if (nFlag & APPLY_FLAG_PROGRESS)
            bar.Show();
        if (!thread.Request(nFlag))
            Fail("the apply thread takes no more requests");
        // An apply cannot be cancelled; it ends on its own, failed transfers included.
        while (!thread.WaitHandled(1, 60000)) {
        }
        nResult = thread.LastResult();
    }
    bar.Close(); // when the apply never got to it
    return nResult;
}

void SaveStore(const CProList& store) {
    if (!store.Save())
        Fail("cannot write " + store.ProFilePath());
    if (!store.WriteCurrentId())
        Fail("cannot write " + store.CurIdPath());
}

std::string Describe(const Profile& profile) {
    return "\"" + GetWideField(profile.szName, PROFILE_NAME_LEN) + "\" (" + HexWord(profile.dwId) +
           ")";
}

void RunApplyCommand(CCliContext& ctx) {
    ctx.LoadInstallation();
    const size_t nBoxes = ctx.msgSink.m_vEntries.size();
    CDeviceSetup setup;
    ChooseDevice(ctx, g_applyOpt.strFamily, setup);
    const CFamilyInfo& fam = kFamilies[setup.nFamily];
    const int nFlag = ParseFlags(g_applyOpt.strFlags, setup.nFamily);

    auto pStore = OpenStore(false);
    if (!g_applyOpt.strProfile.empty()) {
        unsigned long long qw = 0;
        if (!ParseNumber(g_applyOpt.strProfile, 0xFFFFFFFF, qw))
            Fail("not an id (decimal or 0x hexadecimal): " + g_applyOpt.strProfile, 2);
        Profile* p = pStore->FindById(uint32_t(qw));
        if (!p)
            Fail("no profile with id " + g_applyOpt.strProfile);
        // Only this run's copy of the store changes; the stored current profile stays.
        pStore->SetCurrent(p);
    }
    const Profile& profile = *pStore->Current();
    if (setup.nFamily == FAMILY_MOUSE && GunCheckFails(profile)) {
        const std::string strText = Txt("tc_chiji7");
        Fail(strText.empty() ? "the gun keys of mode 2 need a gun-preset switch key" : strText);
    }
    FindDevice(setup);
    if (!setup.bConnected && gVar.GoWithNoDev == 0) {
        PrintBoxes(ctx, nBoxes);
        Fail(std::string("no ") + fam.pszName + " is connected; nothing was written");
    }

    std::mutex mtxProfile;
    const int nResult = RunApply(*setup.pDev, *pStore, mtxProfile, nFlag);
    PrintBoxes(ctx, nBoxes);
    if (nResult != 1)
        Fail("applying profile " + Describe(profile) + " to the " + fam.pszName + " failed");
    std::printf("Applied profile %s to the %s (flags %s).\n", Describe(profile).c_str(),
                fam.pszName, Hex(nFlag).c_str());
}

void RunResetCommand(CCliContext& ctx) {
    ctx.LoadInstallation();
    const size_t nBoxes = ctx.msgSink.m_vEntries.size();
    CDeviceSetup setup;
    ChooseDevice(ctx, g_resetOpt.strFamily, setup);
    const CFamilyInfo& fam = kFamilies[setup.nFamily];
    auto pStore = OpenStore(true);
    Profile& profile = *pStore->Current();
    // Found first: the mouse's defaults follow the sensor it reports.
    FindDevice(setup);

    std::mutex mtxProfile;
    {
        std::lock_guard<std::mutex> lock(mtxProfile);
        SetWideField(profile.szSound, PROFILE_SOUND_LEN,
                     FileLookup::Resolve(gVar.szProgramDir, "DrvSound.wav"));
        setup.pDev->FillDefault(profile);
        if (setup.nFamily == FAMILY_MOUSE)
            ResetKeys(*pStore, profile);
    }
    setup.pDev->SetReset(1);
    if (setup.nFamily == FAMILY_MOUSE) {
        // The apply writes the description's default level as the current one.
        const SensorCfg* pCfg = gVar.Dev.Ms.pSensorCfg();
        const int nLevel = pCfg ? std::max(pCfg->DEFLEVEL, 0) : 0;
        for (int& n : g_nCurDpiLevel)
            n = nLevel;
    }

    if (!setup.bConnected && gVar.ApplyNow == 0) {
        PrintBoxes(ctx, nBoxes);
        std::printf("Reset the %s settings of profile %s in memory only: no %s is connected "
                    "and ApplyNow is 0, so nothing was written or saved.\n",
                    fam.pszName, Describe(profile).c_str(), fam.pszName);
        return;
    }
    const int nResult = RunApply(*setup.pDev, *pStore, mtxProfile, fam.nFullFlags);
    PrintBoxes(ctx, nBoxes);
    // The reset profile is kept whether or not the device took it, as the program does.
    SaveStore(*pStore);
    if (nResult != 1) {
        const std::string strWhy =
            setup.bConnected || gVar.GoWithNoDev != 0
                ? "writing them to the " + std::string(fam.pszName) + " failed"
                : "no " + std::string(fam.pszName) + " is connected";
        Fail("reset the " + std::string(fam.pszName) + " settings of profile " + Describe(profile) +
             " and saved them, but " + strWhy);
    }
    std::printf("Reset the %s settings of profile %s, wrote them to the %s and saved the "
                "store.\n",
                fam.pszName, Describe(profile).c_str(), fam.pszName);
}

void AddFamilyOption(CLI::App* pCmd, std::string& strFamily) {
    pCmd->add_option("--family", strFamily,
                     "mouse, keyboard or pad (default: the first configured, in that order)");
}

} // namespace

void RegisterApplyCommands(CLI::App& app, CCliContext& ctx) {
    CLI::App* pApply = app.add_subcommand(
        "apply", "write the current profile (or --profile ID) to a device, with progress");
    AddFamilyOption(pApply, g_applyOpt.strFamily);
    pApply->add_option("--flags", g_applyOpt.strFlags,
                       "what to write (default: the full apply, 0x800F mouse, 0x8007 keyboard "
                       "and pad; 0x8000 shows the progress)");
    pApply->add_option("--profile", g_applyOpt.strProfile,
                       "id of the profile to write (default: the current one; it stays current)");
    pApply->callback([&ctx] { RunApplyCommand(ctx); });

    CLI::App* pReset = app.add_subcommand(
        "reset", "return a family's settings of the current profile to the defaults, write "
                 "them to the device and save, as the reset button does");
    AddFamilyOption(pReset, g_resetOpt.strFamily);
    pReset->callback([&ctx] { RunResetCommand(ctx); });
}
