// The message boxes of the running program.
#pragma once

#include "shell/MessageBoxes.h"

namespace quorvel {

class QtMessageBoxes final : public MessageBoxes {
public:
    void showMessage(QWidget* parent, const QString& text) override;
    void showError(QWidget* parent, const QString& text) override;
    bool confirm(QWidget* parent, const QString& text) override;
    std::optional<int> askNumber(QWidget* parent, const QString& text, int value, int minimum, int maximum) override;
    void beep() override;
};

}  // namespace quorvel
