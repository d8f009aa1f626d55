#pragma once
// The diagnostic trace. LogPrint is set once at start-up (LogSetup) and every part of the
// program logs through it. Entries are UTF-8 printf formats.
#include <cstddef>
#include <cstdint>
#include <string>

typedef void (*LogPrintFn)(const char* pszFormat, ...) __attribute__((format(printf, 1, 2)));

// Points to a writer that writes nothing until LogSetup runs.
extern LogPrintFn LogPrint;

// Chooses the writer from the Debug level (0 nothing, 2 the file Log.txt in szDesktopDir,
// anything else the debugger output) and trims a log file past 512000 bytes.
void LogSetup(int nDebug, const std::string& strDesktopDir);
// Restores the initial state (tests only).
void LogReset();
int LogLevel();
std::string LogFilePath();

void LogDump(const void* pData, size_t nLen, int nBytesPerLine, const char* pszPrefix);
void LogDumpGrouped(const char* pszPrefix, const void* pData, size_t nLen, int nBytesPerLine,
                    int nGroupSize);
