// One table of crafted prompt files, each put on a card as the prompt of a
// reachable menu and shown to every part that judges prompts: they must all
// agree with the verdict, and none may change a file the device cannot play.
#include "CardTestSupport.h"
#include "PromptTestSupport.h"
#include "config/CallFlowCheck.h"
#include "config/PromptFile.h"
#include "operations/prompt/PromptFiles.h"
#include "operations/prompt/PromptLevelAll.h"
#include "operations/prompt/PromptLeveller.h"
#include "operations/prompt/PromptSurvey.h"
#include "operations/prompt/PromptTrim.h"
#include "operations/prompt/TelephoneLine.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <filesystem>
#include <functional>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

namespace quorvel::test {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

constexpr int Rate = 8000;

void Put(Bytes& At, std::size_t Offset, std::uint32_t Value, int Width) {
    for (int i = 0; i < Width; ++i) At[Offset + i] = static_cast<std::uint8_t>(Value >> (8 * i));
}

Bytes Text(const std::string& Text) { return {Text.begin(), Text.end()}; }

// One second of a tone, written by the prompt writer itself.
Bytes Canonical() {
    ScratchFolder folder;
    const std::string path = (folder.path() / "tone.wav").string();
    int handle = -1;
    EXPECT_EQ(realFileSystem().createNew(path, handle), 0);
    PromptWriter writer(realFileSystem(), handle, path, Rate);
    std::vector<std::int16_t> tone(Rate);
    for (std::size_t i = 0; i < tone.size(); ++i)
        tone[i] =
            static_cast<std::int16_t>(3000 * std::sin(2 * std::numbers::pi * 440 * static_cast<double>(i) / Rate));
    writer.append(tone.data(), tone.size() / 2);
    writer.append(tone.data() + tone.size() / 2, tone.size() - tone.size() / 2);
    writer.finish();
    realFileSystem().close(handle);
    return ReadFile(path);
}

Bytes Edited(const std::function<void(Bytes&)>& Edit) {
    Bytes bytes = Canonical();
    Edit(bytes);
    return bytes;
}

// A chunk inserted before the data chunk.
Bytes WithChunk(const std::string& Tag, std::size_t Size) {
    Bytes bytes = Canonical();
    Bytes chunk = Text(Tag + "    ");
    Put(chunk, 4, static_cast<std::uint32_t>(Size), 4);
    chunk.resize(8 + Size, 'x');
    bytes.insert(bytes.begin() + 36, chunk.begin(), chunk.end());
    return bytes;
}

struct TVerdictRow {
    const char* Name;
    std::optional<Bytes> File;  // none: a folder of the prompt's name
    std::string Reason;         // empty: playable
    std::optional<double> Seconds;
};

const std::string PromptName = "101.wav";

std::vector<TVerdictRow> Rows() {
    return {
        {"canonical", Canonical(), "", 1.0},
        {"junk before RIFF", Edited([](Bytes& b) { b.insert(b.begin(), 8, 'J'); }), "bytes antes do cabeçalho", 1.0},
        {"lower-case tags", Edited([](Bytes& b) {
             for (const std::size_t at : {0, 8, 12, 36})
                 for (std::size_t i = at; i < at + 4; ++i) b[i] = static_cast<std::uint8_t>(std::tolower(b[i]));
         }),
         "cabeçalho em minúsculas", 1.0},
        {"block align 4", Edited([](Bytes& b) { Put(b, 32, 4, 2); }), "alinhamento de bloco errado", 1.0},
        {"8-bit", PcmWave(std::vector<std::int32_t>(Rate, 100), 1, Rate, 8), "não é 16 bits", 1.0},
        {"stereo", PcmWave(std::vector<std::int32_t>(2 * Rate, 100), 2, Rate), "não é mono", 1.0},
        {"float", PcmWave(std::vector<std::int32_t>(Rate, 0), 1, Rate, 32, 3), "não é PCM", 1.0},
        {"LIST before the data", WithChunk("LIST", 26), "bloco \"LIST\" antes dos dados", 1.0},
        {"fact before the data", WithChunk("fact", 4), "bloco \"fact\" antes dos dados", 1.0},
        {"data shorter than its header says", Edited([](Bytes& b) { Put(b, 40, 0xFFFFFF00, 4); }), "dados incompletos",
         1.0},
        {"a folder", std::nullopt, "não é um arquivo comum", std::nullopt},
        {"zero bytes", Bytes{}, "não é WAV", std::nullopt},
    };
}

// Menu 1 is what the timetable plays all week.
DeviceConfiguration CardReachingMenu1() {
    DeviceConfiguration config;
    config.menus[1][1].target1 = "201";
    for (auto& day : config.timetable) day.slots[0] = TimeSlot{"08:00", 1};
    return config;
}

TEST(PromptVerdict, EveryJudgeAgreesOnEachFile) {
    for (const TVerdictRow& row : Rows()) {
        SCOPED_TRACE(row.Name);
        ScratchFolder card;
        const fs::path path = card.path() / PromptName;
        if (row.File)
            WriteFile(path, *row.File);
        else
            fs::create_directory(path);
        const bool playable = row.Reason.empty();
        const auto refusedWithReason = [&](const std::function<void()>& Judge) {
            try {
                Judge();
                ADD_FAILURE() << "not refused";
            } catch (const std::runtime_error& error) {
                EXPECT_NE(std::string(error.what()).find(row.Reason), std::string::npos) << error.what();
            }
        };

        const PromptVerdict verdict = judgePrompt(path.string());
        EXPECT_EQ(verdict.state, playable ? PromptState::Playable : PromptState::Unplayable);
        EXPECT_EQ(verdict.reason, row.Reason);
        EXPECT_EQ(promptState(card.prefix(), 1), verdict.state);

        bool missingPrompt = false;
        for (const Finding& finding : checkCallFlow(CardReachingMenu1(), card.prefix()))
            missingPrompt = missingPrompt || finding.code == FindingCode::MissingPrompt;
        EXPECT_EQ(missingPrompt, !playable) << "check";

        const PromptSurvey survey = surveyPrompt(card.prefix(), 1, 16);
        EXPECT_EQ(survey.state, playable ? PromptSurveyState::Ok : PromptSurveyState::Unplayable) << "survey";
        EXPECT_EQ(survey.problem, row.Reason);
        EXPECT_EQ(survey.seconds, row.Seconds) << "figures of the data present";

        const TLevelAllOutcome levelled = LevelAllPrompts(card.prefix(), InstallOnCard);
        EXPECT_EQ(levelled.Failed,
                  (playable ? decltype(levelled.Failed){} : decltype(levelled.Failed){{PromptName, row.Reason}}))
            << "level-all";
        EXPECT_EQ(levelled.Changed.size(), playable ? 1U : 0U);

        const std::string line = (card.path() / "line.wav").string();
        WriteFile(line, {});
        const std::string moved = (card.path() / "105.wav").string();
        if (playable) {
            EXPECT_EQ(LevelPromptFile(path.string(), TLevelMode::Speech).Frames, Rate);
            TrimPromptFile(path.string());
            MakeTelephoneCopy(path.string(), line);
            EXPECT_EQ(judgePrompt(line).state, PromptState::Playable);
            EXPECT_TRUE(InstallPrompt(path.string(), moved).ok());
            EXPECT_EQ(judgePrompt(moved).state, PromptState::Playable) << "install";
            continue;
        }
        refusedWithReason([&] { LevelPromptFile(path.string(), TLevelMode::Speech); });
        refusedWithReason([&] { TrimPromptFile(path.string()); });
        EXPECT_THROW(MakeTelephoneCopy(path.string(), line), std::runtime_error);
        const CardResult installed = InstallPrompt(path.string(), moved);
        EXPECT_NE(installed.message.find(row.Reason), std::string::npos) << installed.message;
        if (row.File) {
            EXPECT_EQ(ReadFile(path), *row.File) << "left as it was";
        }
        EXPECT_FALSE(fs::exists(moved));
    }
}

// A prompt whose reads fail is not played, measured or levelled, and says so.
TEST(PromptVerdict, ReadFaultsComeThroughTheFileSystem) {
    ScratchFolder card;
    WriteFile(card.path() / PromptName, Canonical());
    testing::FaultyFileSystem files;
    files.fail(testing::FaultyFileSystem::Call::Read, PromptName, EIO);
    EXPECT_EQ(judgePrompt(card.prefix() + PromptName, files).reason, "não pôde ser lido");
    EXPECT_EQ(surveyPrompt(card.prefix(), 1, 16, files).problem, "não pôde ser lido");
    const TLevelAllOutcome levelled = LevelAllPrompts(card.prefix(), InstallOnCard, files);
    ASSERT_EQ(levelled.Failed.size(), 1U);
    EXPECT_EQ(levelled.Failed[0].second, "não pôde ser lido");
    EXPECT_THROW(LevelPromptFile(card.prefix() + PromptName, TLevelMode::Speech, 16, files), std::runtime_error);
}

}  // namespace
}  // namespace quorvel::test
