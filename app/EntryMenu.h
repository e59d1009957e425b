// The context menu of the window's edits, with "Paste" routed through the
// field's own entry rules instead of straight into the text.
#pragma once

#include <functional>

class QContextMenuEvent;
class QLineEdit;

namespace quorvel {

void execEntryMenu(QLineEdit* edit, QContextMenuEvent* event, const std::function<void()>& paste);

}  // namespace quorvel
