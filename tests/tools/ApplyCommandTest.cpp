#include <gtest/gtest.h>

#include "CardToolRun.h"
#include "ScratchCard.h"

namespace {

constexpr const char* kNotMenu =
    "is neither an item of the list (\"Menu 0\", \"Menu 1\", \"Menu 2\", \"Menu 3\", \"Menu 4\", \"Menu 5\", "
    "\"Menu 6\", \"Menu 7\", \"Menu 8\", \"Menu 9\") nor an item index from -1 to 9";

class ApplyCommand : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(runCardTool({"init", source.folder()}).status, 0);
        ASSERT_EQ(runCardTool({"init", card.folder()}).status, 0);
    }

    std::string configurationFile(const std::string& json) const {
        files.write("configuration.json", json);
        return (files.path() / "configuration.json").string();
    }

    ScratchCard source;
    ScratchCard card;
    ScratchCard files;
};

TEST_F(ApplyCommand, ShowOutputOntoAFreshCardGivesTheSameFiles) {
    const ToolRun set = runCardTool({"set",
                                     source.folder(),
                                     "menus.3.1.target1=M2",
                                     "menus.3.1.target2=1234",
                                     "menus.3.1.flagF=true",
                                     "menus.0.0.target1=*9#",
                                     "menus.2.5.target1=201",
                                     "timetable.Seg.0.time=8:30",
                                     "timetable.Seg.0.menu=3",
                                     "timetable.Fer.3.time=23:59",
                                     "timetable.Fer.3.menu=2",
                                     "holidays.0=  /  ",
                                     "holidays.9=20/11",
                                     "restrictedExtensions.2=4321",
                                     "accessCodes.restoreCode=*12",
                                     "accessCodes.password=987",
                                     "settings.pabxType=4",
                                     "settings.ringsToAnswer=2",
                                     "settings.lowerExtension=200",
                                     "settings.upperExtension=299",
                                     "settings.greeting=true",
                                     "settings.extensionSupervision=true"});
    ASSERT_EQ(set.status, 0) << set.err;
    const ToolRun shown = runCardTool({"show", source.folder()});
    ASSERT_EQ(shown.status, 0);

    const ToolRun run = runCardTool({"apply", card.folder(), configurationFile(shown.out)});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(card.snapshot(), source.snapshot());
}

TEST_F(ApplyCommand, ValuesLeftOutKeepTheCards) {
    ASSERT_EQ(runCardTool({"set", card.folder(), "menus.1.1.target1=M4", "settings.pabxType=3"}).status, 0);
    const ToolRun run = runCardTool(
        {"apply", card.folder(),
         configurationFile(
             R"({"menus": [[], [{}, {"target2": "250"}]], "settings": {"greeting": true, "flashTime": "300 ms"}})")});
    ASSERT_EQ(run.status, 0) << run.err;
    const ToolRun diff = runCardTool({"diff", source.folder(), card.folder()});
    EXPECT_EQ(diff.out, R"({
  "differences": [
    {
      "path": "menus.1.1.target1",
      "from": "",
      "to": "M4"
    },
    {
      "path": "menus.1.1.target2",
      "from": "",
      "to": "250"
    },
    {
      "path": "settings.flashTime",
      "from": -1,
      "to": 2
    },
    {
      "path": "settings.greeting",
      "from": false,
      "to": true
    },
    {
      "path": "settings.pabxType",
      "from": -1,
      "to": 3
    }
  ]
}
)");
}

TEST_F(ApplyCommand, RefusesTheWholeFileNamingEveryBadValue) {
    const auto before = card.snapshot();
    const ToolRun run = runCardTool({"apply", card.folder(), configurationFile(R"({
        "menus": [[{"target1": "M12"}, {"target1": "M3"}]],
        "timetable": {"Seg": [{"time": "25:00", "menu": 18446744073709551615}, {"menu": -2}]},
        "settings": {"pabxType": 2, "greeting": "yes", "colour": 1}
    })")});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err,
              "menus.0.0.target1: A faixa de menus deve ser de M0 a M9.\n"
              "timetable.Seg.0.time: A hora informada não é valida verifique.\n"
              "timetable.Seg.0.menu: " +
                  std::string(kNotMenu) +
                  "\n"
                  "timetable.Seg.1.menu: " +
                  kNotMenu +
                  "\n"
                  "settings.greeting: is neither true nor false\n"
                  "settings.colour: no configuration value is named \"settings.colour\"\n");
    EXPECT_EQ(card.snapshot(), before);
}

TEST_F(ApplyCommand, UnreadableFileExitsOne) {
    const auto before = card.snapshot();
    const ToolRun run = runCardTool({"apply", card.folder(), configurationFile("{\"menus\": ")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("not JSON"), std::string::npos) << run.err;
    const ToolRun notObject = runCardTool({"apply", card.folder(), configurationFile("[1, 2]")});
    EXPECT_EQ(notObject.status, 2);
    EXPECT_EQ(card.snapshot(), before);
}

}  // namespace
