#include "app/FilteredLineEdit.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

#include "app/ExitGuard.h"

namespace quorvel {

FilteredLineEdit::FilteredLineEdit(KeyFilter filter, int maxLength, QWidget* parent)
    : EntryLineEdit(parent), filter_(filter) {
    setMaxLength(maxLength);
}

QString FilteredLineEdit::filtered(const QString& text) const {
    return QString::fromStdString(filterText(filter_, text.toStdString()));
}

void FilteredLineEdit::enterText(const QString& text) {
    const QString kept = filtered(text);
    if (!kept.isEmpty()) insert(kept);
}

void FilteredLineEdit::keyPressEvent(QKeyEvent* event) {
    if (enteredPaste(event)) return;
    const QString typed = event->text();
    if (typed.isEmpty() || !typed.at(0).isPrint()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QString kept = filtered(typed);
    if (kept == typed) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    // Refused characters vanish; "m" arrives as "M".
    if (!kept.isEmpty()) insert(kept);
    event->accept();
}

void FilteredLineEdit::inputMethodEvent(QInputMethodEvent* event) {
    if (event->commitString().isEmpty()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent kept(event->preeditString(), event->attributes());
    kept.setCommitString(filtered(event->commitString()), event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&kept);
}

void FilteredLineEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (isFieldExit(event->reason())) Q_EMIT left();
}

}  // namespace quorvel
