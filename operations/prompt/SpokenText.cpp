#include "operations/prompt/SpokenText.h"

#include "operations/prompt/EspeakVoice.h"
#include "operations/prompt/SpeechCommand.h"

#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <utility>

namespace quorvel {

TSpokenWave::TSpokenWave() {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    std::string name = (error ? std::filesystem::path("/tmp") : folder) / "quorvel-fala-XXXXXX.wav";
    const int file = ::mkstemps(name.data(), 4);
    if (file < 0)
        throw std::runtime_error("Não foi possível criar o arquivo temporário da voz " + name + ": " +
                                 std::strerror(errno));
    ::close(file);
    FPath = std::move(name);
}

TSpokenWave::~TSpokenWave() {
    if (!FPath.empty()) std::remove(FPath.c_str());
}

TSpokenWave::TSpokenWave(TSpokenWave&& Other) noexcept : FPath(std::exchange(Other.FPath, {})) {}

TSpokenWave SpeakText(const TSpeechRequest& Request) {
    if (const std::string refusal = SpokenTextRefusal(Request.Text); !refusal.empty()) throw ESpeechRefused(refusal);
    const std::string text = WithoutSurroundingBlanks(Request.Text);
    TSpokenWave wave;
    if (Request.Command.empty())
        SpeakWithEspeak(text, Request.Voice, wave.Path());
    else
        RunSpeechCommand(Request.Command, text, Request.TimeLimit, wave.Path());
    return wave;
}

}  // namespace quorvel
