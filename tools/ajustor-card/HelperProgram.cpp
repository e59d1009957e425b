#include "HelperProgram.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifndef QUORVEL_HELPERS_FROM_BIN
#error "QUORVEL_HELPERS_FROM_BIN is the installed helper programs' folder, relative to ajustor-card's"
#endif

namespace quorvel::card_tool {

namespace {

namespace fs = std::filesystem;

fs::path helperProgram(const std::string& name) {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (error) return {};
    const fs::path beside = self.parent_path() / name;
    if (::access(beside.c_str(), X_OK) == 0) return beside;
    return (self.parent_path() / QUORVEL_HELPERS_FROM_BIN / name).lexically_normal();
}

}  // namespace

ExitCode runHelperProgram(const std::string& name, const std::vector<std::string>& arguments, std::ostream& err) {
    const fs::path program = helperProgram(name);
    if (program.empty()) {
        err << name << ": the program's own location is unknown\n";
        return ExitCode::CardFailure;
    }
    std::string path = program.string();
    std::vector<char*> argv{path.data()};
    std::vector<std::string> copies = arguments;
    for (std::string& argument : copies) argv.push_back(argument.data());
    argv.push_back(nullptr);
    ::execv(path.c_str(), argv.data());
    err << path << ": " << std::strerror(errno) << '\n';
    return ExitCode::CardFailure;
}

}  // namespace quorvel::card_tool
