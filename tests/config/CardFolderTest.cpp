#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "CardTestSupport.h"
#include "config/CardError.h"
#include "config/CardFolder.h"
#include "config/FileReplace.h"

namespace quorvel {
namespace {

using testing::FaultyFileSystem;
using testing::TemporaryFolder;
using Call = FaultyFileSystem::Call;

std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const CardError& error) {
        return error.what();
    }
    return "(no error)";
}

TEST(RecordLine, FirstLineEndsAtAnyLineEnd) {
    TemporaryFolder folder;
    CardFolder card(folder.folder());
    const std::pair<std::string, std::string> cases[] = {
        {"abc\r\ndef\r\n", "abc"},
        {"abc\ndef", "abc"},
        {"abc\rdef", "abc"},
        {"abc", "abc"},
        {"\r\n", ""},
        {"\n\nx", ""},
        {"\r", ""},
    };
    for (const auto& [bytes, line] : cases) {
        folder.write("001.txt", bytes);
        EXPECT_EQ(card.recordLine("001.txt"), line);
    }
}

TEST(RecordLine, ZeroLengthFileHasNoLine) {
    TemporaryFolder folder;
    folder.write("050.txt", "");
    EXPECT_EQ(errorOf([&] { CardFolder(folder.folder()).recordLine("050.txt"); }), "List index out of bounds (-1)");
}

TEST(RecordLine, UnopenableNamesReportThePathAndReason) {
    TemporaryFolder folder;
    std::filesystem::create_directory(folder.path() / "002.txt");
    CardFolder card(folder.folder());
    EXPECT_EQ(errorOf([&] { card.recordLine("001.txt"); }),
              "Cannot open file \"" + folder.folder() + "001.txt\". No such file or directory");
    EXPECT_EQ(errorOf([&] { card.recordLine("002.txt"); }),
              "Cannot open file \"" + folder.folder() + "002.txt\". Is a directory");

    FaultyFileSystem faulty;
    faulty.fail(Call::ReadAll, "003.txt", EACCES);
    folder.write("003.txt", "x\r\n");
    EXPECT_EQ(errorOf([&] { CardFolder(folder.folder(), faulty).recordLine("003.txt"); }),
              "Cannot open file \"" + folder.folder() + "003.txt\". Permission denied");
}

TEST(WriteRecord, ReplacesTheWholeFileWithOneLine) {
    TemporaryFolder folder;
    folder.write("001.txt", "old record\r\nsecond line\r\n");
    CardFolder(folder.folder()).writeRecord("001.txt", "new");
    EXPECT_EQ(folder.read("001.txt"), "new\r\n");
    EXPECT_EQ(folder.snapshot().size(), 1u) << "no temporary file is left behind";
}

TEST(WriteRecord, KeepsThePermissionsOfTheFile) {
    TemporaryFolder folder;
    folder.write("001.txt", "old\r\n");
    std::filesystem::permissions(folder.path() / "001.txt", std::filesystem::perms(0640));
    CardFolder(folder.folder()).writeRecord("001.txt", "new");
    EXPECT_EQ(std::filesystem::status(folder.path() / "001.txt").permissions(), std::filesystem::perms(0640));
}

TEST(WriteRecord, CreatesNothingAndSkipsFolders) {
    TemporaryFolder folder;
    std::filesystem::create_directory(folder.path() / "002.txt");
    CardFolder card(folder.folder());
    card.writeRecord("001.txt", "x");
    card.writeRecord("002.txt", "x");
    EXPECT_FALSE(folder.exists("001.txt"));
    EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "002.txt"));
}

TEST(WriteRecord, ReadOnlyFileIsRefusedAndKept) {
    TemporaryFolder folder;
    folder.write("220.txt", "old\r\n");
    std::filesystem::permissions(folder.path() / "220.txt", std::filesystem::perms(0444));
    EXPECT_EQ(errorOf([&] { CardFolder(folder.folder()).writeRecord("220.txt", "new"); }), "File access denied");
    EXPECT_EQ(folder.read("220.txt"), "old\r\n");
}

// Whatever step of a write fails, the card file keeps its old bytes and no
// temporary file is left in the folder.
TEST(WriteRecord, FailedWriteNeverEmptiesTheFile) {
    struct Case {
        Call call;
        int error;
        const char* message;
    };
    const Case cases[] = {
        {Call::CreateTemporary, EROFS, "File access denied"},
        {Call::CreateTemporary, EMFILE, "Too many open files"},
        {Call::Write, ENOSPC, "Disk full"},
        {Call::Write, EIO, "I/O error 5"},
        {Call::SetMode, EIO, "I/O error 5"},
        {Call::Sync, EIO, "I/O error 5"},
        {Call::Close, EDQUOT, "Disk full"},
        {Call::Rename, ENOENT, "File not found"},
        {Call::Rename, ENAMETOOLONG, "Invalid filename"},
    };
    for (const Case& c : cases) {
        TemporaryFolder folder;
        folder.write("031.txt", "M2  1234 1\r\n");
        FaultyFileSystem faulty;
        faulty.fail(c.call, "031.txt", c.error);
        EXPECT_EQ(errorOf([&] { CardFolder(folder.folder(), faulty).writeRecord("031.txt", "5555    0"); }), c.message);
        EXPECT_EQ(folder.snapshot(), (std::map<std::string, std::string>{{"031.txt", "M2  1234 1\r\n"}}))
            << "failing call " << static_cast<int>(c.call);
    }
}

TEST(CreateFile, FailedCreationLeavesNoHalfFile) {
    TemporaryFolder folder;
    FaultyFileSystem faulty;
    faulty.fail(Call::Write, "221.txt", ENOSPC);
    EXPECT_EQ(errorOf([&] { CardFolder(folder.folder(), faulty).createFile("221.txt", "0123456789\r\n"); }),
              "Disk full");
    EXPECT_FALSE(folder.exists("221.txt"));

    CardFolder(folder.folder()).createFile("221.txt", "abc");
    EXPECT_EQ(folder.read("221.txt"), "abc");
    EXPECT_EQ(errorOf([&] { CardFolder(folder.folder()).createFile("221.txt", "x"); }), "File access denied")
        << "never overwrites a file that appeared meanwhile";
    EXPECT_EQ(folder.read("221.txt"), "abc");

    std::filesystem::create_directory(folder.path() / "050.txt");
    EXPECT_EQ(errorOf([&] { CardFolder(folder.folder()).createFile("050.txt", "\r\n"); }), "File access denied");
}

TEST(LeftoverTemporaries, OnlyTheToolsOwnTemporaryPlainFilesAreRemoved) {
    TemporaryFolder folder;
    std::string leftover;
    int handle = -1;
    ASSERT_EQ(realFileSystem().createTemporary(folder.folder(), std::string(kCardTemporary.prefix),
                                               std::string(kCardTemporary.suffix), leftover, handle),
              0);
    realFileSystem().close(handle);
    // One of each kind the tool makes, then names that only look alike.
    for (const char* name :
         {"qvc1z2y3.tmp", "qvp00000.wav", "qvs1z2y3.txt", ".quorvel-Ab3xY9", ".quorvel-copy-abc123",
          ".quorvel-prompt-Zz0009.wav", ".quorvel-abc12", ".quorvel-abc1234", ".quorvel-ab_123",
          ".quorvel-copy-abcdef1", ".quorvel-copy-ab", ".quorvel-prompt-abc123", ".quorvel-prompt-abc123.WAV",
          ".quorvel-prompt-abc12.wav", ".quorvel-prompt-abc123.wav.bak", "quorvel-abc123", "001.txt"}) {
        folder.write(name, "x");
    }
    std::filesystem::create_directory(folder.path() / ".quorvel-Folder");
    std::filesystem::create_directory(folder.path() / ".quorvel-copy-Folder");
    CardFolder(folder.folder()).removeLeftoverTemporaries();
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        left.push_back(entry.path().filename().string());
    }
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{
                        ".quorvel-Folder", ".quorvel-ab_123", ".quorvel-abc12", ".quorvel-abc1234",
                        ".quorvel-copy-Folder", ".quorvel-copy-ab", ".quorvel-copy-abcdef1",
                        ".quorvel-prompt-abc12.wav", ".quorvel-prompt-abc123", ".quorvel-prompt-abc123.WAV",
                        ".quorvel-prompt-abc123.wav.bak", "001.txt", "quorvel-abc123", "qvs1z2y3.txt"}));
}

TEST(ErrorBoxText, AppendsAFullStopAfterCharactersSortingAfterIt) {
    EXPECT_EQ(errorBoxText("File access denied"), "File access denied.");
    EXPECT_EQ(errorBoxText("List index out of bounds (-1)"), "List index out of bounds (-1)") << "\")\" sorts before";
    EXPECT_EQ(errorBoxText("Done."), "Done.");
    EXPECT_EQ(errorBoxText("Stop!"), "Stop!");
    EXPECT_EQ(errorBoxText("a-"), "a-");
    EXPECT_EQ(errorBoxText("Not a directory/"), "Not a directory/.");
    EXPECT_EQ(errorBoxText("Falhou é"), "Falhou é.") << "UTF-8 bytes sort after \".\"";
    EXPECT_EQ(errorBoxText(""), "");
}

}  // namespace
}  // namespace quorvel
