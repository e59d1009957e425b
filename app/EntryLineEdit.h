// A one-line edit whose text arrives only through its own entry rules,
// however it comes: pasted from the keyboard, the context menu or the middle
// button, or dropped. Subclasses say what entering a text means.
#pragma once

#include <QLineEdit>

namespace quorvel {

class EntryLineEdit : public QLineEdit {
    Q_OBJECT

public:
    using QLineEdit::QLineEdit;

    // Enters `text` at the caret under the field's rules.
    virtual void enterText(const QString& text) = 0;

protected:
    // True when the key press was a paste, which has then been entered.
    bool enteredPaste(QKeyEvent* event);

    void dropEvent(QDropEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace quorvel
