#include "app/ConfigurationPart.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include "app/CardWriteMessages.h"
#include "app/ClickableLabel.h"
#include "app/FilteredLineEdit.h"
#include "app/MaskedEdit.h"
#include "app/QtText.h"
#include "app/SettingsPage.h"
#include "config/FieldRules.h"
#include "shell/MessageBoxes.h"

namespace quorvel {

namespace {
constexpr int kSettleIntervalMs = 2000;
// How often a save that waits for another program tries again.
constexpr int kSaveRetryMs = 200;

QTimer* makeTimer(QObject* owner, const QString& name, int intervalMs) {
    auto* timer = new QTimer(owner);
    timer->setObjectName(name);
    timer->setInterval(intervalMs);
    return timer;
}

}  // namespace

ConfigurationPart::ConfigurationPart(QWidget* window, QWidget* menusPage, QWidget* settingsPage,
                                     std::shared_ptr<CardSession> session, MessageBoxes& boxes)
    : QObject(window), window_(window), session_(std::move(session)), boxes_(boxes), guard_(boxes, window) {
    menusPage_ = buildMenusPage(menusPage, guard_, fields_);
    nationalHolidaysButton_ = buildSettingsPage(settingsPage, guard_, fields_);
    tChange_ = makeTimer(this, QStringLiteral("tChange"), kSettleIntervalMs);
    tGrava_ = makeTimer(this, QStringLiteral("tGrava"), kSaveRetryMs);
    connectFields();
}

void ConfigurationPart::connectFields() {
    for (auto& menu : fields_.menus) {
        for (OptionRowFields& row : menu) {
            for (FilteredLineEdit* field : {row.x, row.y}) {
                connect(field, &QLineEdit::textChanged, this, &ConfigurationPart::x001Change);
                connect(field, &FilteredLineEdit::left, this, [this, field] { x001Exit(field); });
            }
            connect(row.z, &QCheckBox::toggled, this, &ConfigurationPart::x001Change);
        }
    }
    for (auto& day : fields_.timetable) {
        for (SlotFields& slot : day) {
            connect(slot.time, &MaskedEdit::maskedTextChanged, this, &ConfigurationPart::x001Change);
            connect(slot.time, &MaskedEdit::left, this, [this, field = slot.time] { HoraDom1Exit(field); });
            // Lists notify only when the user picks an item.
            connect(slot.menu, &QComboBox::activated, this, &ConfigurationPart::x001Change);
        }
    }
    for (MaskedEdit* holiday : fields_.holidays) {
        connect(holiday, &MaskedEdit::maskedTextChanged, this, &ConfigurationPart::x001Change);
        connect(holiday, &MaskedEdit::left, this, [this, holiday] { edFer1Exit(holiday); });
    }
    for (QComboBox* list : fields_.settingsLists) {
        connect(list, &QComboBox::activated, this, &ConfigurationPart::x001Change);
    }
    for (FilteredLineEdit* edit : fields_.restrictedExtensions) {
        connect(edit, &QLineEdit::textChanged, this, &ConfigurationPart::x001Change);
    }
    for (FilteredLineEdit* edit :
         {fields_.lowerExtension, fields_.upperExtension, fields_.restoreCode, fields_.password}) {
        connect(edit, &QLineEdit::textChanged, this, &ConfigurationPart::x001Change);
    }
    connect(fields_.restoreCode, &FilteredLineEdit::left, this, &ConfigurationPart::edRestauraExit);
    for (QCheckBox* box : {fields_.greeting, fields_.extensionEcho, fields_.extensionSupervision}) {
        connect(box, &QCheckBox::toggled, this, &ConfigurationPart::x001Change);
    }

    connect(tChange_, &QTimer::timeout, this, &ConfigurationPart::tChangeTimer);
    connect(tGrava_, &QTimer::timeout, this, [this] { saveFields(pendingSave_); });
    connect(menusPage_.copyLabels[0], &ClickableLabel::clicked, this, &ConfigurationPart::Label97Click);
    connect(menusPage_.copyLabels[1], &ClickableLabel::clicked, this, &ConfigurationPart::Label98Click);
    connect(menusPage_.copyLabels[2], &ClickableLabel::clicked, this, &ConfigurationPart::Label99Click);
    connect(menusPage_.copyLabels[3], &ClickableLabel::clicked, this, &ConfigurationPart::Label100Click);
    connect(nationalHolidaysButton_, &QPushButton::clicked, this, &ConfigurationPart::btFeriadosNacionaisClick);
    for (int menu = 0; menu < kMenuCount; ++menu) {
        connect(menusPage_.playButtons[menu], &QToolButton::clicked, this,
                [this, menu] { Q_EMIT playRequested(menu); });
        connect(menusPage_.stopButtons[menu], &QToolButton::clicked, this, &ConfigurationPart::stopRequested);
    }
}

void ConfigurationPart::FormCreate() {
    // Another program writing the card: its files are loaded as they are.
    if (CardSession::Hold hold = session_->hold(std::chrono::milliseconds(0), true).hold) {
        const CardResult created = session_->createMissingFiles("Criação dos arquivos do cartão");
        if (!created.ok()) {
            showWriteError(boxes_, window_, created);
            return;
        }
    }
    if (const CardResult loaded = loadConfigurationIntoFields(); !loaded.ok()) {
        // The window opens anyway; without the settle the timetable and
        // menus stay locked, so a half-loaded card is not edited blindly.
        showReadError(boxes_, window_, loaded);
        return;
    }
    tChange_->start();
}

CardResult ConfigurationPart::loadConfigurationIntoFields() {
    DeviceConfiguration config = readFields(fields_);
    const CardResult loaded = session_->load(config);
    writeFields(config, fields_);
    Q_EMIT cardReloaded();
    if (loaded.ok()) Q_EMIT configurationStored(readFields(fields_));
    return loaded;
}

void ConfigurationPart::btAtualizaClick() {
    if (const CardResult loaded = loadConfigurationIntoFields(); !loaded.ok()) showReadError(boxes_, window_, loaded);
}

void ConfigurationPart::reloadRestoredCard() {
    // A "Gravar" that followed would otherwise write the old values back.
    btAtualizaClick();
    dataChanged_ = false;
}

void ConfigurationPart::btGravaClick() { saveFields(QStringLiteral("Gravar")); }

void ConfigurationPart::saveFields(const QString& action) {
    CardSession::HoldResult held = session_->hold(std::chrono::milliseconds(0), true);
    if (!held.hold) {
        pendingSave_ = action;
        Q_EMIT notice(
            QString::fromUtf8("Gravação aguardando o cartão: %1 está gravando").arg(toQString(held.holder.describe())));
        tGrava_->start();
        return;
    }
    tGrava_->stop();
    Q_EMIT notice(QString());
    if (session_->changedSinceLoad()) {
        if (!boxes_.confirm(window_,
                            QString::fromUtf8("Os arquivos do cartão foram alterados por outro programa depois "
                                              "da última leitura. Gravar por cima dessas alterações?\n\n"
                                              "Não: recarregar o cartão, perdendo o que foi editado aqui."))) {
            held.hold.release();
            btAtualizaClick();
            return;
        }
        session_->acceptCurrentFiles();
    }
    Q_EMIT writingStarted();
    const CardResult result = session_->save(readFields(fields_), toStdString(action));
    if (result.ok()) Q_EMIT writingFinished();
    showSessionNotices();
    Q_EMIT cardWritten();
    if (!result.ok()) {
        showWriteError(boxes_, window_, result);
        return;
    }
    dataChanged_ = false;
    Q_EMIT configurationStored(readFields(fields_));
}

void ConfigurationPart::showSessionNotices() {
    for (const std::string& text : session_->takeNotices()) Q_EMIT notice(toQString(text));
}

void ConfigurationPart::x001Change() { dataChanged_ = true; }

void ConfigurationPart::x001Exit(FilteredLineEdit* field) {
    if (guard_.owedElsewhere(field)) return;
    if (auto message = checkMenuReference(toStdString(field->text()))) guard_.refuse(field, toQString(*message));
}

void ConfigurationPart::HoraDom1Exit(MaskedEdit* field) {
    if (guard_.owedElsewhere(field)) return;
    if (auto message = checkTime(toStdString(field->maskedText()))) guard_.refuse(field, toQString(*message));
}

void ConfigurationPart::edFer1Exit(MaskedEdit* field) {
    if (guard_.owedElsewhere(field)) return;
    if (auto message = checkDate(toStdString(field->maskedText()))) guard_.refuse(field, toQString(*message));
}

void ConfigurationPart::edRestauraExit() {
    FilteredLineEdit* field = fields_.restoreCode;
    if (guard_.owedElsewhere(field)) return;
    for (const std::string& message : checkStarPosition(toStdString(field->text()))) {
        guard_.refuse(field, toQString(message));
    }
}

void ConfigurationPart::tChangeTimer() {
    tChange_->stop();
    dataChanged_ = false;
    menusPage_.timetableGroup->setEnabled(true);
    menusPage_.menusGroup->setEnabled(true);
}

bool ConfigurationPart::FormCloseQuery() {
    if (!dataChanged_) return true;
    return boxes_.confirm(window_,
                          QString::fromUtf8("Existem dados que não foram salvos deseja realmente sair sem salvar?"));
}

void ConfigurationPart::copyStarted() {
    for (ClickableLabel* label : menusPage_.copyLabels) label->setEnabled(false);
}

void ConfigurationPart::copyFinished() {
    for (ClickableLabel* label : menusPage_.copyLabels) label->setEnabled(true);
}

QWidget* ConfigurationPart::fieldOf(const FindingPlace& place) const {
    using Kind = FindingPlace::Kind;
    switch (place.kind) {
        case Kind::Target1:
            return fields_.menus[place.first][place.second].x;
        case Kind::Target2:
            return fields_.menus[place.first][place.second].y;
        case Kind::Menu:
            // The menu's first row on screen.
            return fields_.menus[place.first][1].x;
        case Kind::Prompt:
            return nullptr;
        case Kind::SlotTime:
            return fields_.timetable[place.first][place.second].time;
        case Kind::SlotMenu:
            return fields_.timetable[place.first][place.second].menu;
        case Kind::Day:
            return fields_.timetable[place.first][0].time;
        case Kind::Holiday:
            return fields_.holidays[place.first];
        case Kind::Holidays:
            // The command that puts the national dates in the list.
            return nationalHolidaysButton_;
        case Kind::LowerExtension:
            break;
    }
    return fields_.lowerExtension;
}

}  // namespace quorvel
