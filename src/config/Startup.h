#pragma once
// The configuration part of start-up, shared by the program and velkinctl: program
// directory, options and descriptions, key tables, user data directory, skin and language,
// texts, the launch line and the version text. The windowed steps (single instance, font,
// main window) belong to the application object.
#include <string>

#include "config/GlobalVar.h"

struct StartupDirs {
    std::string strProgramDir;   // with trailing '/'
    std::string strLocalAppData; // stands in for the local application data folder
    std::string strDesktop;      // where Log.txt goes
};

// Directories as the platform gives them (overrides included).
StartupDirs DefaultStartupDirs();

// Runs the configuration steps in their order. Returns false when start-up must end at
// once (no program directory). Message boxes go to the installed sink.
bool LoadConfiguration(const StartupDirs& dirs, CGlobalVar& var, CMacroLimits& limits);

// Path of the text catalogue for the chosen language.
std::string TextCataloguePath(const CGlobalVar& var);
// Mutex name: tc_mutex, else the built-in name.
std::string MutexName();
