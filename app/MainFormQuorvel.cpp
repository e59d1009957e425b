#include "app/MainFormQuorvel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryFile>
#include <QThreadPool>
#include <QTimer>
#include <QVBoxLayout>

#include "app/CardNotices.h"
#include "app/ClickableLabel.h"
#include "app/FilteredLineEdit.h"
#include "app/HistoryDialog.h"
#include "app/MaskedEdit.h"
#include "app/PipelineEvents.h"
#include "app/ProgressPanel.h"
#include "app/SettingsPage.h"
#include "app/VerificationList.h"
#include "operations/prompt/PromptFiles.h"
#include "shell/ApplicationTitle.h"
#include "shell/OpenFileDialog.h"
#include "shell/TFolderDialog.h"

namespace quorvel {

namespace {

constexpr int kWindowWidth = 942;
constexpr int kWindowHeight = 753;
constexpr int kSettleIntervalMs = 2000;
constexpr int kPanelWaitIntervalMs = 3000;
constexpr int kFileWaitIntervalMs = 2500;

QTimer* makeTimer(QObject* owner, const QString& name, int intervalMs) {
    auto* timer = new QTimer(owner);
    timer->setObjectName(name);
    timer->setInterval(intervalMs);
    return timer;
}

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
      card_(programFolder.toStdString(), fileSystem),
      guard_(boxes, this),
      openDialog2_(std::make_unique<QtOpenFileDialog>()),
      session_(CardSession::open(programFolder.toStdString(), "ajustor-quorvel", fileSystem)) {
    setObjectName(QStringLiteral("MainFormQuorvel"));
    drainPipelineEventsInQtLoop();
    buildWindow();
    connectHandlers();
    connectConversionHandlers();
    connectOverviewHandlers();
    FormCreate();
    measureOverview();
}

void TMainFormQuorvel::buildWindow() {
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
    menusPage_ = buildMenusPage(pages[0], guard_, fields_);
    nationalHolidaysButton_ = buildSettingsPage(pages[1], guard_, fields_);
    convertPage_ = buildConvertPage(pages[2]);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(pageControl_, 1);
    auto* strip = new QHBoxLayout;
    layout->addLayout(strip);
    commands_ = buildCommandStrip(this, strip);
    auto* changedNotice = new QLabel(this);
    strip->insertWidget(strip->indexOf(commands_.verification), changedNotice);
    buildCardWatch(changedNotice);
    cardNotices_ = new CardNotices(this, strip, commands_, programFolder_, boxes_);

    painel_ = buildProgressPanel(this);
    tChange_ = makeTimer(this, QStringLiteral("tChange"), kSettleIntervalMs);
    tAguarda_ = makeTimer(this, QStringLiteral("tAguarda"), kPanelWaitIntervalMs);
    makeTimer(this, QStringLiteral("tWaitFile"), kFileWaitIntervalMs);

    folderDialog_ = new TFolderDialog(seams_.folders, this);
    folderDialog_->setObjectName(QStringLiteral("FolderDialog"));
    folderDialog_->setCaption(QStringLiteral("Procurar Pasta"));
    folderDialog_->setTitle(QString::fromUtf8("Selecione o local para gravação"));
    folderDialog_->setOptions(TFolderDialog::fdoBrowseForComputer | TFolderDialog::fdoNewDialogStyle);
    verificationList_ = new VerificationList(this);
    flowMap_ = new FlowMapWindow(this, boxes_, [this](QWidget* parent, const QString& caption, const QString& filter) {
        return saveChooser_(parent, caption, filter);
    });
}

void TMainFormQuorvel::connectHandlers() {
    for (auto& menu : fields_.menus) {
        for (OptionRowFields& row : menu) {
            for (FilteredLineEdit* field : {row.x, row.y}) {
                connect(field, &QLineEdit::textChanged, this, &TMainFormQuorvel::x001Change);
                connect(field, &FilteredLineEdit::left, this, [this, field] { x001Exit(field); });
            }
            connect(row.z, &QCheckBox::toggled, this, &TMainFormQuorvel::x001Change);
        }
    }
    for (auto& day : fields_.timetable) {
        for (SlotFields& slot : day) {
            connect(slot.time, &MaskedEdit::maskedTextChanged, this, &TMainFormQuorvel::x001Change);
            connect(slot.time, &MaskedEdit::left, this, [this, field = slot.time] { HoraDom1Exit(field); });
            // Lists notify only when the user picks an item.
            connect(slot.menu, &QComboBox::activated, this, &TMainFormQuorvel::x001Change);
        }
    }
    for (MaskedEdit* holiday : fields_.holidays) {
        connect(holiday, &MaskedEdit::maskedTextChanged, this, &TMainFormQuorvel::x001Change);
        connect(holiday, &MaskedEdit::left, this, [this, holiday] { edFer1Exit(holiday); });
    }
    for (QComboBox* list : fields_.settingsLists) {
        connect(list, &QComboBox::activated, this, &TMainFormQuorvel::x001Change);
    }
    for (FilteredLineEdit* edit : fields_.restrictedExtensions) {
        connect(edit, &QLineEdit::textChanged, this, &TMainFormQuorvel::x001Change);
    }
    for (FilteredLineEdit* edit :
         {fields_.lowerExtension, fields_.upperExtension, fields_.restoreCode, fields_.password}) {
        connect(edit, &QLineEdit::textChanged, this, &TMainFormQuorvel::x001Change);
    }
    connect(fields_.restoreCode, &FilteredLineEdit::left, this, &TMainFormQuorvel::edRestauraExit);
    for (QCheckBox* box : {fields_.greeting, fields_.extensionEcho, fields_.extensionSupervision}) {
        connect(box, &QCheckBox::toggled, this, &TMainFormQuorvel::x001Change);
    }

    connect(tChange_, &QTimer::timeout, this, &TMainFormQuorvel::tChangeTimer);
    connect(pageControl_, &QTabWidget::currentChanged, this, &TMainFormQuorvel::PageControl1Change);
    connect(commands_.save, &QPushButton::clicked, this, &TMainFormQuorvel::btGravaClick);
    connect(commands_.clear, &QPushButton::clicked, this, &TMainFormQuorvel::btClearClick);
    connect(commands_.history, &QPushButton::clicked, this, [this] {
        showHistoryDialog(
            this, history_, programFolder_, [this](const QString& version) { return restorePreviewText(version); },
            [this](const QString& version, const QString& action) { restoreIntoCard(version, action); });
    });
    connect(menusPage_.copyLabels[0], &ClickableLabel::clicked, this, &TMainFormQuorvel::Label97Click);
    connect(menusPage_.copyLabels[1], &ClickableLabel::clicked, this, &TMainFormQuorvel::Label98Click);
    connect(menusPage_.copyLabels[2], &ClickableLabel::clicked, this, &TMainFormQuorvel::Label99Click);
    connect(menusPage_.copyLabels[3], &ClickableLabel::clicked, this, &TMainFormQuorvel::Label100Click);
    connectFolderCopyHandlers();
    connectHolidayHandlers();
    connectPromptHandlers();
    connect(commands_.verification, &ClickableLabel::clicked, this, &TMainFormQuorvel::lbVerificaClick);
    connect(verificationList_, &VerificationList::chosen, this, &TMainFormQuorvel::lvVerificaDblClick);
    connectMapHandlers();
}

}  // namespace quorvel
