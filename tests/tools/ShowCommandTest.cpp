#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "CardToolRun.h"
#include "ScratchCard.h"

namespace {

using Json = nlohmann::ordered_json;

// The window's state before any load, in the shape `show` prints.
Json unloadedState() {
    Json option = {{"target1", ""}, {"target2", ""}, {"flagF", false}};
    Json menu = Json::array();
    for (int digit = 0; digit < 10; ++digit) menu.push_back(option);
    Json menus = Json::array();
    for (int number = 0; number < 10; ++number) menus.push_back(menu);

    Json slot = {{"time", "  :  "}, {"menu", -1}};
    const Json day = {slot, slot, slot, slot};
    Json timetable = Json::object();
    for (const char* name : {"Fer", "Dom", "Seg", "Ter", "Qua", "Qui", "Sex", "Sab"}) timetable[name] = day;

    Json settings = Json::object();
    for (const char* list : {"ringsToAnswer", "ddcSilence", "flashTime", "digitCount", "pabxType", "noAnswerRings",
                             "reserved1", "reserved2", "reserved3"}) {
        settings[list] = -1;
    }
    settings["lowerExtension"] = "";
    settings["upperExtension"] = "";
    settings["greeting"] = false;
    settings["extensionEcho"] = false;
    settings["extensionSupervision"] = false;

    Json state = Json::object();
    state["menus"] = menus;
    state["timetable"] = timetable;
    state["holidays"] = Json(std::vector<std::string>(10, "  /  "));
    state["restrictedExtensions"] = Json(std::vector<std::string>(4, ""));
    state["accessCodes"] = {{"restoreCode", ""}, {"password", ""}};
    state["settings"] = settings;
    return state;
}

class ShowCommand : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(runCardTool({"init", card.folder()}).status, 0); }

    ToolRun show() const { return runCardTool({"show", card.folder()}); }

    ScratchCard card;
};

// ordered_json compares objects member by member in order, so these
// comparisons check the key order as well as the values.
TEST_F(ShowCommand, NewCardShowsEmptyFieldsAndTheDefaultHolidays) {
    const ToolRun run = show();
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");

    Json expected = unloadedState();
    expected["holidays"] = {"  /  ", "  /  ", "01/01", "21/04", "01/05", "07/09", "12/10", "02/11", "15/11", "25/12"};
    EXPECT_EQ(Json::parse(run.out), expected);
}

TEST_F(ShowCommand, ShowsWhatSetStored) {
    ASSERT_EQ(runCardTool({"set", card.folder(), "menus.3.1.target1=m2", "menus.3.1.target2=1234",
                           "menus.3.1.flagF=true", "timetable.Sab.3.time=8:30", "timetable.Sab.3.menu=9",
                           "holidays.0=25/12", "holidays.2=", "restrictedExtensions.0=1234",
                           "accessCodes.restoreCode=*12", "accessCodes.password=007", "settings.digitCount=0",
                           "settings.pabxType=8", "settings.upperExtension=99", "settings.extensionEcho=true"})
                  .status,
              0);

    const ToolRun run = show();
    ASSERT_EQ(run.status, 0) << run.err;

    Json expected = unloadedState();
    expected["menus"][3][1] = {{"target1", "M2"}, {"target2", "1234"}, {"flagF", true}};
    expected["timetable"]["Sab"][3] = {{"time", " 8:30"}, {"menu", 9}};
    expected["holidays"] = {"25/12", "  /  ", "  /  ", "21/04", "01/05", "07/09", "12/10", "02/11", "15/11", "25/12"};
    expected["restrictedExtensions"][0] = "1234";
    expected["accessCodes"] = {{"restoreCode", "*12"}, {"password", "007"}};
    expected["settings"]["digitCount"] = 0;
    expected["settings"]["pabxType"] = 8;
    expected["settings"]["upperExtension"] = "99";
    expected["settings"]["extensionEcho"] = true;
    EXPECT_EQ(Json::parse(run.out), expected);
}

TEST_F(ShowCommand, EmptyFilePrintsWhatWasLoadedBeforeIt) {
    ASSERT_EQ(runCardTool({"set", card.folder(), "menus.4.9.target1=49", "menus.5.1.target1=51",
                           "timetable.Seg.0.menu=1", "restrictedExtensions.0=1234"})
                  .status,
              0);
    card.write("050.txt", "");

    const ToolRun run = show();

    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "List index out of bounds (-1)\n");
    Json expected = unloadedState();
    expected["menus"][4][9]["target1"] = "49";
    EXPECT_EQ(Json::parse(run.out), expected);
}

TEST_F(ShowCommand, UnopenableFileIsReportedWithItsPath) {
    std::filesystem::remove(card.path() / "207.txt");
    const ToolRun run = show();

    EXPECT_EQ(run.status, 1);
    const std::string prefix = "Cannot open file \"" + (card.path() / "207.txt").string() + "\". ";
    EXPECT_EQ(run.err.substr(0, prefix.size()), prefix);
    EXPECT_EQ(run.err.back(), '\n');
    EXPECT_EQ(Json::parse(run.out)["holidays"][2], "  /  ");
}

TEST_F(ShowCommand, DecodesCodePage1252IntoUtf8) {
    card.write("031.txt",
               "\xC7\xE3"
               "1 M2  1\r\n");
    card.write("222.txt",
               "\x80"
               "12 \r\n");

    const ToolRun run = show();
    ASSERT_EQ(run.status, 0) << run.err;

    EXPECT_NE(run.out.find("\"target1\": \"\xC3\x87\xC3\xA3"
                           "1\""),
              std::string::npos)
        << run.out;
    const Json shown = Json::parse(run.out);
    EXPECT_EQ(shown["menus"][3][1]["target1"],
              "\xC3\x87\xC3\xA3"
              "1");
    EXPECT_EQ(shown["menus"][3][1]["target2"], "M2");
    EXPECT_EQ(shown["restrictedExtensions"][0],
              "\xE2\x82\xAC"
              "12");
}

TEST_F(ShowCommand, NeverWritesTheCard) {
    card.write("031.txt", "  12;M2 1\r\nsecond line\r\n");
    const auto before = card.snapshot();

    ASSERT_EQ(show().status, 0);
    EXPECT_EQ(card.snapshot(), before);
}

}  // namespace
