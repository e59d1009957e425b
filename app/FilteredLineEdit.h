// A one-line edit that holds only what its key filter accepts, however the
// text arrives: typed, pasted (keys, menu, middle button), dropped or composed.
#pragma once

#include "app/EntryLineEdit.h"

#include "config/FieldRules.h"

namespace quorvel {

class FilteredLineEdit : public EntryLineEdit {
    Q_OBJECT

public:
    FilteredLineEdit(KeyFilter filter, int maxLength, QWidget* parent = nullptr);

    // Inserts `text` at the caret, minus what the filter refuses.
    void enterText(const QString& text) override;

Q_SIGNALS:
    // The user moved the focus away from the field.
    void left();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QString filtered(const QString& text) const;

    KeyFilter filter_;
};

}  // namespace quorvel
