#include "support/RunVelkinctl.h"

#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/FileLookup.h"

CRunResult RunVelkinctl(const std::string& strArgs) {
    CRunResult r{-1, "", ""};
    char szErr[] = "/tmp/velkinctl-err-XXXXXX";
    const int fdErr = mkstemp(szErr);
    if (fdErr < 0)
        return r;
    close(fdErr);
    std::string strCmd =
        std::string(VELKIN_BINARY_DIR "/bin/velkinctl ") + strArgs + " 2>" + szErr + " </dev/null";
    FILE* p = popen(strCmd.c_str(), "r");
    if (p) {
        char buf[4096];
        size_t n;
        while ((n = fread(buf, 1, sizeof(buf), p)) > 0)
            r.strOut.append(buf, n);
        int nRaw = pclose(p);
        r.nStatus = WIFEXITED(nRaw) ? WEXITSTATUS(nRaw) : -1;
    }
    if (auto v = FileLookup::ReadAll(szErr))
        r.strErr.assign(v->begin(), v->end());
    unlink(szErr);
    return r;
}
