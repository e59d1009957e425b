// Small factories for the controls every page repeats.
#pragma once

#include <QComboBox>
#include <QString>
#include <string_view>

#include "app/QtText.h"
#include "config/DeviceConfiguration.h"

class QLabel;
class QWidget;

namespace quorvel {

// A selection-only drop-down list holding `items`, with nothing selected.
template <typename Items>
QComboBox* makeDropDownList(QWidget* parent, const QString& name, const Items& items) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    for (std::string_view item : items) list->addItem(toQString(item));
    list->setCurrentIndex(kNoSelection);
    return list;
}

QLabel* makeLabel(QWidget* parent, const QString& caption);
void makeBold(QWidget* widget);

}  // namespace quorvel
