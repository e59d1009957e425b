#include "app/FilteredLineEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>

#include "app/EntryMenu.h"
#include "app/ExitGuard.h"

namespace quorvel {

FilteredLineEdit::FilteredLineEdit(KeyFilter filter, int maxLength, QWidget* parent)
    : QLineEdit(parent), filter_(filter) {
    setMaxLength(maxLength);
}

QString FilteredLineEdit::filtered(const QString& text) const {
    return QString::fromStdString(filterText(filter_, text.toStdString()));
}

void FilteredLineEdit::insertFiltered(const QString& text) {
    const QString kept = filtered(text);
    if (!kept.isEmpty()) insert(kept);
}

void FilteredLineEdit::keyPressEvent(QKeyEvent* event) {
    if (event == QKeySequence::Paste) {
        insertFiltered(QGuiApplication::clipboard()->text());
        event->accept();
        return;
    }
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
    kept.setCommitString(filtered(event->commitString()), event->replacementStart(),
                         event->replacementLength());
    QLineEdit::inputMethodEvent(&kept);
}

void FilteredLineEdit::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    setCursorPosition(cursorPositionAt(event->position().toPoint()));
    insertFiltered(event->mimeData()->text());
    event->acceptProposedAction();
}

void FilteredLineEdit::contextMenuEvent(QContextMenuEvent* event) {
    execEntryMenu(this, event, [this] { insertFiltered(QGuiApplication::clipboard()->text()); });
}

void FilteredLineEdit::mouseReleaseEvent(QMouseEvent* event) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (event->button() == Qt::MiddleButton && clipboard->supportsSelection()) {
        setCursorPosition(cursorPositionAt(event->position().toPoint()));
        insertFiltered(clipboard->text(QClipboard::Selection));
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void FilteredLineEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (isFieldExit(event->reason())) Q_EMIT left();
}

}  // namespace quorvel
