#include <gtest/gtest.h>

#include "config/FieldRules.h"

namespace quorvel {
namespace {

TEST(KeyFilters, AcceptOnlyTheirCharacters) {
    struct Case {
        KeyFilter filter;
        std::string_view accepted;
    };
    const Case cases[] = {
        {KeyFilter::Option, "0123456789#*Mm\b"},
        {KeyFilter::Digit, "0123456789\b"},
        {KeyFilter::RestoreCode, "0123456789#*\b"},
    };
    for (const Case& c : cases) {
        for (int key = 0; key < 256; ++key) {
            bool expected = c.accepted.find(static_cast<char>(key)) != std::string_view::npos;
            EXPECT_EQ(keyAccepted(c.filter, static_cast<char32_t>(key)), expected)
                << "filter " << static_cast<int>(c.filter) << " key " << key;
        }
        EXPECT_FALSE(keyAccepted(c.filter, U'é'));
        EXPECT_FALSE(keyAccepted(c.filter, U'٣')) << "digits of other scripts";
    }
}

TEST(KeyFilters, FilterTextKeepsWhatTypingWouldKeep) {
    EXPECT_EQ(filterText(KeyFilter::Option, "m2 x#*\t9"), "M2#*9");
    EXPECT_EQ(filterText(KeyFilter::Digit, "12a3é4\r\n"), "1234");
    EXPECT_EQ(filterText(KeyFilter::RestoreCode, "*1#mM"), "*1#");
    EXPECT_EQ(filterText(KeyFilter::Digit, "\b12"), "12") << "Backspace is a key, not text";
}

TEST(MenuReferenceCheck, PassesAndFailsAsTheFieldExpects) {
    for (const char* passing : {"", "M5", "M0", "M9", "1234", "#12", "*9", "1M2", "M#", "M*", " M 5"}) {
        EXPECT_FALSE(checkMenuReference(passing).has_value()) << passing;
    }
    for (const char* failing : {"M", "MM", "M12", "M55", " M ", "M M"}) {
        EXPECT_EQ(checkMenuReference(failing), std::optional<std::string>(kMenuRangeMessage)) << failing;
    }
}

TEST(TimeCheck, AcceptsTimesOfDayOnly) {
    for (const char* passing : {"  :  ", "", ":", " 8:30", "08:30", "23:59", "00:00", " 0:00"}) {
        EXPECT_FALSE(checkTime(passing).has_value()) << '"' << passing << '"';
    }
    for (const char* failing : {"24:00", "12:60", "99:99", "  :30", "12:  ", "1a:00", "12:3x"}) {
        EXPECT_EQ(checkTime(failing), std::optional<std::string>(kInvalidTimeMessage)) << '"' << failing << '"';
    }
}

TEST(DateCheck, ReadsDayMonthOfANonLeapYear) {
    for (const char* passing : {"  /  ", "", "25/12", "01/01", " 1/05", "31/12", "28/02", "30/04"}) {
        EXPECT_FALSE(checkDate(passing).has_value()) << '"' << passing << '"';
    }
    for (const char* failing : {"31/04", "29/02", "00/01", "12/13", "12/00", "32/01", "  /12", "12/  "}) {
        EXPECT_EQ(checkDate(failing), std::optional<std::string>(kInvalidDateMessage)) << '"' << failing << '"';
    }
}

TEST(StarPositionCheck, OneMessagePerMisplacedStar) {
    EXPECT_TRUE(checkStarPosition("").empty());
    EXPECT_TRUE(checkStarPosition("*").empty());
    EXPECT_TRUE(checkStarPosition("*12").empty());
    EXPECT_EQ(checkStarPosition("**").size(), 1u);
    EXPECT_EQ(checkStarPosition("1*2").size(), 1u);
    const auto twice = checkStarPosition("1**");
    ASSERT_EQ(twice.size(), 2u);
    EXPECT_EQ(twice[0], kStarPositionMessage);
    EXPECT_EQ(twice[1], kStarPositionMessage);
    EXPECT_EQ(checkStarPosition("12*").size(), 1u);
}

}  // namespace
}  // namespace quorvel
