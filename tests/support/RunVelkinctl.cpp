#include "support/RunVelkinctl.h"

#include <cstdio>
#include <sys/wait.h>

CRunResult RunVelkinctl(const std::string& strArgs) {
    std::string strCmd =
        std::string(VELKIN_BINARY_DIR "/bin/velkinctl ") + strArgs + " 2>/dev/null </dev/null";
    CRunResult r{-1, ""};
    FILE* p = popen(strCmd.c_str(), "r");
    if (!p)
        return r;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof(buf), p)) > 0)
        r.strOut.append(buf, n);
    int nRaw = pclose(p);
    r.nStatus = WIFEXITED(nRaw) ? WEXITSTATUS(nRaw) : -1;
    return r;
}
