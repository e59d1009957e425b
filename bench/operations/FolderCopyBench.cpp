// A backup of a full card folder (113 card files and ten 5 MB prompts)
// against cp of the same files followed by one sync of the destination's
// file system. The backup syncs each copy before renaming it into place, so
// the gap is the price of never leaving a cut-short file in the backup.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "config/CardFiles.h"
#include "config/CardFolder.h"
#include "config/CardSequences.h"
#include "operations/FolderCopy.h"

namespace {

using namespace quorvel;

constexpr int kPromptCount = 10;
constexpr std::size_t kPromptSize = 5u << 20;

class CardWithPrompts {
public:
    CardWithPrompts() {
        const auto base = std::filesystem::temp_directory_path();
        card_ = base / "quorvel-bench-copy-card";
        backup_ = base / "quorvel-bench-copy-backup";
        for (const auto& folder : {card_, backup_}) {
            std::filesystem::remove_all(folder);
            std::filesystem::create_directories(folder);
        }
        if (!ensureCardFiles(CardFolder(card_.string())).ok()) std::abort();
        const std::string samples(kPromptSize, '\x55');
        for (int menu = 0; menu < kPromptCount; ++menu) {
            std::ofstream(card_ / ("10" + std::to_string(menu) + ".wav"), std::ios::binary) << samples;
        }
    }
    ~CardWithPrompts() {
        std::filesystem::remove_all(card_);
        std::filesystem::remove_all(backup_);
    }

    std::string card() const { return card_.string() + "/"; }
    std::string backup() const { return backup_.string() + "/"; }

private:
    std::filesystem::path card_;
    std::filesystem::path backup_;
};

void setBytes(benchmark::State& state) {
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kPromptCount * kPromptSize));
}

void BM_Backup(benchmark::State& state) {
    CardWithPrompts folders;
    for (auto _ : state) {
        FolderCopy copy(folders.card(), folders.backup(), ReadOnlyTarget::Replace);
        if (!copy.list().ok()) std::abort();
        for (std::size_t i = 0; i < copy.names().size(); ++i) copy.copy(i);
        copy.finish();
        if (!copy.failures().empty()) state.SkipWithError("a file was not copied");
    }
    setBytes(state);
}
BENCHMARK(BM_Backup)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CpThenSync(benchmark::State& state) {
    CardWithPrompts folders;
    const std::string command = "cp " + folders.card() + "* " + folders.backup() + " && sync -f " + folders.backup();
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) state.SkipWithError("cp failed");
    }
    setBytes(state);
}
BENCHMARK(BM_CpThenSync)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
