#include "app/SettingsPage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <span>

#include "app/ConfigurationFields.h"
#include "app/Controls.h"
#include "app/FilteredLineEdit.h"
#include "app/MaskedEdit.h"

namespace quorvel {

namespace {

constexpr int kEditWidth = 60;
constexpr int kListWidth = 72;
constexpr int kPabxListWidth = 170;

FilteredLineEdit* makeEdit(QWidget* parent, const QString& name, KeyFilter filter, int maxLength) {
    auto* edit = new FilteredLineEdit(filter, maxLength, parent);
    edit->setObjectName(name);
    edit->setFixedWidth(kEditWidth);
    makeBold(edit);
    return edit;
}

// A control with its heading above it.
void addHeaded(QGridLayout* grid, int row, int column, const QString& heading, QWidget* control) {
    grid->addWidget(makeLabel(control->parentWidget(), heading), row, column);
    grid->addWidget(control, row + 1, column);
}

QCheckBox* makeCheckBox(QWidget* parent, const QString& name, const QString& caption) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    return box;
}

QGroupBox* buildGeneralSettings(QWidget* page, ConfigurationFields& fields) {
    auto* group = new QGroupBox(QStringLiteral("Configurações"), page);
    group->setObjectName(QStringLiteral("GroupBox3"));
    auto* grid = new QGridLayout(group);
    grid->setHorizontalSpacing(8);
    for (int i = 0; i < kSettingsListCount; ++i) {
        const SettingsListInfo& info = settingsLists()[i];
        auto* list = makeDropDownList(group, toQString(info.control),
                                      std::span(info.items.data(), static_cast<std::size_t>(info.itemCount)));
        list->setFixedWidth(info.list == SettingsList::Pabx ? kPabxListWidth : kListWidth);
        makeBold(list);
        addHeaded(grid, 0, i, toQString(info.caption), list);
        fields.settingsLists[i] = list;
    }
    fields.lowerExtension = makeEdit(group, QStringLiteral("edRamalInf"), KeyFilter::Digit, kExtensionMaxLength);
    fields.upperExtension = makeEdit(group, QStringLiteral("edRamalSup"), KeyFilter::Digit, kExtensionMaxLength);
    fields.restoreCode = makeEdit(group, QStringLiteral("edRestaura"), KeyFilter::RestoreCode, kRestoreCodeMaxLength);
    fields.password = makeEdit(group, QStringLiteral("edSenha"), KeyFilter::Digit, kPasswordMaxLength);
    fields.password->setEchoMode(QLineEdit::Password);
    addHeaded(grid, 2, 0, QStringLiteral("Ramal Inferior"), fields.lowerExtension);
    addHeaded(grid, 2, 1, QStringLiteral("Ramal Superior"), fields.upperExtension);
    addHeaded(grid, 2, 2, QStringLiteral("Restauração"), fields.restoreCode);
    addHeaded(grid, 2, 3, QStringLiteral("Senha"), fields.password);
    fields.greeting = makeCheckBox(group, QStringLiteral("cbSauda"), QStringLiteral("Saudação"));
    fields.extensionEcho = makeCheckBox(group, QStringLiteral("cbEco"), QStringLiteral("Eco de Ramal"));
    fields.extensionSupervision = makeCheckBox(group, QStringLiteral("cbSuper"), QStringLiteral("Supervisão de ramal"));
    grid->addWidget(fields.greeting, 3, 4);
    grid->addWidget(fields.extensionEcho, 3, 5, 1, 2);
    grid->addWidget(fields.extensionSupervision, 3, 7, 1, 2);
    grid->setColumnStretch(kSettingsListCount, 1);
    return group;
}

QGroupBox* buildRestrictedExtensions(QWidget* page, ConfigurationFields& fields) {
    auto* group = new QGroupBox(QStringLiteral("Ramais Restritos "), page);
    group->setObjectName(QStringLiteral("GroupBox4"));
    auto* grid = new QGridLayout(group);
    for (int i = 0; i < kRestrictedExtensionCount; ++i) {
        auto* edit = makeEdit(group, QStringLiteral("edRamal%1").arg(i + 1), KeyFilter::Digit, kExtensionMaxLength);
        addHeaded(grid, 0, i, QStringLiteral("Ramal"), edit);
        fields.restrictedExtensions[i] = edit;
    }
    grid->setColumnStretch(kRestrictedExtensionCount, 1);
    return group;
}

QGroupBox* buildHolidays(QWidget* page, ExitGuard& guard, ConfigurationFields& fields, QPushButton*& national) {
    auto* group = new QGroupBox(QStringLiteral("Cadastro de feriados "), page);
    group->setObjectName(QStringLiteral("GroupBox5"));
    auto* grid = new QGridLayout(group);
    for (int i = 0; i < kHolidayCount; ++i) {
        auto* edit = new MaskedEdit(MaskKind::Date, guard, group);
        edit->setObjectName(QStringLiteral("edFer%1").arg(i + 1));
        edit->setFixedWidth(kEditWidth);
        makeBold(edit);
        addHeaded(grid, 0, i, QString::fromUtf8("Dia/Mês"), edit);
        fields.holidays[i] = edit;
    }
    national = new QPushButton(QStringLiteral("Feriados nacionais..."), group);
    national->setObjectName(QStringLiteral("btFeriadosNacionais"));
    grid->addWidget(national, 1, kHolidayCount);
    grid->setColumnStretch(kHolidayCount + 1, 1);
    return group;
}

}  // namespace

QPushButton* buildSettingsPage(QWidget* page, ExitGuard& guard, ConfigurationFields& fields) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(buildGeneralSettings(page, fields));
    layout->addWidget(buildRestrictedExtensions(page, fields));
    QPushButton* national = nullptr;
    layout->addWidget(buildHolidays(page, guard, fields, national));
    layout->addStretch(1);
    return national;
}

}  // namespace quorvel
