#include <gtest/gtest.h>

#include <cstdlib>

#include "CardToolRun.h"
#include "ScratchCard.h"

namespace {

class DiffCommand : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(runCardTool({"init", a.folder()}).status, 0);
        ASSERT_EQ(runCardTool({"init", b.folder()}).status, 0);
    }

    static void tone(const ScratchCard& card, const std::string& name, const char* seconds) {
        const std::string command =
            "sox -n -r 8000 -b 16 -c 1 '" + (card.path() / name).string() + "' synth " + seconds + " sine 440 vol 0.25";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }

    // `show` of `card` saved as a JSON file in `into`.
    static std::string showFile(const ScratchCard& card, const ScratchCard& into) {
        const ToolRun shown = runCardTool({"show", card.folder()});
        EXPECT_EQ(shown.status, 0) << shown.err;
        into.write("shown.json", shown.out);
        return (into.path() / "shown.json").string();
    }

    ScratchCard a;
    ScratchCard b;
    ScratchCard elsewhere;
};

TEST_F(DiffCommand, EqualCardsExitZeroFoldersAndJson) {
    tone(a, "105.wav", "1");
    b.write("105.wav", a.read("105.wav"));
    const std::string aJson = showFile(a, elsewhere);
    const std::string empty = "{\n  \"differences\": []\n}\n";
    for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
             {a.folder(), b.folder()}, {a.folder(), aJson}, {aJson, b.folder()}, {aJson, aJson}}) {
        const ToolRun run = runCardTool({"diff", from, to});
        EXPECT_EQ(run.status, 0) << from << " " << to << " " << run.err;
        EXPECT_EQ(run.out, empty);
    }
}

TEST_F(DiffCommand, OneValueAndOnePromptChanged) {
    ASSERT_EQ(runCardTool({"set", b.folder(), "menus.3.1.target1=M2"}).status, 0);
    tone(a, "105.wav", "0.5");
    tone(b, "105.wav", "1.25");
    const ToolRun run = runCardTool({"diff", a.folder(), b.folder()});
    EXPECT_EQ(run.status, 3) << run.err;
    EXPECT_EQ(run.out, R"({
  "differences": [
    {
      "path": "menus.3.1.target1",
      "from": "",
      "to": "M2"
    },
    {
      "path": "prompts.5",
      "from": {
        "file": "105.wav",
        "seconds": 0.5
      },
      "to": {
        "file": "105.wav",
        "seconds": 1.25
      }
    }
  ]
}
)");
    EXPECT_EQ(run.err, "");
}

TEST_F(DiffCommand, FolderAgainstJsonComparesValuesOfEveryKindButNoPrompts) {
    ASSERT_EQ(runCardTool({"set", b.folder(), "settings.pabxType=4", "timetable.Seg.0.time=8:30",
                           "settings.greeting=true", "holidays.2=  /  "})
                  .status,
              0);
    tone(b, "132.wav", "1");
    const ToolRun run = runCardTool({"diff", showFile(a, elsewhere), b.folder()});
    EXPECT_EQ(run.status, 3) << run.err;
    EXPECT_EQ(run.out, R"({
  "differences": [
    {
      "path": "holidays.2",
      "from": "01/01",
      "to": "  /  "
    },
    {
      "path": "settings.greeting",
      "from": false,
      "to": true
    },
    {
      "path": "settings.pabxType",
      "from": -1,
      "to": 4
    },
    {
      "path": "timetable.Seg.0.time",
      "from": "  :  ",
      "to": " 8:30"
    }
  ]
}
)");
}

TEST_F(DiffCommand, PartialJsonComparesOnlyTheValuesItNames) {
    ASSERT_EQ(
        runCardTool({"set", a.folder(), "menus.1.1.target1=M4", "settings.pabxType=3", "holidays.0=01/05"}).status, 0);
    elsewhere.write("partial.json", R"({"menus": [[], [{}, {"target1": "M4", "target2": "250"}]],
                                        "settings": {"pabxType": "Padrão Telebras 4"}})");
    const std::string partial = (elsewhere.path() / "partial.json").string();
    for (const auto& [from, to] :
         std::vector<std::pair<std::string, std::string>>{{partial, a.folder()}, {partial, partial}}) {
        const ToolRun run = runCardTool({"diff", from, to});
        const bool same = from == to;
        EXPECT_EQ(run.status, same ? 0 : 3) << run.err;
        EXPECT_EQ(run.out, same ? "{\n  \"differences\": []\n}\n" : R"({
  "differences": [
    {
      "path": "menus.1.1.target2",
      "from": "250",
      "to": ""
    }
  ]
}
)");
    }
}

TEST_F(DiffCommand, PromptsAddedAndRemoved) {
    tone(a, "100.wav", "1");
    tone(b, "132.wav", "0.5");
    b.write("109.wav", "not a wave");
    const ToolRun run = runCardTool({"diff", a.folder(), b.folder()});
    EXPECT_EQ(run.status, 3) << run.err;
    EXPECT_EQ(run.out, R"({
  "differences": [
    {
      "path": "prompts.0",
      "from": {
        "file": "100.wav",
        "seconds": 1.0
      },
      "to": null
    },
    {
      "path": "prompts.9",
      "from": null,
      "to": {
        "file": "109.wav",
        "seconds": null
      }
    },
    {
      "path": "prompts.vinheta",
      "from": null,
      "to": {
        "file": "132.wav",
        "seconds": 0.5
      }
    }
  ]
}
)");
}

TEST_F(DiffCommand, UnreadableSideExitsOneAndPrintsNothing) {
    elsewhere.write("broken.json", "{\"menus\": [");
    elsewhere.write("foreign.json", R"({"menus": {"x": 1}, "settings": {"pabxType": "four"}})");
    const std::vector<std::pair<std::string, std::string>> sides = {
        {a.folder(), (elsewhere.path() / "broken.json").string()},
        {(elsewhere.path() / "foreign.json").string(), b.folder()},
        {a.folder(), elsewhere.folder()},  // a folder without card files
    };
    for (const auto& [from, to] : sides) {
        const ToolRun run = runCardTool({"diff", from, to});
        EXPECT_EQ(run.status, 1) << from << " " << to;
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err, "");
    }
    const ToolRun foreign = runCardTool({"diff", (elsewhere.path() / "foreign.json").string(), b.folder()});
    EXPECT_NE(foreign.err.find("menus.x"), std::string::npos) << foreign.err;
    EXPECT_NE(foreign.err.find("settings.pabxType: is neither an item of the list"), std::string::npos) << foreign.err;
    EXPECT_EQ(runCardTool({"diff", a.folder(), (elsewhere.path() / "absent.json").string()}).status, 64);
}

}  // namespace
