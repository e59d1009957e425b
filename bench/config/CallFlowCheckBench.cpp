// The call-flow check runs after every load and save, so it must not be
// felt: on a full card folder (113 card files, 11 prompts, every menu
// reachable) it is measured beside the load it follows.
#include <benchmark/benchmark.h>
#include <cstdlib>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "config/CallFlowCheck.h"
#include "config/CardSequences.h"

namespace {

using namespace quorvel;

std::string le16(unsigned value) { return {char(value & 0xFF), char(value >> 8 & 0xFF)}; }
std::string le32(std::uint32_t value) { return le16(value & 0xFFFF) + le16(value >> 16); }

// Three seconds of 8 kHz 16-bit mono PCM.
std::string promptBytes() {
    const std::uint32_t rate = 8000;
    const std::string samples(3 * rate * 2, '\0');
    const std::string format = le16(1) + le16(1) + le32(rate) + le32(rate * 2) + le16(2) + le16(16);
    const std::string chunks =
        "fmt " + le32(16) + format + "data" + le32(static_cast<std::uint32_t>(samples.size())) + samples;
    return "RIFF" + le32(static_cast<std::uint32_t>(4 + chunks.size())) + "WAVE" + chunks;
}

class FullCardFixture {
public:
    FullCardFixture() {
        path_ = std::filesystem::temp_directory_path() / "quorvel-bench-call-flow";
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
        CardFolder card(folder());
        if (!ensureCardFiles(card).ok()) std::abort();
        // Every option of menu m leads on to menu m + 1, so one slot reaches all ten.
        for (int menu = 0; menu < kMenuCount; ++menu) {
            for (int option = 0; option < kOptionCount; ++option) {
                config_.menus[menu][option] = {"1234", {'M', static_cast<char>('0' + (menu + 1) % kMenuCount)}, false};
            }
        }
        for (auto& day : config_.timetable) day.slots.fill(TimeSlot{"08:30", 0});
        if (!saveConfiguration(card, config_).ok()) std::abort();
        const std::string prompt = promptBytes();
        for (const char* name : {"100", "101", "102", "103", "104", "105", "106", "107", "108", "109", "132"}) {
            std::ofstream(path_ / (std::string(name) + ".wav"), std::ios::binary) << prompt;
        }
    }
    ~FullCardFixture() { std::filesystem::remove_all(path_); }

    std::string folder() const { return path_.string() + "/"; }
    const DeviceConfiguration& config() const { return config_; }

private:
    std::filesystem::path path_;
    DeviceConfiguration config_;
};

void BM_CallFlowCheck(benchmark::State& state) {
    FullCardFixture fixture;
    if (!checkCallFlow(fixture.config(), fixture.folder()).empty()) state.SkipWithError("the full card has findings");
    for (auto _ : state) benchmark::DoNotOptimize(checkCallFlow(fixture.config(), fixture.folder()));
}
BENCHMARK(BM_CallFlowCheck)->Unit(benchmark::kMicrosecond);

void BM_LoadConfiguration(benchmark::State& state) {
    FullCardFixture fixture;
    CardFolder card(fixture.folder());
    for (auto _ : state) {
        DeviceConfiguration config;
        if (!loadConfiguration(card, config).ok()) std::abort();
        benchmark::DoNotOptimize(config);
    }
}
BENCHMARK(BM_LoadConfiguration)->Unit(benchmark::kMicrosecond);

// What `ajustor-card check` does.
void BM_LoadAndCheck(benchmark::State& state) {
    FullCardFixture fixture;
    CardFolder card(fixture.folder());
    for (auto _ : state) {
        DeviceConfiguration config;
        if (!loadConfiguration(card, config).ok()) std::abort();
        benchmark::DoNotOptimize(checkCallFlow(config, fixture.folder()));
    }
}
BENCHMARK(BM_LoadAndCheck)->Unit(benchmark::kMicrosecond);

}  // namespace
