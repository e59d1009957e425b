#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "CardToolRun.h"
#include "ScratchCard.h"

namespace {

const std::string kGreeting = "Bom dia. Você ligou para a Quorvel. Para vendas, tecle um; para o suporte, tecle dois.";

bool haveSox() { return std::system("command -v sox >/dev/null 2>&1") == 0; }

class SpokenPrompt : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(runCardTool({"init", card.folder()}).status, 0);
        card.write("103.wav", "old prompt");
    }
    ToolRun prompt(std::vector<std::string> options) const {
        std::vector<std::string> arguments = {"prompt", card.folder(), "3"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        return runCardTool(arguments);
    }
    // The tool run through a pipe that carries `text` to its standard input;
    // the exit status.
    int promptFromInput(const std::string& target, const std::string& text) const {
        const std::string command = std::string(AJUSTOR_CARD_BINARY) + " prompt '" + card.folder() + "' " + target +
                                    " --text - >/dev/null 2>&1";
        FILE* pipe = ::popen(command.c_str(), "w");
        if (pipe == nullptr) return -1;
        std::fwrite(text.data(), 1, text.size(), pipe);
        const int status = ::pclose(pipe);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    ScratchCard card;
};

struct Refusal {
    const char* name;
    std::vector<std::string> options;
    int status;
    std::string says;
};

class SpokenPromptRefusal : public SpokenPrompt, public ::testing::WithParamInterface<Refusal> {};

TEST_P(SpokenPromptRefusal, ExitsWithItsStatusAndLeavesTheCardAsItWas) {
    const auto before = card.snapshot();
    const auto run = prompt(GetParam().options);
    EXPECT_EQ(run.status, GetParam().status) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(GetParam().says), std::string::npos) << run.err;
    EXPECT_EQ(card.snapshot(), before);
}

INSTANTIATE_TEST_SUITE_P(
    BadTexts, SpokenPromptRefusal,
    ::testing::Values(Refusal{"Empty", {"--text", ""}, 2, "O texto está vazio."},
                      Refusal{"Blank", {"--text", " \t\r\n "}, 2, "O texto só tem espaços em branco."},
                      Refusal{"UnicodeBlanks", {"--text", "\u00a0\u3000\u2003"}, 2, "só tem espaços em branco"},
                      Refusal{"Latin1", {"--text", "feriado de S\xe3o Jo\xe3o"}, 2, "não é UTF-8 válido (byte 13)"},
                      Refusal{"Cut", {"--text", "ol\xc3"}, 2, "não é UTF-8 válido (byte 3)"},
                      Refusal{"Overlong", {"--text", "a\xc0\xaf"}, 2, "não é UTF-8 válido (byte 2)"},
                      Refusal{"Surrogate", {"--text", "\xed\xa0\x80"}, 2, "não é UTF-8 válido (byte 1)"},
                      Refusal{"Control", {"--text", "tecle\x1b um"}, 2, "caractere de controle (caractere 6)"},
                      Refusal{"TooLong", {"--text", std::string(5001, 'a')}, 2, "limite de 5000 caracteres"},
                      Refusal{"UnknownVoice", {"--text", "oi", "--voice", "zz-nenhuma"}, 2, "Voz desconhecida"},
                      Refusal{"NeitherFileNorText", {}, 64, "FILE"},
                      Refusal{"FileAndText", {"take.wav", "--text", "oi"}, 64, "FILE"},
                      Refusal{"VoiceWithoutText", {"take.wav", "--voice", "pt"}, 64, "--text"}),
    [](const auto& info) { return std::string(info.param.name); });

// The speech is of a plausible length, at the speech level, and the same
// from an argument and from standard input.
TEST_F(SpokenPrompt, TextBecomesALevelledPromptAndStandardInputGivesTheSameBytes) {
    const auto run = runCardTool({"prompt", card.folder(), "1", "--text", kGreeting});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto json = nlohmann::json::parse(run.out);
    const double seconds = json["frames"].get<double>() / json["sampleRate"].get<int>();
    const double perCharacter = seconds / static_cast<double>(kGreeting.size());
    EXPECT_GE(perCharacter, 0.06);
    EXPECT_LE(perCharacter, 0.2);
    EXPECT_NEAR(json["speechLevelDbm0"].get<double>(), -19.0, 0.5);

    ASSERT_EQ(promptFromInput("2", kGreeting), 0);
    EXPECT_EQ(card.read("102.wav"), card.read("101.wav"));

    const auto prompts = nlohmann::json::parse(runCardTool({"prompts", card.folder()}).out)["prompts"];
    EXPECT_EQ(prompts[1]["state"], "ok");
    EXPECT_EQ(prompts[2]["state"], "ok");
}

TEST_F(SpokenPrompt, TextCommandsWaveBecomesThePrompt) {
    if (!haveSox()) GTEST_SKIP() << "sox is not installed";
    const auto run = prompt({"--text", kGreeting, "--level", "none", "--tts-command",
                             "cat >/dev/null; sox -n -r 16000 -c 1 -b 16 -t wav - synth 2.5 sine 300 vol 0.3"});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto json = nlohmann::json::parse(run.out);
    EXPECT_EQ(json["sampleRate"], 16000);
    EXPECT_EQ(json["frames"], 40000);
    EXPECT_EQ(card.read("103.wav").substr(0, 4), "RIFF");
}

TEST_F(SpokenPrompt, FailingTextCommandIsReportedAndTheOldPromptStays) {
    const auto before = card.snapshot();
    const auto run = prompt({"--text", kGreeting, "--tts-command", "cat >/dev/null; echo 'sem voz hoje' >&2; exit 3"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("código 3: sem voz hoje"), std::string::npos) << run.err;
    EXPECT_EQ(card.snapshot(), before);
}

}  // namespace
