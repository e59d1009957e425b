#include "operations/CardDiff.h"

#include "audio/formats/WaveIn.h"
#include "config/CardFolder.h"
#include "config/CardSequences.h"
#include "config/PromptFile.h"

namespace quorvel {

namespace {

std::optional<std::string> plainFileBytes(FileSystem& fileSystem, const std::string& path) {
    const FileStatus status = fileSystem.status(path);
    if (!status.exists || !status.regular) return std::nullopt;
    std::string bytes;
    if (fileSystem.readAll(path, bytes) != 0) return std::nullopt;
    return bytes;
}

std::string promptPath(int index) {
    return "prompts." + (index == VinhetaPromptIndex ? std::string("vinheta") : std::to_string(index));
}

}  // namespace

std::optional<double> waveSeconds(const std::string& path) {
    TWaveIn reader;
    reader.SetFileName(path);
    if (!reader.IsValid()) return std::nullopt;
    const int rate = reader.GetSampleRate();
    if (rate <= 0) return std::nullopt;
    const std::int64_t milliseconds = reader.GetFrameCount() * 1000 / rate;
    return static_cast<double>(milliseconds) / 1000.0;
}

std::vector<PromptChange> diffPrompts(const std::string& from, const std::string& to, FileSystem& fileSystem) {
    const std::string fromFolder = withSeparator(from);
    const std::string toFolder = withSeparator(to);
    std::vector<PromptChange> changes;
    for (int index = 0; index <= VinhetaPromptIndex; ++index) {
        const std::optional<std::string> name = promptFileName(index);
        if (!name) continue;
        const auto before = plainFileBytes(fileSystem, fromFolder + *name);
        const auto after = plainFileBytes(fileSystem, toFolder + *name);
        if (before == after) continue;
        PromptChange change{promptPath(index), *name, std::nullopt, std::nullopt};
        if (before) change.from = PromptAudio{waveSeconds(fromFolder + *name)};
        if (after) change.to = PromptAudio{waveSeconds(toFolder + *name)};
        changes.push_back(std::move(change));
    }
    return changes;
}

CardResult diffCardFolders(const std::string& from, const std::string& to, CardDifferences& differences,
                           FileSystem& fileSystem) {
    DeviceConfiguration before;
    DeviceConfiguration after;
    for (const auto& [folder, config] : {std::pair{&from, &before}, std::pair{&to, &after}}) {
        if (CardResult read = loadConfiguration(CardFolder(*folder, fileSystem), *config); !read.ok()) return read;
    }
    differences = {diffConfigurations(before, after), diffPrompts(from, to, fileSystem)};
    return {};
}

}  // namespace quorvel
