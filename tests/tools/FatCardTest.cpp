// The commands a technician runs, on a real FAT16 card mounted through FUSE:
// the card must end up with the same bytes as a local folder given the same
// commands.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "CardToolRun.h"
#include "FatCardMount.h"
#include "ScratchCard.h"

namespace {

namespace fs = std::filesystem;

std::map<std::string, std::string> filesOf(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        // The writers' lock file is not a card file.
        if (entry.path().filename().string().front() == '.') continue;
        std::ifstream in(entry.path(), std::ios::binary);
        files[entry.path().filename().string()] = std::string(std::istreambuf_iterator<char>(in), {});
    }
    return files;
}

std::vector<std::string> timetableForEveryDay() {
    std::vector<std::string> arguments;
    for (const char* day : {"Seg", "Ter", "Qua", "Qui", "Sex", "Sab", "Dom", "Fer"}) {
        arguments.push_back(std::string("timetable.") + day + ".0.time=08:00");
        arguments.push_back(std::string("timetable.") + day + ".0.menu=1");
    }
    return arguments;
}

struct Outputs {
    std::string show;
    std::string check;
};

// Runs the technician's commands on `folder`, each expected to exit 0.
Outputs runCommands(const std::string& folder, const std::string& recording, const std::string& backup) {
    Outputs outputs;
    auto expectDone = [&](std::vector<std::string> arguments) {
        const ToolRun run = runCardTool(arguments);
        EXPECT_EQ(run.status, 0) << arguments[0] << " on " << folder << ": " << run.err;
        return run.out;
    };
    expectDone({"init", folder});
    std::vector<std::string> first{"set", folder};
    for (std::string& argument : timetableForEveryDay()) first.push_back(std::move(argument));
    expectDone(first);
    // The holiday timetable is in use: without the national dates the check would find them missing.
    expectDone({"holidays", folder, "2026"});
    expectDone({"set", folder, "menus.1.1.target1=202", "menus.1.2.target1=M2", "menus.2.1.target1=203"});
    outputs.show = expectDone({"show", folder});
    expectDone({"prompt", folder, "1", recording});
    expectDone({"prompt", folder, "2", recording});
    outputs.check = expectDone({"check", folder});
    expectDone({"backup", folder, backup});
    return outputs;
}

TEST(FatCard, EveryCommandWorksOnAFuseFatCardAndLeavesTheBytesOfALocalFolder) {
    FatCardMount fat;
    if (!fat.mounted()) GTEST_SKIP() << "FAT card test skipped: " << fat.skipReason();
    ScratchCard local;
    ScratchCard recordings;
    ScratchCard localBackup;
    ScratchCard fatBackup;
    const std::string recording = (recordings.path() / "take.wav").string();
    const std::string sox = "sox -n -r 16000 -c 2 -b 16 '" + recording + "' synth 0.5 sine 440 vol 0.25";
    ASSERT_EQ(std::system(sox.c_str()), 0);

    const Outputs onDisk = runCommands(local.folder(), recording, localBackup.folder());
    const Outputs onFat = runCommands(fat.folder(), recording, fatBackup.folder());
    EXPECT_TRUE(onFat.show == onDisk.show) << "show prints the same configuration";
    EXPECT_NE(onFat.show.find("\"202\""), std::string::npos) << "show prints the values set";
    EXPECT_EQ(onFat.check, onDisk.check);

    const auto expected = local.snapshot();
    EXPECT_EQ(expected.size(), 115u) << "113 card files and two prompts";
    EXPECT_EQ(filesOf(fat.folder()), expected);
    EXPECT_EQ(fatBackup.snapshot(), expected);

    // The backup taken from the card, edited, then restored onto it: every file copied.
    fatBackup.write("031.txt", line("M3  1 0"));
    const ToolRun restore = runCardTool({"restore", fatBackup.folder(), fat.folder()});
    EXPECT_EQ(restore.status, 0) << restore.err;
    EXPECT_EQ(restore.err, "");
    EXPECT_EQ(filesOf(fat.folder()), fatBackup.snapshot());
}

}  // namespace
