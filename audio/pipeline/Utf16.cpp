#include "audio/pipeline/Utf16.h"

#include <cstdint>

namespace quorvel {

namespace {

constexpr char32_t Replacement = 0xFFFD;

// Decodes one code point starting at Text[Index] and moves Index past it.
char32_t DecodeUtf8(std::string_view Text, std::size_t& Index) {
    const auto lead = static_cast<std::uint8_t>(Text[Index++]);
    if (lead < 0x80) return lead;
    int extra = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        value = lead & 0x1FU;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        value = lead & 0x0FU;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        value = lead & 0x07U;
        minimum = 0x10000;
    } else {
        return Replacement;
    }
    for (int i = 0; i < extra; ++i) {
        if (Index >= Text.size()) return Replacement;
        const auto next = static_cast<std::uint8_t>(Text[Index]);
        if ((next & 0xC0) != 0x80) return Replacement;
        value = (value << 6) | (next & 0x3FU);
        ++Index;
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return Replacement;
    return value;
}

void AppendUtf8(std::string& Out, char32_t Value) {
    const auto put = [&Out](std::uint32_t byte) { Out.push_back(static_cast<char>(byte)); };
    const auto value = static_cast<std::uint32_t>(Value);
    if (value < 0x80) {
        put(value);
    } else if (value < 0x800) {
        put(0xC0 | (value >> 6));
        put(0x80 | (value & 0x3F));
    } else if (value < 0x10000) {
        put(0xE0 | (value >> 12));
        put(0x80 | ((value >> 6) & 0x3F));
        put(0x80 | (value & 0x3F));
    } else {
        put(0xF0 | (value >> 18));
        put(0x80 | ((value >> 12) & 0x3F));
        put(0x80 | ((value >> 6) & 0x3F));
        put(0x80 | (value & 0x3F));
    }
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view Text) {
    std::u16string out;
    out.reserve(Text.size());
    for (std::size_t i = 0; i < Text.size();) {
        const char32_t value = DecodeUtf8(Text, i);
        if (value < 0x10000) {
            out.push_back(static_cast<char16_t>(value));
        } else {
            const char32_t offset = value - 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (offset >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (offset & 0x3FF)));
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view Text) {
    std::string out;
    out.reserve(Text.size());
    for (std::size_t i = 0; i < Text.size(); ++i) {
        const char16_t unit = Text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < Text.size() && Text[i + 1] >= 0xDC00 && Text[i + 1] <= 0xDFFF) {
            AppendUtf8(out, 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (char32_t(Text[i + 1]) - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            AppendUtf8(out, Replacement);
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}

}  // namespace quorvel
