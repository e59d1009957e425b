// A one-line edit with the fixed five-position mask of the time and holiday
// fields. The text is positional: blanks stay where they are (" 8:30",
// "  :  "); while the field has the focus each blank digit position shows "_".
// Leaving a field edited since it got the focus requires every required
// position to be filled; Esc gives back the text it had when it got the focus.
#pragma once

#include <string>

#include "app/EntryLineEdit.h"

#include "config/MaskedText.h"

namespace quorvel {

class ExitGuard;

class MaskedEdit : public EntryLineEdit {
    Q_OBJECT

public:
    MaskedEdit(MaskKind kind, ExitGuard& guard, QWidget* parent = nullptr);

    // The text with blanks, as the card and the exit checks see it.
    QString maskedText() const;
    // Keeps a text already in positional form ("1 :5 "); aligns any other
    // the way a reader hands it over ("8:30", ":").
    void setMaskedText(const QString& text);

    // Enters `text` at the caret as if its characters were typed one by one.
    void enterText(const QString& text) override;

Q_SIGNALS:
    void maskedTextChanged();
    // The user left the field and it passed the completeness test.
    void left();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool typeCharacter(char c);
    void erase(bool backward);
    void abandonEdits();
    void store(std::string value, int caret);
    void show(int caret);

    MaskKind kind_;
    ExitGuard& guard_;
    std::string value_;
    std::string valueOnEntry_;
    QString shown_;
    bool edited_ = false;
    // The focus came in and has not left the field since; the window losing
    // activation or a popup opening does not leave it.
    bool entered_ = false;
};

}  // namespace quorvel
