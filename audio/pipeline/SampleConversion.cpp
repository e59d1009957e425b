#include "audio/pipeline/SampleConversion.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

// Each loop is written so that the compiler can vectorise it with the plain
// IEEE operations of its scalar form; every result is exact or rounded once,
// so a vectorised loop gives the same bits.

namespace quorvel {

static_assert(std::endian::native == std::endian::little, "PCM data is little-endian");

namespace {

constexpr std::size_t BlockFrames = 16;
constexpr std::size_t BlockSamples = 256;

// 1.5 * 2^52: adding and removing it rounds a double below 2^51 to the
// nearest integer, halves to even, in the default rounding mode.
constexpr double RoundingShift = 6755399441055744.0;

inline float ClampUnit(float Value) { return Value >= 1.0f ? 1.0f : (Value > -1.0f ? Value : -1.0f); }

void ClampInPlace(float* Samples, std::size_t Count) {
    for (std::size_t i = 0; i < Count; ++i) Samples[i] = ClampUnit(Samples[i]);
}

template <typename T>
inline T LoadLe(const std::uint8_t* Bytes) {
    T value;
    std::memcpy(&value, Bytes, sizeof value);
    return value;
}

template <typename T>
inline void StoreLe(std::uint8_t* Bytes, T Value) {
    std::memcpy(Bytes, &Value, sizeof Value);
}

// v x 2147483647 = v x 2^31 - v. Both terms are exact doubles; TwoSum gives
// their sum as Sum + Error exactly, so rounding and floor can be decided on the
// exact product without wider arithmetic.
struct TExactProduct {
    double Sum;
    double Error;
};

inline TExactProduct TimesMaxS32(double Value) {
    const double high = Value * 2147483648.0;
    const double low = -Value;
    const double sum = high + low;
    const double lowPart = sum - high;
    const double highPart = sum - lowPart;
    return {sum, (high - highPart) + (low - lowPart)};
}

inline double RoundHalfEven(double Value) { return (Value + RoundingShift) - RoundingShift; }

inline double Floor(double Value) {
    const double whole = static_cast<double>(static_cast<std::int32_t>(Value));
    return whole > Value ? whole - 1.0 : whole;
}

// round(v x 2147483647), halves to even, for v in [-1, 1].
inline std::int32_t RoundedS32(double Value) {
    const TExactProduct product = TimesMaxS32(Value);
    const double rounded = RoundHalfEven(product.Sum);
    const double fraction = product.Sum - rounded;
    double result = rounded;
    result += (fraction == 0.5 && product.Error > 0.0) ? 1.0 : 0.0;
    result -= (fraction == -0.5 && product.Error < 0.0) ? 1.0 : 0.0;
    return static_cast<std::int32_t>(result);
}

// floor(v x 2147483647), with v >= 1 to the largest and v <= -1 or NaN to the
// smallest 32-bit value.
inline std::int32_t FlooredS32(double Value) {
    const bool high = Value >= 1.0;
    const bool low = !(Value > -1.0);
    const double inside = (high || low) ? 0.0 : Value;
    const TExactProduct product = TimesMaxS32(inside);
    const double floored = Floor(product.Sum);
    const double result = floored - ((floored == product.Sum && product.Error < 0.0) ? 1.0 : 0.0);
    const std::int32_t value = static_cast<std::int32_t>(result);
    return high ? INT32_MAX : (low ? INT32_MIN : value);
}

}  // namespace

void U8ToFloat(const void* Source, float* Destination, std::size_t Count) {
    const auto* src = static_cast<const std::uint8_t*>(Source);
    for (std::size_t i = 0; i < Count; ++i) Destination[i] = static_cast<float>(src[i]) * (1.0f / 128.0f) - 1.0f;
}

void S16ToFloat(const void* Source, float* Destination, std::size_t Count) {
    const auto* src = static_cast<const std::uint8_t*>(Source);
    for (std::size_t i = 0; i < Count; ++i)
        Destination[i] = static_cast<float>(LoadLe<std::int16_t>(src + 2 * i)) * (1.0f / 32768.0f);
}

void S24ToFloat(const void* Source, float* Destination, std::size_t Count) {
    const auto* src = static_cast<const std::uint8_t*>(Source);
    for (std::size_t i = 0; i < Count; ++i) {
        const std::uint8_t* p = src + 3 * i;
        const std::int32_t upper = LoadLe<std::int16_t>(p + 1);
        const std::int32_t value = upper * 256 + p[0];
        Destination[i] = static_cast<float>(value) * (1.0f / 8388608.0f);
    }
}

void S32ToFloat(const void* Source, float* Destination, std::size_t Count) {
    const auto* src = static_cast<const std::uint8_t*>(Source);
    for (std::size_t i = 0; i < Count; ++i)
        Destination[i] = static_cast<float>(LoadLe<std::int32_t>(src + 4 * i)) * (1.0f / 2147483648.0f);
}

void FloatToU8(const float* Source, void* Destination, std::size_t Count) {
    auto* dest = static_cast<std::uint8_t*>(Destination);
    for (std::size_t i = 0; i < Count; ++i) {
        // v x 128 is exact, so floor((v + 1) x 128) = floor(v x 128) + 128.
        const float scaled = ClampUnit(Source[i]) * 128.0f;
        std::int32_t whole = static_cast<std::int32_t>(scaled);
        whole -= static_cast<float>(whole) > scaled ? 1 : 0;
        const std::int32_t value = whole + 128;
        dest[i] = static_cast<std::uint8_t>(value > 255 ? 255 : value);
    }
}

void FloatToS16(float* Source, void* Destination, std::size_t Count) {
    ClampInPlace(Source, Count);
    auto* dest = static_cast<std::uint8_t*>(Destination);
    for (std::size_t i = 0; i < Count; ++i) {
        const double scaled = static_cast<double>(Source[i]) * 32767.0;  // exact
        StoreLe(dest + 2 * i, static_cast<std::int16_t>(RoundHalfEven(scaled)));
    }
}

void FloatToS24(float* Source, void* Destination, std::size_t Count) {
    ClampInPlace(Source, Count);
    auto* dest = static_cast<std::uint8_t*>(Destination);
    // Values in a vector pass, then the three-byte stores.
    for (std::size_t first = 0; first < Count; first += BlockSamples) {
        const std::size_t count = std::min(BlockSamples, Count - first);
        std::int32_t values[BlockSamples];
        for (std::size_t j = 0; j < count; ++j)
            values[j] = static_cast<std::int32_t>(Floor(static_cast<double>(Source[first + j]) * 8388607.0));
        std::uint8_t* p = dest + 3 * first;
        for (std::size_t j = 0; j < count; ++j) {
            p[3 * j] = static_cast<std::uint8_t>(values[j]);
            p[3 * j + 1] = static_cast<std::uint8_t>(values[j] >> 8);
            p[3 * j + 2] = static_cast<std::uint8_t>(values[j] >> 16);
        }
    }
}

void FloatToS32(float* Source, void* Destination, std::size_t Count) {
    ClampInPlace(Source, Count);
    auto* dest = static_cast<std::uint8_t*>(Destination);
    for (std::size_t i = 0; i < Count; ++i) StoreLe(dest + 4 * i, RoundedS32(static_cast<double>(Source[i])));
}

void SinglesToS32InPlace(void* Buffer, std::size_t ByteCount) {
    auto* bytes = static_cast<std::uint8_t*>(Buffer);
    for (std::size_t i = 0; i < ByteCount / 4; ++i)
        StoreLe(bytes + 4 * i, FlooredS32(static_cast<double>(LoadLe<float>(bytes + 4 * i))));
}

void DoublesToS32InPlace(void* Buffer, std::size_t ByteCount) {
    // Ascending order: result i is written at 4i, below the 8i it was read from.
    auto* bytes = static_cast<std::uint8_t*>(Buffer);
    for (std::size_t i = 0; i < ByteCount / 8; ++i) StoreLe(bytes + 4 * i, FlooredS32(LoadLe<double>(bytes + 8 * i)));
}

void ManyToMono(float* Buffer, std::size_t Frames, std::size_t Channels) {
    // Frame i is written at i, at or before where it was read from, so a
    // forward pass never overwrites what it still has to read.
    for (std::size_t frame = 0; frame < Frames; ++frame) {
        const float* samples = Buffer + frame * Channels;
        double sum = 0;
        for (std::size_t channel = 0; channel < Channels; ++channel) sum += samples[channel];
        Buffer[frame] = static_cast<float>(sum / static_cast<double>(Channels));
    }
}

void StereoToMono(float* Buffer, std::size_t Frames) {
    // (l + r) / 2 rounded once: the double sum and halving cannot round twice
    // into a different float. Blocks go through a local copy so that writing
    // frame i never races the reading of frames ahead.
    const auto mean = [](float Left, float Right) {
        return static_cast<float>((static_cast<double>(Left) + static_cast<double>(Right)) * 0.5);
    };
    std::size_t frame = 0;
    for (; frame + BlockFrames <= Frames; frame += BlockFrames) {
        float pairs[2 * BlockFrames];
        std::memcpy(pairs, Buffer + 2 * frame, sizeof pairs);
        for (std::size_t j = 0; j < BlockFrames; ++j) Buffer[frame + j] = mean(pairs[2 * j], pairs[2 * j + 1]);
    }
    for (; frame < Frames; ++frame) Buffer[frame] = mean(Buffer[2 * frame], Buffer[2 * frame + 1]);
}

void MonoToStereo(float* Buffer, std::size_t Frames) {
    // Descending, so that each frame is read before its slot is overwritten.
    std::size_t frame = Frames;
    for (; frame % BlockFrames != 0; --frame) {
        const float value = Buffer[frame - 1];
        Buffer[2 * frame - 1] = value;
        Buffer[2 * frame - 2] = value;
    }
    while (frame != 0) {
        frame -= BlockFrames;
        float mono[BlockFrames];
        std::memcpy(mono, Buffer + frame, sizeof mono);
        for (std::size_t j = 0; j < BlockFrames; ++j) {
            Buffer[2 * (frame + j)] = mono[j];
            Buffer[2 * (frame + j) + 1] = mono[j];
        }
    }
}

void DotAccumulate(const float* X, const float* C, float& Acc, std::size_t Count) {
    long double sum = Acc;
    for (std::size_t i = 0; i < Count; ++i) sum += static_cast<long double>(X[i]) * static_cast<long double>(C[i]);
    Acc = static_cast<float>(sum);
}

}  // namespace quorvel
