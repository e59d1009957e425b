#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <string>

#include "operations/prompt/SpokenText.h"

namespace {

using namespace std::chrono_literals;

struct CommandCase {
    const char* name;
    const char* command;
    std::string says;  // in the error; empty when the command succeeds
};

class SpeechCommand : public ::testing::TestWithParam<CommandCase> {};

// Each ends within the time limit, however the command behaves; the spoken
// file goes with its object.
TEST_P(SpeechCommand, EndsAsTheCommandDid) {
    quorvel::TSpeechRequest request;
    request.Text = std::string(3000, 'a');  // more than a command that exits at once reads
    request.Command = GetParam().command;
    request.TimeLimit = 500ms;
    const auto started = std::chrono::steady_clock::now();
    std::string error;
    std::string path;
    try {
        const quorvel::TSpokenWave wave = quorvel::SpeakText(request);
        path = wave.Path();
        std::ifstream file(path, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}).substr(0, 4), "RIFF");
    } catch (const std::runtime_error& failure) {
        error = failure.what();
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, 10s);
    if (GetParam().says.empty()) {
        EXPECT_EQ(error, "");
    } else {
        EXPECT_NE(error.find(GetParam().says), std::string::npos) << error;
    }
    if (!path.empty()) EXPECT_FALSE(std::ifstream(path).good()) << path;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, SpeechCommand,
    ::testing::Values(CommandCase{"IgnoresItsInput", "printf 'RIFF\\000\\000\\000\\000WAVEfmt '", ""},
                      CommandCase{"KilledBySignal", "kill -9 $$", "interrompido pelo sinal 9"},
                      CommandCase{"NeverEnds", "cat >/dev/null; exec sleep 60", "não terminou em 1 s"},
                      CommandCase{"ChildKeepsTheOutput", "sleep 60 & exit 0", "não terminou"},
                      CommandCase{"PrintsNoWave", "cat", "não escreveu um arquivo WAV"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
