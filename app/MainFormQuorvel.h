// The program's only window: it composes the parts that edit the card (the
// configuration pages, the prompts page, backup and restore, the map and
// report, the check's line), builds the pages and the command strip around
// them and wires their signals. The parts share the card's session.
#pragma once

#include <QString>
#include <QWidget>
#include <memory>

#include "app/BackupPart.h"
#include "app/CardWatch.h"
#include "app/CheckLine.h"
#include "app/CommandStrip.h"
#include "app/ConfigurationPart.h"
#include "app/MapReportPart.h"
#include "app/PromptsPart.h"
#include "config/FileSystem.h"
#include "shell/OperationSeams.h"

class QTabWidget;

namespace quorvel {

class CardNotices;
class MessageBoxes;

class TMainFormQuorvel : public QWidget {
    Q_OBJECT

public:
    // `programFolder` is the card folder; creation loads it.
    TMainFormQuorvel(const QString& programFolder, MessageBoxes& boxes, FileSystem& fileSystem = realFileSystem(),
                     QWidget* parent = nullptr);
    // The same, with the folder picker, playback and launch given from outside.
    TMainFormQuorvel(const QString& programFolder, MessageBoxes& boxes, OperationSeams seams,
                     FileSystem& fileSystem = realFileSystem(), QWidget* parent = nullptr);
    ~TMainFormQuorvel() override;

    const QString& programFolder() const { return programFolder_; }
    // The strip's notices of the card as a device; writes report to it.
    CardNotices* cardNotices() const { return cardNotices_; }
    ConfigurationPart& configuration() const { return *configuration_; }
    PromptsPart& prompts() const { return *prompts_; }
    BackupPart& backup() const { return *backup_; }
    MapReportPart& mapReport() const { return *mapReport_; }

    bool dataChanged() const { return configuration_->dataChanged(); }
    // Whether the window may close now; asks when there are unsaved changes.
    bool FormCloseQuery() { return configuration_->FormCloseQuery(); }

public Q_SLOTS:
    // The configuration buttons are greyed out on page 2 and during a copy.
    void PageControl1Change(int index);
    void Button1Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    TMainFormQuorvel(const QString& programFolder, MessageBoxes& boxes, std::unique_ptr<DesktopOperations> desktop,
                     FileSystem& fileSystem, QWidget* parent);

    void buildWindow(FileSystem& fileSystem);
    void connectParts();
    // Shows the page of the field a finding concerns and puts the focus in it.
    void showField(const FindingPlace& place);

    QString programFolder_;
    MessageBoxes& boxes_;
    std::unique_ptr<DesktopOperations> desktop_;  // the seams when none were given
    OperationSeams seams_;
    // The card's session, through which every write goes.
    std::shared_ptr<CardSession> session_;
    CommandStrip commands_;
    QTabWidget* pageControl_ = nullptr;
    CardNotices* cardNotices_ = nullptr;
    // The parts are children of the window, deleted before its widgets.
    std::unique_ptr<ConfigurationPart> configuration_;
    std::unique_ptr<PromptsPart> prompts_;
    std::unique_ptr<CardWatch> cardWatch_;
    std::unique_ptr<BackupPart> backup_;
    std::unique_ptr<CheckLine> checkLine_;
    std::unique_ptr<MapReportPart> mapReport_;
};

}  // namespace quorvel
