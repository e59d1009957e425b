// The card session's recorder that keeps each write in the card's history.
#pragma once

#include <memory>
#include <string>

#include "operations/session/CardSession.h"

namespace quorvel {

// Records, before each write, the card as it is found (its first version,
// or what another program changed since the last one; nothing when the
// newest version holds it), and after each write the card as the write left it.
std::unique_ptr<CardRecorder> makeHistoryRecorder(const std::string& folder);

}  // namespace quorvel
