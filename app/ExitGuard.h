// Keeps the focus on a field that refused to be left. The focus is given
// back after the message, so on its way back it briefly passes through the
// field the user moved to; that field's own exit check must not run then.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include "shell/MessageBoxes.h"

namespace quorvel {

class ExitGuard {
public:
    ExitGuard(MessageBoxes& boxes, QWidget* dialogParent);

    // True while the focus is owed to another field than `field`.
    bool owedElsewhere(const QWidget* field) const;
    // True while `field` is getting back the focus it refused to give up.
    bool returningTo(const QWidget* field) const;

    // Shows `message` and gives the focus back to `field`.
    void refuse(QWidget* field, const QString& message);
    void beep();

    MessageBoxes& boxes() const { return boxes_; }
    QWidget* dialogParent() const { return dialogParent_; }

private:
    MessageBoxes& boxes_;
    QWidget* dialogParent_;
    QPointer<QWidget> owedTo_;
};

// A focus loss that counts as leaving the field: not the window losing
// activation and not a popup opening over the field.
bool isFieldExit(Qt::FocusReason reason);

}  // namespace quorvel
