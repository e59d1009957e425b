#include "operations/prompt/SpokenTextCheck.h"

#include <algorithm>

namespace quorvel {

namespace {

constexpr char32_t Malformed = 0xFFFFFFFF;

// The character that starts at Text[At] and its length in bytes; Malformed
// for a broken, overlong or surrogate sequence or one past U+10FFFF.
char32_t DecodeAt(std::string_view Text, std::size_t At, std::size_t& Length) {
    const auto lead = static_cast<unsigned char>(Text[At]);
    Length = 1;
    if (lead < 0x80) return lead;
    int more = 0;
    char32_t code = 0;
    if ((lead & 0xE0) == 0xC0) {
        more = 1;
        code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        more = 2;
        code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        more = 3;
        code = lead & 0x07;
    } else {
        return Malformed;
    }
    for (int i = 1; i <= more; ++i) {
        if (At + i >= Text.size()) return Malformed;
        const auto next = static_cast<unsigned char>(Text[At + i]);
        if ((next & 0xC0) != 0x80) return Malformed;
        code = (code << 6) | (next & 0x3F);
    }
    constexpr char32_t shortest[] = {0, 0x80, 0x800, 0x10000};
    if (code < shortest[more] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return Malformed;
    Length = static_cast<std::size_t>(more) + 1;
    return code;
}

bool IsBlank(char32_t Code) {
    return Code == '\t' || Code == '\n' || Code == '\r' || Code == ' ' || Code == 0xA0 || Code == 0x1680 ||
           (Code >= 0x2000 && Code <= 0x200B) || Code == 0x2028 || Code == 0x2029 || Code == 0x202F || Code == 0x205F ||
           Code == 0x3000 || Code == 0xFEFF;
}

bool IsRefusedControl(char32_t Code) {
    return (Code < 0x20 && Code != '\t' && Code != '\n' && Code != '\r') || (Code >= 0x7F && Code <= 0x9F);
}

std::string TooLongText() {
    return "O texto passa do limite de " + std::to_string(MaxSpokenCharacters) + " caracteres.";
}

}  // namespace

std::string WithoutSurroundingBlanks(std::string_view Text) {
    std::size_t begin = Text.size();
    std::size_t end = 0;
    for (std::size_t at = 0, length = 0; at < Text.size(); at += length) {
        if (IsBlank(DecodeAt(Text, at, length))) continue;
        begin = std::min(begin, at);
        end = at + length;
    }
    return begin < end ? std::string(Text.substr(begin, end - begin)) : std::string();
}

std::string SpokenTextRefusal(std::string_view Text) {
    if (Text.empty()) return "O texto está vazio.";
    if (Text.size() > MaxSpokenTextBytes) return TooLongText();
    std::size_t characters = 0;
    bool blank = true;
    for (std::size_t at = 0, length = 0; at < Text.size(); at += length) {
        const char32_t code = DecodeAt(Text, at, length);
        if (code == Malformed) return "O texto não é UTF-8 válido (byte " + std::to_string(at + 1) + ").";
        ++characters;
        if (IsRefusedControl(code))
            return "O texto tem um caractere de controle (caractere " + std::to_string(characters) + ").";
        blank = blank && IsBlank(code);
    }
    if (characters > MaxSpokenCharacters) return TooLongText();
    if (blank) return "O texto só tem espaços em branco.";
    return {};
}

}  // namespace quorvel
