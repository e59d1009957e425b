// --help and --version answer without a command and exit 0.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

#include "CardToolRun.h"

TEST(HelpVersion, VersionIsTheProjectVersion) {
    const ToolRun run = runCardTool({"--version"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "ajustor-card " QUORVEL_VERSION "\n");
}

// Every command the tool answers to is in its manual page, with its synopsis
// and its description.
TEST(HelpVersion, TheManualDescribesEveryCommand) {
    const ToolRun run = runCardTool({"--help"});
    EXPECT_EQ(run.status, 0);
    std::ifstream file(AJUSTOR_CARD_MANUAL);
    const std::string manual{std::istreambuf_iterator<char>(file), {}};
    std::istringstream help(run.out.substr(std::min(run.out.find("Subcommands:"), run.out.size())));
    std::string line;
    std::getline(help, line);
    int commands = 0;
    while (std::getline(help, line)) {
        std::istringstream words(line);
        std::string name;
        if (!(words >> name)) continue;
        ++commands;
        EXPECT_NE(manual.find(".B ajustor-card " + name + "\n"), std::string::npos) << name << " lacks a synopsis";
        const bool described = manual.find(".BI " + name + " ") != std::string::npos ||
                               manual.find(".B " + name + "\n") != std::string::npos;
        EXPECT_TRUE(described) << name << " lacks a description";
    }
    EXPECT_GE(commands, 13);
}
