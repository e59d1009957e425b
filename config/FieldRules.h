// What each field of the window accepts while it is edited: key filters,
// length limits and the checks run when the field is left. The save never
// repeats these checks.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

inline constexpr const char* kMenuRangeMessage = "A faixa de menus deve ser de M0 a M9.";
inline constexpr const char* kInvalidTimeMessage = "A hora informada não é valida verifique.";
inline constexpr const char* kInvalidDateMessage = "A data informada não é uma data valida.";
inline constexpr const char* kStarPositionMessage = "O caracter * só pode ser o primeiro.";
inline constexpr const char* kIncompleteMaskMessage =
    "Valor de entrada inválido. Use a tecla Esc para abandonar as alterações";

enum class KeyFilter {
    Option,       // x and y option fields: Backspace, "#", "*", digits, "M", "m"
    Digit,        // extensions and password: Backspace, digits
    RestoreCode,  // edRestaura: Backspace, "#", "*", digits
};

constexpr char kBackspace = '\b';

// Maximum lengths of the plain edits.
constexpr int kTargetMaxLength = 4;
constexpr int kExtensionMaxLength = 4;
constexpr int kRestoreCodeMaxLength = 3;
constexpr int kPasswordMaxLength = 3;

bool keyAccepted(KeyFilter filter, char32_t key);

// What a field keeps of text entered as a whole (typed, pasted or dropped):
// every character its filter refuses is dropped; the option fields, being
// upper-case, turn "m" into "M".
std::string filterText(KeyFilter filter, std::string_view text);

// Exit checks: the message to show, or nothing when the text passes.
std::optional<std::string> checkMenuReference(std::string_view text);
std::optional<std::string> checkTime(std::string_view text);
std::optional<std::string> checkDate(std::string_view text);
// One message per misplaced "*" (2nd and 3rd characters), in that order.
std::vector<std::string> checkStarPosition(std::string_view text);

}  // namespace quorvel
