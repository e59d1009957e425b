// Errors that end a load, a save or the creation of card files. Their texts
// are the ones the window shows in its error box.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "CardResult.h"

namespace quorvel {

class CardError : public std::runtime_error {
public:
    explicit CardError(const std::string& message)
        : std::runtime_error(message), result_(CardResult::failed(message)) {}
    // A failed write: its message, the file it concerns and what the card holds.
    explicit CardError(CardResult result) : std::runtime_error(result.message), result_(std::move(result)) {}

    const CardResult& result() const { return result_; }

private:
    CardResult result_;
};

// "Cannot open file "PATH". REASON"
std::string cannotOpenMessage(std::string_view path, std::string_view reason);
// "List index out of bounds (-1)": a card file without any line.
std::string emptyFileMessage();
// The input/output error text of a failed write: "File access denied",
// "Disk full", ... or "I/O error N" for other causes.
std::string writeErrorMessage(int errorNumber);

// The error box shows the message with a full stop appended when its last
// character sorts after "." (so "Disk full" gets one and "... denied." none).
std::string errorBoxText(std::string_view message);

}  // namespace quorvel
