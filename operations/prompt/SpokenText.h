// Typed text turned into speech, so that a menu has a draft voice before its
// recording exists. The result is a plain WAV outside the card, which the
// prompt conversion then installs like any recording.
#pragma once

#include <chrono>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quorvel {

inline constexpr std::size_t MaxSpokenCharacters = 5000;
// No text of more bytes can be within the limit: UTF-8 takes at most four a character.
inline constexpr std::size_t MaxSpokenTextBytes = 4 * MaxSpokenCharacters;
inline constexpr const char* DefaultSpeechVoice = "pt-br";

// Why `Text` cannot be spoken, in the user's words ("O texto está vazio.");
// empty when it can: valid UTF-8, something besides blanks, no control
// characters other than tabs and line ends, at most MaxSpokenCharacters.
std::string SpokenTextRefusal(std::string_view Text);

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
