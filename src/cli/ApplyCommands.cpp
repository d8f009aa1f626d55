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

#include "cli/CliSession.h"
#include "cli/DeviceSession.h"
#include "cli/ProgressBar.h"
#include "config/GlobalVar.h"
#include "config/KeyLookup.h"
#include "config/TextCatalogue.h"
#include "device/hid/CurLevels.h"
#include "device/models/ApplyThread.h"
#include "device/models/ModelFactory.h"
#include "platform/FileLookup.h"
#include "storage/MacroFolders.h"
#include "storage/MacroStore.h"
#include "storage/ProfileStore.h"
#include "storage/WideField.h"

namespace {

struct CApplyOptions {
    std::string strFamily;
    std::string strFlags;
    std::string strProfile;
};

CApplyOptions g_applyOpt;
CApplyOptions g_resetOpt;

[[noreturn]] void Fail(const std::string& strWhy, int nCode = 1) {
    CliFail(strWhy, nCode);
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

// --family, or the first configured family in the order mouse, keyboard, pad.
int ChooseFamily(const CSession& session, const std::string& strFamily) {
    if (strFamily.empty()) {
        for (const CFamilyInfo& f : Families())
            if (session.Dev(f.eFamily))
                return f.eFamily;
        Fail("this installation configures no device (MsFw, KbFw 20, PadFw 40)");
    }
    const CFamilyInfo* pInfo = FamilyByName(strFamily);
    if (!pInfo)
        Fail("--family must be mouse, keyboard or pad, not " + strFamily, 2);
    if (!session.Dev(pInfo->eFamily))
        Fail(std::string("this installation has no ") + pInfo->pszName + " (" + pInfo->pszAbsent +
                 ")",
             2);
    return pInfo->eFamily;
}

int ParseFlags(const std::string& strFlags, int nFamily) {
    const CFamilyInfo& fam = *FamilyInfo(nFamily);
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

// The session with the installation's models; the chosen family's device is looked for
// (FindDevice) after the profile checks, as the window checks before it writes.
struct CDeviceSetup {
    std::unique_ptr<CSession> pSession;
    int nFamily = FAMILY_NONE;
    CHidDev* pDev = nullptr;
    bool bConnected = false;
};

void ChooseDevice(CCliContext& ctx, const std::string& strFamily, bool bChanging,
                  CDeviceSetup& setup) {
    PrepareDevices(ctx);
    setup.pSession = OpenCliSession(ctx, bChanging, true);
    CSession& s = *setup.pSession;
    if (!s.Current())
        Fail("there is no profile; create one with: velkinctl profiles new NAME");
    CDevModels models = CreateDevModels(gVar, nullptr, &s.macros);
    s.pMs = std::move(models.pMs);
    s.pKb = std::move(models.pKb);
    s.pPad = std::move(models.pPad);
    setup.nFamily = ChooseFamily(s, strFamily);
    setup.pDev = s.Dev(setup.nFamily);
}

void FindDevice(CDeviceSetup& setup) {
    CHidDrv* pDrv = setup.pDev->Drv();
    setup.bConnected = pDrv && pDrv->FindDev() == 1 && setup.pDev->GetHandle() != nullptr;
}

// Runs one request on a real apply thread with the progress bar as its progress window and
// waits for it. Returns the apply's result (1 success).
int RunApply(CDeviceSetup& setup, int nFlag) {
    CSession& s = *setup.pSession;
    // Declared first: the apply threads report to the bar until they are stopped.
    CProgressBar bar(stderr, CProgressBar::StderrIsTerminal());
    s.StartApplyThreads();
    CApplyThread* pThread = s.Apply(setup.nFamily);
    if (!pThread || !pThread->Running())
        Fail("the apply thread cannot start");
    const bool bProgress = (nFlag & APPLY_FLAG_PROGRESS) != 0;
    if (bProgress)
        bar.Show();
    if (!s.RequestApply(setup.nFamily, nFlag, bProgress ? &bar : nullptr))
        Fail("the apply thread takes no more requests");
    // An apply cannot be cancelled; it ends on its own, failed transfers included.
    while (!pThread->WaitHandled(1, 60000)) {
    }
    const int nResult = pThread->LastResult();
    s.StopApplyThreads();
    bar.Close(); // when the apply never got to it
    // Its boxes go where velkinctl's boxes go (printed by the caller); velkinctl sets no
    // desktop pointer settings.
    s.DeliverApplyOutcomes();
    return nResult;
}

std::string Describe(const Profile& profile) {
    return "\"" + GetWideField(profile.szName, PROFILE_NAME_LEN) + "\" (" + HexWord(profile.dwId) +
           ")";
}

void RunApplyCommand(CCliContext& ctx) {
    ctx.LoadInstallation();
    const size_t nBoxes = ctx.msgSink.m_vEntries.size();
    CDeviceSetup setup;
    ChooseDevice(ctx, g_applyOpt.strFamily, false, setup);
    CSession& s = *setup.pSession;
    const CFamilyInfo& fam = *FamilyInfo(setup.nFamily);
    const int nFlag = ParseFlags(g_applyOpt.strFlags, setup.nFamily);
    if (!g_applyOpt.strProfile.empty()) {
        // Only this run's copy of the store changes; the stored current profile stays.
        s.Select(FindCliProfile(s, g_applyOpt.strProfile).dwId);
    }
    const Profile& profile = *s.Current();
    CCliSessionUi ui;
    if (s.CheckGunKeys(ui) != EApplyRefusal::None)
        Fail("the gun keys of mode 2 need a gun-preset switch key; nothing was written");
    FindDevice(setup);
    if (s.CheckConnected(setup.nFamily, ui) != EApplyRefusal::None) {
        PrintBoxes(ctx, nBoxes);
        Fail(std::string("no ") + fam.pszName + " is connected; nothing was written");
    }

    const int nResult = RunApply(setup, nFlag);
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
    ChooseDevice(ctx, g_resetOpt.strFamily, true, setup);
    CSession& s = *setup.pSession;
    const CFamilyInfo& fam = *FamilyInfo(setup.nFamily);
    const Profile& profile = *s.Current();
    // Found first: the mouse's defaults follow the sensor it reports.
    FindDevice(setup);

    CCliSessionUi ui;
    ui.m_bQuietYes = true; // the command is the user's confirmation
    bool bDone = false;
    const bool bWrite = s.ResetFamily(setup.nFamily, ui, bDone);
    if (!bDone)
        Fail("the " + std::string(fam.pszName) + " settings could not be reset");
    if (!bWrite) {
        PrintBoxes(ctx, nBoxes);
        std::printf("Reset the %s settings of profile %s in memory only: no %s is connected "
                    "and ApplyNow is 0, so nothing was written or saved.\n",
                    fam.pszName, Describe(profile).c_str(), fam.pszName);
        return;
    }
    const int nResult = RunApply(setup, fam.nFullFlags);
    PrintBoxes(ctx, nBoxes);
    // The reset profile is kept whether or not the device took it, as the program does.
    SaveCliSession(s);
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
                       "id or name of the profile to write (default: the current one; the stored "
                       "current profile stays)");
    pApply->callback([&ctx] { RunApplyCommand(ctx); });

    CLI::App* pReset = app.add_subcommand(
        "reset", "return a family's settings of the current profile to the defaults, write "
                 "them to the device and save, as the reset button does");
    AddFamilyOption(pReset, g_resetOpt.strFamily);
    pReset->callback([&ctx] { RunResetCommand(ctx); });
}
