#pragma once
// Where the program finds its installation and where it keeps the user's files.
// Every directory ends in '/'. Each can be overridden (tests, velkinctl --program-dir ...),
// and an override wins over the environment.
#include <string>

namespace Paths {
// Folder of /proc/self/exe with a trailing '/'; empty when it cannot be found.
std::string ProgramDir();
// $XDG_DATA_HOME, else ~/.local/share, with a trailing '/'. This is the folder that stands
// in for the local application data folder; the program appends its own `appdir`.
std::string LocalAppDataDir();
// The XDG desktop directory from ~/.config/user-dirs.dirs, else ~/Desktop, with a trailing '/'.
std::string DesktopDir();

void SetProgramDirOverride(const std::string& dir);
void SetLocalAppDataOverride(const std::string& dir);
void SetDesktopOverride(const std::string& dir);
void ClearOverrides();

// Adds a trailing '/' when missing (an empty string stays empty).
std::string WithSlash(const std::string& dir);
} // namespace Paths
