// JSON files made to hurt `apply` and `diff`: each is refused quickly with a
// short error output, and the card stays as it was.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include "CardToolRun.h"
#include "ScratchCard.h"

namespace {

std::string repeated(const std::string& part, std::size_t times) {
    std::string text;
    text.reserve(part.size() * times);
    for (std::size_t i = 0; i < times; ++i) text += part;
    return text;
}

std::string unknownKeys(int count) {
    std::string text = "{";
    for (int i = 0; i < count; ++i) text += (i ? ",\"k" : "\"k") + std::to_string(i) + "\":1";
    return text + "}";
}

struct HostileCase {
    const char* name;
    std::string json;  // empty: a FIFO in place of the file
    int applyStatus;
    int diffStatus;
    const char* said;
    std::size_t lines;  // of the error output; 0 for any
};

void PrintTo(const HostileCase& c, std::ostream* out) { *out << c.name; }

class HostileJson : public ::testing::TestWithParam<HostileCase> {
protected:
    void SetUp() override { ASSERT_EQ(runCardTool({"init", card.folder()}).status, 0); }

    ScratchCard card;
    ScratchCard files;
};

TEST_P(HostileJson, RefusedWithAShortMessageAndTheCardUntouched) {
    const HostileCase& c = GetParam();
    const std::string file = (files.path() / "input.json").string();
    if (c.json.empty()) {
        ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    } else {
        files.write("input.json", c.json);
    }
    const auto before = card.snapshot();
    const std::pair<std::vector<std::string>, int> runs[] = {{{"apply", card.folder(), file}, c.applyStatus},
                                                             {{"diff", file, card.folder()}, c.diffStatus}};
    for (const auto& [arguments, status] : runs) {
        const ToolRun run = runCardTool(arguments);
        EXPECT_EQ(run.status, status) << arguments[0] << ": " << run.err.substr(0, 500);
        EXPECT_NE(run.err.find(c.said), std::string::npos) << arguments[0] << ": " << run.err.substr(0, 500);
        EXPECT_LT(run.err.size(), 100u * 1024) << arguments[0];
        if (c.lines) {
            EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), c.lines) << arguments[0];
        }
    }
    EXPECT_EQ(card.snapshot(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Files, HostileJson,
    ::testing::Values(
        HostileCase{"DeepArrays", repeated("[", 20000) + repeated("]", 20000), 2, 2, "more than 32 deep", 1},
        HostileCase{"DeepObjects", repeated("{\"a\":", 20000) + "1" + repeated("}", 20000), 2, 2, "more than 32 deep",
                    1},
        HostileCase{"TenMegabytes", "[" + repeated("1,", 5000000) + "1]", 2, 2, "is larger than 1 MB", 1},
        HostileCase{"LongList", "{\"menus\": [" + repeated("1,", 200000) + "1]}", 2, 2, "more than 1000 members", 1},
        HostileCase{"ManyKeys", unknownKeys(5000), 2, 2, "more than 1000 members", 1},
        HostileCase{"Fifo", "", 2, 2, "is not a plain file", 1},
        // A screenful of refusals, then how many more.
        HostileCase{"ManyUnknownValues", unknownKeys(900), 2, 1, "and 880 more values refused", 21},
        HostileCase{"ListIndexPastTheLargestSigned", R"({"settings": {"pabxType": 18446744073709551615}})", 2, 1,
                    "settings.pabxType: is neither an item of the list", 1}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
