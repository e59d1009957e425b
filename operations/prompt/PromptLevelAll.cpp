#include "operations/prompt/PromptLevelAll.h"

#include "config/CardError.h"
#include "config/FileReplace.h"
#include "config/PromptFile.h"
#include "operations/levelling/Levelling.h"
#include "operations/prompt/PromptFiles.h"

#include <cmath>
#include <exception>
#include <optional>
#include <stdexcept>
#include <vector>

namespace quorvel {

namespace {

// The gain for a prompt, or none when it is left as it is: silent, or
// already within the tolerance of the target. One pass over the samples.
std::optional<TLevelPlan> PlanFor(PromptReader& Prompt) {
    TLevelMeasure measure(static_cast<int>(Prompt.sampleRate()));
    std::vector<std::int16_t> block(PromptBlockSamples);
    for (std::uint64_t at = 0;;) {
        const std::size_t count = Prompt.readAt(at, block.data(), block.size());
        if (count == 0) break;
        measure.Add(block.data(), count);
        at += count;
    }
    const std::optional<double> level = measure.Speech.ActiveLevelDbm0();
    if (!level || std::abs(*level - SpeechTargetDbm0) <= LevelAllToleranceDb) return std::nullopt;
    const TLevelPlan plan = PlanLevelling(TLevelMode::Speech, measure);
    if (plan.Gain() == 1.0) return std::nullopt;
    return plan;
}

// The levelled samples of Prompt in a new temporary file of Folder; returns its path.
std::string WriteLevelled(PromptReader& Prompt, const TLevelPlan& Plan, const std::string& Folder, FileSystem& Files) {
    std::string path;
    int handle = -1;
    if (const int error = Files.createTemporary(Folder, std::string(kPromptTemporary.prefix),
                                                std::string(kPromptTemporary.suffix), path, handle))
        throw std::runtime_error(writeErrorMessage(error));
    try {
        PromptWriter writer(Files, handle, path, Prompt.sampleRate());
        const TLevelTable table(Plan);
        std::vector<std::int16_t> block(PromptBlockSamples);
        for (std::uint64_t at = 0;;) {
            const std::size_t count = Prompt.readAt(at, block.data(), block.size());
            if (count == 0) break;
            table.Apply(block.data(), count);
            writer.append(block.data(), count);
            at += count;
        }
        writer.finish();
    } catch (...) {
        Files.close(handle);
        Files.remove(path);
        throw;
    }
    if (const int error = Files.close(handle)) {
        Files.remove(path);
        throw std::runtime_error(writeErrorMessage(error));
    }
    return path;
}

}  // namespace

std::vector<std::string> PromptsToLevel(const std::string& Folder, FileSystem& Files) {
    std::vector<std::string> names;
    for (int index = 0; index < PromptCount; ++index) {
        const std::string name = *promptFileName(index);
        PromptReader prompt(Files);
        if (prompt.open(Folder + name).state != PromptState::Playable) continue;
        try {
            if (PlanFor(prompt)) names.push_back(name);
        } catch (const std::exception&) {
            // Named as failed when levelling is run.
        }
    }
    return names;
}

TLevelAllOutcome LevelAllPrompts(const std::string& Folder, const TPromptInstaller& Install, FileSystem& Files) {
    TLevelAllOutcome outcome;
    for (int index = 0; index < PromptCount; ++index) {
        const std::string name = *promptFileName(index);
        const std::string path = Folder + name;
        PromptReader prompt(Files);
        const PromptVerdict& verdict = prompt.open(path);
        if (verdict.state == PromptState::Missing) continue;
        if (verdict.state == PromptState::Unplayable) {
            outcome.Failed.emplace_back(name, verdict.reason);
            continue;
        }
        std::string temporary;
        try {
            const std::optional<TLevelPlan> plan = PlanFor(prompt);
            if (!plan) {
                outcome.Untouched.push_back(name);
                continue;
            }
            temporary = WriteLevelled(prompt, *plan, Folder, Files);
            prompt.close();
            if (const CardResult installed = Install(temporary, path); !installed.ok()) {
                Files.remove(temporary);
                outcome.Failed.emplace_back(name, installed.message);
                continue;
            }
            temporary.clear();
            outcome.Changed.push_back(name);
            if (!plan->TargetReached) outcome.Limited.push_back(name);
        } catch (const std::exception& error) {
            if (!temporary.empty()) Files.remove(temporary);
            outcome.Failed.emplace_back(name, error.what());
        }
    }
    return outcome;
}

CardResult InstallOnCard(const std::string& Finished, const std::string& Target) {
    return InstallPrompt(Finished, Target, realFileSystem(), "Igualar volume de todos");
}

}  // namespace quorvel
