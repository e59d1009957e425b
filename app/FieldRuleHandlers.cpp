// The input rules of the fields, the unsaved-changes flag and the page rule.
#include <QCloseEvent>
#include <QGroupBox>
#include <QPushButton>
#include <QTimer>

#include "app/FilteredLineEdit.h"
#include "app/MainFormQuorvel.h"
#include "app/MaskedEdit.h"
#include "app/QtText.h"
#include "config/FieldRules.h"
#include "shell/MessageBoxes.h"

namespace quorvel {

namespace {
constexpr int kConvertPageIndex = 2;
}

void TMainFormQuorvel::x001Change() { dataChanged_ = true; }

void TMainFormQuorvel::x001Exit(FilteredLineEdit* field) {
    if (guard_.owedElsewhere(field)) return;
    if (auto message = checkMenuReference(toStdString(field->text()))) guard_.refuse(field, toQString(*message));
}

void TMainFormQuorvel::HoraDom1Exit(MaskedEdit* field) {
    if (guard_.owedElsewhere(field)) return;
    if (auto message = checkTime(toStdString(field->maskedText()))) guard_.refuse(field, toQString(*message));
}

void TMainFormQuorvel::edFer1Exit(MaskedEdit* field) {
    if (guard_.owedElsewhere(field)) return;
    if (auto message = checkDate(toStdString(field->maskedText()))) guard_.refuse(field, toQString(*message));
}

void TMainFormQuorvel::edRestauraExit() {
    FilteredLineEdit* field = fields_.restoreCode;
    if (guard_.owedElsewhere(field)) return;
    for (const std::string& message : checkStarPosition(toStdString(field->text()))) {
        guard_.refuse(field, toQString(message));
    }
}

void TMainFormQuorvel::tChangeTimer() {
    tChange_->stop();
    dataChanged_ = false;
    menusPage_.timetableGroup->setEnabled(true);
    menusPage_.menusGroup->setEnabled(true);
}

void TMainFormQuorvel::PageControl1Change(int index) {
    for (QPushButton* button : commands_.configurationButtons())
        button->setEnabled(index != kConvertPageIndex && !copying_);
}

bool TMainFormQuorvel::FormCloseQuery() {
    if (!dataChanged_) return true;
    return boxes_.confirm(this,
                          QString::fromUtf8("Existem dados que não foram salvos deseja realmente sair sem salvar?"));
}

void TMainFormQuorvel::closeEvent(QCloseEvent* event) {
    if (FormCloseQuery()) {
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace quorvel
