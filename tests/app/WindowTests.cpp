#include "WindowTests.h"

#include <QApplication>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace quorvel::testing {
namespace {

std::map<std::string, WindowTestRun>& registry() {
    static std::map<std::string, WindowTestRun> runs;
    return runs;
}

}  // namespace

bool registerWindowTest(const char* name, WindowTestRun run) { return registry().emplace(name, run).second; }

}  // namespace quorvel::testing

int main(int argc, char** argv) {
    const auto& runs = quorvel::testing::registry();
    const auto found = argc > 1 ? runs.find(argv[1]) : runs.end();
    if (found == runs.end()) {
        std::fprintf(stderr, "usage: %s CLASS [Qt Test options]; the classes:\n", argv[0]);
        for (const auto& [name, run] : runs) std::fprintf(stderr, "  %s\n", name.c_str());
        return 2;
    }
    // What QTEST_MAIN does for a widgets test, with the class name taken out.
    QApplication application(argc, argv);
    QApplication::setAttribute(Qt::AA_Use96Dpi, true);
    std::vector<char*> arguments{argv[0]};
    arguments.insert(arguments.end(), argv + 2, argv + argc);
    return found->second(static_cast<int>(arguments.size()), arguments.data());
}
