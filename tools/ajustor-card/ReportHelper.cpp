#include "ReportHelper.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifndef QUORVEL_REPORT_FROM_BIN
#error "QUORVEL_REPORT_FROM_BIN is the installed report program's folder, relative to ajustor-card's"
#endif

namespace quorvel::card_tool {

namespace {

namespace fs = std::filesystem;

fs::path reportProgram() {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (error) return {};
    const fs::path beside = self.parent_path() / kReportProgram;
    if (::access(beside.c_str(), X_OK) == 0) return beside;
    return (self.parent_path() / QUORVEL_REPORT_FROM_BIN / kReportProgram).lexically_normal();
}

}  // namespace

ExitCode runReportProgram(const std::string& folder, const std::string& output, std::ostream& err) {
    const fs::path program = reportProgram();
    if (!program.empty()) {
        const std::string name = program.string();
        char* const arguments[] = {const_cast<char*>(name.c_str()), const_cast<char*>(folder.c_str()),
                                   const_cast<char*>(output.c_str()), nullptr};
        ::execv(name.c_str(), arguments);
        err << name << ": " << std::strerror(errno) << '\n';
    } else {
        err << kReportProgram << ": the program's own location is unknown\n";
    }
    return ExitCode::CardFailure;
}

}  // namespace quorvel::card_tool
