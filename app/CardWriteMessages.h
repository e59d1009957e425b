// What the window's parts say around a write: who holds the card, and what a
// failed write or read left on it.
#pragma once

#include "config/CardResult.h"
#include "operations/session/CardSession.h"

class QWidget;

namespace quorvel {

class MessageBoxes;

// The card held for one of the window's writes, or none after saying who
// writes it now. Another program's write is waited for by the caller, never
// here on the window's thread.
CardSession::Hold holdCard(CardSession& session, MessageBoxes& boxes, QWidget* parent);

// Shows a failed read with the error text of the card files.
void showReadError(MessageBoxes& boxes, QWidget* parent, const CardResult& result);

// Shows a failed write with what the card holds now.
void showWriteError(MessageBoxes& boxes, QWidget* parent, const CardResult& result);

}  // namespace quorvel
