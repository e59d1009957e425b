#include "Catalogue.h"

namespace quorvel {
namespace {

constexpr std::array<std::string_view, kDayKindCount> kDayNames = {"Fer", "Dom", "Seg", "Ter",
                                                                   "Qua", "Qui", "Sex", "Sab"};

constexpr std::array<std::string_view, 9> kOneToNine = {"1", "2", "3", "4", "5", "6", "7", "8", "9"};

constexpr std::array<SettingsListInfo, kSettingsListCount> kSettingsLists = {{
    {SettingsList::Ring, "ringsToAnswer", "cbRing", "Ring p/Atender", 1, kOneToNine, 9},
    {SettingsList::Silencio, "ddcSilence", "cbSilencio", "Silêncio DDC", 1, kOneToNine, 9},
    {SettingsList::Flash,
     "flashTime",
     "cbFlash",
     "Flash",
     1,
     {"100 ms", "200 ms", "300 ms", "400 ms", "500 ms", "600 ms", "700 ms", "800 ms", "900 ms"},
     9},
    {SettingsList::Digito, "digitCount", "cbDigito", "Qtde. Dígitos", 2, {"2", "3", "4", "5"}, 4},
    {SettingsList::Pabx,
     "pabxType",
     "cbPabx",
     "Tipo de PABX",
     1,
     {"Padrão Telebras 1", "Padrão Telebras 2", "Padrão Telebras 3", "Padrão Telebras 4", "Padrão Intermediário",
      "Padrão Panasonic 1", "Padrão Panasonic 2", "Padrão Panasonic 3", "Padrão Panasonic 4"},
     9},
    {SettingsList::Toque, "noAnswerRings", "cbToque", "Toque para NA", 1, kOneToNine, 9},
    {SettingsList::Res1, "reserved1", "cbRes1", "Reservado", 1, kOneToNine, 9},
    {SettingsList::Res2, "reserved2", "cbRes2", "Reservado", 1, kOneToNine, 9},
    {SettingsList::Res3, "reserved3", "cbRes3", "Reservado", 1, kOneToNine, 9},
}};

constexpr std::array<std::string_view, kMenuCount + 1> kPromptCaptions = {
    "Menu 0", "Menu 1", "Menu 2", "Menu 3", "Menu 4", "Menu 5", "Menu 6", "Menu 7", "Menu 8", "Menu 9", "Vinheta"};

}  // namespace

std::string_view dayKindName(DayKind kind) { return kDayNames[static_cast<int>(kind)]; }

std::string_view dayKindCaption(DayKind kind) { return kind == DayKind::Sab ? "Sáb" : dayKindName(kind); }

bool dayKindFromName(std::string_view name, DayKind& kind) {
    for (DayKind candidate : kAllDayKinds) {
        if (dayKindName(candidate) == name) {
            kind = candidate;
            return true;
        }
    }
    return false;
}

const std::array<SettingsListInfo, kSettingsListCount>& settingsLists() { return kSettingsLists; }

int& settingsListIndex(GeneralSettings& settings, SettingsList list) {
    switch (list) {
        case SettingsList::Ring:
            return settings.ringsToAnswer;
        case SettingsList::Silencio:
            return settings.ddcSilence;
        case SettingsList::Flash:
            return settings.flashTime;
        case SettingsList::Digito:
            return settings.digitCount;
        case SettingsList::Pabx:
            return settings.pabxType;
        case SettingsList::Toque:
            return settings.noAnswerRings;
        case SettingsList::Res1:
            return settings.reserved1;
        case SettingsList::Res2:
            return settings.reserved2;
        case SettingsList::Res3:
            break;
    }
    return settings.reserved3;
}

int settingsListIndex(const GeneralSettings& settings, SettingsList list) {
    return settingsListIndex(const_cast<GeneralSettings&>(settings), list);
}

const std::array<std::string_view, kMenuCount + 1>& promptCaptions() { return kPromptCaptions; }

std::span<const std::string_view> menuListItems() { return std::span(kPromptCaptions).first(kMenuCount); }

}  // namespace quorvel
