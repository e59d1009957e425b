// Writes through the card session from the command line: a card without the
// room for a write keeps every file; a backup is one configuration while
// another command writes; another user's files cannot hold or reach the tool.
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include <gtest/gtest.h>

#include "CardToolRun.h"
#include "FatCardMount.h"
#include "ScratchCard.h"

namespace {

namespace fs = std::filesystem;

std::map<std::string, std::string> filesOf(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        std::ifstream in(entry.path(), std::ios::binary);
        files[entry.path().filename().string()] = std::string(std::istreambuf_iterator<char>(in), {});
    }
    return files;
}

// A small tmpfs of its own; only root may mount one.
class SmallFolder {
public:
    explicit SmallFolder(const fs::path& where) : path_(where) {
        fs::create_directories(path_);
        mounted_ = ::mount("tmpfs", path_.c_str(), "tmpfs", 0, "size=1m") == 0;
    }
    ~SmallFolder() {
        if (mounted_) ::umount2(path_.c_str(), MNT_DETACH);
    }
    bool mounted() const { return mounted_; }
    std::string folder() const { return path_.string() + "/"; }

private:
    fs::path path_;
    bool mounted_ = false;
};

struct FullCardRow {
    const char* name;
    std::function<std::vector<std::string>(const std::string& card, const std::string& backup)> command;
};

const FullCardRow kFullCardCommands[] = {
    {"set",
     [](const std::string& card, const std::string&) {
         return std::vector<std::string>{"set", card, "menus.3.1.target1=201", "settings.ringsToAnswer=2"};
     }},
    {"apply",
     [](const std::string& card, const std::string& backup) {
         return std::vector<std::string>{"apply", card, backup + "/changes.json"};
     }},
    {"restore",
     [](const std::string& card, const std::string& backup) {
         return std::vector<std::string>{"restore", backup, card};
     }},
};

class FullCard : public ::testing::Test {
protected:
    // Makes the card in `card`, a backup of it with other values, then takes
    // the card's room away with `fill`.
    void prepare(const std::string& card, const std::function<void()>& fill) {
        ASSERT_EQ(runCardTool({"init", card}).status, 0);
        ASSERT_EQ(runCardTool({"backup", card, backup.folder()}).status, 0);
        const std::vector<std::string> changes{"set", backup.folder(), "menus.1.1.target1=201", "menus.9.9.target1=209",
                                               "settings.ringsToAnswer=3"};
        ASSERT_EQ(runCardTool(changes).status, 0);
        const ToolRun shown = runCardTool({"show", backup.folder()});
        std::ofstream(backup.path() / "changes.json") << shown.out;
        fill();
    }

    // Every command either writes everything or leaves every file as it was;
    // the room left is too small for any of them.
    void expectWholeOrNothing(const std::string& card) {
        int refused = 0;
        for (const FullCardRow& row : kFullCardCommands) {
            const auto before = filesOf(card);
            const ToolRun run = runCardTool(row.command(card, backup.folder()));
            if (run.status == 0) {
                EXPECT_NE(filesOf(card), before) << row.name << " said it wrote";
                continue;
            }
            ++refused;
            EXPECT_EQ(filesOf(card), before) << row.name << ": " << run.err;
            EXPECT_NE(run.err.find("The card holds its previous files"), std::string::npos) << row.name << run.err;
        }
        EXPECT_EQ(refused, static_cast<int>(std::size(kFullCardCommands)));
    }

    ScratchCard backup;
};

TEST_F(FullCard, ASmallFolderWithoutRoomKeepsEveryFile) {
    ScratchCard scratch;
    SmallFolder small(scratch.path() / "card");
    if (!small.mounted()) GTEST_SKIP() << "mounting a small tmpfs needs root";
    prepare(small.folder(), [&] {
        // Leaves two blocks: too few for the temporaries of any of the writes.
        std::ofstream filler(small.folder() + "filler.bin", std::ios::binary);
        std::string block(4096, 'f');
        while (filler.write(block.data(), static_cast<std::streamsize>(block.size())) && filler.flush()) {
        }
        filler.close();
        fs::resize_file(small.folder() + "filler.bin", fs::file_size(small.folder() + "filler.bin") - 2 * 4096);
    });
    expectWholeOrNothing(small.folder());
}

TEST_F(FullCard, AFatRootFolderNearlyFullKeepsEveryFile) {
    FatCardMount mount;
    if (!mount.mounted()) GTEST_SKIP() << mount.skipReason();
    prepare(mount.folder(), [&] {
        // The FAT16 root folder holds 512 entries. Fill it, then free the
        // entries of one file: room for one temporary, and each write
        // below replaces two files or more.
        int made = 0;
        while (made < 512 && std::ofstream(mount.folder() + "F" + std::to_string(made) + ".DAT").is_open()) ++made;
        ASSERT_GT(made, 0);
        fs::remove(mount.folder() + "F" + std::to_string(made - 1) + ".DAT");
    });
    expectWholeOrNothing(mount.folder());
}

// While `apply` writes two configurations in turn, every backup is one of them.
TEST(CardSessionCommand, BackupsTakenWhileApplyAlternatesAreEachOneConfiguration) {
    ScratchCard card;
    ScratchCard configurations;
    ASSERT_EQ(runCardTool({"init", card.folder()}).status, 0);
    std::string shown[2];
    for (int which = 0; which < 2; ++which) {
        std::vector<std::string> set{"set", card.folder()};
        for (int menu = 0; menu < 10; ++menu) {
            set.push_back("menus." + std::to_string(menu) + ".1.target1=" + std::to_string(200 + which * 10 + menu));
        }
        ASSERT_EQ(runCardTool(set).status, 0);
        shown[which] = runCardTool({"show", card.folder()}).out;
        configurations.write(std::to_string(which) + ".json", shown[which]);
    }
    std::atomic<bool> done = false;
    std::thread writer([&] {
        for (int turn = 0; !done; ++turn) {
            runCardTool({"apply", card.folder(), configurations.folder() + "/" + std::to_string(turn % 2) + ".json"});
        }
    });
    for (int i = 0; i < 25; ++i) {
        ScratchCard backup;
        const ToolRun run = runCardTool({"backup", card.folder(), backup.folder()});
        EXPECT_EQ(run.status, 0) << run.err;
        const std::string copied = runCardTool({"show", backup.folder()}).out;
        EXPECT_TRUE(copied == shown[0] || copied == shown[1]) << "backup " << i << " mixes two configurations";
    }
    done = true;
    writer.join();
}

// Whatever another user left in the lock folders, `set` writes and prints
// nothing of it.
TEST(CardSessionCommand, AnotherUsersLockFileNeitherBlocksNorReachesTheTerminal) {
    if (::geteuid() != 0) GTEST_SKIP() << "making a file of another user needs root";
    ScratchCard card;
    ScratchCard runtime;
    fs::permissions(runtime.path(), fs::perms::owner_all);
    ::setenv("XDG_RUNTIME_DIR", runtime.folder().c_str(), 1);
    ASSERT_EQ(runCardTool({"init", card.folder()}).status, 0);
    std::vector<int> held;
    const std::string hostile = "666 \x1b]0;owned\x07\x1b[2J<b>rich</b>\n";
    const auto plant = [&](const fs::path& path) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT, 0666);
        ASSERT_GE(fd, 0) << path;
        ASSERT_EQ(::write(fd, hostile.data(), hostile.size()), static_cast<ssize_t>(hostile.size()));
        ASSERT_EQ(::fchown(fd, 65534, 65534), 0);
        struct flock range {};
        range.l_type = F_WRLCK;
        range.l_len = 2;
        ASSERT_EQ(::fcntl(fd, F_OFD_SETLK, &range), 0);
        held.push_back(fd);
    };
    // The lock file the tool made, now another user's, and the same card's
    // lock at the places earlier releases used.
    std::vector<fs::path> places;
    for (const auto& entry : fs::recursive_directory_iterator(runtime.path())) {
        if (!entry.is_regular_file()) continue;
        places.push_back(entry.path());
        for (const char* old : {"/run/lock/", "/tmp/"}) {
            if (fs::is_directory(old)) places.push_back(old + ("ajustor-quorvel-" + entry.path().filename().string()));
        }
    }
    ASSERT_FALSE(places.empty());
    for (const fs::path& place : places) {
        fs::remove(place);
        plant(place);
    }
    const ToolRun run = runCardTool({"set", card.folder(), "menus.3.1.target1=201", "--wait", "0"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(card.read("031.txt"), line("201     0"));
    EXPECT_EQ(run.err.find('\x1b'), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("666"), std::string::npos) << run.err;
    for (int fd : held) ::close(fd);
    for (const fs::path& place : places) fs::remove(place);
    ::unsetenv("XDG_RUNTIME_DIR");
}

}  // namespace
