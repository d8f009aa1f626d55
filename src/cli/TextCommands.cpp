#include "cli/CliContext.h"
#include "config/TextCatalogue.h"

void RegisterTextCommands(CLI::App& app, CCliContext& ctx) {
    CLI::App* pCmd =
        app.add_subcommand("texts", "print every text id and its text as one JSON object");
    pCmd->callback([&ctx] {
        ctx.LoadInstallation();
        nlohmann::ordered_json jo;
        for (const std::string& strId : TextIds())
            jo[strId] = Txt(strId.c_str());
        std::string str = jo.dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
        fwrite(str.data(), 1, str.size(), stdout);
        fputc('\n', stdout);
    });
}
