// The command strip's word on the card as a device: cards inserted or pulled
// out while the window runs, whether a write has reached the card, and the
// "Ejetar cartão" button. A card the disk service reports read-only, or whose
// file system cannot be written, is shown with writing disabled and why.
#pragma once

#include <QObject>
#include <QString>
#include <vector>

#include "shell/RemovableCards.h"

class QBoxLayout;
class QLabel;
class QPushButton;
class QWidget;

namespace quorvel {

struct CommandStrip;
class MessageBoxes;

class CardNotices : public QObject {
    Q_OBJECT

public:
    // Adds the notice and the eject button to `strip`'s row `into`, and names
    // the card in `window`'s title.
    CardNotices(QWidget* window, QBoxLayout* into, const CommandStrip& strip, const QString& cardFolder,
                MessageBoxes& boxes);

    // Around each write to the card: the strip tells when it may be pulled out.
    void writingStarted();
    void writingFinished();

    // The volume holding the card folder, when it is a removable one.
    const RemovableVolume* cardVolume() const { return onCard_ ? &card_ : nullptr; }
    QLabel* notice() const { return notice_; }

public Q_SLOTS:
    // Opens the card the notice names as inserted, mounting it first if needed.
    void openInserted();
    void ejectCard();

Q_SIGNALS:
    // The technician asked to edit the card in `folder` instead.
    void openRequested(const QString& folder);

private:
    void volumesChanged();
    void say(const QString& text, bool offerOpen = false);
    // Disables the commands that write the card, saying why.
    void holdWriting(const QString& reason);

    QWidget* window_;
    const CommandStrip& strip_;
    QString cardFolder_;
    MessageBoxes& boxes_;
    RemovableCards cards_;
    std::vector<RemovableVolume> known_;
    RemovableVolume card_;
    bool onCard_ = false;
    RemovableVolume inserted_;  // the one an "Abrir" opens
    QString writingHeld_;       // why the card cannot be written, when it cannot
    QLabel* notice_ = nullptr;
    QPushButton* eject_ = nullptr;
};

}  // namespace quorvel
