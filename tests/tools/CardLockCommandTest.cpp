// Writing commands on one card at the same time: one waits for the other, so
// neither update is lost; a killed writer leaves the card free; a window's
// hold refuses them unless --force.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "CardToolRun.h"
#include "FatCardMount.h"
#include "ScratchCard.h"
#include "config/CardLock.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using Arguments = std::vector<std::string>;

// Runs of each pair; QUORVEL_CONCURRENT_RUNS raises it for a longer hunt.
// A FAT mount through FUSE takes seconds per save, so it runs fewer by default.
int runCount(int byDefault = 10) {
    const char* value = std::getenv("QUORVEL_CONCURRENT_RUNS");
    const int runs = value != nullptr ? std::atoi(value) : 0;
    return runs > 0 ? runs : byDefault;
}

json shown(const std::string& folder) {
    const ToolRun run = runCardTool({"show", folder});
    EXPECT_EQ(run.status, 0) << run.err;
    return json::parse(run.out, nullptr, false);
}

// Plain streams: the FAT mount refuses the calls fs::copy_file makes. Each
// file is made anew: fusefat frees the clusters of a file truncated in place
// yet goes on using them, and a later rename on the mount then spins for good.
void copyFiles(const fs::path& from, const fs::path& to) {
    for (const auto& entry : fs::directory_iterator(from)) {
        fs::remove(to / entry.path().filename());
        std::ifstream in(entry.path(), std::ios::binary);
        std::ofstream out(to / entry.path().filename(), std::ios::binary | std::ios::trunc);
        out << in.rdbuf();
        ASSERT_TRUE(out.flush()) << entry.path();
    }
}

// The first writer of every pair: two menu targets, in files 001 and 055.
const Arguments kMenuSet = {"set", "", "menus.0.1.target1=M2", "menus.5.5.target1=M3"};

Arguments withCardFolder(Arguments arguments, const std::string& folder) {
    std::replace(arguments.begin(), arguments.end(), std::string(), folder);
    return arguments;
}

bool menuUpdatePresent(const json& config) {
    return config["menus"][0][1]["target1"] == "M2" && config["menus"][5][5]["target1"] == "M3";
}

struct WriterPair {
    const char* name;
    Arguments second;  // "" stands for the card folder
    // Whether the second writer's update is on the card.
    bool (*secondPresent)(const json& config, const ScratchCard& card);
};

class ConcurrentWriters : public ::testing::TestWithParam<WriterPair> {
protected:
    static void SetUpTestSuite() {
        blank_ = new ScratchCard;
        ASSERT_EQ(runCardTool({"init", blank_->folder()}).status, 0);
        // A backup holding only the settings file, with the PABX type 4.
        ScratchCard changed;
        copyFiles(blank_->path(), changed.path());
        ASSERT_EQ(runCardTool({"set", changed.folder(), "settings.pabxType=4"}).status, 0);
        backup_ = new ScratchCard;
        fs::copy_file(changed.path() / "220.txt", backup_->path() / "220.txt");
        tone_ = backup_->path().parent_path() / (backup_->path().filename().string() + "-tone.wav");
        const std::string command = "sox -n -r 8000 -c 1 -b 16 '" + tone_.string() + "' synth 0.2 sine 440 vol 0.25";
        toneMade_ = std::system(command.c_str()) == 0;
    }

    static void TearDownTestSuite() {
        fs::remove(tone_);
        delete backup_;
        delete blank_;
    }

    static Arguments withFolder(Arguments arguments, const std::string& folder) {
        for (std::string& argument : arguments) {
            if (argument.empty()) argument = folder;
            if (argument == "BACKUP") argument = backup_->folder();
            if (argument == "TONE") argument = tone_.string();
        }
        return arguments;
    }

    static inline ScratchCard* blank_ = nullptr;
    static inline ScratchCard* backup_ = nullptr;
    static inline fs::path tone_;
    static inline bool toneMade_ = false;
};

TEST_P(ConcurrentWriters, BothUpdatesLandInEveryRun) {
    const WriterPair& pair = GetParam();
    if (std::find(pair.second.begin(), pair.second.end(), "TONE") != pair.second.end() && !toneMade_) {
        GTEST_SKIP() << "sox could not make the recording the prompt command converts";
    }
    const int runs = runCount();
    int waited = 0;
    for (int run = 0; run < runs; ++run) {
        ScratchCard card;
        copyFiles(blank_->path(), card.path());
        // Each run starts the pair in the other order.
        const Arguments a = withFolder(run % 2 == 0 ? kMenuSet : pair.second, card.folder());
        const Arguments b = withFolder(run % 2 == 0 ? pair.second : kMenuSet, card.folder());
        StartedTool first(a);
        StartedTool second(b);
        const ToolRun firstRun = first.finish();
        const ToolRun secondRun = second.finish();
        ASSERT_EQ(firstRun.status, 0) << "run " << run << ": " << firstRun.err;
        ASSERT_EQ(secondRun.status, 0) << "run " << run << ": " << secondRun.err;
        for (const ToolRun* tool : {&firstRun, &secondRun}) {
            if (tool->err.find("waiting for ajustor-card") != std::string::npos) ++waited;
        }
        const json config = shown(card.folder());
        ASSERT_TRUE(menuUpdatePresent(config)) << "run " << run << " lost the menu update";
        ASSERT_TRUE(pair.secondPresent(config, card)) << "run " << run << " lost the " << pair.name << " update";
    }
    std::cout << pair.name << ": " << runs << " runs, " << waited << " waited for the other writer\n";
}

INSTANTIATE_TEST_SUITE_P(Pairs, ConcurrentWriters,
                         ::testing::Values(WriterPair{"set",
                                                      {"set", "", "settings.pabxType=4", "timetable.Seg.0.time=08:00"},
                                                      [](const json& config, const ScratchCard&) {
                                                          return config["settings"]["pabxType"] == 4 &&
                                                                 config["timetable"]["Seg"][0]["time"] == "08:00";
                                                      }},
                                           WriterPair{"prompt",
                                                      {"prompt", "", "5", "TONE", "--level", "none"},
                                                      [](const json&, const ScratchCard& card) {
                                                          return fs::exists(card.path() / "105.wav") &&
                                                                 fs::file_size(card.path() / "105.wav") > 44;
                                                      }},
                                           WriterPair{"restore",
                                                      {"restore", "BACKUP", ""},
                                                      [](const json& config, const ScratchCard&) {
                                                          return config["settings"]["pabxType"] == 4;
                                                      }}),
                         [](const ::testing::TestParamInfo<WriterPair>& row) { return std::string(row.param.name); });

std::string pidText() { return "(pid " + std::to_string(::getpid()) + ")"; }

TEST(CardLockCommand, aWriterWaitsForTheHolderThenWrites) {
    ScratchCard card;
    ASSERT_EQ(runCardTool({"init", card.folder()}).status, 0);
    const auto before = card.snapshot();
    auto holder = std::make_unique<quorvel::CardLock>(card.folder(), "test writer");
    ASSERT_EQ(holder->lockForWriting(std::chrono::milliseconds(0), false), quorvel::CardLockResult::Taken);

    StartedTool writer({"set", card.folder(), "settings.pabxType=4"});
    ASSERT_TRUE(writer.awaitError("waiting for test writer " + pidText()));
    EXPECT_EQ(card.snapshot(), before);
    holder.reset();
    const ToolRun run = writer.finish();
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(shown(card.folder())["settings"]["pabxType"], 4);
}

TEST(CardLockCommand, aWriterGivesUpAfterItsWaitAndWritesNothing) {
    ScratchCard card;
    ASSERT_EQ(runCardTool({"init", card.folder()}).status, 0);
    const auto before = card.snapshot();
    quorvel::CardLock holder(card.folder(), "test writer");
    ASSERT_EQ(holder.lockForWriting(std::chrono::milliseconds(0), false), quorvel::CardLockResult::Taken);

    const ToolRun run = runCardTool({"set", "--wait", "0.2", card.folder(), "settings.pabxType=4"});
    EXPECT_EQ(run.status, 1);
    // The message gives the time really waited, to a tenth of a second.
    const std::string said = "still being written by test writer " + pidText() + " after waiting ";
    const std::size_t at = run.err.find(said);
    ASSERT_NE(at, std::string::npos) << run.err;
    EXPECT_GE(std::stod(run.err.substr(at + said.size())), 0.2) << run.err;
    EXPECT_NE(run.err.find(" s; nothing was written", at), std::string::npos) << run.err;
    EXPECT_EQ(card.snapshot(), before);
}

struct HeldCommand {
    const char* name;
    Arguments arguments;  // "" stands for the card folder, SOURCE for a folder holding one file
};

class WindowHold : public ::testing::TestWithParam<HeldCommand> {};

TEST_P(WindowHold, WritingCommandsRefuseUnlessForced) {
    ScratchCard card;
    ScratchCard source;
    source.write("220.txt", "x\r\n");
    ASSERT_EQ(runCardTool({"init", card.folder()}).status, 0);
    const auto before = card.snapshot();
    quorvel::CardLock window(card.folder(), "ajustor-quorvel");
    ASSERT_EQ(window.holdForWindow(), quorvel::CardLockResult::Taken);

    Arguments arguments = GetParam().arguments;
    for (std::string& argument : arguments) {
        if (argument.empty()) argument = card.folder();
        if (argument == "SOURCE") argument = source.folder();
    }
    const ToolRun refused = runCardTool(arguments);
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("open in the window of ajustor-quorvel " + pidText() + "; nothing was written"),
              std::string::npos)
        << refused.err;
    EXPECT_EQ(card.snapshot(), before);

    arguments.insert(arguments.begin() + 1, "--force");
    const ToolRun forced = runCardTool(arguments);
    EXPECT_EQ(forced.status, 0) << forced.err;
}

INSTANTIATE_TEST_SUITE_P(Commands, WindowHold,
                         ::testing::Values(HeldCommand{"init", {"init", ""}},
                                           HeldCommand{"set", {"set", "", "settings.pabxType=4"}},
                                           HeldCommand{"restore", {"restore", "SOURCE", ""}},
                                           HeldCommand{"backup", {"backup", "SOURCE", ""}}),
                         [](const ::testing::TestParamInfo<HeldCommand>& row) { return std::string(row.param.name); });

TEST(CardLockCommand, readersNeverWait) {
    ScratchCard card;
    ASSERT_EQ(runCardTool({"init", card.folder()}).status, 0);
    quorvel::CardLock writer(card.folder(), "test writer");
    ASSERT_EQ(writer.lockForWriting(std::chrono::milliseconds(0), false), quorvel::CardLockResult::Taken);
    quorvel::CardLock window(card.folder(), "ajustor-quorvel");
    ASSERT_EQ(window.holdForWindow(), quorvel::CardLockResult::Taken);
    for (const char* reader : {"show", "check"}) {
        const ToolRun run = runCardTool({reader, card.folder()});
        EXPECT_TRUE(run.status == 0 || run.status == 3) << reader << ": " << run.err;
        EXPECT_EQ(run.err.find("waiting"), std::string::npos) << reader << ": " << run.err;
    }
}

TEST(CardLockCommand, theLockLeavesNothingOnTheCard) {
    ScratchCard card;
    ScratchCard copy;
    ASSERT_EQ(runCardTool({"init", card.folder()}).status, 0);
    quorvel::CardLock window(card.folder(), "ajustor-quorvel");
    ASSERT_EQ(window.holdForWindow(), quorvel::CardLockResult::Taken);
    ASSERT_EQ(runCardTool({"set", "--force", card.folder(), "settings.pabxType=4"}).status, 0);
    ASSERT_EQ(runCardTool({"backup", card.folder(), copy.folder()}).status, 0);
    EXPECT_EQ(copy.snapshot(), card.snapshot());
    ASSERT_EQ(runCardTool({"restore", "--force", copy.folder(), card.folder()}).status, 0);
    for (const auto& entry : fs::directory_iterator(card.path())) {
        EXPECT_NE(entry.path().filename().string().front(), '.') << entry.path();
    }
}

// The same on a FAT card mounted through FUSE, as a technician's card may be.
class ConcurrentWritersOnFat : public ::testing::Test {
protected:
    void SetUp() override {
        if (!mount_.mounted()) GTEST_SKIP() << mount_.skipReason();
        ASSERT_EQ(runCardTool({"init", blank_.folder()}).status, 0);
        // Saved once, as a card in use is: a write then replaces only the files it changes.
        ASSERT_EQ(runCardTool({"set", blank_.folder(), "settings.pabxType=3"}).status, 0);
        card_ = mount_.folder() + "card/";
        fs::create_directory(card_);
        ASSERT_NO_FATAL_FAILURE(copyFiles(blank_.path(), card_));
    }

    FatCardMount mount_;
    ScratchCard blank_;
    std::string card_;
};

TEST_F(ConcurrentWritersOnFat, theLockHoldsOnTheMount) {
    quorvel::CardLock holder(card_, "test writer");
    ASSERT_EQ(holder.lockForWriting(std::chrono::milliseconds(0), false), quorvel::CardLockResult::Taken);
    const ToolRun refused = runCardTool({"set", "--wait", "0", card_, "settings.pabxType=4"});
    EXPECT_EQ(refused.status, 1) << refused.err;
    EXPECT_NE(refused.err.find("still being written by test writer"), std::string::npos) << refused.err;
}

TEST_F(ConcurrentWritersOnFat, bothUpdatesLandInEveryRun) {
    const ToolRun alone = runCardTool({"set", card_, "settings.pabxType=2"});
    ASSERT_EQ(alone.status, 0) << alone.err;
    // Soaks set QUORVEL_CONCURRENT_RUNS.
    const int runs = runCount(4);
    for (int run = 0; run < runs; ++run) {
        ASSERT_NO_FATAL_FAILURE(copyFiles(blank_.path(), card_));
        StartedTool menus(withCardFolder(kMenuSet, card_));
        StartedTool settings({"set", card_, "settings.pabxType=4", "timetable.Seg.0.time=08:00"});
        const ToolRun menusRun = menus.finish();
        const ToolRun settingsRun = settings.finish();
        ASSERT_EQ(menusRun.status, 0) << "run " << run << ": " << menusRun.err;
        ASSERT_EQ(settingsRun.status, 0) << "run " << run << ": " << settingsRun.err;
        const json config = shown(card_);
        ASSERT_TRUE(menuUpdatePresent(config)) << "run " << run << " lost the menu update";
        ASSERT_EQ(config["settings"]["pabxType"], 4) << "run " << run << " lost the settings update";
        ASSERT_EQ(config["timetable"]["Seg"][0]["time"], "08:00") << "run " << run << " lost the timetable update";
    }
}

// Whether `pid` has ended, without reaping it.
bool ended(pid_t pid) {
    siginfo_t info{};
    return ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == pid;
}

TEST(CardLockCommand, aKilledWriterNeverLeavesTheCardLocked) {
    ScratchCard card;
    ASSERT_EQ(runCardTool({"init", card.folder()}).status, 0);
    int killedHolding = 0;
    for (int attempt = 0; attempt < 10; ++attempt) {
        StartedTool writer({"set", card.folder(), "menus.0.1.target1=M2"});
        // The writer prints nothing while it works: the lock names it as
        // soon as it holds the card.
        bool holding = false;
        while (!holding && !ended(writer.pid())) {
            quorvel::CardLock probe(card.folder(), "probe");
            holding = probe.lockForWriting(std::chrono::milliseconds(0), false) == quorvel::CardLockResult::Busy &&
                      probe.writer().pid == writer.pid();
        }
        ::kill(writer.pid(), SIGKILL);
        const ToolRun killed = writer.finish();
        if (killed.status == -1 && holding) ++killedHolding;
        const ToolRun next = runCardTool({"set", "--wait", "0", card.folder(), "settings.pabxType=4"});
        ASSERT_EQ(next.status, 0) << next.err;
    }
    EXPECT_GT(killedHolding, 0) << "no writer was killed while it held the card";
}

}  // namespace
