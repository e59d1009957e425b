#include "MaskedText.h"
#include "AsciiDigit.h"

#include <array>

namespace quorvel {
namespace {

constexpr std::array<int, 3> kRequiredPositions = {1, 3, 4};
constexpr int kSectionWidth = 2;

// Fills a two-position section from the right with the section's last
// digits; anything else in it has no position to go to.
void placeSection(std::string& masked, int start, std::string_view section) {
    std::string digits;
    for (char c : section) {
        if (isAsciiDigit(c)) digits += c;
    }
    if (digits.size() > kSectionWidth) digits.erase(0, digits.size() - kSectionWidth);
    masked.replace(static_cast<std::size_t>(start + kSectionWidth) - digits.size(), digits.size(), digits);
}

}  // namespace

char maskSeparator(MaskKind kind) { return kind == MaskKind::Time ? ':' : '/'; }

std::string emptyMaskedText(MaskKind kind) {
    std::string text(kMaskedLength, ' ');
    text[kMaskSeparatorPosition] = maskSeparator(kind);
    return text;
}

std::string applyMask(MaskKind kind, std::string_view text) {
    std::string masked = emptyMaskedText(kind);
    std::size_t separator = text.find(maskSeparator(kind));
    std::string_view first;
    std::string_view second;
    if (separator != std::string_view::npos) {
        first = text.substr(0, separator);
        second = text.substr(separator + 1);
    } else if (text.size() > kSectionWidth) {
        first = text.substr(0, text.size() - kSectionWidth);
        second = text.substr(text.size() - kSectionWidth);
    } else {
        first = text;
    }
    placeSection(masked, 0, first);
    placeSection(masked, kMaskSeparatorPosition + 1, second);
    return masked;
}

std::string maskedFromParts(MaskKind kind, std::string_view first, std::string_view second) {
    std::string joined(first);
    joined += maskSeparator(kind);
    joined += second;
    return applyMask(kind, joined);
}

int firstUnfilledRequiredPosition(std::string_view masked) {
    for (int position : kRequiredPositions) {
        if (static_cast<int>(masked.size()) <= position || !isAsciiDigit(masked[position])) return position;
    }
    return -1;
}

bool isMaskComplete(std::string_view masked) { return firstUnfilledRequiredPosition(masked) < 0; }

bool isMaskEmpty(std::string_view masked) {
    for (std::size_t i = 0; i < masked.size(); ++i) {
        if (static_cast<int>(i) != kMaskSeparatorPosition && masked[i] != ' ') return false;
    }
    return true;
}

bool maskAccepts(int position, char c) {
    return position >= 0 && position < kMaskedLength && position != kMaskSeparatorPosition && isAsciiDigit(c);
}

}  // namespace quorvel
