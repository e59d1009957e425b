// The card folder's write lock and the window's hold, between open files of
// this process and a child process killed while it holds the card.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include <gtest/gtest.h>

#include "CardTestSupport.h"
#include "config/CardFiles.h"
#include "config/CardLock.h"
#include "config/CardSequences.h"
#include "config/CardSnapshot.h"

namespace quorvel {
namespace {

using std::chrono::milliseconds;
using testing::TemporaryFolder;

TEST(CardLockTest, aSecondWriterIsRefusedUntilTheFirstReleases) {
    TemporaryFolder card;
    auto first = std::make_unique<CardLock>(card.folder(), "ajustor-card set");
    ASSERT_EQ(first->lockForWriting(milliseconds(0), false), CardLockResult::Taken);

    CardLock second(card.folder(), "ajustor-card prompt");
    EXPECT_EQ(second.lockForWriting(milliseconds(0), false), CardLockResult::Busy);
    EXPECT_EQ(second.writer().pid, ::getpid());
    EXPECT_EQ(second.writer().describe(), "ajustor-card set (pid " + std::to_string(::getpid()) + ")");

    first.reset();
    EXPECT_EQ(second.lockForWriting(milliseconds(0), false), CardLockResult::Taken);
    EXPECT_EQ(second.writer().program, "ajustor-card prompt");
}

TEST(CardLockTest, aWaitingWriterIsToldOnceWhoHoldsTheCard) {
    TemporaryFolder card;
    CardLock first(card.folder(), "ajustor-card restore");
    ASSERT_EQ(first.lockForWriting(milliseconds(0), false), CardLockResult::Taken);

    CardLock second(card.folder(), "ajustor-card set");
    std::vector<std::string> told;
    EXPECT_EQ(second.lockForWriting(milliseconds(100), false,
                                    [&](const CardLockHolder& holder) { told.push_back(holder.program); }),
              CardLockResult::Busy);
    EXPECT_EQ(told, std::vector<std::string>{"ajustor-card restore"});
}

TEST(CardLockTest, theWindowsHoldRefusesWritersUnlessOverridden) {
    TemporaryFolder card;
    CardLock window(card.folder(), "ajustor-quorvel");
    ASSERT_EQ(window.holdForWindow(), CardLockResult::Taken);

    CardLock tool(card.folder(), "ajustor-card set");
    EXPECT_EQ(tool.lockForWriting(milliseconds(0), false), CardLockResult::WindowOpen);
    EXPECT_EQ(tool.window().program, "ajustor-quorvel");
    CardLock secondWindow(card.folder(), "ajustor-quorvel");
    EXPECT_EQ(secondWindow.holdForWindow(), CardLockResult::Busy);

    // The hold is not the write lock: the window's own save still takes it.
    EXPECT_EQ(tool.lockForWriting(milliseconds(0), true), CardLockResult::Taken);
    EXPECT_EQ(window.lockForWriting(milliseconds(0), true), CardLockResult::Busy);
}

TEST(CardLockTest, aMissingFolderGoesOnUnlocked) {
    TemporaryFolder card;
    CardLock lock(card.folder() + "missing/", "ajustor-card set");
    EXPECT_EQ(lock.lockForWriting(milliseconds(0), false), CardLockResult::NoLocking);
    EXPECT_EQ(lock.writer().describe(), "another program");
}

// The lock follows the folder, not the way it is named, and leaves nothing in it.
TEST(CardLockTest, everyNameOfOneFolderMeetsTheSameLockAndTheFolderStaysClean) {
    TemporaryFolder card;
    std::filesystem::create_directory(card.path() / "inner");
    std::filesystem::create_directory_symlink(card.path() / "inner", card.path() / "link");
    CardLock writer(card.folder() + "inner", "ajustor-card set");
    ASSERT_EQ(writer.lockForWriting(milliseconds(0), false), CardLockResult::Taken);
    for (const std::string& name :
         {card.folder() + "inner/", card.folder() + "inner/../inner", card.folder() + "link/"}) {
        CardLock other(name, "ajustor-card prompt");
        EXPECT_EQ(other.lockForWriting(milliseconds(0), false), CardLockResult::Busy) << name;
    }
    CardLock elsewhere(card.folder(), "ajustor-card prompt");
    EXPECT_EQ(elsewhere.lockForWriting(milliseconds(0), false), CardLockResult::Taken) << "another folder is free";
    EXPECT_TRUE(std::filesystem::is_empty(card.path() / "inner"));
}

TEST(CardLockTest, aReadOnlyCardIsLockedToo) {
    TemporaryFolder card;
    std::filesystem::permissions(card.path(), std::filesystem::perms(0555));
    CardLock first(card.folder(), "ajustor-card set");
    CardLock second(card.folder(), "ajustor-card set");
    EXPECT_EQ(first.lockForWriting(milliseconds(0), false), CardLockResult::Taken);
    EXPECT_EQ(second.lockForWriting(milliseconds(0), false), CardLockResult::Busy);
    std::filesystem::permissions(card.path(), std::filesystem::perms(0755));
}

TEST(CardLockTest, aHolderKilledWithSigkillLeavesTheCardFree) {
    TemporaryFolder card;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        CardLock lock(card.folder(), "killed writer");
        const char taken = lock.lockForWriting(milliseconds(0), false) == CardLockResult::Taken ? 'y' : 'n';
        if (::write(ready[1], &taken, 1) != 1) ::_exit(1);
        for (;;) ::pause();
    }
    ::close(ready[1]);
    char taken = 0;
    ASSERT_EQ(::read(ready[0], &taken, 1), 1);
    ::close(ready[0]);
    ASSERT_EQ(taken, 'y');

    CardLock next(card.folder(), "ajustor-card set");
    EXPECT_EQ(next.lockForWriting(milliseconds(0), false), CardLockResult::Busy);
    EXPECT_EQ(next.writer().pid, child);
    ASSERT_EQ(::kill(child, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(next.lockForWriting(milliseconds(0), false), CardLockResult::Taken);
}

TEST(CardSnapshotTest, seesWhatASaveWouldWriteOver) {
    TemporaryFolder card;
    const CardFolder folder(card.folder());
    EXPECT_TRUE(ensureCardFiles(folder).ok());
    const std::string settingsName = cardFileName(kSettingsFileNumber);
    const std::string settings = card.read(settingsName);
    card.remove(cardFileName(42));
    const CardSnapshot loaded = CardSnapshot::take(folder);
    EXPECT_FALSE(CardSnapshot::take(folder).changedSince(loaded));

    // Files no save writes are not the card's.
    card.write("105.wav", "RIFF");
    card.write(".quorvel.lock", "1234 ajustor-card set");
    EXPECT_FALSE(CardSnapshot::take(folder).changedSince(loaded));

    std::string changed = settings;
    changed[0] = changed[0] == '1' ? '2' : '1';
    card.write(settingsName, changed);
    EXPECT_TRUE(CardSnapshot::take(folder).changedSince(loaded));
    card.write(settingsName, settings);
    EXPECT_FALSE(CardSnapshot::take(folder).changedSince(loaded));

    // A file that appeared would be written over; one that vanished is skipped.
    card.write(cardFileName(42), "        0\r\n");
    EXPECT_TRUE(CardSnapshot::take(folder).changedSince(loaded));
    card.remove(cardFileName(42));
    card.remove(cardFileName(43));
    EXPECT_FALSE(CardSnapshot::take(folder).changedSince(loaded));
}

}  // namespace
}  // namespace quorvel
