// Throughput of each sample procedure in samples per second, beside memcpy of
// the same bytes (the memory-bandwidth limit) measured in the same run.
#include "audio/pipeline/FastCopy.h"
#include "audio/pipeline/SampleConversion.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace quorvel {
namespace {

constexpr std::size_t Samples = 1 << 16;  // a block that stays in cache like a real chain's

std::vector<float> TestFloats() {
    std::vector<float> values(2 * Samples);
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = static_cast<float>((static_cast<int>(i * 2654435761U % 20001) - 10000)) / 9000.0f;
    return values;
}

std::vector<std::uint8_t> TestBytes(std::size_t Count) {
    std::vector<std::uint8_t> bytes(Count);
    for (std::size_t i = 0; i < Count; ++i) bytes[i] = static_cast<std::uint8_t>(i * 131 + (i >> 9));
    return bytes;
}

void Report(benchmark::State& State, std::size_t BytesPerSample) {
    State.SetItemsProcessed(static_cast<std::int64_t>(State.iterations() * Samples));
    State.SetBytesProcessed(static_cast<std::int64_t>(State.iterations() * Samples * BytesPerSample));
}

// memcpy of the bytes a procedure reads, the yardstick for the others.
void BM_Memcpy(benchmark::State& State) {
    const std::size_t bytes = static_cast<std::size_t>(State.range(0)) * Samples;
    const auto source = TestBytes(bytes);
    std::vector<std::uint8_t> dest(bytes);
    for (auto _ : State) {
        std::memcpy(dest.data(), source.data(), bytes);
        benchmark::ClobberMemory();
    }
    Report(State, static_cast<std::size_t>(State.range(0)));
}
BENCHMARK(BM_Memcpy)->Arg(1)->Arg(2)->Arg(3)->Arg(4)->Arg(8);

void BM_FastCopy(benchmark::State& State) {
    const std::size_t bytes = static_cast<std::size_t>(State.range(0)) * Samples;
    const auto source = TestBytes(bytes);
    std::vector<std::uint8_t> dest(bytes);
    for (auto _ : State) {
        FastCopy(dest.data(), source.data(), bytes);
        benchmark::ClobberMemory();
    }
    Report(State, static_cast<std::size_t>(State.range(0)));
}
BENCHMARK(BM_FastCopy)->Arg(4);

template <void (*Convert)(const void*, float*, std::size_t), std::size_t Width>
void BM_ToFloat(benchmark::State& State) {
    const auto source = TestBytes(Width * Samples);
    std::vector<float> dest(Samples);
    for (auto _ : State) {
        Convert(source.data(), dest.data(), Samples);
        benchmark::ClobberMemory();
    }
    Report(State, Width);
}
BENCHMARK(BM_ToFloat<U8ToFloat, 1>)->Name("BM_U8ToFloat");
BENCHMARK(BM_ToFloat<S16ToFloat, 2>)->Name("BM_S16ToFloat");
BENCHMARK(BM_ToFloat<S24ToFloat, 3>)->Name("BM_S24ToFloat");
BENCHMARK(BM_ToFloat<S32ToFloat, 4>)->Name("BM_S32ToFloat");

// The clamping procedures change their source, so each pass starts from a
// fresh copy; that copy is timed too, as in a real chain it is the float stage.
template <void (*Convert)(float*, void*, std::size_t), std::size_t Width>
void BM_FromFloat(benchmark::State& State) {
    const auto pristine = TestFloats();
    std::vector<float> source(Samples);
    std::vector<std::uint8_t> dest(Width * Samples);
    for (auto _ : State) {
        std::memcpy(source.data(), pristine.data(), Samples * sizeof(float));
        Convert(source.data(), dest.data(), Samples);
        benchmark::ClobberMemory();
    }
    Report(State, 4);
}
BENCHMARK(BM_FromFloat<FloatToS16, 2>)->Name("BM_FloatToS16");
BENCHMARK(BM_FromFloat<FloatToS24, 3>)->Name("BM_FloatToS24");
BENCHMARK(BM_FromFloat<FloatToS32, 4>)->Name("BM_FloatToS32");

void BM_FloatToU8(benchmark::State& State) {
    const auto source = TestFloats();
    std::vector<std::uint8_t> dest(Samples);
    for (auto _ : State) {
        FloatToU8(source.data(), dest.data(), Samples);
        benchmark::ClobberMemory();
    }
    Report(State, 4);
}
BENCHMARK(BM_FloatToU8);

template <void (*Convert)(void*, std::size_t), std::size_t Width>
void BM_FileFloats(benchmark::State& State) {
    std::vector<std::uint8_t> pristine(Width * Samples);
    const auto floats = TestFloats();
    for (std::size_t i = 0; i < Samples; ++i) {
        if constexpr (Width == 4) {
            std::memcpy(pristine.data() + 4 * i, &floats[i], 4);
        } else {
            const double value = floats[i];
            std::memcpy(pristine.data() + 8 * i, &value, 8);
        }
    }
    std::vector<std::uint8_t> buffer(pristine.size());
    for (auto _ : State) {
        std::memcpy(buffer.data(), pristine.data(), buffer.size());
        Convert(buffer.data(), buffer.size());
        benchmark::ClobberMemory();
    }
    Report(State, Width);
}
BENCHMARK(BM_FileFloats<SinglesToS32InPlace, 4>)->Name("BM_SinglesToS32InPlace");
BENCHMARK(BM_FileFloats<DoublesToS32InPlace, 8>)->Name("BM_DoublesToS32InPlace");

void BM_StereoToMono(benchmark::State& State) {
    const auto pristine = TestFloats();
    std::vector<float> buffer(2 * Samples);
    for (auto _ : State) {
        std::memcpy(buffer.data(), pristine.data(), buffer.size() * sizeof(float));
        StereoToMono(buffer.data(), Samples);
        benchmark::ClobberMemory();
    }
    Report(State, 8);  // one frame of two floats per output sample
}
BENCHMARK(BM_StereoToMono);

void BM_MonoToStereo(benchmark::State& State) {
    const auto pristine = TestFloats();
    std::vector<float> buffer(2 * Samples);
    for (auto _ : State) {
        std::memcpy(buffer.data(), pristine.data(), Samples * sizeof(float));
        MonoToStereo(buffer.data(), Samples);
        benchmark::ClobberMemory();
    }
    Report(State, 4);
}
BENCHMARK(BM_MonoToStereo);

void BM_DotAccumulate(benchmark::State& State) {
    // The resampler's use: five taps at a time.
    const auto values = TestFloats();
    const float taps[5] = {0.0319845f, 0.127938f, 0.191907f, 0.127938f, 0.0319845f};
    for (auto _ : State) {
        float acc = 0.0f;
        for (std::size_t i = 0; i + 5 <= Samples; ++i) DotAccumulate(values.data() + i, taps, acc, 5);
        benchmark::DoNotOptimize(acc);
    }
    Report(State, 4);
}
BENCHMARK(BM_DotAccumulate);

}  // namespace
}  // namespace quorvel
