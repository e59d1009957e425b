// What every writing command does to the folder it writes: leftovers of
// killed runs removed, links never followed, read-only files and permission
// bits as a user expects, a file-size limit reported like a full disk.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "CardToolRun.h"
#include "ScratchCard.h"
#include "config/CardLock.h"

namespace {

namespace fs = std::filesystem;

// One temporary file of each kind the tool makes, and of the kinds earlier releases made.
const std::set<std::string> kLeftovers = {"qvs0a1b2.tmp",    "qvc9z8y7.tmp",         "qvp5k5k5.wav",
                                          ".quorvel-a1B2c3", ".quorvel-copy-Zz9yX8", ".quorvel-prompt-q1w2e3.wav"};
// Files named like them, which are someone else's.
const std::set<std::string> kLookAlikes = {".quorvel-a1B2c", ".quorvel-copy-Zz9yX8.bak", ".quorvel-prompt-q1w2e3.WAV",
                                           "quorvel-a1B2c3"};

std::set<std::string> names(const ScratchCard& folder) {
    std::set<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder.path())) found.insert(entry.path().filename().string());
    return found;
}

unsigned modeOf(const fs::path& path) { return static_cast<unsigned>(fs::status(path).permissions()) & 0777; }

bool makeRecording(const fs::path& path) {
    const std::string command = "sox -n -r 16000 -c 2 -b 16 '" + path.string() + "' synth 0.5 sine 440 vol 0.25";
    return std::system(command.c_str()) == 0;
}

class CardWrites : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(runCardTool({"init", card.folder()}).status, 0); }

    ScratchCard card;
    ScratchCard other;
    ScratchCard recordings;
};

TEST_F(CardWrites, EveryWritingCommandRemovesTheToolsLeftoversAndNothingElse) {
    ASSERT_TRUE(makeRecording(recordings.path() / "take.wav"));
    struct Case {
        const char* command;
        bool intoCard;  // the card folder is the one written; else `other` is
    };
    const Case cases[] = {{"init", true}, {"set", true}, {"prompt", true}, {"backup", false}, {"restore", true}};
    for (const Case& c : cases) {
        const ScratchCard& written = c.intoCard ? card : other;
        for (const std::string& name : kLeftovers) written.write(name, "left by a killed run");
        for (const std::string& name : kLookAlikes) written.write(name, "not ours");
        std::vector<std::string> arguments{c.command};
        const std::string command = c.command;
        if (command == "init") arguments.push_back(card.folder());
        if (command == "set") arguments.insert(arguments.end(), {card.folder(), "menus.1.2.target1=202"});
        if (command == "prompt")
            arguments.insert(arguments.end(), {card.folder(), "4", (recordings.path() / "take.wav").string()});
        if (command == "backup") arguments.insert(arguments.end(), {card.folder(), other.folder()});
        if (command == "restore") arguments.insert(arguments.end(), {other.folder(), card.folder()});

        const ToolRun run = runCardTool(arguments);
        EXPECT_EQ(run.status, 0) << c.command << ": " << run.err;
        const std::set<std::string> left = names(written);
        for (const std::string& name : kLeftovers) EXPECT_EQ(left.count(name), 0u) << c.command << " left " << name;
        for (const std::string& name : kLookAlikes) EXPECT_EQ(left.count(name), 1u) << c.command << " removed " << name;
        for (const std::string& name : kLookAlikes) fs::remove(written.path() / name);
    }
}

TEST_F(CardWrites, SymbolicLinksAreNeitherListedNorCopiedInEitherDirection) {
    const ScratchCard outside;
    outside.write("secret", "not part of any card");
    other.write("001.txt", line("1234    0"));
    fs::create_symlink(outside.path() / "secret", other.path() / "shadow");
    fs::create_symlink(outside.path(), other.path() / "folder-link");
    const auto before = card.snapshot();

    const ToolRun restore = runCardTool({"restore", other.folder(), card.folder()});
    EXPECT_EQ(restore.status, 0) << restore.err;
    EXPECT_EQ(restore.err, "");
    EXPECT_EQ(card.read("001.txt"), line("1234    0"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(card.path() / "shadow")));
    EXPECT_EQ(card.snapshot().size(), before.size());

    fs::create_symlink(outside.path() / "secret", card.path() / "link.wav");
    const ScratchCard backup;
    const ToolRun copy = runCardTool({"backup", card.folder(), backup.folder()});
    EXPECT_EQ(copy.status, 0) << copy.err;
    EXPECT_EQ(backup.snapshot().size(), before.size());
    EXPECT_FALSE(fs::exists(fs::symlink_status(backup.path() / "link.wav")));
}

TEST_F(CardWrites, BackupReplacesItsReadOnlyCopiesAndRestoreNamesReadOnlyCardFiles) {
    fs::permissions(card.path() / "220.txt", fs::perms(0444));
    fs::permissions(card.path() / "031.txt", fs::perms(0444));
    for (int week = 1; week <= 2; ++week) {
        card.write("105.wav", "prompt of week " + std::to_string(week));
        const ToolRun run = runCardTool({"backup", card.folder(), other.folder()});
        EXPECT_EQ(run.status, 0) << "week " << week << ": " << run.err;
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(other.snapshot(), card.snapshot()) << "week " << week;
    }
    EXPECT_EQ(modeOf(other.path() / "220.txt"), 0444u) << "a copy keeps the bits of its source";

    other.write("031.txt", line("M3  1 0"));
    other.write("032.txt", line("M4  1 0"));
    const ToolRun restore = runCardTool({"restore", other.folder(), card.folder()});
    EXPECT_EQ(restore.status, 1);
    // All or nothing: the first read-only card file refuses the whole restore.
    EXPECT_EQ(restore.err, card.folder() + "/031.txt: File access denied. The card holds its previous files.\n");
    EXPECT_NE(card.read("031.txt"), line("M3  1 0"));
    EXPECT_NE(card.read("032.txt"), line("M4  1 0"));
}

TEST_F(CardWrites, PermissionBitsOfSavedCopiedAndConvertedFiles) {
    const mode_t old = ::umask(022);
    ASSERT_TRUE(makeRecording(recordings.path() / "take.wav"));
    fs::permissions(card.path() / "001.txt", fs::perms(0640));
    card.write("103.wav", "old prompt");
    fs::permissions(card.path() / "103.wav", fs::perms(0604));

    EXPECT_EQ(runCardTool({"set", card.folder(), "menus.0.1.target1=202"}).status, 0);
    EXPECT_EQ(runCardTool({"prompt", card.folder(), "4", (recordings.path() / "take.wav").string()}).status, 0);
    EXPECT_EQ(runCardTool({"prompt", card.folder(), "3", (recordings.path() / "take.wav").string()}).status, 0);
    EXPECT_EQ(runCardTool({"backup", card.folder(), other.folder()}).status, 0);
    ::umask(old);

    struct Row {
        fs::path path;
        unsigned mode;
    };
    const Row rows[] = {{card.path() / "001.txt", 0640},
                        {card.path() / "104.wav", 0644},
                        {card.path() / "103.wav", 0604},
                        {other.path() / "001.txt", 0640},
                        {other.path() / "104.wav", 0644}};
    for (const Row& row : rows) EXPECT_EQ(modeOf(row.path), row.mode) << row.path;
    EXPECT_NE(card.read("103.wav"), "old prompt");
}

TEST_F(CardWrites, FileSizeLimitFailsLikeAFullDiskAndKeepsTheOriginals) {
    card.write("105.wav", std::string(70000, 'p'));
    other.write("105.wav", "older copy");
    const auto cardBefore = card.snapshot();

    const ToolRun backup = runCardTool({"backup", card.folder(), other.folder()}, 10000);
    EXPECT_EQ(backup.status, 1) << "killed by SIGXFSZ when -1";
    EXPECT_EQ(backup.err, "105.wav: Disk full\n");
    EXPECT_EQ(other.read("105.wav"), "older copy");
    EXPECT_EQ(names(other).size(), cardBefore.size()) << "the other files copied, no temporary left";

    // One byte rather than none: ThreadSanitizer's runtime writes a file before main.
    const ToolRun set = runCardTool({"set", card.folder(), "menus.0.1.target1=12"}, 1);
    EXPECT_EQ(set.status, 1);
    // The history, under the same limit, may say it recorded nothing.
    const std::string failure = card.folder() + "/001.txt: Disk full. The card holds its previous files.\n";
    EXPECT_EQ(set.err.substr(0, failure.size()), failure);
    EXPECT_EQ(card.snapshot(), cardBefore);
}

}  // namespace
