// Every configuration value as one row: the dotted path `ajustor-card show`
// prints and `set` takes, the caption the window labels it with, the rule
// it is entered by, a list's items and where it lives in a
// DeviceConfiguration. The JSON, the paths, the diff, the report and the
// window's captions are all read from these rows.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "DeviceConfiguration.h"

namespace quorvel {

// A text, a list's item index, or a check box.
using ConfigurationValue = std::variant<std::string, int, bool>;

// The window field kinds; each has its own key filter, length and exit check.
enum class EntryRule {
    OptionTarget,  // x and y option fields
    Extension,     // restricted extensions, lower and upper extension
    Password,
    RestoreCode,
    Time,
    Date,
    List,  // a timetable menu list or a general-settings list
    CheckBox,
};

class ConfigurationField {
public:
    // Where the value lives: a text, a list's index or a check box.
    using Slot = std::variant<std::string*, int*, bool*>;
    using Locate = Slot (*)(DeviceConfiguration&, int first, int second);

    ConfigurationField(std::string path, std::string caption, EntryRule rule, std::span<const std::string_view> items,
                       Locate locate, int first, int second = 0);

    const std::string& path() const { return path_; }        // "menus.3.1.target1", "settings.pabxType"
    const std::string& caption() const { return caption_; }  // "Menu 3, Opção 1, Ramal/Grupo 1", "Tipo de PABX"
    EntryRule rule() const { return rule_; }
    std::span<const std::string_view> items() const { return items_; }  // a list's, index 0 first

    Slot slot(DeviceConfiguration& config) const { return locate_(config, first_, second_); }
    ConfigurationValue get(const DeviceConfiguration& config) const;
    // `value` holds the field's kind of value (a list's index unchecked).
    void set(DeviceConfiguration& config, const ConfigurationValue& value) const;

    // The value as the window shows it: a list's item, "" for none; a
    // masked field's text; "Sim" or "Não"; the password as one "*" a digit.
    std::string shownText(const ConfigurationValue& value) const;
    // shownText trimmed, "—" when nothing is there.
    std::string describe(const ConfigurationValue& value) const;

private:
    std::string path_;
    std::string caption_;
    EntryRule rule_;
    std::span<const std::string_view> items_;
    Locate locate_;
    int first_;
    int second_;
};

// Every value, in the order `show` prints them (the card files' order).
const std::vector<ConfigurationField>& configurationFields();

// The row of `path`; nullptr when no value is named so.
const ConfigurationField* findConfigurationField(std::string_view path);

// Paths of the parts that hold several values, as the call-flow findings
// name them: "menus.3", "timetable.Seg", "holidays".
std::string menuPath(int menu);
std::string dayPath(DayKind kind);
inline constexpr const char* kHolidaysPath = "holidays";
// One value of those parts: "menus.3.1.target1", "timetable.Seg.2.menu", "holidays.4".
std::string optionPath(int menu, int option, std::string_view member);
std::string slotPath(DayKind kind, int slot, std::string_view member);
std::string holidayPath(int holiday);
inline constexpr const char* kLowerExtensionPath = "settings.lowerExtension";

}  // namespace quorvel
