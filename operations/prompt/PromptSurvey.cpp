#include "operations/prompt/PromptSurvey.h"

#include "audio/formats/WaveIn.h"
#include "config/PromptFile.h"
#include "operations/levelling/SpeechLevel.h"

#include <sys/stat.h>

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

// Smallest and largest sample of each of a fixed number of equal stretches.
class TWaveformColumns {
public:
    TWaveformColumns(std::size_t Columns, std::int64_t Frames)
        : FFrames(Frames), FColumns(Frames > 0 ? Columns : 0), FTouched(FColumns, false) {
        FWaveform.assign(FColumns, {0, 0});
    }

    void Add(std::int64_t Frame, std::int16_t Sample) {
        if (Frame >= FFrames || FColumns == 0) return;
        const auto column = static_cast<std::size_t>(Frame * static_cast<std::int64_t>(FColumns) / FFrames);
        auto& [low, high] = FWaveform[column];
        if (!FTouched[column]) {
            low = high = Sample;
            FTouched[column] = true;
            return;
        }
        low = std::min(low, Sample);
        high = std::max(high, Sample);
    }

    std::vector<std::pair<std::int16_t, std::int16_t>> Take() { return std::move(FWaveform); }

private:
    std::int64_t FFrames;
    std::size_t FColumns;
    std::vector<bool> FTouched;
    std::vector<std::pair<std::int16_t, std::int16_t>> FWaveform;
};

bool IsPlainFile(const std::string& Path) {
    struct stat status {};
    return ::stat(Path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

std::string ProblemOf(TWavType Kind, int Bits, int Channels) {
    if (Kind != wtPCM && Kind != wtExtPCM) return "não é PCM";
    if (Bits != 16) return "não é 16 bits";
    if (Channels != 1) return "não é mono";
    return {};
}

// Reads every sample once: peak, speech level and waveform together.
void Measure(TWaveIn& Reader, PromptSurvey& Survey, std::size_t Columns) {
    const int bits = Reader.GetBitsPerSample();
    const int channels = Reader.GetChannels();
    const int rate = Reader.GetSampleRate();
    const std::int64_t frames = Reader.GetFrameCount();
    const int sampleBytes = std::max(1, bits / 8);

    // The meter runs on interleaved samples, so its time constants are kept
    // right by counting every channel's samples.
    TSpeechLevelMeter meter(std::max(1, rate * channels));
    TWaveformColumns waveform(Columns, frames);
    std::vector<std::int16_t> samples;
    int peak = 0;
    std::int64_t sampleIndex = 0;

    Reader.Open();
    for (;;) {
        const std::uint8_t* buffer = nullptr;
        std::uint32_t bytes = 1 << 16;
        Reader.Read(buffer, bytes);
        if (bytes == 0) break;
        const std::size_t count = bytes / static_cast<std::uint32_t>(sampleBytes);
        samples.resize(count);
        for (std::size_t i = 0; i < count; ++i) {
            const std::int16_t sample = To16(buffer + i * static_cast<std::size_t>(sampleBytes), sampleBytes);
            samples[i] = sample;
            peak = std::max(peak, std::abs(static_cast<int>(sample)));
            waveform.Add(sampleIndex++ / channels, sample);
        }
        meter.Add(samples.data(), count);
    }
    Reader.Close();

    const std::int64_t framesRead = sampleIndex / std::max(1, channels);
    Survey.sampleRate = rate;
    Survey.seconds = rate > 0 ? static_cast<double>(framesRead) / rate : 0.0;
    Survey.peak = peak;
    Survey.speechLevelDbm0 = meter.ActiveLevelDbm0();
    Survey.waveform = waveform.Take();
}

}  // namespace

PromptSurvey surveyPrompt(const std::string& folder, int promptIndex, std::size_t columns) {
    PromptSurvey survey;
    survey.promptIndex = promptIndex;
    survey.promptName = promptFileName(promptIndex).value_or("");
    const std::string path = folder + survey.promptName;
    if (survey.promptName.empty() || !IsPlainFile(path)) return survey;

    TWaveIn reader;
    reader.SetFileName(path);
    try {
        if (!reader.IsValid() || reader.GetChannels() <= 0 || reader.GetBitsPerSample() <= 0) {
            survey.state = PromptSurveyState::Unplayable;
            survey.problem = "não é WAV";
            return survey;
        }
        survey.problem = ProblemOf(reader.WavType(), reader.GetBitsPerSample(), reader.GetChannels());
        survey.state = survey.problem.empty() ? PromptSurveyState::Ok : PromptSurveyState::Unplayable;
        Measure(reader, survey, columns);
    } catch (const std::exception&) {
        // A file the reader gives up on midway is no prompt the device plays.
        survey.state = PromptSurveyState::Unplayable;
        if (survey.problem.empty()) survey.problem = "não é WAV";
    }
    return survey;
}

}  // namespace quorvel
