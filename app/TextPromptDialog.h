// "Texto...": a typed text heard and installed as a menu's prompt, a draft
// voice until the customer's recording arrives.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "operations/prompt/SpokenText.h"

class QCheckBox;
class QPlainTextEdit;

namespace quorvel {

class MessageBoxes;
class SoundPlayer;

class TextPromptDialog : public QDialog {
    Q_OBJECT

public:
    // Puts the spoken WAV on the card; false when that could not start.
    using Installer = std::function<bool(std::shared_ptr<TSpokenWave> wave)>;

    // `target` names the menu in the title; "Ouvir" plays what a caller hears
    // while `telephone` is ticked. Deletes itself when closed.
    TextPromptDialog(const QString& target, MessageBoxes& boxes, SoundPlayer& sound, const QCheckBox* telephone,
                     Installer install, QWidget* parent);
    ~TextPromptDialog() override;

private:
    // The text spoken into a temporary WAV, or null after telling the user why not.
    std::shared_ptr<TSpokenWave> speak();
    void listen();
    void record();

    MessageBoxes& boxes_;
    SoundPlayer& sound_;
    const QCheckBox* telephone_;
    Installer install_;
    QPlainTextEdit* text_ = nullptr;      // edTexto
    std::shared_ptr<TSpokenWave> heard_;  // kept while it may be playing
};

}  // namespace quorvel
