// velkinctl: the program's core from the command line, for scripting and checks.
#include <CLI/CLI.hpp>
#include <cstdio>

#include "cli/CliContext.h"
#include "cli/DeviceSession.h"

void RegisterSimControlCommand(CLI::App& app);

namespace {
// Exit status of a command line that cannot be run as given (unknown option or command,
// missing argument, no command), whatever the parser's own code for the kind of mistake.
constexpr int kUsageError = 2;
} // namespace

int main(int argc, char** argv) {
    CLI::App app{"velkinctl: configure the devices of this installation from the command line"};
    app.require_subcommand(1);
    app.set_version_flag("--version", "velkinctl " VELKIN_VERSION, "print the version and exit");
    app.failure_message([](const CLI::App* pApp, const CLI::Error& e) {
        // Without a known command the parser only says that one is required; name what was
        // given instead, at the level of commands where it was given.
        std::string strWhy = e.what();
        if (e.get_name() == "RequiredError" && strWhy.find("subcommand") != std::string::npos) {
            const CLI::App* pLevel = pApp;
            while (!pLevel->get_subcommands().empty())
                pLevel = pLevel->get_subcommands().front();
            const std::vector<std::string> vLeft = pLevel->remaining();
            strWhy = vLeft.empty() ? "a command is missing"
                                   : "not a command or option: " + vLeft.front();
            if (pLevel != pApp)
                strWhy = pLevel->get_name() + ": " + strWhy;
        }
        return "velkinctl: " + strWhy +
               "\nRun velkinctl --help (or COMMAND --help) for the commands and options.\n";
    });
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
        // --help and --version end the parse as well, with status 0.
        const int nParserStatus = app.exit(e);
        return nParserStatus == 0 ? 0 : kUsageError;
    } catch (const CCliExit& e) {
        nStatus = e.nCode;
    }
    return WriteSimStateAfterCommand(ctx, nStatus);
}
