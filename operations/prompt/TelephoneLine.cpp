#include "operations/prompt/TelephoneLine.h"

#include "audio/formats/WaveIn.h"
#include "audio/pipeline/FastResampler.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
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

void PutLe(std::uint8_t* At, std::uint32_t Value, int Bytes) {
    for (int i = 0; i < Bytes; ++i) At[i] = static_cast<std::uint8_t>(Value >> (8 * i));
}

struct TFileCloser {
    void operator()(std::FILE* File) const { std::fclose(File); }
};

void WriteMonoWave(const std::string& Path, const std::vector<std::int16_t>& Samples) {
    const auto dataBytes = static_cast<std::uint32_t>(Samples.size() * 2);
    std::uint8_t header[44] = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' '};
    PutLe(header + 4, 36 + dataBytes, 4);
    PutLe(header + 16, 16, 4);
    PutLe(header + 20, 1, 2);
    PutLe(header + 22, 1, 2);
    PutLe(header + 24, TelephoneSampleRate, 4);
    PutLe(header + 28, TelephoneSampleRate * 2, 4);
    PutLe(header + 32, 2, 2);
    PutLe(header + 34, 16, 2);
    std::memcpy(header + 36, "data", 4);
    PutLe(header + 40, dataBytes, 4);
    std::unique_ptr<std::FILE, TFileCloser> file(std::fopen(Path.c_str(), "wb"));
    if (!file || std::fwrite(header, 1, sizeof header, file.get()) != sizeof header ||
        std::fwrite(Samples.data(), 2, Samples.size(), file.get()) != Samples.size() || std::fflush(file.get()) != 0)
        throw std::runtime_error("Não foi possível gravar o arquivo de voz.");
}

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

void MakeTelephoneCopy(const std::string& Source, const std::string& Destination) {
    TWaveIn reader;
    reader.SetFileName(Source);
    if (!reader.IsValid() || (reader.WavType() != wtPCM && reader.WavType() != wtExtPCM) ||
        reader.GetBitsPerSample() != 16)
        throw std::runtime_error("Arquivo de áudio inválido ou não suportado.");
    const int channels = std::max(1, reader.GetChannels());
    TFastResampler resampler;
    resampler.SetInput(&reader);
    resampler.SetOutSampleRate(TelephoneSampleRate);

    TBiquad filters[] = {
        TBiquad::HighPass(300, TelephoneSampleRate),
        TBiquad::HighPass(300, TelephoneSampleRate),
        TBiquad::LowPass(3400, TelephoneSampleRate),
        TBiquad::LowPass(3400, TelephoneSampleRate),
    };
    std::vector<std::int16_t> line;
    std::vector<std::int16_t> frame(static_cast<std::size_t>(channels));
    resampler.Open();
    for (;;) {
        const std::uint8_t* buffer = nullptr;
        std::uint32_t bytes = 1 << 16;
        resampler.Read(buffer, bytes);
        if (bytes == 0) break;
        const std::size_t frames = bytes / (2 * static_cast<std::size_t>(channels));
        for (std::size_t i = 0; i < frames; ++i) {
            std::memcpy(frame.data(), buffer + i * 2 * static_cast<std::size_t>(channels), frame.size() * 2);
            double sample = 0;
            for (const std::int16_t value : frame) sample += value;
            sample /= channels;
            for (TBiquad& filter : filters) sample = filter.Run(sample);
            const auto clipped = static_cast<std::int16_t>(std::clamp(std::lround(sample), -32768L, 32767L));
            line.push_back(ALawDecode(ALawEncode(clipped)));
        }
    }
    resampler.Close();
    WriteMonoWave(Destination, line);
}

}  // namespace quorvel
