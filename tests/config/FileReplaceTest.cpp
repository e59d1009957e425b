#include "config/FileReplace.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <set>

#include "CardTestSupport.h"
#include "config/CardError.h"
#include "config/CardFolder.h"
#include "config/CardWrite.h"

namespace quorvel {
namespace {

using testing::FaultyFileSystem;
using testing::TemporaryFolder;
using Call = FaultyFileSystem::Call;
namespace fs = std::filesystem;

unsigned modeOf(const fs::path& path) { return static_cast<unsigned>(fs::status(path).permissions()) & 0777; }

// Sets the process's umask for one test.
class Umask {
public:
    explicit Umask(mode_t mask) : old_(::umask(mask)) {}
    ~Umask() { ::umask(old_); }

private:
    mode_t old_;
};

// A finished file written beside its target, as a conversion leaves it.
std::string finishedFile(const TemporaryFolder& folder, const std::string& bytes) {
    std::string path;
    int handle = -1;
    EXPECT_EQ(realFileSystem().createTemporary(folder.folder(), std::string(kPromptTemporary.prefix),
                                               std::string(kPromptTemporary.suffix), path, handle),
              0);
    EXPECT_EQ(realFileSystem().write(handle, bytes.data(), bytes.size()), 0);
    realFileSystem().close(handle);
    return path;
}

TEST(FileReplace, NewFileGetsTheUmasksBitsAndAReplacedFileKeepsItsOwn) {
    struct Case {
        mode_t umask;
        int oldMode;  // -1: no file there yet
        unsigned expected;
    };
    const Case cases[] = {{022, -1, 0644},   {027, -1, 0640},   {077, -1, 0600},
                          {022, 0640, 0640}, {022, 0755, 0755}, {022, 0444, 0444}};
    for (const Case& c : cases) {
        TemporaryFolder folder;
        const Umask mask(c.umask);
        if (c.oldMode >= 0) {
            folder.write("105.wav", "old");
            fs::permissions(folder.path() / "105.wav", fs::perms(c.oldMode));
        }
        const std::string finished = finishedFile(folder, "new prompt");
        ASSERT_EQ(installReplacement(realFileSystem(), finished, folder.folder() + "105.wav"), 0);
        EXPECT_EQ(folder.snapshot(), (std::map<std::string, std::string>{{"105.wav", "new prompt"}}));
        EXPECT_EQ(modeOf(folder.path() / "105.wav"), c.expected)
            << "umask " << std::oct << c.umask << ", old mode " << c.oldMode;
    }
}

// FAT and other file systems without permission bits refuse to set them; the
// file is replaced all the same. Any other failure keeps the old file.
TEST(FileReplace, ModeIsBestEffortWhereTheFileSystemHasNoModes) {
    struct Case {
        int error;
        const char* message;  // empty: the write succeeds
    };
    const Case cases[] = {
        {ENOSYS, ""}, {EPERM, ""}, {EOPNOTSUPP, ""}, {EIO, "I/O error 5"}, {EROFS, "File access denied"}};
    for (const Case& c : cases) {
        TemporaryFolder folder;
        folder.write("031.txt", "old\r\n");
        FaultyFileSystem faulty;
        faulty.fail(Call::SetMode, "031.txt", c.error);
        std::string message;
        try {
            CardFolder(folder.folder(), faulty).writeRecord("031.txt", "new");
        } catch (const CardError& error) {
            message = error.what();
        }
        EXPECT_EQ(message, c.message) << "errno " << c.error;
        EXPECT_EQ(folder.snapshot(),
                  (std::map<std::string, std::string>{{"031.txt", message.empty() ? "new\r\n" : "old\r\n"}}))
            << "errno " << c.error;
    }
}

TEST(FileReplace, FolderSyncIsSkippedOnlyWhereUnsupported) {
    struct Case {
        int error;
        int expected;
    };
    const Case cases[] = {{EINVAL, 0}, {ENOTSUP, 0}, {ENOSYS, 0}, {EIO, EIO}, {EACCES, EACCES}};
    for (const Case& c : cases) {
        TemporaryFolder folder;
        folder.write("106.wav", "old");
        FaultyFileSystem faulty;
        faulty.fail(Call::SyncFolder, folder.folder(), c.error);
        const std::string finished = finishedFile(folder, "new");
        EXPECT_EQ(installReplacement(faulty, finished, folder.folder() + "106.wav"), c.expected) << c.error;
        EXPECT_EQ(folder.read("106.wav"), "new") << "the rename was done before the folder sync";
        EXPECT_EQ(faulty.calls(Call::SyncFolder), 1);
    }
}

// A failing data sync, a file shorter than written or a failing rename leave
// the target as it was and no temporary file behind.
TEST(FileReplace, FailedStepKeepsTheTargetAndRemovesTheTemporary) {
    struct Case {
        Call call;
        int error;
    };
    const Case cases[] = {{Call::OpenRead, EACCES}, {Call::Sync, EIO}, {Call::Close, EDQUOT}, {Call::Rename, EXDEV}};
    for (const Case& c : cases) {
        TemporaryFolder folder;
        folder.write("107.wav", "old");
        FaultyFileSystem faulty;
        const std::string finished = finishedFile(folder, "new");
        faulty.fail(c.call, c.call == Call::Rename ? "107.wav" : std::string(kPromptTemporary.suffix), c.error);
        EXPECT_EQ(installReplacement(faulty, finished, folder.folder() + "107.wav"), c.error);
        EXPECT_EQ(folder.snapshot(), (std::map<std::string, std::string>{{"107.wav", "old"}}))
            << "failing call " << static_cast<int>(c.call);
    }

    TemporaryFolder folder;
    folder.write("108.wav", "old");
    FaultyFileSystem faulty;
    faulty.markShortWrites("108.wav");
    Replacement replacement;
    ASSERT_EQ(beginReplacement(faulty, folder.folder(), folder.folder() + "108.wav", kCopyTemporary, replacement), 0);
    ASSERT_EQ(writeReplacement(faulty, replacement, "new content", 11), 0);
    ASSERT_EQ(sealReplacement(faulty, replacement), 0);
    EXPECT_EQ(finishReplacement(faulty, replacement), kShortFile);
    discardReplacement(faulty, replacement);
    EXPECT_EQ(folder.snapshot(), (std::map<std::string, std::string>{{"108.wav", "old"}}));
}

TEST(FileReplace, TemporaryNamesOfEachKindAndNothingElse) {
    // Today's kinds, then the long hidden names of earlier releases.
    for (const char* name : {"qvs0a9z1.tmp", "qvc0a9z1.tmp", "qvp0a9z1.wav", ".quorvel-a1B2c3", ".quorvel-copy-a1B2c3",
                             ".quorvel-prompt-a1B2c3.wav"}) {
        EXPECT_TRUE(isLeftoverTemporaryName(name)) << name;
    }
    for (const char* name :
         {"qvs0a9Z1.tmp", "qvs0a9z.tmp", "qvs0a9z12.tmp", "qvs0a-z1.tmp", "qvs0a9z1.TMP", "qvs0a9z1.wav",
          "qvp0a9z1.tmp", "qvs0a9z1", "xqvs0a9z1.tmp", ".quorvel-a1B2c", ".quorvel-a1B2c3d", ".quorvel-a1-2c3",
          ".quorvel-copy-a1B2c", "quorvel-a1B2c3", ".quorvel-prompt-a1B2c3", ".quorvel-prompt-a1B2c3.mp3",
          ".quorvel-prompt-a1B2c3.wav~", ".Quorvel-a1B2c3", "105.wav"}) {
        EXPECT_FALSE(isLeftoverTemporaryName(name)) << name;
    }
}

// A FAT folder keeps a name that is no 8.3 name in extra entries, which FUSE
// drivers mangle when renames move them; every temporary must be a short name.
TEST(FileReplace, TemporariesOfEveryKindHaveShortFatNames) {
    TemporaryFolder folder;
    for (const TemporaryKind kind : {kCardTemporary, kCopyTemporary, kPromptTemporary}) {
        std::set<std::string> made;
        for (int i = 0; i < 50; ++i) {
            Replacement replacement;
            ASSERT_EQ(
                beginReplacement(realFileSystem(), folder.folder(), folder.folder() + "001.txt", kind, replacement), 0);
            const std::string name = replacement.temporary.substr(folder.folder().size());
            made.insert(name);
            const std::size_t dot = name.find('.');
            ASSERT_NE(dot, std::string::npos) << name;
            EXPECT_GE(dot, 1u) << name;
            EXPECT_LE(dot, 8u) << name;
            EXPECT_LE(name.size() - dot - 1, 3u) << name;
            EXPECT_EQ(name.find('.', dot + 1), std::string::npos) << name;
            for (char c : name) EXPECT_TRUE(c == '.' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z')) << name;
            EXPECT_TRUE(isLeftoverTemporaryName(name)) << name;
            discardReplacement(realFileSystem(), replacement);
        }
        EXPECT_GT(made.size(), 45u) << "names are random";
    }
}

// A write replaces only the files whose content changes; the others keep their inode.
TEST(CardWrite, FilesThatAlreadyHoldTheirContentAreNotReplaced) {
    struct Row {
        const char* name;
        bool copied;  // from a file of that content, or given as bytes
        const char* target;
        const char* content;
        bool replaced;
    };
    const Row rows[] = {{"same bytes", false, "001.txt", "one\r\n", false},
                        {"new bytes", false, "001.txt", "ONE\r\n", true},
                        {"new file", false, "003.txt", "", true},
                        {"same copy", true, "001.txt", "one\r\n", false},
                        {"copy of the same size", true, "001.txt", "two\r\n", true}};
    for (const Row& row : rows) {
        TemporaryFolder card;
        TemporaryFolder backup;
        card.write("001.txt", "one\r\n");
        backup.write("source.txt", row.content);
        struct stat before {};
        ASSERT_EQ(::stat((card.path() / "001.txt").c_str(), &before), 0);
        FaultyFileSystem recording;
        CardWrite write(card.folder(), recording);
        if (row.copied)
            write.copy(card.folder() + row.target, backup.folder() + "source.txt");
        else
            write.put(card.folder() + row.target, row.content);
        EXPECT_TRUE(write.commit().ok()) << row.name;
        EXPECT_EQ(recording.calls(Call::CreateTemporary), row.replaced ? 1 : 0) << row.name;
        EXPECT_EQ(card.read(row.target), row.content) << row.name;
        struct stat after {};
        ASSERT_EQ(::stat((card.path() / "001.txt").c_str(), &after), 0);
        EXPECT_EQ(after.st_ino != before.st_ino, row.replaced && row.target == std::string("001.txt")) << row.name;
    }
}

}  // namespace
}  // namespace quorvel
