#include <gtest/gtest.h>

#include "CardToolRun.h"
#include "ScratchCard.h"

namespace {

std::map<std::string, std::string> newCardFiles() {
    std::map<std::string, std::string> files;
    for (int number = 0; number <= 99; ++number) files[cardName(number)] = "\r\n";
    for (int number = 200; number <= 207; ++number) files[cardName(number)] = "\r\n";
    files["220.txt"] = "\r\n";
    files["221.txt"] = kDefaultHolidayLine + "\r\n\r\n";
    files["222.txt"] = "\r\n";
    files["223.txt"] = "\r\n";
    files["421.txt"] = kDefaultHolidayLine + "\r\n";
    return files;
}

TEST(InitCommand, CreatesTheWholeFileSetWithItsInitialBytes) {
    ScratchCard card;
    const ToolRun run = runCardTool({"init", card.folder()});

    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
    const auto files = card.snapshot();
    EXPECT_EQ(files.size(), 113u);
    EXPECT_EQ(files, newCardFiles());
}

TEST(InitCommand, LeavesExistingFilesAndForeignFilesUntouched) {
    ScratchCard card;
    card.write("031.txt", "M2  12341\r\nsecond line\n");
    card.write("221.txt", "");
    card.write("105.wav", "RIFF");

    ASSERT_EQ(runCardTool({"init", card.folder()}).status, 0);

    auto expected = newCardFiles();
    expected["031.txt"] = "M2  12341\r\nsecond line\n";
    expected["221.txt"] = "";
    expected["105.wav"] = "RIFF";
    EXPECT_EQ(card.snapshot(), expected);
}

TEST(CommandLine, UsageErrorsExitWith64AndTouchNothing) {
    ScratchCard card;
    const std::string missing = (card.path() / "missing").string();

    EXPECT_EQ(runCardTool({}).status, 64);
    EXPECT_EQ(runCardTool({"format", card.folder()}).status, 64);
    EXPECT_EQ(runCardTool({"init"}).status, 64);
    EXPECT_EQ(runCardTool({"set", card.folder()}).status, 64);
    const ToolRun run = runCardTool({"init", missing});
    EXPECT_EQ(run.status, 64);
    EXPECT_NE(run.err, "");
    EXPECT_TRUE(card.snapshot().empty());
}

}  // namespace
