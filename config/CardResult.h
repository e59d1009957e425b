// What a read or write of the card came to: done, or the error text the user
// sees with the file it concerns. A failed write also says what the card holds.
#pragma once

#include <string>

namespace quorvel {

enum class CardState {
    Unchanged,  // every card file holds what it held before the write
    Written,    // every file of the write holds its new content
    Mixed,      // some files are new and some old: the write could not be undone
};

struct CardResult {
    std::string message;  // empty when done
    std::string file;     // the file the error concerns, when there is one
    CardState state = CardState::Written;

    bool ok() const { return message.empty(); }
    // "FILE: MESSAGE", or the message alone.
    std::string text() const { return file.empty() ? message : file + ": " + message; }

    static CardResult failed(std::string message, std::string file = {}, CardState state = CardState::Unchanged) {
        return CardResult{std::move(message), std::move(file), state};
    }
};

}  // namespace quorvel
