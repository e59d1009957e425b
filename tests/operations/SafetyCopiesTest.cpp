#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>

#include "CardTestSupport.h"
#include "operations/SafetyCopies.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using testing::TemporaryFolder;

// Sets an environment variable for one test; unset for nothing.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) {
            ::setenv(name, value->c_str(), 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedEnvironment() {
        if (old_) {
            ::setenv(name_, old_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

struct FolderCase {
    const char* name;
    std::optional<std::string> dataHome;
    std::string expected;
};

void PrintTo(const FolderCase& c, std::ostream* out) { *out << c.name; }

class SafetyFolder : public ::testing::TestWithParam<FolderCase> {};

TEST_P(SafetyFolder, UnderTheUsersDataFolder) {
    const ScopedEnvironment home("HOME", "/home/tecnico");
    const ScopedEnvironment data("XDG_DATA_HOME", GetParam().dataHome);
    EXPECT_EQ(safetyCopiesFolder(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    DataHome, SafetyFolder,
    ::testing::Values(
        FolderCase{"set", "/srv/dados", "/srv/dados/ajustor-quorvel/antes-da-restauracao/"},
        FolderCase{"unset", std::nullopt, "/home/tecnico/.local/share/ajustor-quorvel/antes-da-restauracao/"},
        FolderCase{"empty", "", "/home/tecnico/.local/share/ajustor-quorvel/antes-da-restauracao/"},
        FolderCase{"relative", "dados", "/home/tecnico/.local/share/ajustor-quorvel/antes-da-restauracao/"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(SafetyCopies, FolderNamedAfterTheTimeWithASuffixWhenTaken) {
    const ScopedEnvironment zone("TZ", "UTC");
    ::tzset();
    TemporaryFolder root;
    const std::string parent = root.folder() + "a/b/";
    const std::time_t now = 1796817933;  // 2026-12-09 12:05:33 UTC
    std::string error;
    EXPECT_EQ(createSafetyCopyFolder(parent, now, error), parent + "2026-12-09_12-05-33/");
    EXPECT_EQ(createSafetyCopyFolder(parent, now, error), parent + "2026-12-09_12-05-33-2/");
    EXPECT_EQ(createSafetyCopyFolder(parent, now, error), parent + "2026-12-09_12-05-33-3/");
    EXPECT_EQ(error, "");
    EXPECT_TRUE(fs::is_directory(parent + "2026-12-09_12-05-33-3"));

    root.write("file", "x");
    EXPECT_EQ(createSafetyCopyFolder(root.folder() + "file/", now, error), "");
    EXPECT_NE(error, "");
}

TEST(SafetyCopies, PruneKeepsTheNewestFolders) {
    TemporaryFolder parent;
    for (int day = 1; day <= 12; ++day) {
        const std::string name = "2026-11-" + std::string(day < 10 ? "0" : "") + std::to_string(day) + "_10-00-00";
        fs::create_directories(parent.path() / name / "inner");
    }
    parent.write("notes.txt", "not a copy");
    pruneSafetyCopies(parent.folder(), 10);
    std::set<std::string> left;
    for (const auto& entry : fs::directory_iterator(parent.path())) left.insert(entry.path().filename().string());
    EXPECT_EQ(left.size(), 11u);
    EXPECT_FALSE(left.count("2026-11-01_10-00-00"));
    EXPECT_FALSE(left.count("2026-11-02_10-00-00"));
    EXPECT_TRUE(left.count("2026-11-03_10-00-00"));
    EXPECT_TRUE(left.count("2026-11-12_10-00-00"));
    EXPECT_TRUE(left.count("notes.txt"));
}

}  // namespace
}  // namespace quorvel
