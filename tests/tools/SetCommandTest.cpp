#include <gtest/gtest.h>

#include "CardToolRun.h"
#include "ScratchCard.h"

namespace {

const std::string kBlankOption = "        0";
const std::string kBlankDay(20, ' ');

class SetCommand : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(runCardTool({"init", card.folder()}).status, 0); }

    ToolRun set(std::vector<std::string> assignments) const {
        assignments.insert(assignments.begin(), {"set", card.folder()});
        return runCardTool(assignments);
    }

    // What a save of an untouched new card writes.
    static std::map<std::string, std::string> savedNewCard() {
        std::map<std::string, std::string> files;
        for (int number = 0; number <= 99; ++number) files[cardName(number)] = line(kBlankOption);
        for (int number = 200; number <= 207; ++number) files[cardName(number)] = line(kBlankDay);
        files["220.txt"] = line("00000100        0000");
        files["221.txt"] = line(kDefaultHolidayLine);
        files["222.txt"] = line(std::string(16, ' '));
        files["223.txt"] = line(std::string(6, ' '));
        files["421.txt"] = line(kDefaultHolidayLine);
        return files;
    }

    ScratchCard card;
};

TEST_F(SetCommand, RewritesEveryRecordWithTheEnteredValues) {
    const ToolRun run = set({"menus.3.1.target1=m2",
                             "menus.3.1.target2=1234",
                             "menus.3.1.flagF=true",
                             "menus.0.0.target1=*9#",
                             "menus.9.9.target2=1M2",
                             "timetable.Seg.0.time=08:00",
                             "timetable.Seg.0.menu=1",
                             "timetable.Seg.3.time=8:30",
                             "timetable.Seg.3.menu=9",
                             "timetable.Fer.1.time=23:59",
                             "timetable.Fer.1.menu=0",
                             "holidays.0=25/12",
                             "holidays.2=",
                             "holidays.9=1/01",
                             "restrictedExtensions.1=1234",
                             "restrictedExtensions.3=7",
                             "accessCodes.restoreCode=*12",
                             "accessCodes.password=345",
                             "settings.ringsToAnswer=2",
                             "settings.digitCount=3",
                             "settings.pabxType=4",
                             "settings.reserved3=8",
                             "settings.greeting=true",
                             "settings.extensionSupervision=true",
                             "settings.lowerExtension=200",
                             "settings.upperExtension=2999"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");

    auto expected = savedNewCard();
    expected["031.txt"] = line("M2  12341");
    expected["000.txt"] = line("*9#     0");
    expected["099.txt"] = line("    1M2 0");
    expected["202.txt"] = line("08001" + std::string(10, ' ') + " 8309");
    expected["200.txt"] = line("     23590" + std::string(10, ' '));
    const std::string holidays = "2512        210401050709121002111511 101";
    expected["221.txt"] = line(holidays);
    expected["421.txt"] = line(holidays);
    expected["222.txt"] = line("    1234    7   ");
    expected["223.txt"] = line(";12345");
    // Lists take the item shown first: "2" is the item "2", "4" no PABX item but index 4.
    expected["220.txt"] = line("20100351200 29990008");
    EXPECT_EQ(card.snapshot(), expected);
}

TEST_F(SetCommand, KeepsWhatEarlierRunsStoredAndClearsOnRequest) {
    ASSERT_EQ(set({"menus.5.5.target1=55", "menus.5.5.flagF=true", "timetable.Dom.2.time=07:15",
                   "timetable.Dom.2.menu=3", "settings.flashTime=2"})
                  .status,
              0);
    ASSERT_EQ(set({"menus.5.5.target2=M1", "timetable.Dom.2.menu=-1", "settings.flashTime=-1"}).status, 0);

    EXPECT_EQ(card.read("055.txt"), line("55  M1  1"));
    EXPECT_EQ(card.read("201.txt"), line("          0715 " + std::string(5, ' ')));
    EXPECT_EQ(card.read("220.txt"), line("00000100        0000"));
}

struct TimeCase {
    const char* value;
    const char* columns;  // hour and minutes as slot 1 of "202.txt" stores them
};

void PrintTo(const TimeCase& time, std::ostream* out) { *out << '"' << time.value << '"'; }

class SetTimeForms : public SetCommand, public ::testing::WithParamInterface<TimeCase> {};

TEST_P(SetTimeForms, StoresTheTextTheMaskedFieldWouldHold) {
    ASSERT_EQ(set({"timetable.Seg.0.time=12:34"}).status, 0);
    const ToolRun run = set({std::string("timetable.Seg.0.time=") + GetParam().value});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(card.read("202.txt"), line(GetParam().columns + std::string(16, ' ')));
}

INSTANTIATE_TEST_SUITE_P(Forms, SetTimeForms,
                         ::testing::Values(TimeCase{"08:30", "0830"}, TimeCase{" 8:30", " 830"},
                                           TimeCase{"8:30", " 830"}, TimeCase{"0:00", " 000"}, TimeCase{"", "    "},
                                           TimeCase{"  :  ", "    "}, TimeCase{":", "    "}));

struct ShownItem {
    const char* assignment;
    int column;  // of "220.txt", from 1
    char digit;
};

void PrintTo(const ShownItem& item, std::ostream* out) { *out << item.assignment; }

class SetListByShownText : public SetCommand, public ::testing::WithParamInterface<ShownItem> {};

TEST_P(SetListByShownText, StoresTheDigitOfTheItemsIndex) {
    const ToolRun run = set({GetParam().assignment});
    ASSERT_EQ(run.status, 0) << run.err;
    std::string expected = "00000100        0000";
    expected[GetParam().column - 1] = GetParam().digit;
    EXPECT_EQ(card.read("220.txt"), line(expected));
}

INSTANTIATE_TEST_SUITE_P(
    GeneralSettings, SetListByShownText,
    ::testing::Values(ShownItem{"settings.ringsToAnswer=3", 1, '3'}, ShownItem{"settings.ddcSilence=9", 2, '9'},
                      ShownItem{"settings.flashTime=300 ms", 5, '3'}, ShownItem{"settings.digitCount=2", 6, '2'},
                      ShownItem{"settings.digitCount=5", 6, '5'},
                      ShownItem{"settings.pabxType=Padrão Telebras 4", 7, '4'},
                      ShownItem{"settings.pabxType=Padrão Intermediário", 7, '5'},
                      ShownItem{"settings.noAnswerRings=1", 17, '1'}, ShownItem{"settings.reserved1=5", 18, '5'},
                      ShownItem{"settings.reserved2=7", 19, '7'}, ShownItem{"settings.reserved3=8", 20, '8'},
                      // Not an item's text: the index as `show` prints it.
                      ShownItem{"settings.flashTime=2", 5, '3'}));

TEST_F(SetCommand, StopsAtABrokenCardWithoutWriting) {
    card.write("050.txt", "");
    const auto before = card.snapshot();

    const ToolRun run = set({"menus.0.1.target1=12"});

    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "List index out of bounds (-1)\n");
    EXPECT_EQ(card.snapshot(), before);
}

TEST_F(SetCommand, ReportsAFailedWriteAndKeepsTheOldRecords) {
    const auto before = card.snapshot();

    // One byte rather than none: ThreadSanitizer's runtime writes a file before main.
    const ToolRun run = runCardTool({"set", card.folder(), "menus.0.1.target1=12"}, 1UL);

    EXPECT_EQ(run.status, 1);
    // The history, under the same limit, may say it recorded nothing.
    const std::string failure = card.folder() + "/001.txt: Disk full. The card holds its previous files.\n";
    EXPECT_EQ(run.err.substr(0, failure.size()), failure);
    EXPECT_EQ(card.snapshot(), before);
}

}  // namespace
