// The report as `ajustor-card report` writes it, read back with poppler's
// pdfinfo and pdftotext.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <regex>

#include "CardToolRun.h"
#include "FullCard.h"
#include "ScratchCard.h"

namespace {

// What `command` printed on stdout.
std::string output(const std::string& command) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    std::string text;
    std::array<char, 4096> buffer{};
    while (pipe && std::fgets(buffer.data(), buffer.size(), pipe.get()) != nullptr) text += buffer.data();
    return text;
}

// Runs of blanks and line ends as one blank, so wrapped table cells read as one text.
std::string flattened(const std::string& text) { return std::regex_replace(text, std::regex("\\s+"), " "); }

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++count;
    return count;
}

class CardReport : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* program : {"pdfinfo", "pdftotext"}) {
            if (!onPath(program)) GTEST_SKIP() << program << " (poppler-utils) is not installed";
        }
    }

    // The text of the report of `card`, after checking that it is a PDF of A4 pages.
    std::string reportText(const ScratchCard& card) {
        const std::string pdf = (card.path() / "report.pdf").string();
        const ToolRun run = runCardTool({"report", card.folder(), pdf});
        EXPECT_EQ(run.status, 0) << run.err;
        const std::string info = output("pdfinfo '" + pdf + "' 2>&1");
        EXPECT_NE(info.find("Page size:"), std::string::npos) << info;
        EXPECT_NE(info.find("(A4)"), std::string::npos) << info;
        return output("pdftotext -enc UTF-8 '" + pdf + "' - 2>/dev/null");
    }
};

TEST_F(CardReport, FullCardShowsEveryValueAndFindingButNoPassword) {
    if (!onPath("sox")) GTEST_SKIP() << "sox is not installed to make the prompts";
    const ScratchCard card;
    const FullCard full = makeFullCard(card);
    const ToolRun check = runCardTool({"check", card.folder()});
    const auto findings = nlohmann::json::parse(check.out)["findings"];
    ASSERT_EQ(findings.size(), 3u) << check.out;

    const std::string text = reportText(card);
    const std::string flat = flattened(text);
    for (const std::string& target : full.targets) EXPECT_NE(flat.find(target), std::string::npos) << target;
    for (const std::string& time : full.times) EXPECT_NE(flat.find(time), std::string::npos) << time;
    for (const std::string& date : full.holidays) EXPECT_NE(flat.find(date), std::string::npos) << date;
    for (const auto& finding : findings) {
        const std::string message = finding["message"];
        EXPECT_NE(flat.find(flattened(message)), std::string::npos) << message;
    }
    EXPECT_NE(flat.find("3 avisos"), std::string::npos);
    EXPECT_NE(flat.find("Senha ***"), std::string::npos);
    // The folder's random name is the one text not set by the test.
    const std::string withoutFolder = std::regex_replace(flat, std::regex("ajustor-card-[A-Za-z0-9]+"), "");
    EXPECT_EQ(withoutFolder.find(full.password), std::string::npos);
    // Shown values, not stored digits: item 4 of "Tipo de PABX" is stored as 5.
    EXPECT_NE(flat.find("Tipo de PABX Padrão Intermediário"), std::string::npos);
    EXPECT_NE(flat.find("Ramal Inferior 300"), std::string::npos);
    EXPECT_NE(flat.find(std::string("Saudação Sim")), std::string::npos);
    // Every prompt measured: 1.5 s at 8000 Hz, with a speech level.
    EXPECT_EQ(occurrences(flat, "1,5 s"), 11u);
    EXPECT_EQ(occurrences(flat, "8000 Hz"), 11u);
    EXPECT_EQ(occurrences(flat, "dBm0"), 11u);
    EXPECT_NE(flat.find("132.wav Vinheta"), std::string::npos);
}

TEST_F(CardReport, FreshCardSaysThereAreNoFindings) {
    const ScratchCard card;
    ASSERT_EQ(runCardTool({"init", card.folder()}).status, 0);
    const std::string flat = flattened(reportText(card));
    EXPECT_EQ(occurrences(flat, "Nenhum problema encontrado"), 2u) << flat;  // on the cover and in the findings
    EXPECT_NE(flat.find("Nenhum menu tem opções."), std::string::npos);
    EXPECT_EQ(occurrences(flat, "ausente"), 11u);
}

}  // namespace

// The report is drawn by a program of its own beside the tool; a tool that
// cannot find it fails and names it, and writes nothing.
TEST(CardReportProgram, ToolWithoutItFailsAndNamesIt) {
    const ScratchCard card;
    ASSERT_EQ(runCardTool({"init", card.folder()}).status, 0);
    const std::filesystem::path alone = card.path() / "alone";
    std::filesystem::create_directory(alone);
    std::filesystem::copy_file(AJUSTOR_CARD_BINARY, alone / "ajustor-card");
    const std::filesystem::path pdf = card.path() / "r.pdf";
    const std::string said = output("'" + (alone / "ajustor-card").string() + "' report '" + card.folder() + "' '" +
                                    pdf.string() + "' 2>&1; echo \"exit $?\"");
    EXPECT_NE(said.find("ajustor-card-report"), std::string::npos) << said;
    EXPECT_NE(said.find("exit 1"), std::string::npos) << said;
    EXPECT_FALSE(std::filesystem::exists(pdf));
}
