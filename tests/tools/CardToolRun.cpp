#include "CardToolRun.h"

#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <stdexcept>

namespace {

// Pipes rather than files carry the output: a file size limit set for the
// tool must not silence its error text.
struct Pipe {
    int read = -1;
    int write = -1;

    Pipe() {
        int ends[2];
        if (::pipe(ends) != 0) {
            throw std::runtime_error("cannot create a pipe");
        }
        read = ends[0];
        write = ends[1];
    }
};

[[noreturn]] void execTool(const std::vector<std::string>& arguments, const Pipe& out, const Pipe& err,
                           std::optional<unsigned long> fileSizeLimit) {
    if (::dup2(out.write, STDOUT_FILENO) < 0 || ::dup2(err.write, STDERR_FILENO) < 0) {
        ::_exit(127);
    }
    for (int end : {out.read, out.write, err.read, err.write}) {
        ::close(end);
    }
    if (fileSizeLimit) {
        // The default action, so that only the tool's own handling keeps
        // SIGXFSZ from killing it at the limit.
        std::signal(SIGXFSZ, SIG_DFL);
        const rlimit limit{*fileSizeLimit, *fileSizeLimit};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    std::string program = AJUSTOR_CARD_BINARY;
    std::vector<std::string> copies(arguments);
    std::vector<char*> argv{program.data()};
    for (std::string& argument : copies) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
}

// Reads both pipes until the tool has closed them.
void drain(int outFd, int errFd, ToolRun& run) {
    pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
    std::string* sinks[2] = {&run.out, &run.err};
    int open = 2;
    while (open > 0) {
        if (::poll(fds, 2, -1) < 0) {
            throw std::runtime_error("cannot wait for ajustor-card output");
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) {
                continue;
            }
            char buffer[4096];
            const ssize_t got = ::read(fds[i].fd, buffer, sizeof buffer);
            if (got > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(got));
            } else {
                ::close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
}

}  // namespace

StartedTool::StartedTool(const std::vector<std::string>& arguments, std::optional<unsigned long> fileSizeLimit) {
    const Pipe out;
    const Pipe err;
    pid_ = ::fork();
    if (pid_ < 0) {
        throw std::runtime_error("cannot start ajustor-card");
    }
    if (pid_ == 0) {
        execTool(arguments, out, err, fileSizeLimit);
    }
    ::close(out.write);
    ::close(err.write);
    out_ = out.read;
    err_ = err.read;
}

StartedTool::~StartedTool() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        finish();
    }
}

bool StartedTool::awaitError(const std::string& text) {
    while (run_.err.find(text) == std::string::npos) {
        char buffer[4096];
        const ssize_t got = ::read(err_, buffer, sizeof buffer);
        if (got <= 0) {
            return false;
        }
        run_.err.append(buffer, static_cast<std::size_t>(got));
    }
    return true;
}

ToolRun StartedTool::finish() {
    drain(out_, err_, run_);
    int waitStatus = 0;
    if (::waitpid(pid_, &waitStatus, 0) != pid_) {
        throw std::runtime_error("lost the ajustor-card process");
    }
    pid_ = -1;
    run_.status = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1;
    return run_;
}

ToolRun runCardTool(const std::vector<std::string>& arguments, std::optional<unsigned long> fileSizeLimit) {
    return StartedTool(arguments, fileSizeLimit).finish();
}
