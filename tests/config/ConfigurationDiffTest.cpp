#include <gtest/gtest.h>

#include <set>

#include "config/ConfigurationDiff.h"

namespace quorvel {
namespace {

TEST(ConfigurationValues, NamesEveryValueOnceInShowOrder) {
    const std::vector<NamedValue> values = configurationValues(DeviceConfiguration{});
    // 10 menus × 10 options × 3, 8 day kinds × 4 slots × 2, 10 holidays,
    // 4 extensions, 2 access codes, 9 lists, 2 extensions, 3 boxes.
    EXPECT_EQ(values.size(), 300u + 64u + 10u + 4u + 2u + 14u);
    std::set<std::string> paths;
    for (const NamedValue& value : values) paths.insert(value.path);
    EXPECT_EQ(paths.size(), values.size());
    EXPECT_EQ(values.front().path, "menus.0.0.target1");
    EXPECT_EQ(values[300].path, "timetable.Fer.0.time");
    EXPECT_EQ(values[300].value, ConfigurationValue(std::string(kEmptyTime)));
    EXPECT_EQ(values.back().path, "settings.extensionSupervision");
}

TEST(ConfigurationDiff, EveryKindOfValueInPathOrder) {
    DeviceConfiguration before;
    DeviceConfiguration after;
    after.settings.pabxType = 4;
    after.menus[3][1].target1 = "M2";
    after.menus[0][9].flagF = true;
    after.day(DayKind::Seg).slots[2].time = "08:30";
    after.day(DayKind::Dom).slots[0].menu = 7;
    after.holidays[2] = "25/12";
    after.accessCodes.password = "1234";

    const std::vector<ValueChange> expected = {
        {"accessCodes.password", std::string(""), std::string("1234")},
        {"holidays.2", std::string(kEmptyDate), std::string("25/12")},
        {"menus.0.9.flagF", false, true},
        {"menus.3.1.target1", std::string(""), std::string("M2")},
        {"settings.pabxType", kNoSelection, 4},
        {"timetable.Dom.0.menu", kNoSelection, 7},
        {"timetable.Seg.2.time", std::string(kEmptyTime), std::string("08:30")},
    };
    EXPECT_EQ(diffConfigurations(before, after), expected);
    EXPECT_TRUE(diffConfigurations(after, after).empty());
    // The other way round, each change turned around.
    const std::vector<ValueChange> back = diffConfigurations(after, before);
    ASSERT_EQ(back.size(), expected.size());
    for (std::size_t i = 0; i < back.size(); ++i) {
        EXPECT_EQ(back[i], (ValueChange{expected[i].path, expected[i].to, expected[i].from}));
    }
}

TEST(ConfigurationDiff, DescribesValuesAsTheWindowListsThem) {
    EXPECT_EQ(describeValue(std::string("M2")), "\"M2\"");
    EXPECT_EQ(describeValue(true), "marcado");
    EXPECT_EQ(describeValue(false), "desmarcado");
    EXPECT_EQ(describeValue(kNoSelection), "nenhum");
    EXPECT_EQ(describeValue(3), "item 3");
}

}  // namespace
}  // namespace quorvel
