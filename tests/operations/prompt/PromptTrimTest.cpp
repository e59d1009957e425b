#include "operations/prompt/PromptTrim.h"

#include "PromptTestSupport.h"
#include "operations/levelling/SpeechLevel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvel::test {
namespace {

constexpr int Rate = 8000;

// The first and last active sample the meter finds.
std::pair<std::uint64_t, std::uint64_t> ActiveSpanOf(const std::vector<std::int16_t>& Samples) {
    TSpeechLevelMeter meter(Rate);
    meter.Add(Samples.data(), Samples.size());
    const auto span = meter.ActiveSpan();
    return span ? *span : std::pair<std::uint64_t, std::uint64_t>{0, 0};
}

struct TTrimRow {
    const char* Name;
    std::string Effects;  // sox effects after the synth; the speech is 1 s long
};

// Speech with 2 s of silence before and 3 s after keeps 0.3 s before its
// first active sample and 0.5 s after its last; a soft start is kept whole.
TEST(PromptTrim, CutsSilenceDownToTheLeadInAndTail) {
    if (!HaveSox()) GTEST_SKIP() << "sox is not installed";
    const TTrimRow rows[] = {
        {"steady", "synth 1 sine 440 vol 0.3 pad 2 3"},
        {"soft start", "synth 1 sine 440 vol 0.3 fade q 0.6 1 0 pad 2 3"},
        {"short lead-in", "synth 1 sine 440 vol 0.3 pad 0.1 3"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        ScratchFolder folder;
        const auto path = folder.path() / "take.wav";
        ASSERT_TRUE(Sox("-n -r 8000 -c 1 -b 16 '" + path.string() + "' " + row.Effects));
        const std::vector<std::int16_t> before = PcmSamples(ReadFile(path));
        const auto [firstActive, lastActive] = ActiveSpanOf(before);
        ASSERT_GT(lastActive, firstActive);

        TrimPromptFile(path.string());
        const std::vector<std::int16_t> after = PcmSamples(ReadFile(path));
        const std::size_t leadIn = std::min<std::size_t>(firstActive, Rate * 3 / 10);
        const std::size_t first = firstActive - leadIn;
        const std::size_t last = std::min<std::size_t>(before.size(), lastActive + 1 + Rate / 2);
        ASSERT_EQ(after.size(), last - first);
        EXPECT_TRUE(std::equal(after.begin(), after.end(), before.begin() + static_cast<std::ptrdiff_t>(first)));
        // The trimmed prompt's own first active sample comes after the lead-in.
        EXPECT_EQ(ActiveSpanOf(after).first, leadIn);
    }
}

TEST(PromptTrim, SilenceAndTooShortSilenceAreKept) {
    ScratchFolder folder;
    const std::vector<std::pair<const char*, std::vector<std::int32_t>>> rows = {
        {"all silent", std::vector<std::int32_t>(3 * Rate, 0)},
        {"no samples", {}},
    };
    for (const auto& [name, samples] : rows) {
        const auto path = folder.path() / "take.wav";
        const auto wave = PcmWave(samples);
        WriteFile(path, wave);
        TrimPromptFile(path.string());
        EXPECT_EQ(ReadFile(path), wave) << name;
    }
    WriteFile(folder.path() / "text.wav", {'n', 'o', 't', ' ', 'a', ' ', 'w', 'a', 'v', 'e', ' ', 'f', 'i', 'l', 'e'});
    EXPECT_THROW(TrimPromptFile((folder.path() / "text.wav").string()), std::runtime_error);
}

}  // namespace
}  // namespace quorvel::test
