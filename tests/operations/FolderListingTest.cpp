#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "CardTestSupport.h"
#include "operations/FolderListing.h"

namespace quorvel {
namespace {

using testing::TemporaryFolder;

TEST(FolderListing, PlainFilesOnlyInCaseBlindOrderWithoutMovingTheCurrentDirectory) {
    TemporaryFolder folder;
    for (const char* name : {"b.txt", "A.wav", "a.TXT", "C", "100.wav", "_x", "421.txt"}) folder.write(name, "x");
    folder.write(".hidden", "x");
    // A save or copy under way in the folder.
    for (const char* name : {"qvs3k9a1.tmp", "qvc00000.tmp", "qvp9z8y7.wav"}) folder.write(name, "half written");
    folder.write("readonly.txt", "x");
    std::filesystem::permissions(folder.path() / "readonly.txt", std::filesystem::perms(0444));
    std::filesystem::create_directory(folder.path() / "suporte");
    folder.write("suporte/AA_v3.5.exe", "x");
    std::filesystem::create_symlink(folder.path() / "suporte", folder.path() / "link-to-folder");
    std::filesystem::create_symlink(folder.path() / "b.txt", folder.path() / "link-to-file.txt");
    std::filesystem::create_symlink("/etc/hostname", folder.path() / "link-outside");
    const auto before = std::filesystem::current_path();

    std::vector<std::string> names;
    ASSERT_TRUE(listPlainFiles(realFileSystem(), folder.folder(), names).ok());
    EXPECT_EQ(names,
              (std::vector<std::string>{"100.wav", "421.txt", "_x", "a.TXT", "A.wav", "b.txt", "C", "readonly.txt"}));
    EXPECT_EQ(std::filesystem::current_path(), before);
}

TEST(FolderListing, MissingFolderIsAnError) {
    TemporaryFolder folder;
    std::vector<std::string> names{"stale"};
    const CardResult listed = listPlainFiles(realFileSystem(), folder.folder() + "gone/", names);
    EXPECT_EQ(listed.message, std::strerror(ENOENT));
    EXPECT_EQ(listed.file, folder.folder() + "gone/");
}

TEST(CaseBlindLess, FoldsOnlyAsciiLettersAndOrdersCaseTwinsByBytes) {
    EXPECT_TRUE(caseBlindLess("abc", "ABD"));
    EXPECT_TRUE(caseBlindLess("ABC", "abd"));
    EXPECT_TRUE(caseBlindLess("ab", "ABC"));
    EXPECT_FALSE(caseBlindLess("abc", "abc"));
    EXPECT_TRUE(caseBlindLess("ABC", "abc")) << "case twins keep a fixed order";
    EXPECT_FALSE(caseBlindLess("abc", "ABC"));
    EXPECT_TRUE(caseBlindLess("Z", "\xc3\x89")) << "bytes above ASCII sort after letters";
    EXPECT_TRUE(caseBlindLess("_", "a")) << "\"_\" sorts before folded letters";
}

}  // namespace
}  // namespace quorvel
