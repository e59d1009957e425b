#include "app/MaskedEdit.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <utility>

#include "app/ExitGuard.h"
#include "config/FieldRules.h"

namespace quorvel {

namespace {

constexpr char kPlaceholder = '_';

bool isDigitPosition(int position) { return position != kMaskSeparatorPosition; }

// Already in the field's positional form: kept as it is, blanks included.
bool isPositional(MaskKind kind, std::string_view text) {
    if (text.size() != kMaskedLength) return false;
    for (int i = 0; i < kMaskedLength; ++i) {
        const char c = text[i];
        const bool fits = isDigitPosition(i) ? (c == ' ' || maskAccepts(i, c)) : c == maskSeparator(kind);
        if (!fits) return false;
    }
    return true;
}

}  // namespace

MaskedEdit::MaskedEdit(MaskKind kind, ExitGuard& guard, QWidget* parent)
    : EntryLineEdit(parent), kind_(kind), guard_(guard), value_(emptyMaskedText(kind)) {
    setMaxLength(kMaskedLength);
    // Whatever the line edit's own editing does (undo, cut, ...) is taken back:
    // only this class changes the value.
    connect(this, &QLineEdit::textEdited, this, [this] { show(cursorPosition()); });
    show(0);
}

QString MaskedEdit::maskedText() const { return QString::fromStdString(value_); }

void MaskedEdit::setMaskedText(const QString& text) {
    std::string given = text.toStdString();
    store(isPositional(kind_, given) ? std::move(given) : applyMask(kind_, given), 0);
}

void MaskedEdit::store(std::string value, int caret) {
    const bool changed = value != value_;
    value_ = std::move(value);
    show(caret);
    if (changed) Q_EMIT maskedTextChanged();
}

void MaskedEdit::show(int caret) {
    std::string shown = value_;
    if (hasFocus()) {
        for (int i = 0; i < kMaskedLength; ++i) {
            if (isDigitPosition(i) && shown[i] == ' ') shown[i] = kPlaceholder;
        }
    }
    shown_ = QString::fromStdString(shown);
    QLineEdit::setText(shown_);
    setCursorPosition(caret);
}

bool MaskedEdit::typeCharacter(char c) {
    int position = cursorPosition();
    std::string value = value_;
    if (hasSelectedText()) {
        position = selectionStart();
        deselect();
    }
    if (c == maskSeparator(kind_)) {
        if (position > kMaskSeparatorPosition) return false;
        // Typing the separator closes the first section, aligned to the right.
        std::string digits;
        for (int i = 0; i < kMaskSeparatorPosition; ++i) {
            if (value[i] != ' ') digits += value[i];
        }
        value.replace(0, kMaskSeparatorPosition, std::string(kMaskSeparatorPosition - digits.size(), ' ') + digits);
        edited_ = true;
        store(value, kMaskSeparatorPosition + 1);
        return true;
    }
    if (position == kMaskSeparatorPosition) ++position;
    if (position >= kMaskedLength || !maskAccepts(position, c)) return false;
    value[position] = c;
    int caret = position + 1;
    if (caret == kMaskSeparatorPosition) ++caret;
    edited_ = true;
    store(value, caret);
    return true;
}

void MaskedEdit::enterText(const QString& text) {
    for (QChar c : text) {
        if (c.unicode() > 0x7f) continue;
        typeCharacter(static_cast<char>(c.unicode()));
    }
}

void MaskedEdit::erase(bool backward) {
    std::string value = value_;
    int caret = cursorPosition();
    if (hasSelectedText()) {
        caret = selectionStart();
        const int end = selectionStart() + static_cast<int>(selectedText().size());
        for (int i = caret; i < end && i < kMaskedLength; ++i) {
            if (isDigitPosition(i)) value[i] = ' ';
        }
    } else if (backward) {
        if (caret == 0) return;
        --caret;
        if (!isDigitPosition(caret)) --caret;
        value[caret] = ' ';
    } else {
        int position = caret;
        if (!isDigitPosition(position)) ++position;
        if (position >= kMaskedLength) return;
        value[position] = ' ';
    }
    edited_ = true;
    store(value, caret);
}

void MaskedEdit::abandonEdits() {
    edited_ = false;
    store(valueOnEntry_, 0);
}

void MaskedEdit::keyPressEvent(QKeyEvent* event) {
    event->accept();
    if (event->key() == Qt::Key_Escape) {
        abandonEdits();
        return;
    }
    if (enteredPaste(event)) return;
    if (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete) {
        erase(event->key() == Qt::Key_Backspace);
        return;
    }
    const QString typed = event->text();
    if (!typed.isEmpty() && typed.at(0).isPrint()) {
        enterText(typed);
        return;
    }
    // Caret movement, selection, copy; editing keys are undone by textEdited.
    QLineEdit::keyPressEvent(event);
    if (QLineEdit::text() != shown_) show(cursorPosition());
}

void MaskedEdit::inputMethodEvent(QInputMethodEvent* event) {
    enterText(event->commitString());
    event->accept();
}

void MaskedEdit::focusInEvent(QFocusEvent* event) {
    const bool returning = guard_.returningTo(this);
    // The focus coming back with the window, from a popup or after a refusal
    // never left the field: what was typed is still an edit of the same entry.
    const bool newEntry = !entered_ || (isFieldExit(event->reason()) && !returning);
    entered_ = true;
    if (newEntry) {
        valueOnEntry_ = value_;
        edited_ = false;
    }
    const int unfilled = returning ? firstUnfilledRequiredPosition(value_) : -1;
    QLineEdit::focusInEvent(event);
    const bool selectAll = hasSelectedText();
    show(unfilled >= 0 ? unfilled : cursorPosition());
    if (selectAll) QLineEdit::selectAll();
}

void MaskedEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    show(cursorPosition());
    if (!isFieldExit(event->reason())) return;
    if (guard_.owedElsewhere(this)) {
        entered_ = false;
        return;
    }
    if (edited_ && !isMaskComplete(value_)) {
        guard_.beep();
        setCursorPosition(firstUnfilledRequiredPosition(value_));
        guard_.refuse(this, QString::fromUtf8(kIncompleteMaskMessage));
        return;
    }
    Q_EMIT left();
    // The field's exit check may have refused too.
    entered_ = guard_.returningTo(this);
}

}  // namespace quorvel
