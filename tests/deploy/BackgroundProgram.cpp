#include "BackgroundProgram.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <thread>

namespace orvane::test {

BackgroundProgram::BackgroundProgram(const std::vector<std::string>& argv) {
    if (argv.empty()) return;
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        // A test that dies without stopping its servers takes them along.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        ::execvp(args[0], args.data());
        ::_exit(127);
    }
    pid_ = pid;
}

BackgroundProgram::~BackgroundProgram() {
    stop();
}

bool BackgroundProgram::running() {
    if (pid_ <= 0 || status_) return false;
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) status_ = status;
    return !status_;
}

int BackgroundProgram::stop(int signal) {
    if (pid_ <= 0) return -1;
    if (!status_) {
        ::kill(pid_, signal);
        int status = 0;
        while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        status_ = status;
    }
    return *status_;
}

namespace {

bool accepts(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    ::close(fd);
    return connected;
}

}  // namespace

bool waitUntilListening(int port, BackgroundProgram& program, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (accepts(port)) return true;
        if (!program.running()) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

}  // namespace orvane::test
