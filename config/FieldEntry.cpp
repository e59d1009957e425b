#include "FieldEntry.h"
#include "AsciiDigit.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "FieldRules.h"
#include "MaskedText.h"

namespace quorvel {

namespace {

using Messages = std::vector<std::string>;

bool hasControlCharacter(std::string_view text) {
    // Backspace passes the key filters as an editing key, not as content.
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
}

// The check a field runs when it loses the focus: every message it shows.
using ExitCheck = Messages (*)(std::string_view);

Messages noExitCheck(std::string_view) { return {}; }

Messages asMessages(const std::optional<std::string>& message) { return message ? Messages{*message} : Messages{}; }

Messages menuReferenceCheck(std::string_view text) { return asMessages(checkMenuReference(text)); }
Messages timeCheck(std::string_view text) { return asMessages(checkTime(text)); }
Messages dateCheck(std::string_view text) { return asMessages(checkDate(text)); }

Messages enterFiltered(const ConfigurationField& field, DeviceConfiguration& config, std::string_view value,
                       KeyFilter filter, int maxLength, ExitCheck exitCheck) {
    std::string kept = filterText(filter, value);
    // The option filter only changes "m" into "M", so a refused character
    // always shows as a shorter text.
    if (hasControlCharacter(value) || kept.size() != value.size()) {
        return {"holds characters this field does not accept"};
    }
    if (kept.size() > static_cast<std::size_t>(maxLength)) {
        return {"is longer than the " + std::to_string(maxLength) + " characters this field holds"};
    }
    if (Messages messages = exitCheck(kept); !messages.empty()) {
        return messages;
    }
    field.set(config, std::move(kept));
    return {};
}

// The five-character text the masked field would hold: its own form
// ("08:30", " 8:30", "  :  "), nothing at all, or hour and minutes of up to
// two digits around the separator ("8:30"), aligned as the field aligns them.
std::optional<std::string> maskedForm(MaskKind kind, std::string_view value) {
    if (value.empty()) {
        return emptyMaskedText(kind);
    }
    const char separator = maskSeparator(kind);
    if (value.size() == static_cast<std::size_t>(kMaskedLength)) {
        for (int position = 0; position < kMaskedLength; ++position) {
            const char c = value[position];
            const bool fits =
                position == kMaskSeparatorPosition ? c == separator : c == ' ' || maskAccepts(position, c);
            if (!fits) {
                return std::nullopt;
            }
        }
        return std::string(value);
    }
    const std::size_t at = value.find(separator);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view first = value.substr(0, at);
    const std::string_view second = value.substr(at + 1);
    const auto shortDigits = [](std::string_view part) {
        return part.size() <= 2 && std::all_of(part.begin(), part.end(), isAsciiDigit);
    };
    if (!shortDigits(first) || !shortDigits(second)) {
        return std::nullopt;
    }
    return applyMask(kind, value);
}

Messages enterMasked(const ConfigurationField& field, DeviceConfiguration& config, std::string_view value,
                     MaskKind kind, ExitCheck exitCheck) {
    std::optional<std::string> masked = maskedForm(kind, value);
    if (!masked) {
        return {kind == MaskKind::Time ? "is not a time the field can hold (HH:MM)"
                                       : "is not a date the field can hold (DD/MM)"};
    }
    if (!isMaskEmpty(*masked)) {
        if (!isMaskComplete(*masked)) {
            // The window's message for this names a key of the window.
            return {kind == MaskKind::Time ? "is not a complete time (HH:MM)" : "is not a complete date (DD/MM)"};
        }
        if (Messages messages = exitCheck(*masked); !messages.empty()) {
            return messages;
        }
    }
    field.set(config, std::move(*masked));
    return {};
}

Messages notAnItem(const ConfigurationField& field) {
    std::string items;
    for (std::string_view item : field.items()) items += (items.empty() ? "\"" : ", \"") + std::string(item) + "\"";
    return {"is neither an item of the list (" + items + ") nor an item index from -1 to " +
            std::to_string(field.items().size() - 1)};
}

Messages enterListItem(const ConfigurationField& field, DeviceConfiguration& config, std::string_view value) {
    const auto items = field.items();
    const auto item = std::find(items.begin(), items.end(), value);
    if (item != items.end()) return selectItem(field, config, item - items.begin());
    long long index = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), index);
    if (error != std::errc() || end != value.data() + value.size()) return notAnItem(field);
    return selectItem(field, config, index);
}

Messages enterTick(const ConfigurationField& field, DeviceConfiguration& config, std::string_view value) {
    if (value != "true" && value != "false") {
        return {"is neither true nor false"};
    }
    field.set(config, value == "true");
    return {};
}

}  // namespace

std::vector<std::string> enterValue(const ConfigurationField& field, DeviceConfiguration& config,
                                    std::string_view value) {
    switch (field.rule()) {
        case EntryRule::OptionTarget:
            return enterFiltered(field, config, value, KeyFilter::Option, kTargetMaxLength, menuReferenceCheck);
        case EntryRule::Extension:
            return enterFiltered(field, config, value, KeyFilter::Digit, kExtensionMaxLength, noExitCheck);
        case EntryRule::Password:
            return enterFiltered(field, config, value, KeyFilter::Digit, kPasswordMaxLength, noExitCheck);
        case EntryRule::RestoreCode:
            return enterFiltered(field, config, value, KeyFilter::RestoreCode, kRestoreCodeMaxLength,
                                 checkStarPosition);
        case EntryRule::Time:
            return enterMasked(field, config, value, MaskKind::Time, timeCheck);
        case EntryRule::Date:
            return enterMasked(field, config, value, MaskKind::Date, dateCheck);
        case EntryRule::List:
            return enterListItem(field, config, value);
        case EntryRule::CheckBox:
            break;
    }
    return enterTick(field, config, value);
}

std::vector<std::string> selectItem(const ConfigurationField& field, DeviceConfiguration& config, long long index) {
    if (index < kNoSelection || index >= static_cast<long long>(field.items().size())) return notAnItem(field);
    field.set(config, static_cast<int>(index));
    return {};
}

}  // namespace quorvel
