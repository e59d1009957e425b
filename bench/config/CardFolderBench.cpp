// Loading and saving a whole card folder against the floor of reading and
// writing the same 113 files with plain stdio. The save writes every file's
// temporary copy, syncs them, renames them into place and syncs the folder
// once, so the gap to the plain write is the price of never leaving a card
// file half-written.
#include <benchmark/benchmark.h>
#include <cstdlib>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "config/CardFiles.h"
#include "config/CardSequences.h"

namespace {

using namespace quorvel;

class CardFolderFixture {
public:
    CardFolderFixture() {
        path_ = std::filesystem::temp_directory_path() / "quorvel-bench-card";
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
        CardFolder card(folder());
        if (!ensureCardFiles(card).ok()) std::abort();
        for (int menu = 0; menu < kMenuCount; ++menu) {
            for (int option = 0; option < kOptionCount; ++option) config_.menus[menu][option] = {"1234", "M5", true};
        }
        for (auto& day : config_.timetable) day.slots.fill(TimeSlot{"08:30", 2});
        if (!saveConfiguration(card, config_).ok()) std::abort();
    }
    ~CardFolderFixture() { std::filesystem::remove_all(path_); }

    std::string folder() const { return path_.string() + "/"; }
    const DeviceConfiguration& config() const { return config_; }
    std::vector<std::string> paths() const {
        std::vector<std::string> all;
        for (int number : cardFileNumbers()) all.push_back(folder() + cardFileName(number));
        return all;
    }

private:
    std::filesystem::path path_;
    DeviceConfiguration config_;
};

void BM_LoadConfiguration(benchmark::State& state) {
    CardFolderFixture fixture;
    CardFolder card(fixture.folder());
    for (auto _ : state) {
        DeviceConfiguration config;
        if (!loadConfiguration(card, config).ok()) std::abort();
        benchmark::DoNotOptimize(config);
    }
}
BENCHMARK(BM_LoadConfiguration);

void BM_PlainStdioRead(benchmark::State& state) {
    CardFolderFixture fixture;
    auto paths = fixture.paths();
    char buffer[256];
    for (auto _ : state) {
        for (const std::string& path : paths) {
            std::FILE* file = std::fopen(path.c_str(), "rb");
            benchmark::DoNotOptimize(std::fread(buffer, 1, sizeof buffer, file));
            std::fclose(file);
        }
    }
}
BENCHMARK(BM_PlainStdioRead);

void BM_SaveConfiguration(benchmark::State& state) {
    CardFolderFixture fixture;
    CardFolder card(fixture.folder());
    for (auto _ : state) benchmark::DoNotOptimize(saveConfiguration(card, fixture.config()));
}
BENCHMARK(BM_SaveConfiguration)->Unit(benchmark::kMillisecond);

void BM_PlainStdioWrite(benchmark::State& state) {
    CardFolderFixture fixture;
    auto paths = fixture.paths();
    for (auto _ : state) {
        for (const std::string& path : paths) {
            std::FILE* file = std::fopen(path.c_str(), "wb");
            std::fputs("1234M5  1\r\n", file);
            std::fclose(file);
        }
    }
}
BENCHMARK(BM_PlainStdioWrite)->Unit(benchmark::kMillisecond);

}  // namespace
