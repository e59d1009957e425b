// The modal boxes the window shows. The window never opens a dialog itself,
// so tests can replace this and never block on one.
#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace quorvel {

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;

    // Captioned with the application title, one OK button.
    virtual void showMessage(QWidget* parent, const QString& text) = 0;
    // An error that ended an operation; same caption.
    virtual void showError(QWidget* parent, const QString& text) = 0;
    // Titled "Confirmação", buttons "&Sim" and "&Não"; true for "&Sim".
    virtual bool confirm(QWidget* parent, const QString& text) = 0;
    // Asks for a whole number from `minimum` to `maximum`, offering `value`;
    // nothing when the user cancels.
    virtual std::optional<int> askNumber(QWidget* parent, const QString& text, int value, int minimum, int maximum) = 0;
    virtual void beep() = 0;
};

}  // namespace quorvel
