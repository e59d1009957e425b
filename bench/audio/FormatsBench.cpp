// The WAV codecs and the resampler against their peers doing the same job in
// the same run, in bytes of 16-bit PCM per second: ffmpeg encoding and
// decoding IMA ADPCM, decoding Microsoft ADPCM and resampling with its
// default aresample, and cat reading the PCM file that TWaveIn reads. Each
// side goes file to file (or file to nothing); ffmpeg's times include its
// start-up, which the 60-second input keeps small.
#include "audio/formats/WaveIn.h"
#include "audio/formats/WaveOut.h"
#include "audio/pipeline/FastResampler.h"
#include "audio/pipeline/WindowDispatcher.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace quorvel {
namespace {

namespace fs = std::filesystem;

constexpr int Rate = 44100;
constexpr int Channels = 2;
constexpr int Seconds = 60;
constexpr std::int64_t PcmBytes = std::int64_t{Rate} * Channels * 2 * Seconds;

void Run(const std::string& Command) {
    if (std::system((Command + " >/dev/null 2>&1").c_str()) != 0) throw std::runtime_error("failed: " + Command);
}

// Input files made once per run: a PCM file and ffmpeg's IMA and MS ADPCM of it.
struct TInputs {
    fs::path Folder = fs::temp_directory_path() / ("quorvel-formats-bench-" + std::to_string(::getpid()));
    fs::path Raw = Folder / "in.raw";
    fs::path Pcm = Folder / "in.wav";
    fs::path Ima = Folder / "ima.wav";
    fs::path Ms = Folder / "ms.wav";
    std::vector<std::uint8_t> RawBytes;

    TInputs() {
        fs::create_directories(Folder);
        const std::string source =
            "-f lavfi -i 'aevalsrc=0.6*sin(2*PI*(300+40*t)*t)+0.2*random(0)|0.5*sin(2*PI*700*t):s=" +
            std::to_string(Rate) + ":d=" + std::to_string(Seconds) + "'";
        Run("ffmpeg -y -v error " + source + " -f s16le -c:a pcm_s16le '" + Raw.string() + "'");
        Run("ffmpeg -y -v error -f s16le -ar 44100 -ac 2 -i '" + Raw.string() + "' -c:a pcm_s16le '" + Pcm.string() +
            "'");
        Run("ffmpeg -y -v error -f s16le -ar 44100 -ac 2 -i '" + Raw.string() + "' -c:a adpcm_ima_wav '" +
            Ima.string() + "'");
        Run("ffmpeg -y -v error -f s16le -ar 44100 -ac 2 -i '" + Raw.string() + "' -c:a adpcm_ms '" + Ms.string() +
            "'");
        std::ifstream in(Raw, std::ios::binary);
        RawBytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    ~TInputs() { fs::remove_all(Folder); }
};

TInputs& Inputs() {
    static TInputs inputs;
    return inputs;
}

std::string Ffmpeg(const std::string& Arguments) { return "ffmpeg -y -v error -threads 1 " + Arguments; }

void Report(benchmark::State& State) { State.SetBytesProcessed(State.iterations() * PcmBytes); }

class TRawSource : public TAuInput {
public:
    explicit TRawSource(const std::vector<std::uint8_t>& Data) : FData(Data) {}
    int GetBitsPerSample() override { return 16; }
    int GetChannels() override { return Channels; }
    int GetSampleRate() override { return Rate; }

protected:
    void DoOpen() override {
        FBusy = true;
        FOffset = 0;
        FPosition = 0;
        FSize = static_cast<std::int64_t>(FData.size());
    }
    void DoClose() override { FBusy = false; }
    void DoRead(const std::uint8_t*& Buffer, std::uint32_t& Bytes) override {
        Bytes = static_cast<std::uint32_t>(std::min<std::size_t>(Bytes, FData.size() - FOffset));
        Buffer = FData.data() + FOffset;
        FOffset += Bytes;
        FPosition += Bytes;
    }

private:
    const std::vector<std::uint8_t>& FData;
    std::size_t FOffset = 0;
};

void WriteWith(TWaveOut& Writer) {
    bool done = false;
    Writer.SetOnDone([&](TAuOutput&) { done = true; });
    Writer.Start();
    while (!done) {
        WindowDispatcher().Drain();
        usleep(200);
    }
    if (!Writer.ErrorText().empty()) throw std::runtime_error(Writer.ErrorText());
}

std::int64_t ReadThrough(TAuInput& Input) {
    Input.Open();
    std::int64_t total = 0;
    for (;;) {
        const std::uint8_t* buffer = nullptr;
        std::uint32_t bytes = 16384;
        Input.Read(buffer, bytes);
        if (bytes == 0) break;
        total += bytes;
        benchmark::DoNotOptimize(buffer);
    }
    Input.Close();
    return total;
}

void BM_ImaEncode_WaveOut(benchmark::State& State) {
    TRawSource source(Inputs().RawBytes);
    TWaveOut writer;
    writer.SetFileName((Inputs().Folder / "ours-ima.wav").string());
    writer.SetWavType(wtDVIADPCM);
    writer.SetBlockSize(2048);
    writer.SetInput(&source);
    for (auto _ : State) WriteWith(writer);
    Report(State);
}
BENCHMARK(BM_ImaEncode_WaveOut)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ImaEncode_Ffmpeg(benchmark::State& State) {
    const std::string command = Ffmpeg("-f s16le -ar 44100 -ac 2 -i '" + Inputs().Raw.string() +
                                       "' -c:a adpcm_ima_wav '" + (Inputs().Folder / "ffmpeg-ima.wav").string() + "'");
    for (auto _ : State) Run(command);
    Report(State);
}
BENCHMARK(BM_ImaEncode_Ffmpeg)->Unit(benchmark::kMillisecond)->UseRealTime();

template <fs::path TInputs::*File>
void BM_Decode_WaveIn(benchmark::State& State) {
    TWaveIn reader;
    reader.SetFileName((Inputs().*File).string());
    for (auto _ : State) benchmark::DoNotOptimize(ReadThrough(reader));
    Report(State);
}
BENCHMARK(BM_Decode_WaveIn<&TInputs::Ima>)->Name("BM_ImaDecode_WaveIn")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Decode_WaveIn<&TInputs::Ms>)->Name("BM_MsDecode_WaveIn")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Decode_WaveIn<&TInputs::Pcm>)->Name("BM_PcmRead_WaveIn")->Unit(benchmark::kMillisecond)->UseRealTime();

template <fs::path TInputs::*File>
void BM_Decode_Ffmpeg(benchmark::State& State) {
    const std::string command = Ffmpeg("-i '" + (Inputs().*File).string() + "' -f s16le -c:a pcm_s16le /dev/null");
    for (auto _ : State) Run(command);
    Report(State);
}
BENCHMARK(BM_Decode_Ffmpeg<&TInputs::Ima>)->Name("BM_ImaDecode_Ffmpeg")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Decode_Ffmpeg<&TInputs::Ms>)->Name("BM_MsDecode_Ffmpeg")->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PcmRead_Cat(benchmark::State& State) {
    const std::string command = "cat '" + Inputs().Pcm.string() + "' > /dev/null";
    for (auto _ : State) Run(command);
    Report(State);
}
BENCHMARK(BM_PcmRead_Cat)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Resample_FastResampler(benchmark::State& State) {
    TWaveIn reader;
    reader.SetFileName(Inputs().Pcm.string());
    TFastResampler resampler;
    resampler.SetInput(&reader);
    resampler.SetOutSampleRate(22050);
    for (auto _ : State) benchmark::DoNotOptimize(ReadThrough(resampler));
    Report(State);
}
BENCHMARK(BM_Resample_FastResampler)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Resample_FfmpegAresample(benchmark::State& State) {
    const std::string command =
        Ffmpeg("-i '" + Inputs().Pcm.string() + "' -af aresample=22050 -f s16le -c:a pcm_s16le /dev/null");
    for (auto _ : State) Run(command);
    Report(State);
}
BENCHMARK(BM_Resample_FfmpegAresample)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace quorvel
