#include "config/Log.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <sys/stat.h>

#include "platform/Clock.h"
#include "platform/DebugOutput.h"

namespace {
// Entries come from the user-interface thread, the apply threads and the listener; one lock
// keeps every entry whole. Formatting happens outside it.
std::mutex g_mtxWrite;
int g_nDebug = 0;
std::string g_strLogPath;

void NullWriter(const char*, ...) {}

// Callers log a failure first and report its errno afterwards; writing the entry must not
// change what they report.
class CKeepErrno {
public:
    CKeepErrno() : m_nErrno(errno) {}
    ~CKeepErrno() { errno = m_nErrno; }
    CKeepErrno(const CKeepErrno&) = delete;
    CKeepErrno& operator=(const CKeepErrno&) = delete;

private:
    int m_nErrno;
};

void FormatEntry(char* pszBuf, size_t nSize, const char* pszFormat, va_list ap) {
    int n = vsnprintf(pszBuf, nSize, pszFormat, ap);
    if (n < 0)
        pszBuf[0] = 0;
}

void DebuggerWriter(const char* pszFormat, ...) {
    if (g_nDebug == 0)
        return;
    const CKeepErrno keepErrno;
    // The entry is cut to the 512-character buffer, tag included.
    char szBuf[512];
    memcpy(szBuf, "QV  ", 4);
    va_list ap;
    va_start(ap, pszFormat);
    FormatEntry(szBuf + 4, sizeof(szBuf) - 4, pszFormat, ap);
    va_end(ap);
    DebugOutput(szBuf);
}

void FileWriter(const char* pszFormat, ...) {
    if (g_nDebug == 0)
        return;
    const CKeepErrno keepErrno;
    char szEntry[2048];
    va_list ap;
    va_start(ap, pszFormat);
    FormatEntry(szEntry, sizeof(szEntry), pszFormat, ap);
    va_end(ap);
    LocalTime t = GetClock().Now();

    std::lock_guard<std::mutex> lock(g_mtxWrite);
    // Opened and closed for every entry: each entry reaches the disk at once and other
    // programs can read the file while we run.
    FILE* pFile = fopen(g_strLogPath.c_str(), "ab");
    if (!pFile) {
        DebugOutput("Open Log failed");
        return;
    }
    fprintf(pFile, "\r\n%02u:%02u.%03u   %s", static_cast<unsigned>(t.nMinute),
            static_cast<unsigned>(t.nSecond), static_cast<unsigned>(t.nMilli), szEntry);
    fclose(pFile);
}
} // namespace

LogPrintFn LogPrint = NullWriter;

void LogSetup(int nDebug, const std::string& strDesktopDir) {
    std::string strDir = strDesktopDir;
    if (!strDir.empty() && strDir.back() != '/')
        strDir += '/';
    g_nDebug = nDebug;
    g_strLogPath = strDir + "Log.txt";
    LogPrint = DebuggerWriter;
    if (nDebug != 2)
        return;
    FILE* pFile = fopen(g_strLogPath.c_str(), "ab");
    if (!pFile) {
        DebugOutput("QV  Open Log failed");
        return;
    }
    struct stat st;
    bool bTooLarge = fstat(fileno(pFile), &st) == 0 && st.st_size > 512000;
    fclose(pFile);
    if (bTooLarge) {
        pFile = fopen(g_strLogPath.c_str(), "wb");
        if (pFile)
            fclose(pFile);
    }
    LogPrint = FileWriter;
}

void LogReset() {
    LogPrint = NullWriter;
    g_nDebug = 0;
    g_strLogPath.clear();
}

int LogLevel() {
    return g_nDebug;
}
std::string LogFilePath() {
    return g_strLogPath;
}

namespace {
constexpr size_t kLineBuf = 512; // characters, terminating zero included

// One line of a hex dump: starts with the prefix and a blank, and is written through LogPrint.
class CDumpLine {
public:
    explicit CDumpLine(const char* pszPrefix)
        : m_pszPrefix(pszPrefix && *pszPrefix ? pszPrefix : nullptr) {
        Start();
    }
    void Start() {
        m_strLine.clear();
        if (m_pszPrefix) {
            m_strLine = m_pszPrefix;
            m_strLine += ' ';
        }
        m_nBytes = 0;
    }
    void Add(uint8_t by, bool bGroupEnd) {
        char szHex[8];
        snprintf(szHex, sizeof(szHex), bGroupEnd ? "%02x  " : "%02x ", by);
        m_strLine += szHex;
        ++m_nBytes;
    }
    // Writes the line; the next one starts empty, without prefix.
    void Flush() {
        if (!m_strLine.empty())
            LogPrint("%s", m_strLine.c_str());
        m_strLine.clear();
        m_nBytes = 0;
    }
    // After a full line of nBytesPerLine bytes: write it, and start the next with the prefix
    // when more bytes follow.
    void EndOfLineIfFull(int nBytesPerLine, bool bMoreFollow) {
        if (nBytesPerLine <= 0 || m_nBytes != nBytesPerLine)
            return;
        Flush();
        if (bMoreFollow)
            Start();
    }
    size_t Size() const { return m_strLine.size(); }

private:
    const char* m_pszPrefix;
    std::string m_strLine;
    int m_nBytes = 0;
};
} // namespace

void LogDump(const void* pData, size_t nLen, int nBytesPerLine, const char* pszPrefix) {
    if (g_nDebug == 0 || !pData || nLen == 0)
        return;
    const uint8_t* p = static_cast<const uint8_t*>(pData);
    CDumpLine line(pszPrefix);
    for (size_t i = 0; i < nLen; ++i) {
        // A line never outgrows the buffer: with a fixed count the callers keep within it,
        // and a line that would overflow is written early rather than cut.
        if (line.Size() + 3 > kLineBuf - 1)
            line.Flush();
        line.Add(p[i], false);
        line.EndOfLineIfFull(nBytesPerLine, i + 1 < nLen);
    }
    line.Flush();
}

void LogDumpGrouped(const char* pszPrefix, const void* pData, size_t nLen, int nBytesPerLine,
                    int nGroupSize) {
    if (g_nDebug == 0 || !pData || nLen == 0)
        return;
    const uint8_t* p = static_cast<const uint8_t*>(pData);
    CDumpLine line(pszPrefix);
    for (size_t i = 0; i < nLen; ++i) {
        if (line.Size() >= 509)
            break;
        // The group count runs on across line breaks.
        line.Add(p[i], nGroupSize > 0 && (i + 1) % static_cast<size_t>(nGroupSize) == 0);
        line.EndOfLineIfFull(nBytesPerLine, i + 1 < nLen);
    }
    line.Flush();
}
