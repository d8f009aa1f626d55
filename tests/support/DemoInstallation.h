#pragma once
// The demo installation of the repository, loaded as start-up loads it, with a temporary
// folder standing in for the user data and desktop folders.
#include <string>

#include "config/Startup.h"
#include "support/TestDirs.h"

inline bool LoadDemoInstallation(CGlobalVar& var, CMacroLimits& limits, const CTempDir& data) {
    return LoadConfiguration(
        StartupDirs{std::string(VELKIN_SOURCE_DIR) + "/install/demo/", data.Path(), data.Path()},
        var, limits);
}
