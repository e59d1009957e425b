// What recording a card's history adds to a save: the 113 card files saved
// with one value changed, alone and followed by the record of the card's
// files (eleven 30-second prompts among them) as a new version. Counters:
// `recordMs` the record alone, `recordCpuMs` the processor time it took
// (the figure to read on a busy machine).
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "config/CardFiles.h"
#include "config/CardSequences.h"
#include "config/PromptFile.h"
#include "operations/history/CardHistory.h"

namespace {

using namespace quorvel;
namespace fs = std::filesystem;

double processorMs() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& time) {
        return static_cast<double>(time.tv_sec) * 1e3 + static_cast<double>(time.tv_usec) / 1e3;
    };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

class HistoryFixture {
public:
    HistoryFixture() {
        path_ = fs::temp_directory_path() / "quorvel-bench-history";
        fs::remove_all(path_);
        fs::create_directories(path_ / "card");
        ::setenv("XDG_DATA_HOME", (path_ / "data").c_str(), 1);
        CardFolder card(folder());
        if (!ensureCardFiles(card).ok()) std::abort();
        for (int menu = 0; menu < kMenuCount; ++menu) {
            for (int option = 0; option < kOptionCount; ++option) config_.menus[menu][option] = {"1234", "M5", true};
        }
        if (!saveConfiguration(card, config_).ok()) std::abort();
        // 30 s of 8 kHz 16-bit samples each, all different.
        for (int prompt = 0; prompt < PromptCount; ++prompt) {
            std::string samples(480000, '\0');
            for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<char>((i * (prompt + 3)) >> 3);
            const std::string path = folder() + *promptFileName(prompt);
            std::ofstream(path, std::ios::binary) << samples;
            // Installed long before, as a card's prompts mostly are.
            fs::last_write_time(path, fs::last_write_time(path) - std::chrono::hours(24));
        }
    }
    ~HistoryFixture() { fs::remove_all(path_); }

    std::string folder() const { return (path_ / "card").string() + "/"; }
    // Saves the card with its first option's target changed.
    void saveChanged(CardFolder& card) {
        config_.menus[0][0].target1 = config_.menus[0][0].target1 == "1234" ? "4321" : "1234";
        if (!saveConfiguration(card, config_).ok()) std::abort();
    }

private:
    fs::path path_;
    DeviceConfiguration config_;
};

void BM_SaveChanged(benchmark::State& state) {
    HistoryFixture fixture;
    CardFolder card(fixture.folder());
    for (auto _ : state) fixture.saveChanged(card);
}
BENCHMARK(BM_SaveChanged)->Unit(benchmark::kMillisecond);

void BM_SaveChangedAndRecord(benchmark::State& state) {
    HistoryFixture fixture;
    CardFolder card(fixture.folder());
    CardHistory(fixture.folder()).record("Estado inicial");
    double recording = 0;
    double processor = 0;
    for (auto _ : state) {
        fixture.saveChanged(card);
        const double processorStart = processorMs();
        const auto start = std::chrono::steady_clock::now();
        CardHistory history(fixture.folder());
        if (!history.record("Gravar").empty()) state.SkipWithError("the history could not be written");
        recording += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        processor += processorMs() - processorStart;
    }
    state.counters["recordMs"] = benchmark::Counter(recording / static_cast<double>(state.iterations()));
    state.counters["recordCpuMs"] = benchmark::Counter(processor / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_SaveChangedAndRecord)->Unit(benchmark::kMillisecond);

}  // namespace
