#include "shell/QtMessageBoxes.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include "shell/ApplicationTitle.h"

namespace quorvel {

namespace {

// Texts name files and programs another user may have chosen: never rich text.
void showPlain(QMessageBox::Icon icon, QWidget* parent, const QString& text) {
    QMessageBox box(icon, applicationTitle(), text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace

void QtMessageBoxes::showMessage(QWidget* parent, const QString& text) { showPlain(QMessageBox::NoIcon, parent, text); }

void QtMessageBoxes::showError(QWidget* parent, const QString& text) { showPlain(QMessageBox::Critical, parent, text); }

bool QtMessageBoxes::confirm(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, QString::fromUtf8("Confirmação"), text, QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);
    QPushButton* yes = box.addButton(QStringLiteral("&Sim"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QString::fromUtf8("&Não"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

std::optional<int> QtMessageBoxes::askNumber(QWidget* parent, const QString& text, int value, int minimum,
                                             int maximum) {
    bool accepted = false;
    const int number = QInputDialog::getInt(parent, applicationTitle(), text, value, minimum, maximum, 1, &accepted);
    if (!accepted) return std::nullopt;
    return number;
}

void QtMessageBoxes::beep() { QApplication::beep(); }

}  // namespace quorvel
