#include "app/ExitGuard.h"

#include <QTimer>

namespace quorvel {

ExitGuard::ExitGuard(MessageBoxes& boxes, QWidget* dialogParent) : boxes_(boxes), dialogParent_(dialogParent) {}

bool ExitGuard::owedElsewhere(const QWidget* field) const { return owedTo_ && owedTo_ != field; }

bool ExitGuard::returningTo(const QWidget* field) const { return owedTo_ && owedTo_ == field; }

void ExitGuard::refuse(QWidget* field, const QString& message) {
    owedTo_ = field;
    boxes_.showMessage(dialogParent_, message);
    // Queued: the focus change that ran the check is still under way.
    QTimer::singleShot(0, field, [this, field] {
        field->setFocus(Qt::OtherFocusReason);
        owedTo_ = nullptr;
    });
}

void ExitGuard::beep() { boxes_.beep(); }

bool isFieldExit(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

}  // namespace quorvel
