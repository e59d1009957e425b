#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>

#include "CardTestSupport.h"
#include "config/CardError.h"
#include "config/CardFiles.h"
#include "config/CardSequences.h"

namespace quorvel {
namespace {

using testing::FaultyFileSystem;
using testing::TemporaryFolder;

const std::string kHolidayLine(defaultHolidayLine);

std::string optionName(int menu, int option) { return cardFileName(optionFileNumber(menu, option)); }

TEST(EnsureCardFiles, FirstStartCreatesTheExactFileSet) {
    TemporaryFolder folder;
    EXPECT_TRUE(ensureCardFiles(CardFolder(folder.folder())).ok());
    auto files = folder.snapshot();
    ASSERT_EQ(files.size(), 113u);
    for (int n = 0; n < 100; ++n) EXPECT_EQ(files.at(cardFileName(n)), "\r\n") << n;
    for (int n = 200; n <= 207; ++n) EXPECT_EQ(files.at(cardFileName(n)), "\r\n") << n;
    EXPECT_EQ(files.at("220.txt"), "\r\n");
    EXPECT_EQ(files.at("221.txt"), kHolidayLine + "\r\n\r\n");
    EXPECT_EQ(files.at("222.txt"), "\r\n");
    EXPECT_EQ(files.at("223.txt"), "\r\n");
    EXPECT_EQ(files.at("421.txt"), kHolidayLine + "\r\n");
}

TEST(EnsureCardFiles, ExistingFilesAreNotTouched) {
    TemporaryFolder folder;
    folder.write("050.txt", "");
    folder.write("221.txt", "garbage");
    EXPECT_TRUE(ensureCardFiles(CardFolder(folder.folder())).ok());
    EXPECT_EQ(folder.read("050.txt"), "");
    EXPECT_EQ(folder.read("221.txt"), "garbage");
    EXPECT_EQ(folder.snapshot().size(), 113u);
}

TEST(EnsureCardFiles, CreationFailureStopsAtThatFile) {
    TemporaryFolder folder;
    FaultyFileSystem faulty;
    faulty.fail(FaultyFileSystem::Call::CreateNew, "205.txt", EROFS);
    EXPECT_EQ(ensureCardFiles(CardFolder(folder.folder(), faulty)).message, "File access denied");
    EXPECT_TRUE(folder.exists("204.txt"));
    EXPECT_FALSE(folder.exists("205.txt"));
    EXPECT_FALSE(folder.exists("220.txt"));
}

TEST(LoadConfiguration, NewCardLoadsTheInitialValues) {
    TemporaryFolder folder;
    CardFolder card(folder.folder());
    EXPECT_TRUE(ensureCardFiles(card).ok());
    DeviceConfiguration config;
    EXPECT_TRUE(loadConfiguration(card, config).ok());
    DeviceConfiguration expected;
    expected.holidays = {"  /  ", "  /  ", "01/01", "21/04", "01/05", "07/09", "12/10", "02/11", "15/11", "25/12"};
    EXPECT_EQ(config, expected);
}

TEST(LoadConfiguration, KeepsWhatAFileLeavesUndetermined) {
    TemporaryFolder folder;
    CardFolder card(folder.folder());
    EXPECT_TRUE(ensureCardFiles(card).ok());
    DeviceConfiguration config;
    config.menus[3][1].flagF = true;
    config.settings.greeting = true;
    config.menus[3][1].target1 = "99";
    EXPECT_TRUE(loadConfiguration(card, config).ok());
    EXPECT_TRUE(config.menus[3][1].flagF);
    EXPECT_TRUE(config.settings.greeting);
    EXPECT_EQ(config.menus[3][1].target1, "") << "text columns are always read";
}

TEST(LoadConfiguration, ZeroLengthFileStopsAfterTheFilesBeforeIt) {
    TemporaryFolder folder;
    CardFolder card(folder.folder());
    EXPECT_TRUE(ensureCardFiles(card).ok());
    folder.write("049.txt", "49  M1  1\r\n");
    folder.write("051.txt", "51      1\r\n");
    folder.write("201.txt", "08001" + std::string(15, ' ') + "\r\n");
    folder.write("050.txt", "");
    DeviceConfiguration config;
    EXPECT_EQ(errorBoxText(loadConfiguration(card, config).message), "List index out of bounds (-1)");
    EXPECT_EQ(config.menus[4][9], (MenuOption{"49", "M1", true}));
    EXPECT_EQ(config.menus[5][1], MenuOption{}) << "menus 5 to 9 stay as they were";
    EXPECT_EQ(config.day(DayKind::Dom), DaySchedule{});
    EXPECT_EQ(config.holidays[9], "  /  ");
}

TEST(LoadConfiguration, VanishedFileReportsItsPath) {
    TemporaryFolder folder;
    CardFolder plain(folder.folder());
    EXPECT_TRUE(ensureCardFiles(plain).ok());
    FaultyFileSystem faulty;
    faulty.markVanished("222.txt");
    DeviceConfiguration config;
    EXPECT_EQ(loadConfiguration(CardFolder(folder.folder(), faulty), config).message,
              "Cannot open file \"" + folder.folder() + "222.txt\". No such file or directory");
    EXPECT_EQ(config.holidays[2], "01/01") << "files before it were read";
}

TEST(SaveConfiguration, SaveAfterFirstStartWritesTheEmptyRecords) {
    TemporaryFolder folder;
    CardFolder card(folder.folder());
    EXPECT_TRUE(ensureCardFiles(card).ok());
    DeviceConfiguration config;
    EXPECT_TRUE(loadConfiguration(card, config).ok());
    const std::string newCopy = folder.read("421.txt");
    EXPECT_TRUE(saveConfiguration(card, config).ok());
    auto files = folder.snapshot();
    ASSERT_EQ(files.size(), 113u);
    EXPECT_EQ(files.at("421.txt"), newCopy) << "a new copy already holds what the save writes";
    for (int n = 0; n < 100; ++n) EXPECT_EQ(files.at(cardFileName(n)), "        0\r\n") << n;
    for (int n = 200; n <= 207; ++n) EXPECT_EQ(files.at(cardFileName(n)), std::string(20, ' ') + "\r\n") << n;
    EXPECT_EQ(files.at("220.txt"), "00000100        0000\r\n");
    EXPECT_EQ(files.at("221.txt"), kHolidayLine + "\r\n");
    EXPECT_EQ(files.at("421.txt"), kHolidayLine + "\r\n");
    EXPECT_EQ(files.at("222.txt"), std::string(16, ' ') + "\r\n");
    EXPECT_EQ(files.at("223.txt"), std::string(6, ' ') + "\r\n");
}

TEST(SaveConfiguration, WritesInTheFixedOrder) {
    TemporaryFolder folder;
    EXPECT_TRUE(ensureCardFiles(CardFolder(folder.folder())).ok());
    FaultyFileSystem recording;
    EXPECT_TRUE(saveConfiguration(CardFolder(folder.folder(), recording), DeviceConfiguration{}).ok());
    std::vector<std::string> expected;
    for (int option = 1; option <= 9; ++option) expected.push_back(optionName(0, option));
    expected.push_back("000.txt");
    for (int n = 10; n < 100; ++n) expected.push_back(cardFileName(n));
    for (int n = 200; n <= 207; ++n) expected.push_back(cardFileName(n));
    for (const char* name : {"221.txt", "421.txt", "222.txt", "223.txt", "220.txt"}) expected.push_back(name);
    EXPECT_EQ(recording.renamedTargets(), expected);
}

struct SaveFault {
    const char* name;
    std::function<void(FaultyFileSystem&)> inject;
    std::string message;  // as the error box shows it
    CardState state;
};

// Whatever fails, and wherever among the 113 files: every card file keeps
// its bytes, no temporary file is left, and the error says the card is as it was.
TEST(SaveConfiguration, AnyFailureLeavesEveryCardFileAsItWas) {
    using Call = FaultyFileSystem::Call;
    const SaveFault faults[] = {
        {"read-only last file", [](FaultyFileSystem& f) { f.markReadOnly("220.txt"); }, "File access denied.",
         CardState::Unchanged},
        {"full disk at one file", [](FaultyFileSystem& f) { f.fail(Call::Write, "205.txt", ENOSPC); }, "Disk full.",
         CardState::Unchanged},
        {"no room at all", [](FaultyFileSystem& f) { f.setFreeBytes(4096); }, "", CardState::Unchanged},
        {"temporary", [](FaultyFileSystem& f) { f.fail(Call::CreateTemporary, "", EMFILE); }, "Too many open files.",
         CardState::Unchanged},
        {"sync", [](FaultyFileSystem& f) { f.fail(Call::Sync, "050.txt", EIO); }, "I/O error 5.", CardState::Unchanged},
        {"close", [](FaultyFileSystem& f) { f.fail(Call::Close, "050.txt", EMFILE); }, "Too many open files.",
         CardState::Unchanged},
        {"short write", [](FaultyFileSystem& f) { f.markShortWrites("050.txt"); }, "I/O error 5.",
         CardState::Unchanged},
        // The files renamed before it are put back.
        {"rename", [](FaultyFileSystem& f) { f.fail(Call::Rename, "050.txt", EIO); }, "I/O error 5.",
         CardState::Unchanged},
    };
    for (const SaveFault& fault : faults) {
        TemporaryFolder folder;
        EXPECT_TRUE(ensureCardFiles(CardFolder(folder.folder())).ok());
        folder.write("205.txt", "0800112002" + std::string(10, ' ') + "\r\n");
        const auto before = folder.snapshot();
        FaultyFileSystem faulty;
        fault.inject(faulty);
        DeviceConfiguration config;
        for (auto& menu : config.menus) menu.fill(MenuOption{"1234", "", false});
        config.accessCodes.password = "123";
        const CardResult saved = saveConfiguration(CardFolder(folder.folder(), faulty), config);
        EXPECT_FALSE(saved.ok()) << fault.name << ": no error";
        if (!fault.message.empty()) {
            EXPECT_EQ(errorBoxText(saved.message), fault.message) << fault.name;
        }
        EXPECT_EQ(saved.state, fault.state) << fault.name;
        EXPECT_EQ(folder.snapshot(), before) << fault.name;
    }
}

TEST(SaveConfiguration, SyncsEveryFileAndTheFolderOnce) {
    TemporaryFolder folder;
    EXPECT_TRUE(ensureCardFiles(CardFolder(folder.folder())).ok());
    FaultyFileSystem counting;
    EXPECT_TRUE(saveConfiguration(CardFolder(folder.folder(), counting), DeviceConfiguration{}).ok());
    EXPECT_EQ(counting.calls(FaultyFileSystem::Call::Sync), 113);
    EXPECT_EQ(counting.calls(FaultyFileSystem::Call::SyncFolder), 1);
    EXPECT_EQ(folder.snapshot().size(), 113u);
}

TEST(SaveConfiguration, MissingFilesAreSkippedSilently) {
    TemporaryFolder folder;
    CardFolder card(folder.folder());
    EXPECT_TRUE(ensureCardFiles(card).ok());
    folder.remove("050.txt");
    folder.remove("421.txt");
    DeviceConfiguration config;
    config.holidays[0] = "25/12";
    EXPECT_TRUE(saveConfiguration(card, config).ok());
    EXPECT_FALSE(folder.exists("050.txt"));
    EXPECT_FALSE(folder.exists("421.txt"));
    EXPECT_EQ(folder.read("221.txt").substr(0, 4), "2512");
    EXPECT_EQ(folder.read("051.txt"), "        0\r\n");

    folder.remove("221.txt");
    folder.write("421.txt", "");
    EXPECT_TRUE(saveConfiguration(card, config).ok());
    EXPECT_EQ(folder.read("421.txt").substr(0, 4), "2512") << "the copy is written without the original";
}

TEST(SaveConfiguration, ReloadThenSaveOnlyNormalises) {
    TemporaryFolder folder;
    CardFolder card(folder.folder());
    EXPECT_TRUE(ensureCardFiles(card).ok());
    folder.write("037.txt", "  12M7  1\r\nignored\r\n");
    folder.write("222.txt", " 12 3456;   7\n");
    folder.write("202.txt", " 830209002 \r\n");
    folder.write("220.txt", "3210524112 1 9999123");
    DeviceConfiguration config;
    EXPECT_TRUE(loadConfiguration(card, config).ok());
    EXPECT_TRUE(saveConfiguration(card, config).ok());
    EXPECT_EQ(folder.read("037.txt"), "12  M7  1\r\n");
    EXPECT_EQ(folder.read("222.txt"), "12  3456    7   \r\n");
    EXPECT_EQ(folder.read("202.txt"), " 830209002" + std::string(10, ' ') + "\r\n");
    EXPECT_EQ(folder.read("220.txt"), "32105241121 999 9123\r\n");
    EXPECT_EQ(folder.read("221.txt"), kHolidayLine + "\r\n");
}

}  // namespace
}  // namespace quorvel
