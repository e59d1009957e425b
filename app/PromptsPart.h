// Page 2: converting a recording or a typed text into a menu's prompt, and
// the overview of every prompt of the card with its playback and levelling.
#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "app/ConvertPage.h"
#include "operations/prompt/PromptConversion.h"
#include "operations/prompt/PromptFiles.h"
#include "operations/prompt/PromptLevelAll.h"
#include "operations/session/CardSession.h"

class QTemporaryFile;
class QThreadPool;
class QWidget;

namespace quorvel {

class MessageBoxes;
class OpenFileDialog;
class SoundPlayer;

class PromptsPart : public QObject {
    Q_OBJECT

public:
    // Builds the page into `page`; `window` is the parent of the boxes and dialogs.
    PromptsPart(QWidget* window, QWidget* page, std::shared_ptr<CardSession> session, const QString& programFolder,
                MessageBoxes& boxes, SoundPlayer& sound);
    ~PromptsPart() override;

    // Replaces the file chooser of the page (tests).
    void setOpenDialog2(std::unique_ptr<OpenFileDialog> dialog);
    // Replaces how a levelled prompt is put in place (tests).
    void setPromptInstaller(TPromptInstaller install) { installPrompt_ = std::move(install); }
    // Waits for the overview's measurements and shows them (tests).
    void settleOverview();
    // Selects prompt `index` in the page's list, where a missing prompt is made.
    QWidget* promptField(int index);

public Q_SLOTS:
    void btSelecioneClick();
    void btTextoClick();
    void btIgualarTodosClick();
    void WaveOut1Progress();
    void WaveOut2Progress();
    void WaveOut1Done();
    void WaveOut2Done();
    void SpeedButton6Click();
    void SpeedButton10Click();
    void SpeedButton9Click();
    void SpeedButton8Click();
    void SpeedButton7Click();
    void SpeedButton1Click();
    void SpeedButton14Click();
    void SpeedButton13Click();
    void SpeedButton12Click();
    void SpeedButton11Click();
    void SpeedButton15Click();
    // Plays the prompt of `menu` as its "Play >" on page 0 does.
    void playMenu(int menu);
    // Measures the prompts off the window's thread; each row fills in when ready.
    void measureOverview();
    // No prompt chosen in the page's list.
    void clearSelection();
    // A folder copy holds the card's commands; a conversion that ends
    // meanwhile installs its prompt once the copy is over.
    void copyStarted();
    void copyFinished();

Q_SIGNALS:
    void writingFinished();
    // A text for the command strip's notice line.
    void notice(const QString& text);

private:
    void connectPage();
    // Converts `source` into the prompt of menu `index` unless a conversion
    // runs or the card is held elsewhere; `finished` runs when it ends.
    bool beginConversion(int index, const std::string& source, TLevelMode level, std::function<void()> finished);
    void promptFinished(const TPromptResult& result);
    void measureOverviewRow(int index);
    void playPrompt(int menu);
    void showSessionNotices();

    QWidget* window_;
    std::shared_ptr<CardSession> session_;
    QString programFolder_;
    MessageBoxes& boxes_;
    SoundPlayer& sound_;
    ConvertPage convertPage_;
    TPromptConversion prompt_;
    std::unique_ptr<OpenFileDialog> openDialog2_;
    CardSession::Hold promptHold_;  // while a conversion runs
    TPromptInstaller installPrompt_ = InstallOnCard;
    bool copying_ = false;
    bool monoDonePending_ = false;                   // a conversion's end, waiting for a copy to finish
    std::unique_ptr<QTemporaryFile> telephoneCopy_;  // the prompt last played as on the telephone
    // A row shows only its latest measurement.
    std::array<unsigned, PromptCount> overviewGeneration_{};
    // Last, so it is gone (its work finished) before what that work touches.
    std::unique_ptr<QThreadPool> overviewPool_;
};

}  // namespace quorvel
