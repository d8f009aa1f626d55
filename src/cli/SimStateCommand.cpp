// velkinctl sim-state and --sim-state-out: what the simulated devices hold. Every velkinctl
// run is a process of its own with fresh simulated devices, so the state is worth reading
// after the command that wrote it: `velkinctl --simulate --sim-state-out - apply` prints
// the devices as the apply left them, `velkinctl --simulate sim-state` as they start.
#include <cerrno>
#include <cstdio>
#include <string>

#include "cli/DeviceSession.h"
#include "device/sim/SimStateDump.h"
#include "platform/FileLookup.h"

namespace {

std::string g_strStateOut;
CLI::Option* s_pStateOut = nullptr;

std::string StateText(CSimBackend& backend) {
    return SimStateDump(backend).dump(2, ' ', false, nlohmann::json::error_handler_t::replace) +
           "\n";
}

void RequireSimulation(const char* pszWhat) {
    if (SimulationRequested())
        return;
    std::fprintf(stderr, "velkinctl: %s needs --simulate\n", pszWhat);
    throw CCliExit{2};
}

} // namespace

void RegisterSimStateCommand(CLI::App& app, CCliContext& ctx) {
    s_pStateOut = app.add_option("--sim-state-out", g_strStateOut,
                                 "with --simulate: write the simulated devices' state as JSON to "
                                 "FILE (- for standard "
                                 "output) after the command has run")
                      ->needs("--simulate");
    app.add_subcommand("sim-state", "print the simulated devices' state as JSON (with --simulate)")
        ->callback([&ctx] {
            RequireSimulation("sim-state");
            PrepareDevices(ctx);
            std::string str = StateText(*SimulatedDevices());
            std::fwrite(str.data(), 1, str.size(), stdout);
        });
}

int WriteSimStateAfterCommand(CCliContext& ctx, int nStatus) {
    if (!s_pStateOut || s_pStateOut->count() == 0) {
        ReleaseDevices();
        return nStatus;
    }
    try {
        RequireSimulation("--sim-state-out");
        PrepareDevices(ctx);
    } catch (const CCliExit& e) {
        return nStatus != 0 ? nStatus : e.nCode;
    }
    const std::string str = StateText(*SimulatedDevices());
    ReleaseDevices();
    if (g_strStateOut == "-") {
        std::fflush(stdout);
        std::fwrite(str.data(), 1, str.size(), stdout);
        return nStatus;
    }
    if (!FileLookup::WriteAtomic(g_strStateOut, str.data(), str.size())) {
        std::fprintf(stderr, "velkinctl: cannot write the simulation state to %s: %s\n",
                     g_strStateOut.c_str(), ErrnoText(errno).c_str());
        return nStatus != 0 ? nStatus : 2;
    }
    return nStatus;
}
