// `ajustor-card prompt` on a 3-minute 44.1 kHz stereo 128 kb/s MP3 against
// its peers, timed in the same run one after the other: ffmpeg decoding to a
// 16-bit mono WAV followed by `sox norm -0` (the pair), and ffmpeg's bare
// decode to a mono WAV. Each iteration times the command and the pair back to back;
// the counter "ratio" is the command's time over the pair's (goal: at most
// 0.8), "ratio_to_decode" over the bare decode's (reach: at most 1).
// The split by stage comes from a conversion run in this process, timed at
// each of its log texts.
#include "audio/pipeline/WindowDispatcher.h"
#include "operations/prompt/PromptConversion.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#ifndef QUORVEL_AJUSTOR_CARD
#error "QUORVEL_AJUSTOR_CARD names the command-line tool"
#endif

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const fs::path& Folder() {
    static const fs::path folder = [] {
        fs::path path = fs::temp_directory_path() / "quorvel-prompt-bench";
        fs::create_directories(path / "card");
        // Speech-like: a tone whose loudness comes and goes.
        const std::string make =
            "ffmpeg -nostdin -v error -y -f lavfi -i "
            "\"aevalsrc='0.5*(0.6+0.4*sin(2*PI*0.7*t))*sin(2*PI*220*t)|0.4*sin(2*PI*330*t)':s=44100:d=180\""
            " -c:a libmp3lame -b:a 128k '" +
            (path / "in.mp3").string() + "'";
        if (std::system(make.c_str()) != 0) std::abort();
        return path;
    }();
    return folder;
}

std::string Quoted(const fs::path& Path) {
    std::string quoted = "'";
    quoted += Path.string();
    quoted += "'";
    return quoted;
}

double Seconds(const std::string& Command) {
    const auto start = Clock::now();
    if (std::system(Command.c_str()) != 0) return -1;
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string PromptCommand(const char* Level) {
    return std::string(QUORVEL_AJUSTOR_CARD) + " prompt " + Quoted(Folder() / "card") + " 5 " +
           Quoted(Folder() / "in.mp3") + " --level " + Level + " >/dev/null";
}

std::string PeerPair() {
    return "ffmpeg -nostdin -v error -y -i " + Quoted(Folder() / "in.mp3") + " -ac 1 -c:a pcm_s16le " +
           Quoted(Folder() / "mid.wav") + " && sox " + Quoted(Folder() / "mid.wav") + " " +
           Quoted(Folder() / "out.wav") + " norm -0";
}

std::string BareDecode() {
    return "ffmpeg -nostdin -v error -y -i " + Quoted(Folder() / "in.mp3") + " -ac 1 -c:a pcm_s16le " +
           Quoted(Folder() / "bare.wav");
}

void BM_Prompt(benchmark::State& State, const char* Level) {
    const std::string command = PromptCommand(Level);
    const std::string peers = PeerPair();
    const std::string bare = BareDecode();
    double ours = 0;
    double pair = 0;
    double decode = 0;
    for (auto _ : State) {
        const double seconds = Seconds(command);
        const double peerSeconds = Seconds(peers);
        const double bareSeconds = Seconds(bare);
        if (seconds < 0 || peerSeconds < 0 || bareSeconds < 0) {
            State.SkipWithError("a command failed");
            return;
        }
        State.SetIterationTime(seconds);
        ours += seconds;
        pair += peerSeconds;
        decode += bareSeconds;
    }
    const auto runs = static_cast<double>(State.iterations());
    State.counters["pair_ms"] = 1000 * pair / runs;
    State.counters["ffmpeg_decode_ms"] = 1000 * decode / runs;
    State.counters["ratio"] = ours / pair;
    State.counters["ratio_to_decode"] = ours / decode;
}
BENCHMARK_CAPTURE(BM_Prompt, none, "none")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(BM_Prompt, peak, "peak")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(BM_Prompt, speech, "speech")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// The stages of one conversion in this process: decoding to the intermediate
// file, the mono stage, then levelling and installing.
void BM_PromptStages(benchmark::State& State, quorvel::TLevelMode Level) {
    std::vector<double> split(3, 0.0);
    for (auto _ : State) {
        quorvel::TPromptConversion conversion;
        std::vector<Clock::time_point> marks{Clock::now()};
        std::optional<quorvel::TPromptResult> result;
        conversion.ConnectSinkEvents([](int) {});
        conversion.Begin({(Folder() / "card").string() + "/", 6, (Folder() / "in.mp3").string(), Level},
                         {[&marks](const std::string&) { marks.push_back(Clock::now()); },
                          [&result](const quorvel::TPromptResult& Done) { result = Done; }});
        while (!result)
            if (quorvel::WindowDispatcher().Drain() == 0) std::this_thread::yield();
        // Texts: decoding, decoded, converting, converted, finished.
        if (result->Outcome != quorvel::TPromptOutcome::Installed || marks.size() != 6) {
            State.SkipWithError("the conversion did not install the prompt");
            return;
        }
        const auto between = [&marks](int From, int To) {
            return std::chrono::duration<double>(marks[To] - marks[From]).count();
        };
        split[0] += between(0, 2);
        split[1] += between(2, 4);
        split[2] += between(4, 5);
        State.SetIterationTime(between(0, 5));
    }
    const auto runs = static_cast<double>(State.iterations());
    State.counters["decode_ms"] = 1000 * split[0] / runs;
    State.counters["mono_ms"] = 1000 * split[1] / runs;
    State.counters["level_install_ms"] = 1000 * split[2] / runs;
}
BENCHMARK_CAPTURE(BM_PromptStages, none, quorvel::TLevelMode::None)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_PromptStages, peak, quorvel::TLevelMode::Peak)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_PromptStages, speech, quorvel::TLevelMode::Speech)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
