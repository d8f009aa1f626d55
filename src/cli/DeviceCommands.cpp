// Device commands of velkinctl: discovery of every configured family, the udev rule, and
// the global options that choose the simulated back-end and trace every report.
#include <cerrno>
#include <cstdio>
#include <memory>
#include <mutex>

#include "cli/CliContext.h"
#include "cli/DeviceSession.h"
#include "config/GlobalVar.h"
#include "device/hid/CurLevels.h"
#include "device/hid/Drv816.h"
#include "device/hid/Drv8948.h"
#include "device/hid/Drv901.h"
#include "device/hid/DrvPad.h"
#include "device/hid/HidBackend.h"
#include "device/hid/HidTrace.h"
#include "device/hid/KbMonitorDevice.h"
#include "device/hid/UdevRules.h"
#include "device/sim/SimInstallation.h"
#include "platform/FileLookup.h"

namespace {

struct CDeviceOptions {
    bool bSimulate = false;
    std::string strSimFile;
    std::string strTrace;
};

// Writes one JSON object per report to the trace file.
class CJsonLineTrace : public IHidTraceSink {
public:
    explicit CJsonLineTrace(FILE* pFile) : m_pFile(pFile) {}
    ~CJsonLineTrace() override { std::fclose(m_pFile); }
    void OnReport(const CHidTraceRecord& rec) override {
        nlohmann::json j = {{"device", rec.strDevice},
                            {"collection", rec.nCollection},
                            {"direction", rec.pszDirection},
                            {"operation", rec.pszOperation},
                            {"report", HexBytes(rec.vBytes.data(), rec.vBytes.size())},
                            {"result", rec.nResult}};
        std::string s = j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
        std::lock_guard<std::mutex> lock(m_mtx);
        std::fprintf(m_pFile, "%s\n", s.c_str());
        std::fflush(m_pFile);
    }

private:
    FILE* m_pFile;
    std::mutex m_mtx;
};

CDeviceOptions g_opt;
CLI::Option* s_pSimulate = nullptr;
CSimBackend g_simBackend;
std::unique_ptr<CJsonLineTrace> g_pTrace;

std::string Hex4(int n) {
    char sz[8];
    std::snprintf(sz, sizeof sz, "%04x", unsigned(n) & 0xFFFF);
    return sz;
}

std::string HandleProduct(CHidDrv& drv) {
    HidHandle h = drv.GetHandle();
    char sz[260] = "";
    if (h)
        drv.Lib().GetProductString(h, sz, sizeof sz);
    return sz;
}

nlohmann::json FamilyJson(const char* pszFamily, CHidDrv& drv, int nVid, int nPid) {
    nlohmann::json j = {{"family", pszFamily}, {"vid", Hex4(nVid)}, {"pid", Hex4(nPid)}};
    j["present"] = drv.IsPresent() != 0;
    int nFound = drv.FindDev();
    j["FindDev"] = nFound;
    j["product"] = nFound == 1 ? HandleProduct(drv) : "";
    return j;
}

nlohmann::json MouseJson(CGlobalVar& var) {
    CDrv8948 drv(var);
    nlohmann::json j = FamilyJson("8948", drv, var.Dev.Ms.VID, var.Dev.Ms.PID);
    if (j["FindDev"] != 1)
        return j;
    HidHandle h = drv.GetHandle();
    j["path"] = h ? h->DevicePath() : "";
    uint8_t byCode[4];
    if (drv.GetPsd(byCode)) {
        char sz[16];
        std::snprintf(sz, sizeof sz, "%02x%02x%02x%02x", byCode[0], byCode[1], byCode[2],
                      byCode[3]);
        j["code"] = sz;
    }
    j["mode"] = drv.DevMode();
    j["sensor"] = Hex4(drv.ConnectedSensor());
    j["notify"] = bool(drv.NotifyHandle());
    j["dpiLevel"] = {g_nCurDpiLevel[0], g_nCurDpiLevel[1], g_nCurDpiLevel[2]};
    if (var.Dev.Ms.ShowLOD)
        j["lodLevel"] = {g_nCurLODLevel[0], g_nCurLODLevel[1], g_nCurLODLevel[2]};
    return j;
}

void RunDevices(CCliContext& ctx) {
    PrepareDevices(ctx);
    CGlobalVar& var = gVar;
    nlohmann::json jDevices = nlohmann::json::array();
    if (var.MsFw != 0) {
        jDevices.push_back(MouseJson(var));
        if (var.Dev.Ms.KeySwVk[0] != 0) {
            nlohmann::json jc;
            if (var.Dev.Ms.KbIC == 2305) {
                CDrv901 drv(var);
                jc = FamilyJson("901", drv, var.Dev.Kb.VID, var.Dev.Kb.PID);
            } else {
                CDrv816 drv(var);
                jc = FamilyJson("816", drv, var.Dev.Kb.VID, var.Dev.Kb.PID);
            }
            jc["companion"] = true;
            CHidLib lib;
            HidHandle hMon = OpenKbMonitorDevice(lib);
            jc["monitor"] = hMon ? hMon->DevicePath() : "";
            jDevices.push_back(jc);
        }
    }
    if (var.KbFw == 20) {
        CDrv816 drv(var);
        jDevices.push_back(FamilyJson("816", drv, var.Dev.Kb.VID, var.Dev.Kb.PID));
    }
    if (var.PadFw == 40) {
        CDrvPad drv(var);
        jDevices.push_back(FamilyJson("pad", drv, var.Dev.Pad.VID, var.Dev.Pad.PID));
    }
    nlohmann::json j = {{"backend", GetHidBackend().Name()},
                        {"devices", jDevices},
                        {"messages", ctx.MessagesJson()}};
    PrintJson(j);
    ReleaseDevices();
}

} // namespace

void PrepareDevices(CCliContext& ctx) {
    // A preparation that failed once has said why; it is not tried again.
    enum class EState { None, Ready, Failed };
    static EState s_eState = EState::None;
    if (s_eState == EState::Ready)
        return;
    if (s_eState == EState::Failed)
        throw CCliExit{2};
    s_eState = EState::Failed;
    ctx.LoadInstallation();
    g_opt.bSimulate = SimulationRequested();
    if (g_opt.bSimulate) {
        AttachInstallationDevices(gVar, g_simBackend);
        std::string strError;
        // A file that cannot be read is named with the system's reason; its contents are
        // the simulation's to judge.
        if (!g_opt.strSimFile.empty() && !FileLookup::ReadAll(g_opt.strSimFile))
            FailFileOp("read the simulation file", g_opt.strSimFile, errno, 2);
        if (!g_opt.strSimFile.empty() &&
            !LoadSimulationFile(g_opt.strSimFile, gVar, g_simBackend, strError)) {
            std::fprintf(stderr, "velkinctl: simulation file %s: %s\n", g_opt.strSimFile.c_str(),
                         strError.c_str());
            throw CCliExit{2};
        }
        SetHidBackend(&g_simBackend);
    }
    if (!g_opt.strTrace.empty()) {
        FILE* pFile = std::fopen(g_opt.strTrace.c_str(), "w");
        if (pFile == nullptr)
            FailFileOp("write the trace file", g_opt.strTrace, errno, 2);
        g_pTrace = std::make_unique<CJsonLineTrace>(pFile);
        SetHidTraceSink(g_pTrace.get());
    }
    s_eState = EState::Ready;
}

void ReleaseDevices() {
    SetHidTraceSink(nullptr);
    g_pTrace.reset();
    SetHidBackend(nullptr);
}

bool SimulationRequested() {
    return s_pSimulate && s_pSimulate->count() > 0;
}

CSimBackend* SimulatedDevices() {
    return SimulationRequested() ? &g_simBackend : nullptr;
}

void RegisterDeviceCommands(CLI::App& app, CCliContext& ctx) {
    CLI::Option* pSim =
        app.add_option("--simulate", g_opt.strSimFile,
                       "use simulated devices instead of hidraw; an optional FILE (JSON, "
                       "--simulate=FILE) changes what is attached")
            ->expected(0, 1);
    s_pSimulate = pSim;
    app.add_option("--trace", g_opt.strTrace,
                   "write every report exchanged with a device to FILE, one JSON object a line");

    app.add_subcommand("devices", "look for every configured device and print what was found")
        ->callback([&ctx] { RunDevices(ctx); });
    app.add_subcommand("udev-rules",
                       "print a udev rule giving the logged-in user access to the devices")
        ->callback([&ctx] {
            ctx.LoadInstallation();
            std::fputs(MakeUdevRules(ConfiguredUsbIds(gVar)).c_str(), stdout);
        });
}
