#include "CardsCommand.h"

#include <cstring>
#include <nlohmann/json.hpp>

#include "config/CardFolder.h"
#include "config/InterruptedWrite.h"
#include "operations/CardVolume.h"

namespace quorvel::card_tool {

namespace {

using Json = nlohmann::ordered_json;

std::string utf8(const QString& text) { return text.toStdString(); }

Json cardJson(const RemovableVolume& volume) {
    const bool mounted = !volume.mountPoint.isEmpty();
    return Json{{"device", utf8(volume.device)},
                {"label", utf8(volume.label)},
                {"uuid", utf8(volume.uuid)},
                {"fileSystem", utf8(volume.fileSystem)},
                {"mountPoint", mounted ? Json(utf8(volume.mountPoint)) : Json(nullptr)},
                {"readOnly", volume.readOnly},
                {"holdsCard", mounted && holdsCardFiles(CardFolder(utf8(volume.mountPoint)))}};
}

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
    return text;
}

}  // namespace

ExitCode printCards(const RemovableCards& cards, std::ostream& out, std::ostream& err) {
    std::vector<RemovableVolume> volumes;
    QString error;
    if (!cards.list(volumes, error)) {
        err << utf8(error) << '\n';
        return ExitCode::CardFailure;
    }
    Json list = Json::array();
    for (const RemovableVolume& volume : volumes) list.push_back(cardJson(volume));
    out << Json{{"cards", std::move(list)}}.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
    return ExitCode::Success;
}

ExitCode ejectCard(const RemovableCards& cards, const std::string& folder, std::ostream& out, std::ostream& err) {
    std::vector<RemovableVolume> volumes;
    QString error;
    if (!cards.list(volumes, error)) {
        err << utf8(error) << '\n';
        return ExitCode::CardFailure;
    }
    const RemovableVolume* volume = RemovableCards::holding(volumes, QString::fromStdString(folder));
    if (volume == nullptr) {
        err << folder << ": not on a removable card; nothing was ejected\n";
        return ExitCode::CardFailure;
    }
    if (const CardResult synced = syncVolume(folder); !synced.ok()) {
        err << folder << ": the card could not be written through: " << synced.message << '\n';
        return ExitCode::CardFailure;
    }
    bool busy = false;
    if (!cards.unmount(*volume, error, busy)) {
        const std::vector<std::string> holders = busy ? processesUsingVolume(folder) : std::vector<std::string>{};
        if (holders.empty()) {
            err << folder << ": " << utf8(error) << '\n';
        } else {
            err << folder << ": the card is in use by " << joined(holders) << "; close it there and eject again\n";
        }
        return ExitCode::CardFailure;
    }
    out << utf8(volume->name()) << " (" << utf8(volume->device) << ") ejected: the card may be pulled out\n";
    return ExitCode::Success;
}

}  // namespace quorvel::card_tool
