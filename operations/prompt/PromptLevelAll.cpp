#include "operations/prompt/PromptLevelAll.h"

#include "audio/formats/WaveIn.h"
#include "config/PromptFile.h"
#include "operations/levelling/Levelling.h"
#include "operations/prompt/PromptFiles.h"
#include "operations/prompt/PromptSurvey.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>

namespace quorvel {

namespace {

struct TFileCloser {
    void operator()(std::FILE* File) const { std::fclose(File); }
};

// The samples of a 16-bit mono prompt, read in one pass.
struct TPromptSamples {
    int SampleRate = 0;
    std::vector<std::int16_t> Samples;
};

std::optional<TPromptSamples> ReadPrompt(const std::string& Path) {
    TWaveIn reader;
    reader.SetFileName(Path);
    if (!reader.IsValid() || (reader.WavType() != wtPCM && reader.WavType() != wtExtPCM) ||
        reader.GetBitsPerSample() != 16 || reader.GetChannels() != 1)
        return std::nullopt;
    TPromptSamples prompt;
    prompt.SampleRate = reader.GetSampleRate();
    prompt.Samples.reserve(static_cast<std::size_t>(std::max<std::int64_t>(0, reader.GetFrameCount())));
    reader.Open();
    for (;;) {
        const std::uint8_t* buffer = nullptr;
        std::uint32_t bytes = 1 << 16;
        reader.Read(buffer, bytes);
        if (bytes == 0) break;
        const std::size_t first = prompt.Samples.size();
        prompt.Samples.resize(first + bytes / 2);
        std::memcpy(prompt.Samples.data() + first, buffer, bytes / 2 * 2);
    }
    reader.Close();
    return prompt;
}

void PutLe(std::uint8_t* At, std::uint32_t Value, int Bytes) {
    for (int i = 0; i < Bytes; ++i) At[i] = static_cast<std::uint8_t>(Value >> (8 * i));
}

// A 16-bit mono PCM WAV with the plain 44-byte header the converter writes.
void WritePrompt(const std::string& Path, const TPromptSamples& Prompt) {
    const auto dataBytes = static_cast<std::uint32_t>(Prompt.Samples.size() * 2);
    std::uint8_t header[44] = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' '};
    PutLe(header + 4, 36 + dataBytes, 4);
    PutLe(header + 16, 16, 4);
    PutLe(header + 20, 1, 2);
    PutLe(header + 22, 1, 2);
    PutLe(header + 24, static_cast<std::uint32_t>(Prompt.SampleRate), 4);
    PutLe(header + 28, static_cast<std::uint32_t>(Prompt.SampleRate) * 2, 4);
    PutLe(header + 32, 2, 2);
    PutLe(header + 34, 16, 2);
    std::memcpy(header + 36, "data", 4);
    PutLe(header + 40, dataBytes, 4);
    std::unique_ptr<std::FILE, TFileCloser> file(std::fopen(Path.c_str(), "wb"));
    if (!file || std::fwrite(header, 1, sizeof header, file.get()) != sizeof header ||
        std::fwrite(Prompt.Samples.data(), 2, Prompt.Samples.size(), file.get()) != Prompt.Samples.size() ||
        std::fflush(file.get()) != 0)
        throw std::runtime_error("Não foi possível gravar o arquivo convertido.");
}

// The gain for a prompt, or none when it is left as it is: silent, or
// already within the tolerance of the target.
std::optional<TLevelPlan> PlanFor(const TPromptSamples& Prompt) {
    TLevelMeasure measure(std::max(1, Prompt.SampleRate));
    measure.Add(Prompt.Samples.data(), Prompt.Samples.size());
    const std::optional<double> level = measure.Speech.ActiveLevelDbm0();
    if (!level || std::abs(*level - SpeechTargetDbm0) <= LevelAllToleranceDb) return std::nullopt;
    const TLevelPlan plan = PlanLevelling(TLevelMode::Speech, measure);
    if (plan.Gain() == 1.0) return std::nullopt;
    return plan;
}

bool IsPlainFile(const std::string& Path) {
    std::error_code error;
    return std::filesystem::is_regular_file(Path, error);
}

}  // namespace

std::vector<std::string> PromptsToLevel(const std::string& Folder) {
    std::vector<std::string> names;
    for (int index = 0; index < PromptCount; ++index) {
        const std::string name = *promptFileName(index);
        if (!IsPlainFile(Folder + name)) continue;
        try {
            const std::optional<TPromptSamples> prompt = ReadPrompt(Folder + name);
            if (prompt && PlanFor(*prompt)) names.push_back(name);
        } catch (const std::exception&) {
            // Named as failed when levelling is run.
        }
    }
    return names;
}

TLevelAllOutcome LevelAllPrompts(const std::string& Folder, const TPromptInstaller& Install) {
    TLevelAllOutcome outcome;
    for (int index = 0; index < PromptCount; ++index) {
        const std::string name = *promptFileName(index);
        const std::string path = Folder + name;
        if (!IsPlainFile(path)) continue;
        std::string temporary;
        try {
            std::optional<TPromptSamples> prompt = ReadPrompt(path);
            if (!prompt) {
                // The survey says what makes it unplayable.
                outcome.Failed.emplace_back(name, surveyPrompt(Folder, index, 0).problem);
                continue;
            }
            const std::optional<TLevelPlan> plan = PlanFor(*prompt);
            if (!plan) {
                outcome.Untouched.push_back(name);
                continue;
            }
            plan->Apply(prompt->Samples.data(), prompt->Samples.size());
            temporary = ReserveTemporaryPrompt(Folder);
            WritePrompt(temporary, *prompt);
            Install(temporary, path);
            temporary.clear();
            outcome.Changed.push_back(name);
            if (!plan->TargetReached) outcome.Limited.push_back(name);
        } catch (const std::exception& error) {
            if (!temporary.empty()) std::remove(temporary.c_str());
            outcome.Failed.emplace_back(name, error.what());
        }
    }
    return outcome;
}

void InstallOnCard(const std::string& Finished, const std::string& Target) {
    InstallPrompt(Finished, Target, realFileSystem(), "Igualar volume de todos");
}

}  // namespace quorvel
