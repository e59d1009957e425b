#pragma once

#include <stdexcept>

namespace quorvel {

// Misuse of an audio component and failures inside a chain; carries only a message.
class EAuException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace quorvel
