// velkinctl: the program's core from the command line, for scripting and checks.
#include <CLI/CLI.hpp>
#include <cstdio>

#include "cli/CliContext.h"
#include "cli/DeviceSession.h"

void RegisterSimControlCommand(CLI::App& app);

int main(int argc, char** argv) {
    CLI::App app{"velkinctl: configure the devices of this installation from the command line"};
    app.require_subcommand(1);
    CCliContext ctx;
    app.add_option("--program-dir", ctx.strProgramDir,
                   "installation folder (default: the folder of this executable)");
    app.add_option("--data-dir", ctx.strDataDir,
                   "folder that stands in for the local application data folder");
    app.add_option("--desktop-dir", ctx.strDesktopDir, "folder that receives Log.txt");

    RegisterTextCommands(app, ctx);
    RegisterConfigCommands(app, ctx);
    RegisterCheckCommand(app, ctx);
    RegisterKeyCommands(app, ctx);
    RegisterDeviceCommands(app, ctx);
    RegisterStorageCommands(app, ctx);
    RegisterApplyCommands(app, ctx);
    RegisterSimStateCommand(app, ctx); // after --simulate, which its option needs
    RegisterSimControlCommand(app);

    int nStatus = 0;
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    } catch (const CCliExit& e) {
        nStatus = e.nCode;
    }
    return WriteSimStateAfterCommand(ctx, nStatus);
}
