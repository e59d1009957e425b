#include <gtest/gtest.h>

#include "config/MaskedText.h"

namespace quorvel {
namespace {

TEST(MaskedText, ReaderPartsAreRightAligned) {
    EXPECT_EQ(maskedFromParts(MaskKind::Time, "8", "30"), " 8:30");
    EXPECT_EQ(maskedFromParts(MaskKind::Time, "08", "30"), "08:30");
    EXPECT_EQ(maskedFromParts(MaskKind::Time, "", ""), "  :  ");
    EXPECT_EQ(maskedFromParts(MaskKind::Date, "25", "12"), "25/12");
    EXPECT_EQ(maskedFromParts(MaskKind::Date, "", ""), "  /  ");
}

TEST(MaskedText, ApplyingTheMaskKeepsMaskedTextAsItIs) {
    for (const char* text : {" 8:30", "08:30", "  :  ", " 1: 2", "  : 5"}) {
        EXPECT_EQ(applyMask(MaskKind::Time, text), text);
    }
    EXPECT_EQ(applyMask(MaskKind::Date, "29/02"), "29/02");
}

TEST(MaskedText, GarbledInputNeverLeavesTheFiveShapedForm) {
    EXPECT_EQ(applyMask(MaskKind::Time, ":"), "  :  ");
    EXPECT_EQ(applyMask(MaskKind::Time, ""), "  :  ");
    EXPECT_EQ(applyMask(MaskKind::Time, "0830"), "08:30");
    EXPECT_EQ(applyMask(MaskKind::Time, "830"), " 8:30");
    EXPECT_EQ(applyMask(MaskKind::Time, "123:4567"), "23:67");
    EXPECT_EQ(applyMask(MaskKind::Time, "a;:b9"), "  : 9");
    EXPECT_EQ(applyMask(MaskKind::Date, ";1/0;"), " 1/ 0");
    EXPECT_EQ(applyMask(MaskKind::Time, "8 :30"), " 8:30");
    EXPECT_EQ(applyMask(MaskKind::Date, "0x/"), " 0/  ");
}

TEST(MaskedText, CompletenessLooksAtTheRequiredPositions) {
    EXPECT_EQ(firstUnfilledRequiredPosition(" 8:30"), -1);
    EXPECT_EQ(firstUnfilledRequiredPosition("08:30"), -1);
    EXPECT_EQ(firstUnfilledRequiredPosition("  :  "), 1);
    EXPECT_EQ(firstUnfilledRequiredPosition("8 :30"), 1);
    EXPECT_EQ(firstUnfilledRequiredPosition("08: 0"), 3);
    EXPECT_EQ(firstUnfilledRequiredPosition("08:3 "), 4);
    EXPECT_EQ(firstUnfilledRequiredPosition(""), 1);
    EXPECT_TRUE(isMaskComplete("25/12"));
    EXPECT_FALSE(isMaskComplete("25/1 "));
}

TEST(MaskedText, EmptyFormAndAcceptedCharacters) {
    EXPECT_TRUE(isMaskEmpty("  :  "));
    EXPECT_TRUE(isMaskEmpty("  /  "));
    EXPECT_FALSE(isMaskEmpty(" 8:  "));
    EXPECT_TRUE(maskAccepts(0, '9'));
    EXPECT_FALSE(maskAccepts(2, '9'));
    EXPECT_FALSE(maskAccepts(3, ' '));
    EXPECT_FALSE(maskAccepts(5, '1'));
}

}  // namespace
}  // namespace quorvel
