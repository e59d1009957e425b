#include "PromptCommand.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <filesystem>
#include <istream>
#include <iterator>
#include <mutex>
#include <optional>
#include <ostream>

#include <nlohmann/json.hpp>

#include "audio/pipeline/WindowDispatcher.h"
#include "operations/prompt/PromptConversion.h"
#include "operations/prompt/PromptFiles.h"
#include "operations/prompt/SpokenText.h"

namespace quorvel::card_tool {

namespace {

std::optional<int> promptIndex(std::string target) {
    std::transform(target.begin(), target.end(), target.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (target == "vinheta") return VinhetaPromptIndex;
    if (target.size() == 1 && target[0] >= '0' && target[0] <= '9') return target[0] - '0';
    return std::nullopt;
}

std::optional<TLevelMode> levelMode(const std::string& level) {
    if (level == "peak") return TLevelMode::Peak;
    if (level == "speech") return TLevelMode::Speech;
    if (level == "none") return TLevelMode::None;
    return std::nullopt;
}

double rounded(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

nlohmann::ordered_json summaryJson(const TPromptResult& result) {
    const TPromptSummary& summary = result.Summary;
    nlohmann::ordered_json json;
    json["prompt"] = result.PromptName;
    json["sampleRate"] = summary.SampleRate;
    json["channels"] = summary.Channels;
    json["frames"] = summary.Frames;
    json["peakBefore"] = summary.PeakBefore;
    json["gain"] = rounded(summary.Gain, 3);
    json["speechLevelDbm0"] =
        summary.SpeechLevelDbm0 ? nlohmann::ordered_json(rounded(*summary.SpeechLevelDbm0, 1)) : nullptr;
    json["targetReached"] = summary.TargetReached;
    return json;
}

// At most one byte past the longest text allowed, so that a huge input is
// refused without being read whole.
std::string readText(std::istream& in) {
    std::string text(MaxSpokenTextBytes + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

// The usage mistake in the text options, or empty.
std::string textOptionMistake(const PromptArguments& arguments) {
    if (arguments.file.empty() == !arguments.text) return "Give one of FILE and --text";
    if (!arguments.text && (arguments.voice || arguments.ttsCommand)) return "--voice and --tts-command need --text";
    if (arguments.voice && arguments.ttsCommand) return "--voice names a built-in voice; --tts-command brings its own";
    return {};
}

void drawProgress(std::ostream& err, int percent) {
    constexpr int width = 40;
    const int filled = std::clamp(percent, 0, 100) * width / 100;
    err << "\r[" << std::string(filled, '#') << std::string(width - filled, ' ') << "] " << percent << "%"
        << std::flush;
}

}  // namespace

ExitCode promptCard(const PromptArguments& arguments, std::istream& in, std::ostream& out, std::ostream& err,
                    bool showProgress) {
    if (const std::string mistake = textOptionMistake(arguments); !mistake.empty()) {
        err << mistake << "\n";
        return ExitCode::Usage;
    }
    const auto index = promptIndex(arguments.target);
    if (!index) {
        err << "TARGET must be a menu digit 0-9 or vinheta, not \"" << arguments.target << "\"\n";
        return ExitCode::ValueRefused;
    }
    const auto level = levelMode(arguments.level.empty() ? (arguments.text ? "speech" : "peak") : arguments.level);
    if (!level) {
        err << "--level must be peak, speech or none, not \"" << arguments.level << "\"\n";
        return ExitCode::ValueRefused;
    }
    // The spoken text is a recording like any other, kept outside the card.
    std::optional<TSpokenWave> spoken;
    if (arguments.text) {
        TSpeechRequest request;
        request.Text = *arguments.text == "-" ? readText(in) : *arguments.text;
        request.Voice = arguments.voice.value_or(DefaultSpeechVoice);
        request.Command = arguments.ttsCommand.value_or("");
        try {
            spoken.emplace(SpeakText(request));
        } catch (const ESpeechRefused& refused) {
            err << refused.what() << "\n";
            return ExitCode::ValueRefused;
        } catch (const std::exception& failure) {
            err << failure.what() << "\n";
            return ExitCode::CardFailure;
        }
    }
    const std::string& source = spoken ? spoken->Path() : arguments.file;

    std::string folder = std::filesystem::absolute(arguments.folder).lexically_normal().string();
    if (folder.back() != '/') folder += '/';

    // The pipeline hands its events to this thread, which runs them here as
    // the window's event loop would.
    std::mutex lock;
    std::condition_variable wake;
    bool pending = false;
    WindowDispatcher().SetWakeHook([&] {
        std::lock_guard guard(lock);
        pending = true;
        wake.notify_one();
    });

    std::optional<TPromptResult> finished;
    TPromptConversion conversion;
    conversion.ConnectSinkEvents([&](int percent) {
        if (showProgress) drawProgress(err, percent);
    });
    conversion.Begin({folder, *index, source, *level, arguments.trim},
                     {[](const std::string&) {}, [&](const TPromptResult& result) { finished = result; }});
    while (!finished) {
        {
            std::unique_lock guard(lock);
            wake.wait_for(guard, std::chrono::milliseconds(100), [&] { return pending; });
            pending = false;
        }
        WindowDispatcher().Drain();
    }
    WindowDispatcher().SetWakeHook({});
    if (showProgress) err << "\n";

    switch (finished->Outcome) {
        case TPromptOutcome::Installed:
            out << summaryJson(*finished).dump() << "\n";
            return ExitCode::Success;
        case TPromptOutcome::Invalid:
            err << "Arquivo de áudio inválido ou não suportado.\n";
            return ExitCode::ValueRefused;
        case TPromptOutcome::Failed:
            break;
    }
    err << "Falha na conversão: " << finished->Error << "\n";
    return ExitCode::CardFailure;
}

}  // namespace quorvel::card_tool
