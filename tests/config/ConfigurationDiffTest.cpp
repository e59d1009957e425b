#include <gtest/gtest.h>

#include <set>

#include "config/ConfigurationDiff.h"

namespace quorvel {
namespace {

TEST(ConfigurationFields, NameEveryValueOnceInShowOrder) {
    const std::vector<ConfigurationField>& fields = configurationFields();
    // 10 menus × 10 options × 3, 8 day kinds × 4 slots × 2, 10 holidays,
    // 4 extensions, 2 access codes, 9 lists, 2 extensions, 3 boxes.
    EXPECT_EQ(fields.size(), 300u + 64u + 10u + 4u + 2u + 14u);
    std::set<std::string> paths;
    std::set<std::string> captions;
    for (const ConfigurationField& field : fields) {
        paths.insert(field.path());
        captions.insert(field.caption());
        EXPECT_EQ(findConfigurationField(field.path()), &field);
    }
    EXPECT_EQ(paths.size(), fields.size());
    EXPECT_EQ(captions.size(), fields.size());
    EXPECT_EQ(fields.front().path(), "menus.0.0.target1");
    EXPECT_EQ(fields[300].path(), "timetable.Fer.0.time");
    EXPECT_EQ(fields[300].get(DeviceConfiguration{}), ConfigurationValue(std::string(kEmptyTime)));
    EXPECT_EQ(fields.back().path(), "settings.extensionSupervision");
    EXPECT_EQ(findConfigurationField("menus.01.0.target1"), nullptr);
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

struct Described {
    ValueChange change;
    const char* text;
};

void PrintTo(const Described& described, std::ostream* out) { *out << described.text; }

class DescribedChange : public ::testing::TestWithParam<Described> {};

// Captions as the window labels the fields, values as it shows them.
TEST_P(DescribedChange, UnderTheFieldsCaption) { EXPECT_EQ(describeChange(GetParam().change), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(
    EveryKind, DescribedChange,
    ::testing::Values(
        Described{{"settings.ringsToAnswer", kNoSelection, 1}, "Ring p/Atender: — → 2"},
        Described{{"settings.pabxType", 4, 7}, "Tipo de PABX: Padrão Intermediário → Padrão Panasonic 3"},
        Described{{"settings.flashTime", 2, 9}, "Flash: 300 ms → —"},
        Described{{"settings.reserved2", 0, 1}, "Reservado 2: 1 → 2"},
        Described{{"settings.greeting", false, true}, "Saudação: Não → Sim"},
        Described{{"menus.3.0.target2", std::string(""), std::string("M2")}, "Menu 3, Não Dig, Ramal/Grupo 2: — → M2"},
        Described{{"menus.9.9.flagF", true, false}, "Menu 9, Opção 9, F: Sim → Não"},
        Described{{"timetable.Sab.3.time", std::string(kEmptyTime), std::string(" 8:30")}, "Sáb, Hora 4: — → 8:30"},
        Described{{"timetable.Fer.0.menu", 7, kNoSelection}, "Fer, Menu 1: Menu 7 → —"},
        Described{{"holidays.9", std::string("25/12"), std::string(kEmptyDate)}, "Feriado 10: 25/12 → —"},
        Described{{"restrictedExtensions.0", std::string(""), std::string("201")}, "Ramal Restrito 1: — → 201"},
        Described{{"accessCodes.password", std::string("12"), std::string("345")}, "Senha: ** → ***"}));

}  // namespace
}  // namespace quorvel
