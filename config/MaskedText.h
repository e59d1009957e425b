// The masked fields' text forms. Both masks ("!90:00;1;_" for times and
// "!90/00;1;_" for dates) have five positions: an optional digit, a required
// digit, the literal separator and two required digits. Blanks stand for
// unfilled positions; "!" aligns short sections to the right.
#pragma once

#include <string>
#include <string_view>

namespace quorvel {

constexpr int kMaskedLength = 5;
constexpr int kMaskSeparatorPosition = 2;

enum class MaskKind { Time, Date };

char maskSeparator(MaskKind kind);
std::string emptyMaskedText(MaskKind kind);

// The text the field holds after being given `text` (as a reader does with
// "8:30" or ":"): the digits of each section around the separator are
// right-aligned in its two positions; other characters are dropped.
std::string applyMask(MaskKind kind, std::string_view text);

// Joins two parts the way a reader hands them to the field: "8" and "30" give " 8:30".
std::string maskedFromParts(MaskKind kind, std::string_view first, std::string_view second);

// Position (0-based) of the first required position that is not a digit, or
// -1 when the text is complete. Required positions are 1, 3 and 4.
int firstUnfilledRequiredPosition(std::string_view masked);
bool isMaskComplete(std::string_view masked);

// True when every digit position is blank: the field holds its empty form.
bool isMaskEmpty(std::string_view masked);

// Whether `c` may stand at digit position `position` (0-based).
bool maskAccepts(int position, char c);

}  // namespace quorvel
