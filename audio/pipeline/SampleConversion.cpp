#include "audio/pipeline/SampleConversion.h"

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

// 1.5 * 2^52: adding and removing it rounds a double below 2^51 to the
// nearest integer, halves to even, in the default rounding mode.
constexpr double RoundingShift = 6755399441055744.0;

inline float ClampUnit(float Value)
{
    return Value >= 1.0f ? 1.0f : (Value > -1.0f ? Value : -1.0f);
}

void ClampInPlace(float* Samples, std::size_t Count)
{
    for (std::size_t i = 0; i < Count; ++i)
        Samples[i] = ClampUnit(Samples[i]);
}

template <typename T>
inline T LoadLe(const std::uint8_t* Bytes)
{
    T value;
    std::memcpy(&value, Bytes, sizeof value);
    return value;
}

template <typename T>
inline void StoreLe(std::uint8_t* Bytes, T Value)
{
    std::memcpy(Bytes, &Value, sizeof Value);
}

// floor((v) x 2147483647) and its rounded form need 55 significant bits:
// extended precision holds the product exactly.
inline std::int32_t FloorS32(long double Value)
{
    if (!(Value > -1.0L))
        return INT32_MIN;
    if (Value >= 1.0L)
        return INT32_MAX;
    return static_cast<std::int32_t>(std::floor(Value * 2147483647.0L));
}

} // namespace

void U8ToFloat(const void* Source, float* Destination, std::size_t Count)
{
    const auto* src = static_cast<const std::uint8_t*>(Source);
    for (std::size_t i = 0; i < Count; ++i)
        Destination[i] = static_cast<float>(src[i]) * (1.0f / 128.0f) - 1.0f;
}

void S16ToFloat(const void* Source, float* Destination, std::size_t Count)
{
    const auto* src = static_cast<const std::uint8_t*>(Source);
    for (std::size_t i = 0; i < Count; ++i)
        Destination[i] = static_cast<float>(LoadLe<std::int16_t>(src + 2 * i)) * (1.0f / 32768.0f);
}

void S24ToFloat(const void* Source, float* Destination, std::size_t Count)
{
    const auto* src = static_cast<const std::uint8_t*>(Source);
    for (std::size_t i = 0; i < Count; ++i) {
        const std::uint8_t* p = src + 3 * i;
        const std::int32_t upper = LoadLe<std::int16_t>(p + 1);
        const std::int32_t value = upper * 256 + p[0];
        Destination[i] = static_cast<float>(value) * (1.0f / 8388608.0f);
    }
}

void S32ToFloat(const void* Source, float* Destination, std::size_t Count)
{
    const auto* src = static_cast<const std::uint8_t*>(Source);
    for (std::size_t i = 0; i < Count; ++i)
        Destination[i] = static_cast<float>(LoadLe<std::int32_t>(src + 4 * i)) * (1.0f / 2147483648.0f);
}

void FloatToU8(const float* Source, void* Destination, std::size_t Count)
{
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

void FloatToS16(float* Source, void* Destination, std::size_t Count)
{
    ClampInPlace(Source, Count);
    auto* dest = static_cast<std::uint8_t*>(Destination);
    for (std::size_t i = 0; i < Count; ++i) {
        const double scaled = static_cast<double>(Source[i]) * 32767.0; // exact
        const double rounded = (scaled + RoundingShift) - RoundingShift;
        StoreLe(dest + 2 * i, static_cast<std::int16_t>(rounded));
    }
}

void FloatToS24(float* Source, void* Destination, std::size_t Count)
{
    ClampInPlace(Source, Count);
    auto* dest = static_cast<std::uint8_t*>(Destination);
    for (std::size_t i = 0; i < Count; ++i) {
        const double scaled = static_cast<double>(Source[i]) * 8388607.0; // exact
        std::int32_t value = static_cast<std::int32_t>(scaled);
        value -= static_cast<double>(value) > scaled ? 1 : 0;
        std::uint8_t* p = dest + 3 * i;
        p[0] = static_cast<std::uint8_t>(value);
        p[1] = static_cast<std::uint8_t>(value >> 8);
        p[2] = static_cast<std::uint8_t>(value >> 16);
    }
}

void FloatToS32(float* Source, void* Destination, std::size_t Count)
{
    ClampInPlace(Source, Count);
    auto* dest = static_cast<std::uint8_t*>(Destination);
    for (std::size_t i = 0; i < Count; ++i) {
        const long double scaled = static_cast<long double>(Source[i]) * 2147483647.0L;
        StoreLe(dest + 4 * i, static_cast<std::int32_t>(std::nearbyint(scaled)));
    }
}

void SinglesToS32InPlace(void* Buffer, std::size_t ByteCount)
{
    auto* bytes = static_cast<std::uint8_t*>(Buffer);
    for (std::size_t i = 0; i < ByteCount / 4; ++i)
        StoreLe(bytes + 4 * i, FloorS32(LoadLe<float>(bytes + 4 * i)));
}

void DoublesToS32InPlace(void* Buffer, std::size_t ByteCount)
{
    // Ascending order: result i is written at 4i, below the 8i it was read from.
    auto* bytes = static_cast<std::uint8_t*>(Buffer);
    for (std::size_t i = 0; i < ByteCount / 8; ++i)
        StoreLe(bytes + 4 * i, FloorS32(LoadLe<double>(bytes + 8 * i)));
}

void StereoToMono(float* Buffer, std::size_t Frames)
{
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
        for (std::size_t j = 0; j < BlockFrames; ++j)
            Buffer[frame + j] = mean(pairs[2 * j], pairs[2 * j + 1]);
    }
    for (; frame < Frames; ++frame)
        Buffer[frame] = mean(Buffer[2 * frame], Buffer[2 * frame + 1]);
}

void MonoToStereo(float* Buffer, std::size_t Frames)
{
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

void DotAccumulate(const float* X, const float* C, float& Acc, std::size_t Count)
{
    long double sum = Acc;
    for (std::size_t i = 0; i < Count; ++i)
        sum += static_cast<long double>(X[i]) * static_cast<long double>(C[i]);
    Acc = static_cast<float>(sum);
}

} // namespace quorvel
