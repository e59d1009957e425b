#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "CardToolRun.h"
#include "ScratchCard.h"

namespace {

// A card folder as it stands on a memory card: card files, prompts, the
// remote-support subfolder and a hidden file of the desktop.
void fillCard(const ScratchCard& card) {
    card.write("001.txt", line("1234    0"));
    card.write("221.txt", line(kDefaultHolidayLine));
    card.write("105.wav", std::string(70000, 'p'));
    card.write(".directory", "hidden");
    std::filesystem::create_directory(card.path() / "suporte");
    card.write("suporte/AA_v3.5.exe", "tool");
}

const std::map<std::string, std::string> kCopiedFiles = {
    {"001.txt", line("1234    0")}, {"105.wav", std::string(70000, 'p')}, {"221.txt", line(kDefaultHolidayLine)}};

TEST(FolderCopyCommand, BackupAndRestoreCopyThePlainFilesOnly) {
    for (const char* command : {"backup", "restore"}) {
        ScratchCard card;
        ScratchCard destination;
        fillCard(card);
        destination.write("001.txt", "older copy, longer than the new one");

        const ToolRun run = runCardTool({command, card.folder(), destination.folder()});
        EXPECT_EQ(run.status, 0) << command;
        EXPECT_EQ(run.out, "") << command;
        EXPECT_EQ(run.err, "") << command << ": no progress lines when stderr is not a terminal";
        EXPECT_EQ(destination.snapshot(), kCopiedFiles) << command;
    }
}

TEST(FolderCopyCommand, NamesEachFileCopiedWhenStderrIsATerminal) {
    ScratchCard card;
    ScratchCard destination;
    fillCard(card);
    std::filesystem::create_directory(destination.path() / "221.txt");
    // script(1) runs the tool on a terminal of its own and passes on what it printed there.
    const std::string command = "script -qec '" + std::string(AJUSTOR_CARD_BINARY) + " backup " + card.folder() + " " +
                                destination.folder() + "' /dev/null";
    std::FILE* terminal = ::popen(command.c_str(), "r");
    ASSERT_NE(terminal, nullptr);
    std::string printed;
    char buffer[256];
    while (std::size_t got = std::fread(buffer, 1, sizeof buffer, terminal)) printed.append(buffer, got);
    const int status = ::pclose(terminal);
    EXPECT_EQ(printed, "001.txt\r\n105.wav\r\n221.txt: File access denied\r\n");
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1);
}

TEST(FolderCopyCommand, FolderInThePlaceOfAFileIsReportedAndTheOthersCopied) {
    ScratchCard card;
    ScratchCard destination;
    fillCard(card);
    std::filesystem::create_directory(destination.path() / "105.wav");

    const ToolRun run = runCardTool({"backup", card.folder(), destination.folder()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "105.wav: File access denied\n");
    EXPECT_TRUE(std::filesystem::is_directory(destination.path() / "105.wav"));
    EXPECT_EQ(destination.read("001.txt"), kCopiedFiles.at("001.txt"));
    EXPECT_EQ(destination.read("221.txt"), kCopiedFiles.at("221.txt"));
    const auto entries = std::distance(std::filesystem::directory_iterator(destination.path()), {});
    EXPECT_EQ(entries, 3) << "no temporary file left";
}

TEST(FolderCopyCommand, SameFolderIsRefusedBeforeAnythingIsCopied) {
    ScratchCard card;
    card.write("001.txt", line("1234    0"));
    card.write("105.wav", std::string(70000, 'p'));
    const auto before = card.snapshot();
    const ToolRun run = runCardTool({"restore", card.folder(), card.folder() + "/."});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "The destination is the source folder; nothing was copied\n");
    EXPECT_EQ(card.snapshot(), before);
}

}  // namespace
