// The built-in voice: espeak-ng, linked, speaking in this process.
#pragma once

#include <string>

namespace quorvel {

// Writes `Text` (UTF-8) spoken by the espeak-ng voice `Voice` as a 16-bit
// mono WAV at `Destination`. Raises ESpeechRefused for an unknown voice and
// std::runtime_error when the engine or the file fails. Safe from any thread.
void SpeakWithEspeak(const std::string& Text, const std::string& Voice, const std::string& Destination);

}  // namespace quorvel
