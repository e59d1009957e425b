#include <gtest/gtest.h>

#include "config/Cp1252.h"

namespace quorvel {
namespace {

TEST(Cp1252, EveryByteSurvivesTheRoundTrip) {
    for (int byte = 0; byte < 256; ++byte) {
        std::string original(1, static_cast<char>(byte));
        EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(original)), original) << byte;
    }
}

TEST(Cp1252, DecodesTheWindowsSpecificRange) {
    EXPECT_EQ(cp1252ToUtf8("\x80\x99\x9f"), "€™Ÿ");
    EXPECT_EQ(cp1252ToUtf8("S\xe1\x62"), "Sáb");
    EXPECT_EQ(utf8ToCp1252("Padrão Intermediário"), "Padr\xe3o Intermedi\xe1rio");
}

TEST(Cp1252, UnmappableAndMalformedTextBecomesQuestionMarks) {
    EXPECT_EQ(utf8ToCp1252("日本"), "??");
    EXPECT_EQ(utf8ToCp1252("a\xff"
                           "b"),
              "a?b");
    EXPECT_EQ(utf8ToCp1252("\xe2\x82"), "??") << "cut sequence";
    EXPECT_EQ(utf8ToCp1252("😀"), "?");
}

}  // namespace
}  // namespace quorvel
