#include "HistoryTestSupport.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>

#include "config/CardFiles.h"

namespace quorvel::testing {

HistoryCard::HistoryCard() {
    if (const char* old = std::getenv("XDG_DATA_HOME")) {
        hadDataHome_ = true;
        oldDataHome_ = old;
    }
    ::setenv("XDG_DATA_HOME", data_.path().c_str(), 1);
    for (int number : cardFileNumbers()) card_.write(cardFileName(number), initialCardFileContent(number));
    card_.write("100.wav", std::string(4000, 'a'));
    card_.write("132.wav", std::string(3000, 'v'));
}

HistoryCard::~HistoryCard() {
    if (hadDataHome_) {
        ::setenv("XDG_DATA_HOME", oldDataHome_.c_str(), 1);
    } else {
        ::unsetenv("XDG_DATA_HOME");
    }
}

GitRun runGit(const std::string& repository, const std::string& arguments) {
    const std::string command = "git --git-dir='" + repository + "' " + arguments + " 2>&1";
    GitRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    char block[4096];
    for (std::size_t got; (got = std::fread(block, 1, sizeof block, pipe)) > 0;) run.output.append(block, got);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::map<std::string, std::string> headFiles(const std::string& repository) {
    TemporaryFolder extracted;
    const GitRun run = runGit(repository, "archive HEAD | tar -x -C '" + extracted.path().string() + "'");
    if (run.status != 0) return {{"git archive failed", run.output}};
    return extracted.snapshot();
}

}  // namespace quorvel::testing
