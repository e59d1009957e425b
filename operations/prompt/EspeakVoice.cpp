#include "operations/prompt/EspeakVoice.h"

#include "operations/prompt/SpokenText.h"

#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>

namespace quorvel {

namespace {

// Words a minute: a little slower than the engine's 175, as a caller on a
// telephone line follows a menu better.
constexpr int SpeechRate = 150;

struct TFileCloser {
    void operator()(std::FILE* File) const { std::fclose(File); }
};

// Where the engine's samples go during one synthesis.
struct TWaveSink {
    std::FILE* File = nullptr;
    std::uint64_t Samples = 0;
    bool Failed = false;
};

int CollectSamples(short* Samples, int Count, espeak_EVENT* Events) {
    auto* sink = static_cast<TWaveSink*>(Events->user_data);
    if (Samples == nullptr || Count <= 0 || sink == nullptr) return 0;
    if (std::fwrite(Samples, sizeof(short), static_cast<std::size_t>(Count), sink->File) !=
        static_cast<std::size_t>(Count)) {
        sink->Failed = true;
        return 1;  // stops the synthesis
    }
    sink->Samples += static_cast<std::uint64_t>(Count);
    return 0;
}

std::string StatusText(espeak_ng_STATUS Status) {
    char text[256] = {};
    espeak_ng_GetStatusCodeMessage(Status, text, sizeof text);
    return text;
}

// The engine keeps its state in globals: one synthesis at a time, process-wide.
std::mutex& EngineLock() {
    static std::mutex lock;
    return lock;
}

// Starts the engine once; returns its sample rate. Called under EngineLock.
int StartEngine() {
    static int rate = 0;
    if (rate > 0) return rate;
    espeak_ng_InitializePath(nullptr);
    espeak_ng_ERROR_CONTEXT context = nullptr;
    espeak_ng_STATUS status = espeak_ng_Initialize(&context);
    espeak_ng_ClearErrorContext(&context);
    if (status == ENS_OK) status = espeak_ng_InitializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, 0, nullptr);
    if (status != ENS_OK)
        throw std::runtime_error("O sintetizador de voz não pôde ser iniciado: " + StatusText(status));
    espeak_SetSynthCallback(CollectSamples);
    std::atexit([] { espeak_ng_Terminate(); });
    rate = espeak_ng_GetSampleRate();
    return rate;
}

void PutLe(std::uint8_t* At, std::uint64_t Value, int Bytes) {
    for (int i = 0; i < Bytes; ++i) At[i] = static_cast<std::uint8_t>(Value >> (8 * i));
}

void WriteHeader(std::FILE* File, int Rate, std::uint64_t Samples) {
    const std::uint64_t dataBytes = Samples * 2;
    std::uint8_t header[44] = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' '};
    PutLe(header + 4, 36 + dataBytes, 4);
    PutLe(header + 16, 16, 4);
    PutLe(header + 20, 1, 2);  // PCM
    PutLe(header + 22, 1, 2);  // mono
    PutLe(header + 24, static_cast<std::uint64_t>(Rate), 4);
    PutLe(header + 28, static_cast<std::uint64_t>(Rate) * 2, 4);
    PutLe(header + 32, 2, 2);
    PutLe(header + 34, 16, 2);
    std::memcpy(header + 36, "data", 4);
    PutLe(header + 40, dataBytes, 4);
    std::fwrite(header, 1, sizeof header, File);
}

}  // namespace

void SpeakWithEspeak(const std::string& Text, const std::string& Voice, const std::string& Destination) {
    std::lock_guard guard(EngineLock());
    const int rate = StartEngine();
    if (Voice.empty() || espeak_ng_SetVoiceByName(Voice.c_str()) != ENS_OK)
        throw ESpeechRefused("Voz desconhecida: \"" + Voice + "\".");
    espeak_ng_SetParameter(espeakRATE, SpeechRate, 0);

    const std::string failure = "Não foi possível gravar a voz em " + Destination + ": ";
    const std::unique_ptr<std::FILE, TFileCloser> file(std::fopen(Destination.c_str(), "wb"));
    if (!file) throw std::runtime_error(failure + std::strerror(errno));
    TWaveSink sink{file.get()};
    WriteHeader(sink.File, rate, 0);
    const espeak_ng_STATUS status =
        espeak_ng_Synthesize(Text.c_str(), Text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr, &sink);
    if (sink.Failed) throw std::runtime_error(failure + std::strerror(errno));
    if (status != ENS_OK) throw std::runtime_error("O sintetizador de voz falhou: " + StatusText(status));
    // A RIFF size field holds 32 bits; the text limit keeps far below it.
    std::rewind(sink.File);
    WriteHeader(sink.File, rate, sink.Samples);
    if (std::ferror(sink.File) || std::fflush(sink.File) != 0) throw std::runtime_error(failure + std::strerror(errno));
}

}  // namespace quorvel
