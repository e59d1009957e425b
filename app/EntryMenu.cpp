#include "app/EntryMenu.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <memory>

namespace quorvel {

void execEntryMenu(QLineEdit* edit, QContextMenuEvent* event, const std::function<void()>& paste) {
    std::unique_ptr<QMenu> menu(edit->createStandardContextMenu());
    for (QAction* action : menu->actions()) {
        if (action->objectName() != QLatin1String("edit-paste")) continue;
        QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
        QObject::connect(action, &QAction::triggered, edit, paste);
    }
    menu->exec(event->globalPos());
}

}  // namespace quorvel
