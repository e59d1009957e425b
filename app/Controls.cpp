#include "app/Controls.h"

#include <QLabel>

namespace quorvel {

QLabel* makeLabel(QWidget* parent, const QString& caption) { return new QLabel(caption, parent); }

void makeBold(QWidget* widget) {
    QFont font = widget->font();
    font.setBold(true);
    widget->setFont(font);
}

}  // namespace quorvel
