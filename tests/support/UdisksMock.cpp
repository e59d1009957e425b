#include "UdisksMock.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#ifndef QUORVEL_UDISKS_MOCK_TEMPLATE
#error "QUORVEL_UDISKS_MOCK_TEMPLATE is the path of the mock's dbusmock template"
#endif

extern char** environ;

namespace {

constexpr const char* kAddressVariable = "DBUS_SYSTEM_BUS_ADDRESS";
// Debian's interpreter: the one python3-dbusmock is installed for.
constexpr const char* kPython = "/usr/bin/python3";

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + '"';
}

std::string toJson(const UdisksMock::Volume& volume) {
    std::ostringstream out;
    out << "{\"name\": " << quoted(volume.name) << ", \"label\": " << quoted(volume.label)
        << ", \"uuid\": " << quoted(volume.uuid) << ", \"type\": " << quoted(volume.type)
        << ", \"mountPoint\": " << quoted(volume.mountPoint) << ", \"readOnly\": " << std::boolalpha << volume.readOnly
        << ", \"removable\": " << volume.removable << ", \"system\": " << !volume.removable
        << ", \"busy\": " << volume.busy;
    if (!volume.mountTo.empty()) out << ", \"mountTo\": " << quoted(volume.mountTo);
    out << '}';
    return out.str();
}

// Runs a program with its output discarded; its exit status, or -1.
int run(std::vector<std::string> arguments) {
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = -1;
    const int error = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) return -1;
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void writeFile(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

}  // namespace

UdisksMock::UdisksMock(const std::vector<Volume>& volumes, bool serveDisks) {
    if (::access("/usr/bin/dbus-daemon", X_OK) != 0) {
        skipReason_ = "dbus-daemon is not installed (package dbus)";
        return;
    }
    if (run({kPython, "-c", "import dbusmock"}) != 0) {
        skipReason_ = "Python's dbusmock is not installed (package python3-dbusmock)";
        return;
    }
    std::string pattern = (std::filesystem::temp_directory_path() / "quorvel-bus-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        skipReason_ = std::string("cannot create a temporary folder: ") + std::strerror(errno);
        return;
    }
    folder_ = pattern + "/";
    std::filesystem::create_directory(folder_ + "services");
    writeFile(folder_ + "bus.conf",
              "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
              " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
              "<busconfig><type>session</type><listen>unix:path=" +
                  folder_ + "bus</listen><servicedir>" + folder_ +
                  "services</servicedir>\n"
                  "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                  "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy>"
                  "</busconfig>\n");
    std::string listing = "[";
    for (const Volume& volume : volumes) listing += (listing.size() > 1 ? ", " : "") + toJson(volume);
    writeFile(folder_ + "cards.json", listing + "]\n");
    if (serveDisks) {
        writeFile(folder_ + "services/udisks2.service",
                  "[D-BUS Service]\nName=org.freedesktop.UDisks2\nExec=" + std::string(kPython) +
                      " -m dbusmock --template " + QUORVEL_UDISKS_MOCK_TEMPLATE + " -l " + folder_ +
                      "calls.log -p '{\"cards\": \"" + folder_ + "cards.json\"}'\n");
    }

    // The bus and the service it starts see the private bus as the system bus.
    if (const char* previous = std::getenv(kAddressVariable)) {
        hadAddress_ = true;
        previousAddress_ = previous;
    }
    ::setenv(kAddressVariable, ("unix:path=" + folder_ + "bus").c_str(), 1);
    // With --fork the command returns once the bus listens.
    const std::string command = "/usr/bin/dbus-daemon --fork --print-pid=1 --config-file=" + folder_ + "bus.conf";
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        int pid = -1;
        if (std::fscanf(pipe, "%d", &pid) == 1) daemon_ = pid;
        ::pclose(pipe);
    }
    if (daemon_ <= 0) skipReason_ = "dbus-daemon did not start a private bus";
}

UdisksMock::~UdisksMock() {
    // The mocked service ends when its bus goes away.
    if (daemon_ > 0) ::kill(daemon_, SIGTERM);
    if (hadAddress_) {
        ::setenv(kAddressVariable, previousAddress_.c_str(), 1);
    } else {
        ::unsetenv(kAddressVariable);
    }
    std::error_code ignored;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
}

std::vector<std::string> UdisksMock::calls() const {
    // Lines are "TIME METHOD ARGUMENTS" or "TIME emit SIGNAL ...".
    std::vector<std::string> names;
    std::ifstream log(folder_ + "calls.log");
    std::string time;
    std::string word;
    std::string rest;
    while (log >> time >> word) {
        std::getline(log, rest);
        if (word != "emit") names.push_back(word);
    }
    return names;
}

bool UdisksMock::callMock(const std::string& method, const std::string& argument) {
    return run({"/usr/bin/dbus-send", "--system", "--print-reply", "--dest=org.freedesktop.UDisks2",
                "/org/freedesktop/UDisks2", "org.freedesktop.DBus.Mock." + method, "string:" + argument}) == 0;
}

bool UdisksMock::insert(const Volume& volume) { return callMock("AddCard", toJson(volume)); }

bool UdisksMock::pull(const std::string& name) { return callMock("RemoveCard", name); }
