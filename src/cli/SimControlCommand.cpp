// velkinctl sim-control: sends one command to the simulation session of a running program
// (velkin --simulate) and prints its answer.
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/CliContext.h"
#include "device/sim/SimControl.h"

namespace {

constexpr int kAnswerTimeoutMs = 5000;

struct CSimControlOptions {
    std::vector<std::string> vWords;
    std::string strSocket;
};

CSimControlOptions g_simOpt;

void Fail(const std::string& s, int nCode) {
    std::fprintf(stderr, "velkinctl: %s\n", s.c_str());
    throw CCliExit{nCode};
}

void RunSimControl() {
    std::string strLine;
    for (const std::string& s : g_simOpt.vWords)
        strLine += (strLine.empty() ? "" : " ") + s;
    const std::string strPath =
        g_simOpt.strSocket.empty() ? SimControlSocketPath() : g_simOpt.strSocket;
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (strPath.size() >= sizeof addr.sun_path)
        Fail("socket path too long: " + strPath, 2);
    std::memcpy(addr.sun_path, strPath.c_str(), strPath.size() + 1);
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        Fail(std::string("socket: ") + std::strerror(errno), 2);
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        int nErr = errno;
        close(fd);
        Fail("no simulation session on " + strPath + " (" + std::strerror(nErr) +
                 "); start the program with --simulate",
             2);
    }
    strLine += '\n';
    size_t nSent = 0;
    while (nSent < strLine.size()) {
        ssize_t n = send(fd, strLine.data() + nSent, strLine.size() - nSent, MSG_NOSIGNAL);
        if (n <= 0) {
            close(fd);
            Fail("the session closed the connection", 2);
        }
        nSent += size_t(n);
    }
    std::string strAnswer;
    for (;;) {
        pollfd pfd{fd, POLLIN, 0};
        if (poll(&pfd, 1, kAnswerTimeoutMs) <= 0) {
            close(fd);
            Fail("no answer from the simulation session", 2);
        }
        char sz[4096];
        ssize_t n = recv(fd, sz, sizeof sz, 0);
        if (n <= 0)
            break;
        strAnswer.append(sz, size_t(n));
        if (strAnswer.find('\n') != std::string::npos)
            break;
    }
    close(fd);
    strAnswer = strAnswer.substr(0, strAnswer.find('\n'));
    if (strAnswer.empty())
        Fail("the session closed the connection without an answer", 2);
    std::printf("%s\n", strAnswer.c_str());
    if (strAnswer.rfind("ok", 0) != 0)
        throw CCliExit{1};
}

} // namespace

void RegisterSimControlCommand(CLI::App& app) {
    CLI::App* pCmd = app.add_subcommand(
        "sim-control", "send one command to a running program's simulated devices: plug DEVICE, "
                       "unplug DEVICE, dpi-button, mode 1..3, keyset 0..2, state");
    pCmd->add_option("command", g_simOpt.vWords, "the command and its argument")->required();
    pCmd->add_option("--socket", g_simOpt.strSocket,
                     "control socket (default: $XDG_RUNTIME_DIR/velkin-sim-<uid>)");
    pCmd->callback([] { RunSimControl(); });
}
