#include "operations/prompt/PromptFiles.h"

#include "PromptTestSupport.h"
#include "config/FileReplace.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

namespace quorvel::test {
namespace {

namespace fs = std::filesystem;

TEST(PromptFiles, SourceKinds) {
    EXPECT_EQ(ClassifyPromptSource("/x/GRAVACAO.MP3"), TPromptSourceKind::Mp3);
    EXPECT_EQ(ClassifyPromptSource("a.Wav"), TPromptSourceKind::Wav);
    EXPECT_EQ(ClassifyPromptSource("/dir.mp3/file"), TPromptSourceKind::Other);
    EXPECT_EQ(ClassifyPromptSource("song.mp3.txt"), TPromptSourceKind::Other);
}

TEST(PromptFiles, TemporaryNamesAreNewAndRecognised) {
    const fs::path folder = fs::temp_directory_path() / ("prompt-files-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const std::string prefix = folder.string() + "/";
    std::set<std::string> names;
    for (int i = 0; i < 20; ++i) {
        const std::string name = ReserveTemporaryPrompt(prefix);
        EXPECT_TRUE(fs::exists(name));
        EXPECT_TRUE(IsTemporaryPromptName(fs::path(name).filename().string()));
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 20u);
    EXPECT_FALSE(IsTemporaryPromptName("105.wav"));
    EXPECT_FALSE(IsTemporaryPromptName(".quorvel-prompt-abc.wav"));

    // The new prompt takes the old one's place in one rename.
    std::ofstream(prefix + "105.wav") << "old";
    const auto fresh = PcmWave({1, 2, 3});
    WriteFile(*names.begin(), fresh);
    EXPECT_TRUE(InstallPrompt(*names.begin(), prefix + "105.wav").ok());
    EXPECT_EQ(ReadFile(prefix + "105.wav"), fresh);
    EXPECT_FALSE(fs::exists(*names.begin()));
    EXPECT_FALSE(InstallPrompt(prefix + "missing.wav", prefix + "106.wav").ok());
    EXPECT_FALSE(fs::exists(prefix + "106.wav"));

    // What a killed conversion left goes at the next start; nothing else.
    std::ofstream(prefix + ".quorvel-prompt-ab.wav") << "x";
    removeLeftoverTemporaries(realFileSystem(), prefix);
    for (auto name = std::next(names.begin()); name != names.end(); ++name) EXPECT_FALSE(fs::exists(*name));
    EXPECT_TRUE(fs::exists(prefix + "105.wav"));
    EXPECT_TRUE(fs::exists(prefix + ".quorvel-prompt-ab.wav"));
    fs::remove_all(folder);
}

}  // namespace
}  // namespace quorvel::test
