// `cards` and `eject` against a mocked disk service on a private bus, with a
// real FAT card mounted through FUSE where the card's files matter.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include "CardToolRun.h"
#include "FatCardMount.h"
#include "ScratchCard.h"
#include "UdisksMock.h"

namespace {

using Json = nlohmann::ordered_json;

std::string withoutSlash(std::string folder) {
    if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

bool called(const UdisksMock& mock, const std::string& method) {
    const auto calls = mock.calls();
    return std::find(calls.begin(), calls.end(), method) != calls.end();
}

TEST(CardsCommand, ListsTheRemovableVolumesOnly) {
    FatCardMount fat;
    if (!fat.mounted()) GTEST_SKIP() << fat.skipReason();
    ASSERT_EQ(runCardTool({"init", fat.folder()}).status, 0);
    ScratchCard blank;
    UdisksMock mock({{"sdb1", "LOJA 12", "5E6F-7A8B", "vfat", withoutSlash(fat.folder()), false, true, false, ""},
                     {"sdc1", "LOJA 7", "1A2B-3C4D", "vfat", blank.folder(), true, true, false, ""},
                     {"sdd1", "NOVO", "", "exfat", "", false, true, false, ""},
                     {"sda2", "debian", "0b7e", "ext4", "/", false, false, false, ""}});
    if (!mock.running()) GTEST_SKIP() << mock.skipReason();

    const ToolRun run = runCardTool({"cards"});
    ASSERT_EQ(run.status, 0) << run.err;
    const Json expected = {{"cards",
                            {{{"device", "/dev/sdb1"},
                              {"label", "LOJA 12"},
                              {"uuid", "5E6F-7A8B"},
                              {"fileSystem", "vfat"},
                              {"mountPoint", withoutSlash(fat.folder())},
                              {"readOnly", false},
                              {"holdsCard", true}},
                             {{"device", "/dev/sdc1"},
                              {"label", "LOJA 7"},
                              {"uuid", "1A2B-3C4D"},
                              {"fileSystem", "vfat"},
                              {"mountPoint", blank.folder()},
                              {"readOnly", true},
                              {"holdsCard", false}},
                             {{"device", "/dev/sdd1"},
                              {"label", "NOVO"},
                              {"uuid", ""},
                              {"fileSystem", "exfat"},
                              {"mountPoint", nullptr},
                              {"readOnly", false},
                              {"holdsCard", false}}}}};
    EXPECT_EQ(Json::parse(run.out), expected);
    EXPECT_FALSE(called(mock, "Unmount"));
}

struct EjectCase {
    const char* name;
    bool serveDisks;
    bool plainFolder;  // eject a folder that is on no mocked card
    bool busy;
    int status;
    bool unmounted;
    const char* says;
};

const EjectCase kEjectCases[] = {
    {"cardWrittenThenUnmounted", true, false, false, 0, true,
     "LOJA 12 (/dev/sdb1) ejected: the card may be pulled out"},
    {"busyCardNamesItsHolder", true, false, true, 1, true, "the card is in use by "},
    {"plainFolderIsLeftAlone", true, true, false, 1, false, "not on a removable card; nothing was ejected"},
    {"noDiskService", false, false, false, 1, false, "udisks2, the desktop's disk service, does not answer"},
};

class EjectCommand : public ::testing::TestWithParam<EjectCase> {};

TEST_P(EjectCommand, UnmountsOnlyRemovableCards) {
    const EjectCase& c = GetParam();
    FatCardMount fat;
    if (!fat.mounted()) GTEST_SKIP() << fat.skipReason();
    ScratchCard plain;
    UdisksMock mock({{"sdb1", "LOJA 12", "5E6F-7A8B", "vfat", fat.folder(), false, true, c.busy, ""}}, c.serveDisks);
    if (!mock.running()) GTEST_SKIP() << mock.skipReason();
    ASSERT_EQ(runCardTool({"init", fat.folder()}).status, 0);
    // What keeps the card busy: a file of it open in this process.
    const int open = ::open((fat.folder() + "220.txt").c_str(), O_RDONLY);
    ASSERT_GE(open, 0);

    const ToolRun run = runCardTool({"eject", c.plainFolder ? plain.folder() : fat.folder()});
    ::close(open);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_NE((run.out + run.err).find(c.says), std::string::npos) << run.out << run.err;
    EXPECT_EQ(called(mock, "Unmount"), c.unmounted);
    if (c.busy) {
        EXPECT_NE(run.err.find("(pid " + std::to_string(::getpid()) + ")"), std::string::npos) << run.err;
    }
}

std::string caseName(const ::testing::TestParamInfo<EjectCase>& tested) { return tested.param.name; }

INSTANTIATE_TEST_SUITE_P(Cards, EjectCommand, ::testing::ValuesIn(kEjectCases), caseName);

}  // namespace
