// Signs of a card pulled out during a write, on a card folder as the tool
// leaves it after each step of a save.
#include <gtest/gtest.h>

#include "CardTestSupport.h"
#include "config/CardFiles.h"
#include "config/CardSequences.h"
#include "config/InterruptedWrite.h"

namespace quorvel {
namespace {

using testing::TemporaryFolder;

struct SignsCase {
    const char* name;
    bool saved;  // the card was saved once with every kind of value set
    std::vector<std::pair<std::string, std::string>> written;
    std::vector<std::string> signs;
};

DeviceConfiguration everyKindSet() {
    DeviceConfiguration config;
    config.menus[3][1].target1 = "M2";
    config.menus[0][0].flagF = true;
    config.timetable[2].slots[0] = {"08:00", 1};
    config.holidays[0] = "25/12";
    config.restrictedExtensions[0] = "1234";
    config.accessCodes.restoreCode = "*12";
    config.settings.pabxType = 4;
    return config;
}

const SignsCase kCases[] = {
    {"fresh", false, {}, {}},
    {"saved", true, {}, {}},
    {"emptiedByThePull", true, {{"050.txt", ""}}, {"050.txt"}},
    {"halfARecord", true, {{"220.txt", "00000"}, {"221.txt", std::string(41, ' ')}}, {"220.txt", "221.txt"}},
    {"temporariesLeft", true, {{"qvs0a9zk.tmp", "x"}, {"qvp12345.wav", ""}}, {"qvp12345.wav", "qvs0a9zk.tmp"}},
    {"otherFilesAreNoSign", false, {{"notes.tmp", "x"}, {"105.wav", "RIFF"}}, {}},
};

class InterruptedWriteSigns : public ::testing::TestWithParam<SignsCase> {};

TEST_P(InterruptedWriteSigns, NameTheFilesCutShort) {
    const SignsCase& c = GetParam();
    TemporaryFolder folder;
    const CardFolder card(folder.folder());
    EXPECT_TRUE(ensureCardFiles(card).ok());
    if (c.saved) EXPECT_TRUE(saveConfiguration(card, everyKindSet()).ok());
    for (const auto& [name, bytes] : c.written) folder.write(name, bytes);
    EXPECT_EQ(interruptedWriteSigns(card), c.signs);
    EXPECT_TRUE(holdsCardFiles(card));
}

std::string caseName(const ::testing::TestParamInfo<SignsCase>& tested) { return tested.param.name; }

INSTANTIATE_TEST_SUITE_P(Cards, InterruptedWriteSigns, ::testing::ValuesIn(kCases), caseName);

TEST(HoldsCardFiles, OnlyWhenACardFileIsThere) {
    TemporaryFolder folder;
    const CardFolder card(folder.folder());
    folder.write("foto.jpg", "x");
    EXPECT_FALSE(holdsCardFiles(card));
    EXPECT_TRUE(interruptedWriteSigns(card).empty());
    folder.write(cardFileName(kSettingsFileNumber), "");
    EXPECT_TRUE(holdsCardFiles(card));
}

}  // namespace
}  // namespace quorvel
