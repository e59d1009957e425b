// The window on the card being edited. Opening another card from the command
// strip replaces it; opening a card that was pulled out during a write first
// names what the write left and offers the card's last good state.
#pragma once

#include <QObject>
#include <QString>
#include <memory>

namespace quorvel {

class MessageBoxes;
class TMainFormQuorvel;

class CardWindows : public QObject {
    Q_OBJECT

public:
    explicit CardWindows(MessageBoxes& boxes);
    ~CardWindows() override;

    // Shows the window on `folder`, which ends with a separator.
    TMainFormQuorvel* open(const QString& folder);
    TMainFormQuorvel* window() const { return window_.get(); }

private:
    // Once the close query allows it, the window on `folder` replaces the current one.
    void replace(const QString& folder);

    MessageBoxes& boxes_;
    std::unique_ptr<TMainFormQuorvel> window_;
};

// When the card in `folder` shows a write cut short, says so naming the files
// and offers to put back the newest safety copy; nothing otherwise.
void offerLastGoodState(const QString& folder, MessageBoxes& boxes);

}  // namespace quorvel
