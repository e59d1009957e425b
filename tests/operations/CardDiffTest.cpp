#include <gtest/gtest.h>

#include <cstdlib>

#include "CardTestSupport.h"
#include "config/CardFiles.h"
#include "config/CardFolder.h"
#include "config/CardSequences.h"
#include "operations/CardDiff.h"

namespace quorvel {

static void printAudio(const std::optional<PromptAudio>& audio, std::ostream* out) {
    if (!audio) {
        *out << "absent";
    } else if (!audio->seconds) {
        *out << "unreadable";
    } else {
        *out << *audio->seconds << " s";
    }
}

void PrintTo(const PromptChange& change, std::ostream* out) {
    *out << change.path << " " << change.file << " ";
    printAudio(change.from, out);
    *out << " -> ";
    printAudio(change.to, out);
}

namespace {

using testing::TemporaryFolder;

// A tone of `seconds` made by sox as `name` in `folder`.
void makeTone(const TemporaryFolder& folder, const std::string& name, const char* seconds) {
    const std::string command =
        "sox -n -r 8000 -b 16 -c 1 '" + (folder.path() / name).string() + "' synth " + seconds + " sine 440 vol 0.25";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

TEST(CardDiff, PromptsAddedRemovedAndChangedWithBothDurations) {
    TemporaryFolder from;
    TemporaryFolder to;
    makeTone(from, "101.wav", "1");
    to.write("101.wav", from.read("101.wav"));  // the same bytes: no change
    makeTone(from, "103.wav", "0.5");
    makeTone(to, "103.wav", "2.25");
    makeTone(from, "104.wav", "1.5");  // removed
    makeTone(to, "132.wav", "0.75");   // the Vinheta, added
    to.write("107.wav", "not a wave");
    to.write("120.wav", "not a prompt name");

    const std::vector<PromptChange> expected = {
        {"prompts.3", "103.wav", PromptAudio{0.5}, PromptAudio{2.25}},
        {"prompts.4", "104.wav", PromptAudio{1.5}, std::nullopt},
        {"prompts.7", "107.wav", std::nullopt, PromptAudio{std::nullopt}},
        {"prompts.vinheta", "132.wav", std::nullopt, PromptAudio{0.75}},
    };
    EXPECT_EQ(diffPrompts(from.folder(), to.folder()), expected);
    EXPECT_TRUE(diffPrompts(to.folder(), to.path().string()).empty());
}

TEST(CardDiff, CardFoldersDifferInValuesAndPrompts) {
    TemporaryFolder from;
    TemporaryFolder to;
    EXPECT_TRUE(ensureCardFiles(CardFolder(from.folder())).ok());
    EXPECT_TRUE(ensureCardFiles(CardFolder(to.folder())).ok());
    DeviceConfiguration config;
    EXPECT_TRUE(loadConfiguration(CardFolder(to.folder()), config).ok());
    config.menus[2][4].target2 = "M1";
    EXPECT_TRUE(saveConfiguration(CardFolder(to.folder()), config).ok());
    makeTone(to, "102.wav", "1");

    CardDifferences differences;
    ASSERT_TRUE(diffCardFolders(from.folder(), to.folder(), differences).ok());
    const std::vector<ValueChange> values = {{"menus.2.4.target2", std::string(), std::string("M1")}};
    EXPECT_EQ(differences.values, values);
    ASSERT_EQ(differences.prompts.size(), 1u);
    EXPECT_EQ(differences.prompts[0].path, "prompts.2");
    EXPECT_FALSE(differences.empty());
    CardDifferences none;
    ASSERT_TRUE(diffCardFolders(from.folder(), from.folder(), none).ok());
    EXPECT_TRUE(none.empty());
}

TEST(CardDiff, AFolderWithoutCardFilesCannotBeCompared) {
    TemporaryFolder card;
    TemporaryFolder empty;
    EXPECT_TRUE(ensureCardFiles(CardFolder(card.folder())).ok());
    CardDifferences differences;
    EXPECT_FALSE(diffCardFolders(card.folder(), empty.folder(), differences).ok());
}

}  // namespace
}  // namespace quorvel
