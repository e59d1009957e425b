#include <gtest/gtest.h>

#include <cstdlib>
#include <nlohmann/json.hpp>

#include "CardToolRun.h"
#include "ScratchCard.h"

namespace {

using Json = nlohmann::json;

// A real prompt as sox writes it, `channels` wide.
void writePrompt(const ScratchCard& card, const std::string& name, int channels) {
    const std::string command = "sox -n -r 8000 -b 16 -c " + std::to_string(channels) + " '" +
                                (card.path() / name).string() + "' synth 0.1 sine 440";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

std::string blanks(int count) { return std::string(static_cast<std::size_t>(count), ' '); }

std::vector<std::pair<std::string, std::string>> codesAndPaths(const Json& report) {
    std::vector<std::pair<std::string, std::string>> found;
    for (const Json& finding : report.at("findings")) found.emplace_back(finding.at("code"), finding.at("path"));
    return found;
}

TEST(CheckCommand, FreshCardHasNoFindings) {
    ScratchCard card;
    ASSERT_EQ(runCardTool({"init", card.folder()}).status, 0);
    const ToolRun run = runCardTool({"check", card.folder()});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(Json::parse(run.out), Json::parse(R"({"findings": []})"));
    EXPECT_EQ(run.err, "");
}

TEST(CheckCommand, ReportsOneOfEachInCodeOrder) {
    ScratchCard card;
    ASSERT_EQ(runCardTool({"init", card.folder()}).status, 0);
    card.write("011.txt", line("201     0"));
    card.write("012.txt", line("M7      0"));
    card.write("013.txt", line("MM      0"));  // as an old card or a copy may hold it
    card.write("031.txt", line("300     0"));
    for (int day = 200; day <= 207; ++day) card.write(cardName(day), line("08001" + blanks(15)));
    card.write("201.txt", line(blanks(20)));
    card.write("202.txt", line("0800112004" + blanks(10)));
    card.write("203.txt", line("080011300 " + blanks(10)));
    writePrompt(card, "101.wav", 1);
    writePrompt(card, "104.wav", 1);
    writePrompt(card, "107.wav", 2);
    ASSERT_EQ(runCardTool({"set", card.folder(), "holidays.0=25/12", "settings.lowerExtension=300",
                           "settings.upperExtension=200"})
                  .status,
              0);

    const ToolRun run = runCardTool({"check", card.folder()});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err, "");
    const Json report = Json::parse(run.out);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"empty-menu-reference", "menus.1.2.target1"},
        {"slot-selects-empty-menu", "timetable.Seg.1.menu"},
        {"slot-incomplete", "timetable.Ter.1.menu"},
        {"invalid-target", "menus.1.3.target1"},
        {"unreachable-menu", "menus.3"},
        {"missing-prompt", "menus.7.prompt"},
        {"day-without-slots", "timetable.Dom"},
        {"duplicate-holiday", "holidays.9"},
        {"national-holiday-missing", "holidays"},
        {"extension-range-reversed", "settings.lowerExtension"},
    };
    EXPECT_EQ(codesAndPaths(report), expected);
    EXPECT_EQ(report.at("findings").at(0).at("message"),
              "Menu 1, Opção 2: M7 leva ao Menu 7, que não tem nenhuma opção.");
    EXPECT_EQ(report.at("findings").at(5).at("message"),
              "Menu 7: o arquivo de voz 107.wav não é um WAV PCM de 16 bits mono.");
}

TEST(CheckCommand, UnreadableCardExitsWithOneAndPrintsNoReport) {
    ScratchCard card;
    ASSERT_EQ(runCardTool({"init", card.folder()}).status, 0);
    card.write("050.txt", "");
    const ToolRun run = runCardTool({"check", card.folder()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "List index out of bounds (-1)\n");
    EXPECT_EQ(runCardTool({"check"}).status, 64);
}

}  // namespace
