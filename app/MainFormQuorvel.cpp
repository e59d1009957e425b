#include "app/MainFormQuorvel.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "app/CardNotices.h"
#include "app/ClickableLabel.h"
#include "app/PipelineEvents.h"
#include "shell/ApplicationTitle.h"

namespace quorvel {

namespace {

constexpr int kWindowWidth = 942;
constexpr int kWindowHeight = 753;
constexpr int kFileWaitIntervalMs = 2500;
constexpr int kConvertPageIndex = 2;

}  // namespace

TMainFormQuorvel::TMainFormQuorvel(const QString& programFolder, MessageBoxes& boxes, FileSystem& fileSystem,
                                   QWidget* parent)
    : TMainFormQuorvel(programFolder, boxes, std::make_unique<DesktopOperations>(), fileSystem, parent) {}

TMainFormQuorvel::TMainFormQuorvel(const QString& programFolder, MessageBoxes& boxes,
                                   std::unique_ptr<DesktopOperations> desktop, FileSystem& fileSystem, QWidget* parent)
    : TMainFormQuorvel(programFolder, boxes, desktop->seams(), fileSystem, parent) {
    desktop_ = std::move(desktop);
}

TMainFormQuorvel::~TMainFormQuorvel() = default;

TMainFormQuorvel::TMainFormQuorvel(const QString& programFolder, MessageBoxes& boxes, OperationSeams seams,
                                   FileSystem& fileSystem, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      programFolder_(programFolder),
      boxes_(boxes),
      seams_(seams),
      session_(CardSession::open(programFolder.toStdString(), "ajustor-quorvel", fileSystem)) {
    setObjectName(QStringLiteral("MainFormQuorvel"));
    drainPipelineEventsInQtLoop();
    buildWindow(fileSystem);
    connectParts();
    configuration_->FormCreate();
    prompts_->measureOverview();
}

void TMainFormQuorvel::buildWindow(FileSystem& fileSystem) {
    setWindowTitle(applicationTitle());
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    setFixedSize(kWindowWidth, kWindowHeight);
    if (const QScreen* desktop = screen()) move(desktop->availableGeometry().center() - rect().center());

    pageControl_ = new QTabWidget(this);
    pageControl_->setObjectName(QStringLiteral("PageControl1"));
    const QString pageCaptions[] = {QString::fromUtf8("Configurações Menus / Horários"),
                                    QString::fromUtf8("Configurações Gerais"), QStringLiteral("Converte arquivo")};
    QWidget* pages[3];
    for (int i = 0; i < 3; ++i) {
        pages[i] = new QWidget;
        pages[i]->setObjectName(QStringLiteral("TabSheet%1").arg(i + 1));
        pageControl_->addTab(pages[i], pageCaptions[i]);
    }
    configuration_ = std::make_unique<ConfigurationPart>(this, pages[0], pages[1], session_, boxes_);
    prompts_ = std::make_unique<PromptsPart>(this, pages[2], session_, programFolder_, boxes_, seams_.sound);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(pageControl_, 1);
    auto* strip = new QHBoxLayout;
    layout->addLayout(strip);
    commands_ = buildCommandStrip(this, strip);
    cardWatch_ = std::make_unique<CardWatch>(this, session_, programFolder_, fileSystem);
    strip->insertWidget(strip->indexOf(commands_.verification), cardWatch_->notice());
    cardNotices_ = new CardNotices(this, strip, commands_, programFolder_, boxes_);

    backup_ = std::make_unique<BackupPart>(this, session_, programFolder_, fileSystem, boxes_, seams_.folders);
    auto* waitFile = new QTimer(this);
    waitFile->setObjectName(QStringLiteral("tWaitFile"));
    waitFile->setInterval(kFileWaitIntervalMs);
    checkLine_ = std::make_unique<CheckLine>(this, commands_.verification, programFolder_);
    mapReport_ = std::make_unique<MapReportPart>(this, programFolder_, boxes_,
                                                 [this] { return configuration_->configuration(); });
}

void TMainFormQuorvel::connectParts() {
    connect(pageControl_, &QTabWidget::currentChanged, this, &TMainFormQuorvel::PageControl1Change);
    connect(commands_.save, &QPushButton::clicked, configuration_.get(), &ConfigurationPart::btGravaClick);
    connect(commands_.clear, &QPushButton::clicked, configuration_.get(), &ConfigurationPart::btClearClick);
    connect(commands_.update, &QPushButton::clicked, configuration_.get(), &ConfigurationPart::btAtualizaClick);
    connect(commands_.backup, &QPushButton::clicked, backup_.get(), &BackupPart::btBackupClick);
    connect(commands_.restoreBackup, &QPushButton::clicked, backup_.get(), &BackupPart::btRestBackUpClick);
    connect(commands_.history, &QPushButton::clicked, backup_.get(), &BackupPart::btHistoricoClick);
    connect(commands_.map, &QPushButton::clicked, mapReport_.get(), &MapReportPart::btMapaClick);
    connect(commands_.report, &QPushButton::clicked, mapReport_.get(), &MapReportPart::btRelatorioClick);
    connect(commands_.remoteSupport, &QPushButton::clicked, this, &TMainFormQuorvel::Button1Click);

    // What the card holds is watched and checked after each load and save.
    ConfigurationPart* configuration = configuration_.get();
    connect(configuration, &ConfigurationPart::cardReloaded, cardWatch_.get(), &CardWatch::watchCardFiles);
    connect(configuration, &ConfigurationPart::cardWritten, cardWatch_.get(), &CardWatch::watchCardFiles);
    connect(configuration, &ConfigurationPart::configurationStored, checkLine_.get(), &CheckLine::refresh);
    connect(checkLine_.get(), &CheckLine::callFlowChanged, mapReport_.get(), &MapReportPart::setModel);
    connect(checkLine_.get(), &CheckLine::findingChosen, this, &TMainFormQuorvel::showField);
    connect(mapReport_.get(), &MapReportPart::fieldRequested, this, &TMainFormQuorvel::showField);

    connect(configuration, &ConfigurationPart::playRequested, prompts_.get(), &PromptsPart::playMenu);
    connect(configuration, &ConfigurationPart::stopRequested, prompts_.get(), &PromptsPart::SpeedButton15Click);
    connect(configuration, &ConfigurationPart::fieldsCleared, prompts_.get(), &PromptsPart::clearSelection);

    // A copy holds every command that writes or reloads the card folder.
    BackupPart* backup = backup_.get();
    for (auto signal : {&BackupPart::copyStarted, &BackupPart::copyFinished})
        connect(backup, signal, this, [this] { PageControl1Change(pageControl_->currentIndex()); });
    connect(backup, &BackupPart::copyStarted, configuration, &ConfigurationPart::copyStarted);
    connect(backup, &BackupPart::copyFinished, configuration, &ConfigurationPart::copyFinished);
    connect(backup, &BackupPart::copyStarted, prompts_.get(), &PromptsPart::copyStarted);
    connect(backup, &BackupPart::copyFinished, prompts_.get(), &PromptsPart::copyFinished);
    connect(backup, &BackupPart::cardRestored, configuration, &ConfigurationPart::reloadRestoredCard);

    // The strip tells what the writes wait for and when the card may be pulled out.
    connect(configuration, &ConfigurationPart::writingStarted, cardNotices_, &CardNotices::writingStarted);
    connect(configuration, &ConfigurationPart::writingFinished, cardNotices_, &CardNotices::writingFinished);
    connect(backup, &BackupPart::writingStarted, cardNotices_, &CardNotices::writingStarted);
    connect(prompts_.get(), &PromptsPart::writingFinished, cardNotices_, &CardNotices::writingFinished);
    connect(configuration, &ConfigurationPart::notice, commands_.notice, &QLabel::setText);
    connect(prompts_.get(), &PromptsPart::notice, commands_.notice, &QLabel::setText);
    connect(backup, &BackupPart::notice, commands_.notice, &QLabel::setText);
}

void TMainFormQuorvel::PageControl1Change(int index) {
    for (QPushButton* button : commands_.configurationButtons())
        button->setEnabled(index != kConvertPageIndex && !backup_->copying());
}

void TMainFormQuorvel::Button1Click() {
    seams_.launcher.launch(programFolder_ + QStringLiteral("suporte/AA_v3.5.exe"));
}

void TMainFormQuorvel::showField(const FindingPlace& place) {
    QWidget* field =
        place.kind == FindingPlace::Kind::Prompt ? prompts_->promptField(place.first) : configuration_->fieldOf(place);
    for (int page = 0; page < pageControl_->count(); ++page) {
        if (pageControl_->widget(page)->isAncestorOf(field)) pageControl_->setCurrentIndex(page);
    }
    activateWindow();
    field->setFocus(Qt::OtherFocusReason);
}

void TMainFormQuorvel::closeEvent(QCloseEvent* event) {
    if (FormCloseQuery()) {
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace quorvel
