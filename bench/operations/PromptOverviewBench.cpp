// A card of 11 three-minute prompts (8 kHz, 16-bit mono speech-like tone
// bursts made by sox): measuring every prompt for the overview against
// `sox f.wav -n stats` on each in the same run, and levelling them all
// against sox normalising each into a new file.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "config/PromptFile.h"
#include "operations/prompt/PromptFiles.h"
#include "operations/prompt/PromptLevelAll.h"
#include "operations/prompt/PromptSurvey.h"

namespace {

using namespace quorvel;

class CardOfLongPrompts {
public:
    CardOfLongPrompts() {
        card_ = std::filesystem::temp_directory_path() / "quorvel-bench-prompts";
        std::filesystem::remove_all(card_);
        std::filesystem::create_directories(card_);
        for (int index = 0; index < PromptCount; ++index) make(index);
    }
    ~CardOfLongPrompts() { std::filesystem::remove_all(card_); }

    // Each prompt gets its own level, so that levelling changes all of them.
    void make(int index) const {
        const std::string volume = std::to_string(0.02 + 0.05 * index);
        const std::string command = "sox -n -r 8000 -c 1 -b 16 '" + path(index) +
                                    "' synth 180 sine 300 tremolo 3 90 vol " + volume + " 2>/dev/null";
        if (std::system(command.c_str()) != 0) std::abort();
    }
    std::string folder() const { return card_.string() + "/"; }
    std::string path(int index) const { return folder() + *promptFileName(index); }

private:
    std::filesystem::path card_;
};

double SecondsOf(const std::function<void()>& Run) {
    const auto start = std::chrono::steady_clock::now();
    Run();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The overview's measuring and `sox stats` on the same files back to back in
// each iteration; the counter "ratio" is the overview's time over sox's
// (goal: at most 1).
void BM_OverviewSurvey(benchmark::State& state) {
    CardOfLongPrompts card;
    double ours = 0;
    double sox = 0;
    for (auto _ : state) {
        const double seconds = SecondsOf([&] {
            for (int index = 0; index < PromptCount; ++index)
                benchmark::DoNotOptimize(surveyPrompt(card.folder(), index, 160));
        });
        const double soxSeconds = SecondsOf([&] {
            for (int index = 0; index < PromptCount; ++index) {
                const std::string command = "sox '" + card.path(index) + "' -n stats 2>/dev/null";
                if (std::system(command.c_str()) != 0) state.SkipWithError("sox failed");
            }
        });
        state.SetIterationTime(seconds);
        ours += seconds;
        sox += soxSeconds;
    }
    state.counters["sox_stats_ms"] = 1000 * sox / static_cast<double>(state.iterations());
    state.counters["ratio"] = ours / sox;
}
BENCHMARK(BM_OverviewSurvey)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

void BM_LevelAll(benchmark::State& state) {
    CardOfLongPrompts card;
    for (auto _ : state) {
        state.PauseTiming();
        for (int index = 0; index < PromptCount; ++index) card.make(index);
        state.ResumeTiming();
        const TLevelAllOutcome outcome = LevelAllPrompts(card.folder(), InstallOnCard);
        if (!outcome.Failed.empty()) state.SkipWithError("a prompt was not levelled");
    }
}
BENCHMARK(BM_LevelAll)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SoxNormalise(benchmark::State& state) {
    CardOfLongPrompts card;
    for (auto _ : state) {
        for (int index = 0; index < PromptCount; ++index) {
            const std::string command = "sox --norm=-1 '" + card.path(index) + "' '" + card.folder() +
                                        "normalised.wav' && sync -f '" + card.folder() + "'";
            if (std::system(command.c_str()) != 0) state.SkipWithError("sox failed");
        }
    }
}
BENCHMARK(BM_SoxNormalise)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
