#include "AppTestSupport.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QFile>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace quorvel::testing {

void RecordingMessageBoxes::showMessage(QWidget*, const QString& text) { messages << text; }

void RecordingMessageBoxes::showError(QWidget*, const QString& text) { errors << text; }

bool RecordingMessageBoxes::confirm(QWidget*, const QString& text) {
    questions << text;
    if (answers_.empty()) return false;
    const bool yes = answers_.front();
    answers_.pop_front();
    return yes;
}

std::optional<int> RecordingMessageBoxes::askNumber(QWidget*, const QString& text, int value, int, int) {
    questions << text;
    offeredNumbers << value;
    if (numbers_.empty()) return std::nullopt;
    const std::optional<int> number = numbers_.front();
    numbers_.pop_front();
    return number;
}

void RecordingMessageBoxes::beep() { ++beeps; }

std::optional<FolderChoice> ScriptedFolderBrowser::browse(QWidget*, const FolderBrowseRequest& request) {
    requests << request;
    if (answers_.empty()) return std::nullopt;
    std::optional<QString> answer = answers_.front();
    answers_.pop_front();
    if (!answer) return std::nullopt;
    return FolderChoice{*answer, 7};
}

namespace {

// Clicks OK, or the default button, of the next modal box once it is the
// active window.
void answerNextBox() {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isActiveWindow()) return;
        poll->deleteLater();
        QAbstractButton* button = box->defaultButton() ? box->defaultButton() : box->button(QMessageBox::Ok);
        QTest::mouseClick(button, Qt::LeftButton);
    });
    poll->start(10);
}

}  // namespace

void AnsweredMessageBoxes::showMessage(QWidget* parent, const QString& text) {
    messages << text;
    answerNextBox();
    boxes_.showMessage(parent, text);
}

void AnsweredMessageBoxes::showError(QWidget* parent, const QString& text) {
    answerNextBox();
    boxes_.showError(parent, text);
}

bool AnsweredMessageBoxes::confirm(QWidget* parent, const QString& text) {
    answerNextBox();
    return boxes_.confirm(parent, text);
}

CardFolderOnDisk::CardFolderOnDisk() = default;

QString CardFolderOnDisk::folder() const { return dir_.path() + QDir::separator(); }

void CardFolderOnDisk::write(const QString& name, const QByteArray& bytes) const {
    QFile file(folder() + name);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(bytes);
}

QByteArray CardFolderOnDisk::read(const QString& name) const {
    QFile file(folder() + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool CardFolderOnDisk::exists(const QString& name) const { return QFile::exists(folder() + name); }

int CardFolderOnDisk::fileCount() const { return static_cast<int>(QDir(dir_.path()).entryList(QDir::Files).size()); }

QByteArray emptyCardFile(int number) {
    if (number < 100) return QByteArray(8, ' ') + "0\r\n";
    if (number < 220) return QByteArray(20, ' ') + "\r\n";
    switch (number) {
        case 220:
            return "00000100        0000\r\n";
        case 221:
        case 421:
            return QByteArray(40, ' ') + "\r\n";
        case 222:
            return QByteArray(16, ' ') + "\r\n";
        default:
            return QByteArray(6, ' ') + "\r\n";
    }
}

void dropText(QWidget* target, const QString& text) {
    QMimeData mime;
    mime.setText(text);
    const QPointF position(1, target->height() / 2.0);
    // A drop only reaches a widget that accepted the drag entering it.
    QDragEnterEvent enter(position.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(position, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
}

bool showActive(QWidget* window) {
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

std::unique_ptr<TMainFormQuorvel> openWindow(const CardFolderOnDisk& card, MessageBoxes& boxes, bool settled) {
    auto window = std::make_unique<TMainFormQuorvel>(card.folder(), boxes);
    if (settled) window->configuration().tChangeTimer();
    showActive(window.get());
    return window;
}

}  // namespace quorvel::testing
