// What the window tests share: recorded message boxes, a card folder on
// disk and a shown, active window over it.
#pragma once

#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>
#include <deque>
#include <memory>

#include "app/MainFormQuorvel.h"
#include "shell/FolderBrowser.h"
#include "shell/MessageBoxes.h"
#include "shell/OperationSeams.h"
#include "shell/QtMessageBoxes.h"

namespace quorvel::testing {

class RecordingMessageBoxes final : public MessageBoxes {
public:
    void showMessage(QWidget* parent, const QString& text) override;
    void showError(QWidget* parent, const QString& text) override;
    bool confirm(QWidget* parent, const QString& text) override;
    std::optional<int> askNumber(QWidget* parent, const QString& text, int value, int minimum, int maximum) override;
    void beep() override;

    // Answers for the next confirmations, in order; none queued answers "&Não".
    void answer(bool yes) { answers_.push_back(yes); }
    // Answers for the next number questions; none queued is a cancel.
    void answerNumber(std::optional<int> number) { numbers_.push_back(number); }

    QStringList messages;
    QStringList errors;
    QStringList questions;
    QList<int> offeredNumbers;
    int beeps = 0;

private:
    std::deque<bool> answers_;
    std::deque<std::optional<int>> numbers_;
};

// Answers the folder chooser with queued folders; none queued is a cancel.
class ScriptedFolderBrowser final : public FolderBrowser {
public:
    std::optional<FolderChoice> browse(QWidget* owner, const FolderBrowseRequest& request) override;

    void choose(const QString& folder) { answers_.push_back(folder); }
    void cancel() { answers_.push_back(std::nullopt); }

    QList<FolderBrowseRequest> requests;

private:
    std::deque<std::optional<QString>> answers_;
};

class RecordingSoundPlayer final : public SoundPlayer {
public:
    void play(const QString& path) override { calls << QStringLiteral("play ") + path; }
    void stop() override { calls << QStringLiteral("stop"); }

    QStringList calls;
};

class RecordingLauncher final : public ProgramLauncher {
public:
    void launch(const QString& path) override { launched << path; }

    QStringList launched;
};

// Every seam of the card operations, recorded.
struct RecordedOperations {
    ScriptedFolderBrowser folders;
    RecordingSoundPlayer sound;
    RecordingLauncher launcher;

    OperationSeams seams() { return {folders, sound, launcher}; }
};

// The program's own modal boxes, each answered with OK once it is up and
// active, so the window loses and regains activation as with a user.
class AnsweredMessageBoxes final : public MessageBoxes {
public:
    void showMessage(QWidget* parent, const QString& text) override;
    void showError(QWidget* parent, const QString& text) override;
    bool confirm(QWidget* parent, const QString& text) override;
    // Takes the offered number without showing a dialog.
    std::optional<int> askNumber(QWidget*, const QString&, int value, int, int) override { return value; }
    void beep() override {}

    QStringList messages;

private:
    QtMessageBoxes boxes_;
};

class CardFolderOnDisk {
public:
    CardFolderOnDisk();

    QString folder() const;  // ends with a separator
    void write(const QString& name, const QByteArray& bytes) const;
    QByteArray read(const QString& name) const;
    bool exists(const QString& name) const;
    int fileCount() const;

private:
    QTemporaryDir dir_;
};

// The record line written for every card file of an empty configuration.
QByteArray emptyCardFile(int number);

// The child named `name`, or nullptr.
template <typename T>
T* child(const QWidget* window, const QString& name) {
    return window->findChild<T*>(name);
}

// Drags `text` onto the left end of `target` and drops it there.
void dropText(QWidget* target, const QString& text);

// Shows `window`, makes it active and waits until it is.
bool showActive(QWidget* window);

// A window on `card`, with the start-up settle already run when asked for.
std::unique_ptr<TMainFormQuorvel> openWindow(const CardFolderOnDisk& card, MessageBoxes& boxes, bool settled = true);

}  // namespace quorvel::testing
