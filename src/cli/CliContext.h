#pragma once
// What every velkinctl command shares: the directory options, the loaded installation and
// the message boxes that loading showed.
#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>
#include <string>

#include "platform/MessageBox.h"

// Thrown by a command to end velkinctl with an exit status (after printing why).
struct CCliExit {
    int nCode;
};

struct CCliContext {
    std::string strProgramDir; // --program-dir
    std::string strDataDir;    // --data-dir
    std::string strDesktopDir; // --desktop-dir
    CCollectingMessageSink msgSink;
    bool bLoaded = false;

    // Applies the directory options and runs the configuration part of start-up once.
    // Throws CCliExit(2) after a clear message when a given directory does not exist.
    void LoadInstallation();
    // The message boxes shown so far, as [{title, text}, ...].
    nlohmann::json MessagesJson() const;
};

// Prints a JSON document to standard output.
void PrintJson(const nlohmann::json& j);

// Ends a command whose file operation failed, naming the file and the system's reason:
// "velkinctl: cannot VERB FILE: REASON" on standard error, exit status nCode. nErr is the
// errno the failure left.
[[noreturn]] void FailFileOp(const char* pszVerb, const std::string& strPath, int nErr,
                             int nCode = 1);
// The system's text for an errno value.
std::string ErrnoText(int nErr);

// Each command file registers its sub-commands here; main.cpp calls them in turn.
void RegisterTextCommands(CLI::App& app, CCliContext& ctx);
void RegisterConfigCommands(CLI::App& app, CCliContext& ctx);
void RegisterCheckCommand(CLI::App& app, CCliContext& ctx);
void RegisterKeyCommands(CLI::App& app, CCliContext& ctx);
void RegisterDeviceCommands(CLI::App& app, CCliContext& ctx);
void RegisterStorageCommands(CLI::App& app, CCliContext& ctx);

// Adds the device descriptions to the JSON of `velkinctl config`.
void AddDescriptionJson(nlohmann::json& j);
// Adds the key tables (g_defKEY, default mouse keys, gestures, presets) to it.
void AddKeyTablesJson(nlohmann::json& j);
