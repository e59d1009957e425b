// --help and --version answer without a command and exit 0.
#include <gtest/gtest.h>

#include "CardToolRun.h"

TEST(HelpVersion, VersionIsTheProjectVersion) {
    const ToolRun run = runCardTool({"--version"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "ajustor-card " QUORVEL_VERSION "\n");
}

TEST(HelpVersion, HelpNamesEveryCommand) {
    const ToolRun run = runCardTool({"--help"});
    EXPECT_EQ(run.status, 0);
    for (const char* command : {"init", "show", "set", "--version"}) {
        EXPECT_NE(run.out.find(command), std::string::npos) << command;
    }
}
