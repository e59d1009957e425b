#include <gtest/gtest.h>

#include "config/CardFiles.h"
#include "config/RecordCodec.h"

namespace quorvel {
namespace {

TEST(MenuOptionRecord, WritesTargetsLeftAlignedAndTheFlag) {
    EXPECT_EQ(encodeMenuOption({"201", "M2", true}), "201 M2  1");
    EXPECT_EQ(encodeMenuOption({"", "", false}), "        0");
    EXPECT_EQ(encodeMenuOption({"12", "", false}), "12      0");
    EXPECT_EQ(encodeMenuOption({"*#12", "1234", false}),
              "*#121234"
              "0");
}

TEST(MenuOptionRecord, LongerTargetIsCutAndNeverShiftsTheFlag) {
    EXPECT_EQ(encodeMenuOption({"123456", "7", true}), "12347   1");
}

TEST(MenuOptionRecord, ReadingDropsBlanksAndSemicolons) {
    MenuOption option{"x", "y", false};
    decodeMenuOption("  12;M;21", option);
    EXPECT_EQ(option.target1, "12");
    EXPECT_EQ(option.target2, "M2");
    EXPECT_TRUE(option.flagF);
}

TEST(MenuOptionRecord, FlagColumnOtherThanOneOrZeroLeavesTheBox) {
    for (const char* line : {"", "        ", "12345678 ", "12345678x", "1234"}) {
        MenuOption ticked{"", "", true};
        decodeMenuOption(line, ticked);
        EXPECT_TRUE(ticked.flagF) << '"' << line << '"';
        MenuOption clear{"", "", false};
        decodeMenuOption(line, clear);
        EXPECT_FALSE(clear.flagF) << '"' << line << '"';
    }
    MenuOption option{"", "", true};
    decodeMenuOption("        0", option);
    EXPECT_FALSE(option.flagF);
}

TEST(MenuOptionRecord, ShortLineReadsThePartThatExists) {
    MenuOption option{"old", "old", false};
    decodeMenuOption("12", option);
    EXPECT_EQ(option.target1, "12");
    EXPECT_EQ(option.target2, "");
}

TEST(MenuOptionRecord, CodePage1252BytesBecomeUtf8AndBack) {
    MenuOption option;
    decodeMenuOption("\xe9\x80      1", option);
    EXPECT_EQ(option.target1, "é€");
    EXPECT_EQ(encodeMenuOption(option), "\xe9\x80      1");
}

TEST(DayScheduleRecord, ReadsTimesAsTheMaskedFieldShowsThem) {
    DaySchedule day;
    decodeDaySchedule("08003 830x     2359", day);
    EXPECT_EQ(day.slots[0].time, "08:00");
    EXPECT_EQ(day.slots[0].menu, 3);
    EXPECT_EQ(day.slots[1].time, " 8:30");
    EXPECT_EQ(day.slots[1].menu, -1) << "a bad menu column affects only its own slot";
    EXPECT_EQ(day.slots[2].time, "  :  ");
    EXPECT_EQ(day.slots[2].menu, -1);
    EXPECT_EQ(day.slots[3].time, "23:59");
    EXPECT_EQ(day.slots[3].menu, -1) << "missing column";
}

TEST(DayScheduleRecord, WritesTwentyColumns) {
    DaySchedule day;
    day.slots[0] = {"08:00", 3};
    day.slots[1] = {" 8:30", -1};
    day.slots[3] = {"23:59", 9};
    EXPECT_EQ(encodeDaySchedule(day), std::string("08003") + " 830 " + "     " + "23599");
    EXPECT_EQ(encodeDaySchedule(DaySchedule{}), std::string(20, ' '));
}

TEST(DayScheduleRecord, RoundTripsEveryWrittenForm) {
    DaySchedule day;
    day.slots = {TimeSlot{"12:45", 0}, TimeSlot{" 0:05", 9}, TimeSlot{"  :  ", 4}, TimeSlot{"19:00", -1}};
    DaySchedule back;
    decodeDaySchedule(encodeDaySchedule(day), back);
    EXPECT_EQ(back, day);
}

TEST(GeneralSettingsRecord, EmptyConfigurationWritesZerosAndOneForDigitCount) {
    EXPECT_EQ(encodeGeneralSettings(GeneralSettings{}), "00000100        0000");
    GeneralSettings back;
    back.greeting = true;
    decodeGeneralSettings("00000100        0000", back);
    GeneralSettings expected;
    EXPECT_EQ(back, expected) << "reads back as nothing selected, flags from their columns";
}

TEST(GeneralSettingsRecord, StoredDigitsUseEachListsOffset) {
    GeneralSettings settings;
    settings.ringsToAnswer = 0;  // "1"
    settings.ddcSilence = 8;     // "9"
    settings.flashTime = 2;      // "300 ms"
    settings.digitCount = 0;     // "2"
    settings.pabxType = 4;       // "Padrão Intermediário"
    settings.noAnswerRings = 3;
    settings.reserved1 = 1;
    settings.reserved2 = 2;
    settings.reserved3 = 8;
    settings.lowerExtension = "200";
    settings.upperExtension = "2999";
    settings.greeting = true;
    settings.extensionSupervision = true;
    std::string line = encodeGeneralSettings(settings);
    EXPECT_EQ(line, "19103251200 29994239");
    GeneralSettings back;
    decodeGeneralSettings(line, back);
    EXPECT_EQ(back, settings);
}

TEST(GeneralSettingsRecord, FirstBadDigitColumnEndsTheConversions) {
    GeneralSettings settings;
    decodeGeneralSettings("2311 45112  13334567", settings);
    EXPECT_EQ(settings.ringsToAnswer, 1);
    EXPECT_EQ(settings.ddcSilence, 2);
    for (int index : {settings.flashTime, settings.digitCount, settings.pabxType, settings.noAnswerRings,
                      settings.reserved1, settings.reserved2, settings.reserved3}) {
        EXPECT_EQ(index, -1);
    }
    EXPECT_EQ(settings.lowerExtension, "12");
    EXPECT_EQ(settings.upperExtension, "1333");
    EXPECT_TRUE(settings.greeting);
    EXPECT_TRUE(settings.extensionEcho);
    EXPECT_TRUE(settings.extensionSupervision);
}

TEST(GeneralSettingsRecord, DigitOutsideTheListSelectsNothing) {
    for (char digit : {'6', '7', '9', '1', '0'}) {
        GeneralSettings settings;
        std::string line = "11001" + std::string(1, digit) + "10        1111";
        decodeGeneralSettings(line, settings);
        EXPECT_EQ(settings.digitCount, -1) << digit;
        EXPECT_EQ(settings.pabxType, 0) << "later columns still convert";
    }
    GeneralSettings five;
    decodeGeneralSettings("110015          1111", five);
    EXPECT_EQ(five.digitCount, 3);
}

TEST(GeneralSettingsRecord, EmptyLineSelectsNothingAndKeepsFlags) {
    GeneralSettings settings;
    settings.ringsToAnswer = 4;
    settings.lowerExtension = "12";
    settings.extensionEcho = true;
    decodeGeneralSettings("", settings);
    EXPECT_EQ(settings.ringsToAnswer, -1);
    EXPECT_EQ(settings.lowerExtension, "");
    EXPECT_TRUE(settings.extensionEcho);
}

TEST(HolidayRecord, DefaultLineReadsAsTheEightFixedDates) {
    std::array<HolidayDate, kHolidayCount> dates;
    decodeHolidays(defaultHolidayLine, dates);
    const std::array<HolidayDate, kHolidayCount> expected = {"  /  ", "  /  ", "01/01", "21/04", "01/05",
                                                             "07/09", "12/10", "02/11", "15/11", "25/12"};
    EXPECT_EQ(dates, expected);
    EXPECT_EQ(encodeHolidays(dates), defaultHolidayLine);
}

TEST(HolidayRecord, KeepsDatesTheWindowWouldRefuse) {
    std::array<HolidayDate, kHolidayCount> dates;
    decodeHolidays("2902", dates);
    EXPECT_EQ(dates[0], "29/02");
    EXPECT_EQ(dates[1], "  /  ");
}

TEST(HolidayRecord, ClearedFieldsWriteFortyBlanks) {
    std::array<HolidayDate, kHolidayCount> dates;
    dates.fill("  /  ");
    EXPECT_EQ(encodeHolidays(dates), std::string(40, ' '));
    dates[0] = "01/01";
    EXPECT_EQ(encodeHolidays(dates).substr(0, 8), "0101    ");
}

TEST(RestrictedExtensionRecord, RoundTripsAndCleans) {
    std::array<std::string, kRestrictedExtensionCount> extensions = {"1234", "", "7", "99"};
    EXPECT_EQ(encodeRestrictedExtensions(extensions), "1234    7   99  ");
    std::array<std::string, kRestrictedExtensionCount> back;
    decodeRestrictedExtensions(" 1;234    7   99", back);
    EXPECT_EQ(back[0], "12");
    EXPECT_EQ(back[1], "34");
    decodeRestrictedExtensions(encodeRestrictedExtensions(extensions), back);
    EXPECT_EQ(back, extensions);
}

TEST(AccessCodeRecord, StarIsStoredAsSemicolon) {
    AccessCodes codes{"*12", "345"};
    EXPECT_EQ(encodeAccessCodes(codes), ";12345");
    AccessCodes back;
    decodeAccessCodes(";12345", back);
    EXPECT_EQ(back, codes);
    EXPECT_EQ(encodeAccessCodes({"#", ""}), "#     ");
}

TEST(AccessCodeRecord, SemicolonInThePasswordReadsAsBlank) {
    AccessCodes codes;
    decodeAccessCodes("   1;2", codes);
    EXPECT_EQ(codes.restoreCode, "");
    EXPECT_EQ(codes.password, "1 2");
}

}  // namespace
}  // namespace quorvel
