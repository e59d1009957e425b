#include "operations/prompt/TelephoneLine.h"

#include "audio/pipeline/FastResampler.h"
#include "config/CardError.h"
#include "config/PromptFile.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <stdexcept>
#include <vector>

namespace quorvel {

namespace {

// One second-order section (RBJ cookbook), direct form I.
class TBiquad {
public:
    static TBiquad HighPass(double Frequency, double Rate) { return Make(Frequency, Rate, true); }
    static TBiquad LowPass(double Frequency, double Rate) { return Make(Frequency, Rate, false); }

    double Run(double In) {
        const double out = FB0 * In + FB1 * FX1 + FB2 * FX2 - FA1 * FY1 - FA2 * FY2;
        FX2 = FX1;
        FX1 = In;
        FY2 = FY1;
        FY1 = out;
        return out;
    }

private:
    static TBiquad Make(double Frequency, double Rate, bool High) {
        const double w = 2 * std::numbers::pi * Frequency / Rate;
        const double alpha = std::sin(w) / std::numbers::sqrt2;  // Q = 1/sqrt(2): no peak at the edge
        const double cosine = std::cos(w);
        const double a0 = 1 + alpha;
        TBiquad section;
        const double edge = High ? (1 + cosine) / 2 : (1 - cosine) / 2;
        section.FB0 = edge / a0;
        section.FB1 = (High ? -2 * edge : 2 * edge) / a0;
        section.FB2 = edge / a0;
        section.FA1 = -2 * cosine / a0;
        section.FA2 = (1 - alpha) / a0;
        return section;
    }

    double FB0 = 1, FB1 = 0, FB2 = 0, FA1 = 0, FA2 = 0;
    double FX1 = 0, FX2 = 0, FY1 = 0, FY2 = 0;
};

// A prompt's samples as the resampler's source.
class TPromptInput final : public TAuInput {
public:
    explicit TPromptInput(PromptReader& Prompt) : FPrompt(Prompt), FBlock(8192) {}

    int GetBitsPerSample() override { return 16; }
    int GetChannels() override { return 1; }
    int GetSampleRate() override { return static_cast<int>(FPrompt.sampleRate()); }

protected:
    void DoOpen() override {
        FSize = static_cast<std::int64_t>(FPrompt.sampleCount() * 2);
        FFrameSize = 2;
        FNext = 0;
    }
    void DoClose() override {}
    void DoRead(const std::uint8_t*& Buffer, std::uint32_t& Bytes) override {
        const std::size_t count = FPrompt.readAt(FNext, FBlock.data(), std::min<std::size_t>(FBlock.size(), Bytes / 2));
        FNext += count;
        Buffer = reinterpret_cast<const std::uint8_t*>(FBlock.data());
        Bytes = static_cast<std::uint32_t>(count * 2);
    }

private:
    PromptReader& FPrompt;
    std::vector<std::int16_t> FBlock;
    std::uint64_t FNext = 0;
};

}  // namespace

std::uint8_t ALawEncode(std::int16_t Sample) {
    // 13-bit magnitude, segment by the position of its top bit.
    int magnitude = Sample >= 0 ? Sample : -(static_cast<int>(Sample) + 1);
    magnitude >>= 3;
    const std::uint8_t sign = Sample >= 0 ? 0x80 : 0x00;
    int segment = 0;
    while (segment < 7 && magnitude >= (32 << segment)) ++segment;
    const int mantissa = segment == 0 ? (magnitude >> 1) & 0x0F : (magnitude >> segment) & 0x0F;
    return static_cast<std::uint8_t>((sign | (segment << 4) | mantissa) ^ 0x55);
}

std::int16_t ALawDecode(std::uint8_t Code) {
    const int value = Code ^ 0x55;
    const int segment = (value >> 4) & 0x07;
    const int mantissa = value & 0x0F;
    int magnitude = segment == 0 ? (mantissa << 4) + 8 : ((mantissa << 4) + 0x108) << (segment - 1);
    return static_cast<std::int16_t>((value & 0x80) ? magnitude : -magnitude);
}

void MakeTelephoneCopy(const std::string& Source, const std::string& Destination, FileSystem& Files) {
    PromptReader prompt(Files);
    const PromptVerdict& verdict = prompt.open(Source);
    if (verdict.state != PromptState::Playable) throw std::runtime_error("Arquivo de áudio inválido ou não suportado.");
    TPromptInput input(prompt);
    TFastResampler resampler;
    resampler.SetInput(&input);
    resampler.SetOutSampleRate(TelephoneSampleRate);

    TBiquad filters[] = {
        TBiquad::HighPass(300, TelephoneSampleRate),
        TBiquad::HighPass(300, TelephoneSampleRate),
        TBiquad::LowPass(3400, TelephoneSampleRate),
        TBiquad::LowPass(3400, TelephoneSampleRate),
    };
    int handle = -1;
    if (const int error = Files.openUpdate(Destination, handle)) throw std::runtime_error(writeErrorMessage(error));
    try {
        if (const int error = Files.truncate(handle, 0)) throw std::runtime_error(writeErrorMessage(error));
        PromptWriter writer(Files, handle, Destination, TelephoneSampleRate);
        std::vector<std::int16_t> line;
        resampler.Open();
        for (;;) {
            const std::uint8_t* buffer = nullptr;
            std::uint32_t bytes = 1 << 16;
            resampler.Read(buffer, bytes);
            if (bytes == 0) break;
            line.resize(bytes / 2);
            std::memcpy(line.data(), buffer, line.size() * 2);
            for (std::int16_t& value : line) {
                double sample = value;
                for (TBiquad& filter : filters) sample = filter.Run(sample);
                const auto clipped = static_cast<std::int16_t>(std::clamp(std::lround(sample), -32768L, 32767L));
                value = ALawDecode(ALawEncode(clipped));
            }
            writer.append(line.data(), line.size());
        }
        resampler.Close();
        writer.finish();
    } catch (...) {
        Files.close(handle);
        throw;
    }
    if (const int error = Files.close(handle)) throw std::runtime_error(writeErrorMessage(error));
}

}  // namespace quorvel
