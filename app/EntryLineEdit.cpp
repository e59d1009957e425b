#include "app/EntryLineEdit.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <memory>

namespace quorvel {

bool EntryLineEdit::enteredPaste(QKeyEvent* event) {
    if (event != QKeySequence::Paste) return false;
    enterText(QGuiApplication::clipboard()->text());
    event->accept();
    return true;
}

void EntryLineEdit::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    setCursorPosition(cursorPositionAt(event->position().toPoint()));
    enterText(event->mimeData()->text());
    event->acceptProposedAction();
}

// The standard menu, with "Paste" routed through the entry rules instead of
// straight into the text.
void EntryLineEdit::contextMenuEvent(QContextMenuEvent* event) {
    std::unique_ptr<QMenu> menu(createStandardContextMenu());
    for (QAction* action : menu->actions()) {
        if (action->objectName() != QLatin1String("edit-paste")) continue;
        QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
        QObject::connect(action, &QAction::triggered, this,
                         [this] { enterText(QGuiApplication::clipboard()->text()); });
    }
    menu->exec(event->globalPos());
}

void EntryLineEdit::mouseReleaseEvent(QMouseEvent* event) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (event->button() == Qt::MiddleButton && clipboard->supportsSelection()) {
        setCursorPosition(cursorPositionAt(event->position().toPoint()));
        enterText(clipboard->text(QClipboard::Selection));
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

}  // namespace quorvel
