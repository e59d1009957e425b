// A label that reacts to a click without taking the focus, so the field
// being edited is not left (and its exit check does not run).
#pragma once

#include <QLabel>

namespace quorvel {

class ClickableLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace quorvel
