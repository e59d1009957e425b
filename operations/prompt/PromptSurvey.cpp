#include "operations/prompt/PromptSurvey.h"

#include "audio/formats/WaveIn.h"
#include "config/PromptFile.h"
#include "operations/levelling/SpeechLevel.h"
#include "operations/prompt/PromptWaveform.h"

#include <algorithm>
#include <cstdlib>
#include <exception>

namespace quorvel {

namespace {

// The bytes of one sample as the reader delivers it, on the 16-bit scale:
// 8-bit data is unsigned, wider data keeps its top 16 bits.
std::int16_t To16(const std::uint8_t* Sample, int Bytes) {
    if (Bytes == 1) return static_cast<std::int16_t>((Sample[0] - 128) * 256);
    return static_cast<std::int16_t>(Sample[Bytes - 2] | (Sample[Bytes - 1] << 8));
}

// Peak, speech level and waveform of interleaved samples fed block by block.
class TFigures {
public:
    TFigures(std::size_t Columns, std::int64_t Frames, int Rate, int Channels)
        : FChannels(std::max(1, Channels)),
          FWaveform(Columns, Frames, FChannels),
          // The meter's time constants stay right when every channel's samples are counted.
          FMeter(std::max(1, Rate * FChannels)) {}

    void Add(const std::int16_t* Samples, std::size_t Count) {
        for (std::size_t i = 0; i < Count; ++i) FPeak = std::max(FPeak, std::abs(static_cast<int>(Samples[i])));
        FWaveform.Add(Samples, Count, FSamples);
        FMeter.Add(Samples, Count);
        FSamples += static_cast<std::int64_t>(Count);
    }

    void Report(PromptSurvey& Survey, int Rate) {
        Survey.sampleRate = Rate;
        Survey.seconds = Rate > 0 ? static_cast<double>(FSamples / FChannels) / Rate : 0.0;
        Survey.peak = FPeak;
        Survey.speechLevelDbm0 = FMeter.ActiveLevelDbm0();
        Survey.waveform = FWaveform.Take();
    }

private:
    int FChannels;
    TWaveformColumns FWaveform;
    TSpeechLevelMeter FMeter;
    int FPeak = 0;
    std::int64_t FSamples = 0;
};

void MeasurePlayable(PromptReader& Prompt, PromptSurvey& Survey, std::size_t Columns) {
    const auto rate = static_cast<int>(Prompt.sampleRate());
    TFigures figures(Columns, static_cast<std::int64_t>(Prompt.sampleCount()), rate, 1);
    std::vector<std::int16_t> block(PromptBlockSamples);
    while (const std::size_t count = Prompt.read(block.data(), block.size())) figures.Add(block.data(), count);
    figures.Report(Survey, rate);
}

// Figures of a file the device does not play, as far as the WAV reader
// makes sense of it; it reads what the file holds, however much the header
// promised.
void MeasureOther(const std::string& Path, PromptSurvey& Survey, std::size_t Columns) {
    TWaveIn reader;
    reader.SetFileName(Path);
    try {
        if (!reader.IsValid() || reader.GetChannels() <= 0 || reader.GetBitsPerSample() <= 0) return;
        const int rate = reader.GetSampleRate();
        const int sampleBytes = std::max(1, reader.GetBitsPerSample() / 8);
        TFigures figures(Columns, reader.GetFrameCount(), rate, reader.GetChannels());
        std::vector<std::int16_t> samples;
        reader.Open();
        for (;;) {
            const std::uint8_t* buffer = nullptr;
            std::uint32_t bytes = 1 << 16;
            reader.Read(buffer, bytes);
            if (bytes == 0) break;
            samples.resize(bytes / static_cast<std::uint32_t>(sampleBytes));
            for (std::size_t i = 0; i < samples.size(); ++i)
                samples[i] = To16(buffer + i * static_cast<std::size_t>(sampleBytes), sampleBytes);
            figures.Add(samples.data(), samples.size());
        }
        reader.Close();
        figures.Report(Survey, rate);
    } catch (const std::exception&) {
        // The verdict stands; there are no figures to show.
    }
}

}  // namespace

PromptSurvey surveyPrompt(const std::string& folder, int promptIndex, std::size_t columns, FileSystem& files) {
    PromptSurvey survey;
    survey.promptIndex = promptIndex;
    survey.promptName = promptFileName(promptIndex).value_or("");
    if (survey.promptName.empty()) return survey;
    const std::string path = folder + survey.promptName;
    PromptReader prompt(files);
    const PromptVerdict verdict = prompt.open(path);
    switch (verdict.state) {
        case PromptState::Missing:
            return survey;
        case PromptState::Playable:
            try {
                MeasurePlayable(prompt, survey, columns);
                survey.state = PromptSurveyState::Ok;
                return survey;
            } catch (const std::exception&) {
                survey.seconds.reset();
                survey.sampleRate.reset();
                survey.peak.reset();
                survey.speechLevelDbm0.reset();
                survey.waveform.clear();
                survey.problem = "não pôde ser lido";
            }
            break;
        case PromptState::Unplayable:
            survey.problem = verdict.reason;
            if (files.status(path).regular) MeasureOther(path, survey, columns);
            break;
    }
    survey.state = PromptSurveyState::Unplayable;
    return survey;
}

}  // namespace quorvel
