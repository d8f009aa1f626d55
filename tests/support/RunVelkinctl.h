#pragma once
// Runs the velkinctl of this build as a user would, for the command-line tests.
#include <string>

struct CRunResult {
    int nStatus; // exit status, -1 when it did not exit normally
    std::string strOut;
    std::string strErr;
};

// Runs velkinctl with the arguments (a shell word list); standard input is empty, so a
// question is answered as on a closed terminal.
CRunResult RunVelkinctl(const std::string& strArgs);
