// velkinctl check: what a product-line author runs before shipping an installation.
#include <cstdio>
#include <memory>

#include "cli/CliContext.h"
#include "config/DescCheck.h"
#include "config/GlobalVar.h"

void RegisterCheckCommand(CLI::App& app, CCliContext& ctx) {
    CLI::App* pCmd = app.add_subcommand(
        "check", "load the installation like the program and list every message and problem");
    auto pJson = std::make_shared<bool>(false);
    pCmd->add_flag("--json", *pJson, "print the result as JSON");
    pCmd->callback([&ctx, pJson] {
        ctx.LoadInstallation();
        std::vector<std::string> vProblems = CheckDescriptions(gVar);
        for (std::string& s : CheckSkinFiles(gVar))
            vProblems.push_back(std::move(s));
        size_t nMessages = ctx.msgSink.m_vEntries.size();
        if (*pJson) {
            nlohmann::json j;
            j["messages"] = ctx.MessagesJson();
            j["problems"] = vProblems;
            PrintJson(j);
        } else {
            for (const auto& e : ctx.msgSink.m_vEntries)
                printf("message: [%s] %s\n", e.strTitle.c_str(), e.strText.c_str());
            for (const auto& s : vProblems)
                printf("problem: %s\n", s.c_str());
            printf("%zu message(s), %zu problem(s)\n", nMessages, vProblems.size());
        }
        if (nMessages != 0 || !vProblems.empty())
            throw CCliExit{1};
    });
}
