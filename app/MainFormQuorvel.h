// The program's only window: editor of the whole card configuration and its
// only storage between a load and a save.
#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <memory>
#include <utility>

#include "app/CommandStrip.h"
#include "app/ConfigurationFields.h"
#include "app/ConvertPage.h"
#include "app/ExitGuard.h"
#include "app/FlowMapWindow.h"
#include "app/MenusPage.h"
#include "app/ProgressPanel.h"
#include "config/CallFlowCheck.h"
#include "config/CardFolder.h"
#include "config/DeviceConfiguration.h"
#include "operations/FileCopy.h"
#include "operations/prompt/PromptConversion.h"
#include "operations/prompt/PromptFiles.h"
#include "operations/prompt/PromptLevelAll.h"
#include "operations/session/CardSession.h"
#include "shell/OperationSeams.h"

class QFileSystemWatcher;
class QLabel;
class QPushButton;
class QTabWidget;
class QTemporaryFile;
class QThreadPool;
class QTimer;

namespace quorvel {

class CardError;
class CardNotices;
class FilteredLineEdit;
class HistoryDialog;
class MaskedEdit;
class MessageBoxes;
class OpenFileDialog;
class TFolderDialog;
class VerificationList;

class TMainFormQuorvel : public QWidget {
    Q_OBJECT

public:
    // `programFolder` is the card folder; creation runs FormCreate.
    TMainFormQuorvel(const QString& programFolder, MessageBoxes& boxes, FileSystem& fileSystem = realFileSystem(),
                     QWidget* parent = nullptr);
    // The same, with the folder picker, playback and launch given from outside.
    TMainFormQuorvel(const QString& programFolder, MessageBoxes& boxes, OperationSeams seams,
                     FileSystem& fileSystem = realFileSystem(), QWidget* parent = nullptr);
    ~TMainFormQuorvel() override;

    bool dataChanged() const { return dataChanged_; }
    // The strip's notices of the card as a device; writes report to it.
    CardNotices* cardNotices() const { return cardNotices_; }
    const QString& programFolder() const { return programFolder_; }

    // Whether the window may close now; asks when there are unsaved changes.
    bool FormCloseQuery();

    // Replaces the file chooser of page 2 (tests).
    void setOpenDialog2(std::unique_ptr<OpenFileDialog> dialog);
    TPromptConversion& promptConversion() { return prompt_; }
    // Replaces how a levelled prompt is put in place (tests).
    void setPromptInstaller(TPromptInstaller install) { installPrompt_ = std::move(install); }
    // Waits for the overview's measurements and shows them (tests).
    void settleOverview();
    // Replaces the save dialog of "Mapa" and "Relatório" (tests).
    void setSaveFileChooser(SaveFileChooser chooser);

public Q_SLOTS:
    void FormCreate();
    void btGravaClick();
    void btClearClick();
    void Label97Click();
    void Label98Click();
    void Label99Click();
    void Label100Click();

    void x001Change();
    void x001Exit(quorvel::FilteredLineEdit* field);
    void HoraDom1Exit(quorvel::MaskedEdit* field);
    void edFer1Exit(quorvel::MaskedEdit* field);
    void edRestauraExit();
    void tChangeTimer();
    void PageControl1Change(int index);
    void btSelecioneClick();
    void btTextoClick();
    void btIgualarTodosClick();
    void WaveOut1Progress();
    void WaveOut2Progress();
    void WaveOut1Done();
    void WaveOut2Done();

    void btBackupClick();
    void btRestBackUpClick();
    void btAtualizaClick();
    void tAguardaTimer();
    void btFeriadosNacionaisClick();

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
    void Button1Click();
    void lbVerificaClick();
    void lvVerificaDblClick(int row);
    // Compares the card files with what the window last loaded or saved and
    // shows lbAlterado when another program changed them; tCartao runs it
    // once the folder watcher has been quiet for a moment.
    void cardFilesChanged();
    void btMapaClick();
    void btRelatorioClick();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    TMainFormQuorvel(const QString& programFolder, MessageBoxes& boxes, std::unique_ptr<DesktopOperations> desktop,
                     FileSystem& fileSystem, QWidget* parent);

    void buildWindow();
    void connectHandlers();
    void connectFolderCopyHandlers();
    void connectPromptHandlers();
    void connectConversionHandlers();
    void connectHolidayHandlers();
    void promptFinished(const TPromptResult& result);
    // Converts `source` into the prompt of menu `index` unless a conversion
    // runs or the card is held elsewhere; `finished` runs when it ends.
    bool beginConversion(int index, const std::string& source, TLevelMode level, std::function<void()> finished);
    void connectOverviewHandlers();
    // Measures the prompts off the window's thread; each row fills in when ready.
    void measureOverview();
    void measureOverviewRow(int index);
    // Reads every record file into the fields. Throws CardError after
    // showing what was read before the failure.
    void loadConfigurationIntoFields();
    void showCardError(const CardError& error);
    // The card held for one of the window's writes, or none after saying who
    // writes it now.
    CardSession::Hold holdCard();
    // Saves the fields as the card's configuration; `action` names the write
    // in the card's history. When another program writes the card, the save
    // waits for it without holding up the window.
    void saveFields(const QString& action);
    // Shows a failed write with what the card holds now.
    void showWriteError(const CardResult& result);
    void buildCardWatch(QLabel* notice);
    void watchCardFiles();
    // Shows in the strip what the card's history could not record.
    void showSessionNotices();
    void copyDay(DayKind source, std::initializer_list<DayKind> targets);
    // Copies the plain files of `source` into `destination`, a folder that is
    // not the card, with the progress panel.
    void copyFolder(const QString& source, const QString& destination);
    // Runs `copy` with the progress panel and the card's commands held.
    void runCopy(const std::function<void(const CardSession::CopyProgress&)>& copy);
    // While a copy runs, every command that writes or reloads the card folder is disabled.
    void holdCardCommands(bool held);
    // A restore whose destination is the card folder: shows what it will
    // change, keeps a safety copy of the card, copies and reloads the fields.
    // `action` names the restore in the card's history.
    void restoreIntoCard(const QString& source, const QString& action);
    bool isCardFolder(const QString& folder) const;
    // The text of the "Confirmação" box before such a restore.
    QString restorePreviewText(const QString& source);
    void playPrompt(int menu);
    // Runs the call-flow check on the fields and shows its outcome.
    void refreshVerification();
    // The page and the field a finding concerns.
    std::pair<int, QWidget*> fieldOf(const FindingPlace& place);
    // Shows the page of the field and puts the focus in it.
    void showField(const FindingPlace& place);
    void connectMapHandlers();

    QString programFolder_;
    MessageBoxes& boxes_;
    std::unique_ptr<DesktopOperations> desktop_;  // the seams when none were given
    OperationSeams seams_;
    CardFolder card_;
    ExitGuard guard_;
    ConfigurationFields fields_;
    MenusPage menusPage_;
    ConvertPage convertPage_;
    CommandStrip commands_;
    QTabWidget* pageControl_ = nullptr;
    ProgressPanel painel_;
    TFolderDialog* folderDialog_ = nullptr;
    QTimer* tChange_ = nullptr;
    QTimer* tAguarda_ = nullptr;
    VerificationList* verificationList_ = nullptr;
    SaveFileChooser saveChooser_ = platformSaveFileChooser();
    FlowMapWindow* flowMap_ = nullptr;
    HistoryDialog* history_ = nullptr;
    QPushButton* nationalHolidaysButton_ = nullptr;
    bool dataChanged_ = false;
    TPromptConversion prompt_;
    std::unique_ptr<OpenFileDialog> openDialog2_;
    bool copying_ = false;
    bool monoDonePending_ = false;  // a conversion's end, waiting for a copy to finish
    // The card's session, through which every write goes.
    std::shared_ptr<CardSession> session_;
    QFileSystemWatcher* cardWatcher_ = nullptr;
    QTimer* tCartao_ = nullptr;
    QLabel* changedNotice_ = nullptr;  // lbAlterado
    CardSession::Hold promptHold_;     // while a conversion runs
    QTimer* tGrava_ = nullptr;         // retries a save that waits for another program
    QString pendingSave_;              // the action of that save
    CardNotices* cardNotices_ = nullptr;
    TPromptInstaller installPrompt_ = InstallOnCard;
    std::unique_ptr<QTemporaryFile> telephoneCopy_;  // the prompt last played as on the telephone
    // A row shows only its latest measurement.
    std::array<unsigned, PromptCount> overviewGeneration_{};
    // Last, so it is gone (its work finished) before what that work touches.
    std::unique_ptr<QThreadPool> overviewPool_;
};

}  // namespace quorvel
