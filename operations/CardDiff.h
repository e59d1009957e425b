// What sets two card folders apart: configuration values and voice prompts.
// `ajustor-card diff` prints it; the window shows it before a restore.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "config/CardResult.h"
#include "config/ConfigurationDiff.h"
#include "config/FileSystem.h"

namespace quorvel {

struct PromptAudio {
    std::optional<double> seconds;  // nothing when the file is not a WAV the reader takes

    bool operator==(const PromptAudio&) const = default;
};

// One prompt file present on one side only, or with other bytes.
struct PromptChange {
    std::string path;                 // "prompts.5", "prompts.vinheta"
    std::string file;                 // "105.wav", "132.wav"
    std::optional<PromptAudio> from;  // nothing when absent
    std::optional<PromptAudio> to;

    bool operator==(const PromptChange&) const = default;
};

struct CardDifferences {
    std::vector<ValueChange> values;
    std::vector<PromptChange> prompts;

    bool empty() const { return values.empty() && prompts.empty(); }
};

// The prompts of the menus and the Vinheta that differ, menus first.
std::vector<PromptChange> diffPrompts(const std::string& from, const std::string& to,
                                      FileSystem& fileSystem = realFileSystem());

// Loads both folders and compares them into `differences`; fails when either
// cannot be read.
[[nodiscard]] CardResult diffCardFolders(const std::string& from, const std::string& to, CardDifferences& differences,
                                         FileSystem& fileSystem = realFileSystem());

// The length of a WAV file in seconds, to the millisecond; nothing when the
// WAV reader does not take it.
std::optional<double> waveSeconds(const std::string& path);

}  // namespace quorvel
