#include "PromptsCommand.h"

#include <cmath>
#include <filesystem>
#include <optional>
#include <ostream>

#include <nlohmann/json.hpp>

#include "operations/prompt/PromptFiles.h"
#include "operations/prompt/PromptLevelAll.h"
#include "operations/prompt/PromptSurvey.h"

namespace quorvel::card_tool {

namespace {

using Json = nlohmann::ordered_json;

std::string folderPrefix(const std::string& folder) {
    std::string prefix = std::filesystem::absolute(folder).lexically_normal().string();
    if (prefix.back() != '/') prefix += '/';
    return prefix;
}

template <typename T>
Json figure(const std::optional<T>& value, int decimals = -1) {
    if (!value) return nullptr;
    if (decimals < 0) return *value;
    const double scale = std::pow(10.0, decimals);
    return std::round(static_cast<double>(*value) * scale) / scale;
}

const char* stateName(PromptSurveyState state) {
    switch (state) {
        case PromptSurveyState::Ok:
            return "ok";
        case PromptSurveyState::Absent:
            return "absent";
        case PromptSurveyState::Unplayable:
            break;
    }
    return "unplayable";
}

void print(std::ostream& out, const Json& json) {
    out << json.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
}

}  // namespace

ExitCode printPrompts(const std::string& folder, std::ostream& out) {
    const std::string prefix = folderPrefix(folder);
    Json rows = Json::array();
    for (int index = 0; index < PromptCount; ++index) {
        const PromptSurvey survey = surveyPrompt(prefix, index, 0);
        Json row;
        row["target"] = index == VinhetaPromptIndex ? std::string("vinheta") : std::to_string(index);
        row["prompt"] = survey.promptName;
        row["state"] = stateName(survey.state);
        // Null where the prompt lacks a figure: absent, not a WAV, or silent.
        row["seconds"] = figure(survey.seconds, 3);
        row["sampleRate"] = figure(survey.sampleRate);
        row["peak"] = figure(survey.peak);
        row["speechLevelDbm0"] = figure(survey.speechLevelDbm0, 1);
        rows.push_back(std::move(row));
    }
    print(out, Json{{"prompts", std::move(rows)}});
    return ExitCode::Success;
}

ExitCode levelAllPrompts(const std::string& folder, std::ostream& out) {
    const TLevelAllOutcome outcome = LevelAllPrompts(folderPrefix(folder), InstallOnCard);
    Json failed = Json::array();
    for (const auto& [prompt, error] : outcome.Failed) failed.push_back({{"prompt", prompt}, {"error", error}});
    print(out, Json{{"changed", outcome.Changed},
                    {"untouched", outcome.Untouched},
                    {"limited", outcome.Limited},
                    {"failed", std::move(failed)}});
    return outcome.Failed.empty() ? ExitCode::Success : ExitCode::CardFailure;
}

}  // namespace quorvel::card_tool
