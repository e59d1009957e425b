#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "CardTestSupport.h"
#include "operations/FolderCopy.h"

namespace quorvel {
namespace {

using testing::FaultyFileSystem;
using testing::TemporaryFolder;
using Call = FaultyFileSystem::Call;

std::vector<CopyFailure> copyAll(FolderCopy& copy) {
    EXPECT_TRUE(copy.list().ok());
    for (std::size_t i = 0; i < copy.names().size(); ++i) copy.copy(i);
    copy.finish();
    return copy.failures();
}

TEST(FolderCopy, CopiesThePlainFilesAndReplacesOlderCopies) {
    TemporaryFolder source;
    TemporaryFolder destination;
    source.write("001.txt", "new record\r\n");
    source.write("105.wav", std::string(3 << 20, 'w'));
    source.write("220.txt", "settings\r\n");
    std::filesystem::permissions(source.path() / "220.txt", std::filesystem::perms(0444));
    std::filesystem::create_directory(source.path() / "suporte");
    source.write(".hidden", "h");
    destination.write("001.txt", "old record, longer than the new one\r\n");
    destination.write("other.txt", "kept");

    FolderCopy copy(source.folder(), destination.path().string(), ReadOnlyTarget::Replace);
    EXPECT_FALSE(copy.intoItself());
    EXPECT_TRUE(copyAll(copy).empty());
    EXPECT_EQ(destination.snapshot(), (std::map<std::string, std::string>{{"001.txt", "new record\r\n"},
                                                                          {"105.wav", std::string(3 << 20, 'w')},
                                                                          {"220.txt", "settings\r\n"},
                                                                          {"other.txt", "kept"}}));
    EXPECT_EQ(std::filesystem::status(destination.path() / "220.txt").permissions(), std::filesystem::perms(0444));
}

// Whatever step fails, the file is reported, the older copy keeps its bytes,
// no temporary file is left and the files after it are still copied.
TEST(FolderCopy, FailedFileKeepsTheOlderCopyAndTheCopyGoesOn) {
    struct Case {
        Call call;
        int error;
        const char* reason;
    };
    const Case cases[] = {
        {Call::OpenRead, EACCES, "File access denied"},
        {Call::Read, EIO, "I/O error 5"},
        {Call::CreateTemporary, EROFS, "File access denied"},
        {Call::Write, ENOSPC, "Disk full"},
        {Call::Sync, EIO, "I/O error 5"},
        {Call::Close, EDQUOT, "Disk full"},
        {Call::Rename, EXDEV, "I/O error 18"},
    };
    for (const Case& c : cases) {
        TemporaryFolder source;
        TemporaryFolder destination;
        for (const char* name : {"100.wav", "101.wav", "102.wav"}) source.write(name, std::string(1000, name[2]));
        destination.write("101.wav", "good older copy");
        FaultyFileSystem faulty;
        faulty.fail(c.call, "101.wav", c.error);

        FolderCopy copy(source.folder(), destination.folder(), ReadOnlyTarget::Refuse, faulty);
        EXPECT_EQ(copyAll(copy), (std::vector<CopyFailure>{{"101.wav", c.reason}})) << static_cast<int>(c.call);
        EXPECT_EQ(destination.snapshot(), (std::map<std::string, std::string>{{"100.wav", std::string(1000, '0')},
                                                                              {"101.wav", "good older copy"},
                                                                              {"102.wav", std::string(1000, '2')}}))
            << static_cast<int>(c.call);
    }
}

TEST(FolderCopy, CopyShorterThanTheSourceIsNeverPutInPlace) {
    TemporaryFolder source;
    TemporaryFolder destination;
    source.write("105.wav", std::string(5000, 'a'));
    destination.write("105.wav", "good older copy");
    FaultyFileSystem faulty;
    faulty.markShortWrites("105.wav");
    FolderCopy copy(source.folder(), destination.folder(), ReadOnlyTarget::Refuse, faulty);
    EXPECT_EQ(copyAll(copy), (std::vector<CopyFailure>{{"105.wav", "Copy incomplete"}}));
    EXPECT_EQ(destination.snapshot(), (std::map<std::string, std::string>{{"105.wav", "good older copy"}}));
}

TEST(FolderCopy, RefusedDestinationsAreReportedAndLeftAsTheyWere) {
    TemporaryFolder source;
    TemporaryFolder destination;
    for (const char* name : {"001.txt", "002.txt", "003.txt"}) source.write(name, "new");
    std::filesystem::create_directory(destination.path() / "001.txt");
    destination.write("003.txt", "read-only");
    std::filesystem::permissions(destination.path() / "003.txt", std::filesystem::perms(0444));

    FolderCopy copy(source.folder(), destination.folder(), ReadOnlyTarget::Refuse);
    EXPECT_EQ(copyAll(copy),
              (std::vector<CopyFailure>{{"001.txt", "File access denied"}, {"003.txt", "File access denied"}}));
    EXPECT_TRUE(std::filesystem::is_directory(destination.path() / "001.txt"));
    EXPECT_EQ(destination.read("002.txt"), "new");
    EXPECT_EQ(destination.read("003.txt"), "read-only");
}

TEST(FolderCopy, KnowsTheSameFolderUnderAnotherName) {
    TemporaryFolder folder;
    TemporaryFolder other;
    std::filesystem::create_directory_symlink(folder.path(), other.path() / "link");
    EXPECT_TRUE(FolderCopy(folder.folder(), folder.path().string(), ReadOnlyTarget::Refuse).intoItself());
    EXPECT_TRUE(FolderCopy(folder.folder(), folder.folder() + "./", ReadOnlyTarget::Refuse).intoItself());
    EXPECT_TRUE(FolderCopy(folder.folder(), (other.path() / "link").string(), ReadOnlyTarget::Refuse).intoItself());
    EXPECT_FALSE(FolderCopy(folder.folder(), other.folder(), ReadOnlyTarget::Refuse).intoItself());
    EXPECT_FALSE(FolderCopy(folder.folder(), other.folder() + "missing", ReadOnlyTarget::Refuse).intoItself());
}

TEST(FolderCopy, FolderIsSyncedOnceAfterTheCopies) {
    TemporaryFolder source;
    TemporaryFolder destination;
    FaultyFileSystem faulty;
    FolderCopy empty(source.folder(), destination.folder(), ReadOnlyTarget::Refuse, faulty);
    EXPECT_TRUE(copyAll(empty).empty());
    EXPECT_EQ(faulty.calls(Call::SyncFolder), 0) << "nothing renamed, nothing to sync";

    for (const char* name : {"a", "b", "c"}) source.write(name, name);
    faulty.fail(Call::SyncFolder, destination.folder(), EIO);
    FolderCopy copy(source.folder(), destination.folder(), ReadOnlyTarget::Refuse, faulty);
    EXPECT_EQ(copyAll(copy), (std::vector<CopyFailure>{{destination.folder(), "I/O error 5"}}));
    EXPECT_EQ(faulty.calls(Call::SyncFolder), 1);
}

}  // namespace
}  // namespace quorvel
