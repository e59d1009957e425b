// A 3-minute 44.1 kHz stereo MP3 decoded to a 16-bit WAV file: this system's
// chain (the mp3_to_wave command) against ffmpeg, as two timed commands in
// the same run. The ratio of the two real times is the figure to watch.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#ifndef QUORVEL_MP3_TO_WAVE
#error "QUORVEL_MP3_TO_WAVE names the decoding command"
#endif

namespace {

namespace fs = std::filesystem;

const fs::path& Folder() {
    static const fs::path folder = [] {
        fs::path path = fs::temp_directory_path() / "quorvel-mp3-bench";
        fs::create_directories(path);
        const std::string make =
            "ffmpeg -nostdin -v error -y -f lavfi -i sine=frequency=440:sample_rate=44100:duration=180"
            " -ac 2 -c:a libmp3lame -b:a 192k '" +
            (path / "in.mp3").string() + "'";
        if (std::system(make.c_str()) != 0) std::abort();
        return path;
    }();
    return folder;
}

void RunCommand(benchmark::State& State, const std::string& Command) {
    for (auto _ : State)
        if (std::system(Command.c_str()) != 0) State.SkipWithError("the command failed");
}

void BM_Mp3ToWave_Quorvel(benchmark::State& State) {
    RunCommand(State, std::string(QUORVEL_MP3_TO_WAVE) + " '" + (Folder() / "in.mp3").string() + "' '" +
                          (Folder() / "quorvel.wav").string() + "'");
}
BENCHMARK(BM_Mp3ToWave_Quorvel)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_Mp3ToWave_Ffmpeg(benchmark::State& State) {
    RunCommand(State, "ffmpeg -nostdin -v error -y -i '" + (Folder() / "in.mp3").string() + "' -c:a pcm_s16le '" +
                          (Folder() / "ffmpeg.wav").string() + "'");
}
BENCHMARK(BM_Mp3ToWave_Ffmpeg)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
