#include "operations/prompt/SpeechCommand.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <stdexcept>

extern char** environ;

namespace quorvel {

namespace {

// What a command may print: far more than the longest prompt a text can give.
constexpr std::size_t MaxOutputBytes = 256u << 20;
// Of its error output, the start is kept for the message.
constexpr std::size_t MaxErrorBytes = 2000;

const std::string CommandName = "O comando de voz";

[[noreturn]] void Fail(const std::string& Text) { throw std::runtime_error(Text); }

class TDescriptor {
public:
    explicit TDescriptor(int Fd = -1) : FFd(Fd) {}
    ~TDescriptor() { Reset(); }
    TDescriptor(const TDescriptor&) = delete;
    TDescriptor& operator=(const TDescriptor&) = delete;
    int Get() const { return FFd; }
    void Reset(int Fd = -1) {
        if (FFd >= 0) ::close(FFd);
        FFd = Fd;
    }

private:
    int FFd;
};

struct TPipe {
    TDescriptor Read, Write;
    TPipe() {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0) Fail(CommandName + " não pôde ser iniciado: " + std::strerror(errno));
        Read.Reset(ends[0]);
        Write.Reset(ends[1]);
    }
};

// Writing into a command that stopped reading raises SIGPIPE: it is held
// back on this thread while the command runs, and dropped afterwards.
class TPipeSignalHeld {
public:
    TPipeSignalHeld() {
        sigemptyset(&FPipe);
        sigaddset(&FPipe, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        FWasPending = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &FPipe, &FOld);
    }
    ~TPipeSignalHeld() {
        sigset_t pending;
        sigpending(&pending);
        if (!FWasPending && sigismember(&pending, SIGPIPE) == 1) {
            const timespec now{};
            sigtimedwait(&FPipe, nullptr, &now);
        }
        pthread_sigmask(SIG_SETMASK, &FOld, nullptr);
    }

private:
    sigset_t FPipe, FOld;
    bool FWasPending = false;
};

pid_t Spawn(const std::string& Command, TPipe& In, TPipe& Out, TPipe& Err) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, In.Read.Get(), STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, Out.Write.Get(), STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, Err.Write.Get(), STDERR_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // A group of its own, so that a time-out ends whatever the shell started;
    // signals as a fresh program expects them, whatever this one blocks or ignores.
    sigset_t none, reset;
    sigemptyset(&none);
    sigemptyset(&reset);
    sigaddset(&reset, SIGPIPE);
    sigaddset(&reset, SIGXFSZ);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &reset);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    std::string shell = "/bin/sh", option = "-c", line = Command;
    char* arguments[] = {shell.data(), option.data(), line.data(), nullptr};
    pid_t pid = -1;
    const int error = posix_spawn(&pid, shell.c_str(), &actions, &attributes, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (error != 0) Fail(CommandName + " não pôde ser iniciado: " + std::strerror(error));
    return pid;
}

// How the command ended, as the user is told; empty for a clean exit.
std::string Ending(int Status, std::string Errors) {
    while (!Errors.empty() && std::isspace(static_cast<unsigned char>(Errors.back()))) Errors.pop_back();
    const std::string said = Errors.empty() ? std::string() : ": " + Errors;
    if (WIFEXITED(Status))
        return WEXITSTATUS(Status) == 0
                   ? std::string()
                   : CommandName + " terminou com o código " + std::to_string(WEXITSTATUS(Status)) + said;
    return CommandName + " foi interrompido pelo sinal " + std::to_string(WTERMSIG(Status)) + said;
}

}  // namespace

void RunSpeechCommand(const std::string& Command, const std::string& Text, std::chrono::milliseconds Limit,
                      const std::string& Destination) {
    TDescriptor output(::open(Destination.c_str(), O_RDWR | O_TRUNC | O_CLOEXEC));
    if (output.Get() < 0) Fail("Não foi possível gravar a voz em " + Destination + ": " + std::strerror(errno));
    const TPipeSignalHeld held;
    TPipe in, out, err;
    const pid_t pid = Spawn(Command, in, out, err);
    in.Read.Reset();
    out.Write.Reset();
    err.Write.Reset();
    ::fcntl(in.Write.Get(), F_SETFL, O_NONBLOCK);
    if (Text.empty()) in.Write.Reset();
    // Without a descriptor of the process the wait for its exit follows the
    // end of both outputs.
    TDescriptor process(static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)));

    const auto deadline = std::chrono::steady_clock::now() + Limit;
    std::size_t written = 0, printed = 0;
    std::string errors;
    bool late = false, tooMuch = false, diskFailed = false;
    while ((out.Read.Get() >= 0 || err.Read.Get() >= 0 || process.Get() >= 0) && !tooMuch && !diskFailed) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        std::array<pollfd, 4> watched = {pollfd{in.Write.Get(), POLLOUT, 0}, pollfd{out.Read.Get(), POLLIN, 0},
                                         pollfd{err.Read.Get(), POLLIN, 0}, pollfd{process.Get(), POLLIN, 0}};
        const int ready =
            left.count() <= 0 ? 0 : ::poll(watched.data(), watched.size(), static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        late = ready <= 0;
        if (late) break;
        if (watched[0].revents != 0) {
            const ssize_t put = ::write(in.Write.Get(), Text.data() + written, Text.size() - written);
            if (put > 0) written += static_cast<std::size_t>(put);
            // Done, or the command stopped reading: how much it takes is its business.
            if (written == Text.size() || (put < 0 && errno != EAGAIN && errno != EINTR)) in.Write.Reset();
        }
        char buffer[65536];
        if (watched[1].revents != 0) {
            const ssize_t got = ::read(out.Read.Get(), buffer, sizeof buffer);
            if (got > 0) {
                printed += static_cast<std::size_t>(got);
                tooMuch = printed > MaxOutputBytes;
                diskFailed = ::write(output.Get(), buffer, static_cast<std::size_t>(got)) != got;
            } else if (got == 0 || errno != EINTR) {
                out.Read.Reset();
            }
        }
        if (watched[2].revents != 0) {
            const ssize_t got = ::read(err.Read.Get(), buffer, sizeof buffer);
            if (got > 0 && errors.size() < MaxErrorBytes)
                errors.append(buffer, std::min(static_cast<std::size_t>(got), MaxErrorBytes - errors.size()));
            else if (got == 0 || (got < 0 && errno != EINTR))
                err.Read.Reset();
        }
        if (watched[3].revents != 0) process.Reset();
    }
    if (late || tooMuch || diskFailed) ::kill(-pid, SIGKILL);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (late)
        Fail(CommandName + " não terminou em " + std::to_string((Limit.count() + 999) / 1000) + " s e foi encerrado.");
    if (tooMuch)
        Fail(CommandName + " escreveu mais de " + std::to_string(MaxOutputBytes >> 20) + " MB e foi encerrado.");
    if (diskFailed) Fail("Não foi possível gravar a voz em " + Destination + ": " + std::strerror(errno));
    if (const std::string ending = Ending(status, errors); !ending.empty()) Fail(ending);
    char start[12] = {};
    if (printed < sizeof start || ::pread(output.Get(), start, sizeof start, 0) != sizeof start ||
        std::memcmp(start, "RIFF", 4) != 0 || std::memcmp(start + 8, "WAVE", 4) != 0)
        Fail(CommandName + " não escreveu um arquivo WAV na saída padrão.");
}

}  // namespace quorvel
