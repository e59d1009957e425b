// Typed text turned into speech, so that a menu has a draft voice before its
// recording exists. The result is a plain WAV outside the card, which the
// prompt conversion then installs like any recording.
#pragma once

#include <chrono>
#include <stdexcept>
#include <string>

#include "operations/prompt/SpokenTextCheck.h"

namespace quorvel {

inline constexpr const char* DefaultSpeechVoice = "pt-br";

struct TSpeechRequest {
    std::string Text;
    std::string Voice = DefaultSpeechVoice;  // an espeak-ng voice: "pt-br", "pt-br+f3", "pt"
    // When set, the engine instead: run by /bin/sh with the text on its
    // standard input; it writes a WAV on its standard output.
    std::string Command;
    std::chrono::milliseconds TimeLimit = std::chrono::minutes(2);  // for Command
};

// A request the engine must not be given: a refused text or an unknown voice.
class ESpeechRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A WAV file in the system's temporary folder, removed with this object.
class TSpokenWave {
public:
    TSpokenWave();  // reserves an empty file of a name of its own
    ~TSpokenWave();
    TSpokenWave(TSpokenWave&& Other) noexcept;
    TSpokenWave& operator=(TSpokenWave&&) = delete;
    TSpokenWave(const TSpokenWave&) = delete;
    TSpokenWave& operator=(const TSpokenWave&) = delete;

    const std::string& Path() const { return FPath; }

private:
    std::string FPath;
};

// Speaks the request (its text without the blanks around it) into a new
// temporary WAV. Raises ESpeechRefused before any speaking, and
// std::runtime_error when the engine fails; a command's failure names its
// exit status and carries what it wrote on its error output.
TSpokenWave SpeakText(const TSpeechRequest& Request);

}  // namespace quorvel
