#include "app/MenusPage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/ClickableLabel.h"
#include "app/ConfigurationFields.h"
#include "app/Controls.h"
#include "app/FilteredLineEdit.h"
#include "app/MaskedEdit.h"

namespace quorvel {

namespace {

constexpr int kTimeFieldWidth = 36;
constexpr int kMenuListWidth = 65;
constexpr int kTargetFieldWidth = 68;
constexpr int kMenusPerBand = 5;

// Timetable rows are drawn in kWeekOrder, two blocks side by side; also the tab order.
constexpr int kRowsPerBlock = 4;

// Option rows top to bottom: options 1 to 9, then "Não Dig" (digit 0).
constexpr std::array<int, kOptionCount> kOptionRowOrder = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0};

// "Play >" and "Stop " buttons of each menu, by menu number.
constexpr std::array<int, kMenuCount> kPlayButtonNumbers = {6, 10, 9, 8, 7, 1, 14, 13, 12, 11};
constexpr std::array<int, kMenuCount> kStopButtonNumbers = {15, 17, 18, 19, 20, 21, 22, 23, 24, 25};

struct CopyLabelText {
    const char* name;
    const char* caption;
    const char* hint;
};

constexpr std::array<CopyLabelText, 4> kCopyLabels = {{
    {"Label97", "Copiar de Segunda a Quinta", "Para copiar configure os horários e menus na Segunda"},
    {"Label98", "Copiar de Segunda a Sexta", "Para copiar configure os horários e menus na Segunda"},
    {"Label99", "Copiar de Sábado, Domingo e Feriado", "Para copiar configure os horários e menus no Domingo"},
    {"Label100", "Copiar para todos os dias e feriado", "Para copiar configure os horários e menus no Domingo"},
}};

QString optionName(char letter, int menu, int option) {
    return QStringLiteral("%1%2%3").arg(QChar(letter)).arg(0).arg(menu * 10 + option, 2, 10, QChar('0'));
}

QGroupBox* buildTimetable(QWidget* page, ExitGuard& guard, ConfigurationFields& fields, MenusPage& built) {
    auto* group = new QGroupBox(QStringLiteral("Configuração dos horários "), page);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(3);
    const int blockColumns = 1 + 2 * kSlotCount + 1;
    for (int block = 0; block < 2; ++block) {
        for (int slot = 0; slot < kSlotCount; ++slot) {
            grid->addWidget(makeLabel(group, QStringLiteral("Hora")), 0, block * blockColumns + 1 + 2 * slot);
            grid->addWidget(makeLabel(group, QStringLiteral("Menu")), 0, block * blockColumns + 2 + 2 * slot);
        }
    }
    for (int row = 0; row < kDayKindCount; ++row) {
        const DayKind kind = kWeekOrder[row];
        const int gridRow = 1 + row % kRowsPerBlock;
        const int firstColumn = (row / kRowsPerBlock) * blockColumns;
        grid->addWidget(makeLabel(group, toQString(dayKindCaption(kind))), gridRow, firstColumn);
        const QString day = toQString(dayKindName(kind));
        for (int slot = 0; slot < kSlotCount; ++slot) {
            auto* time = new MaskedEdit(MaskKind::Time, guard, group);
            time->setObjectName(QStringLiteral("Hora%1%2").arg(day).arg(slot + 1));
            time->setFixedWidth(kTimeFieldWidth);
            auto* menu = makeDropDownList(group, QStringLiteral("Menu%1%2").arg(day).arg(slot + 1), menuListItems());
            menu->setFixedWidth(kMenuListWidth);
            grid->addWidget(time, gridRow, firstColumn + 1 + 2 * slot);
            grid->addWidget(menu, gridRow, firstColumn + 2 + 2 * slot);
            fields.day(kind)[slot] = {time, menu};
        }
    }
    grid->setColumnMinimumWidth(blockColumns - 1, 12);
    grid->setColumnStretch(2 * blockColumns - 1, 1);

    auto* commands = new QHBoxLayout;
    for (std::size_t i = 0; i < kCopyLabels.size(); ++i) {
        if (i > 0) {
            auto* bar = makeLabel(group, QStringLiteral("|"));
            makeBold(bar);
            commands->addWidget(bar);
        }
        auto* label = new ClickableLabel(QString::fromUtf8(kCopyLabels[i].caption), group);
        label->setObjectName(QString::fromUtf8(kCopyLabels[i].name));
        label->setToolTip(QString::fromUtf8(kCopyLabels[i].hint));
        label->setCursor(Qt::PointingHandCursor);
        commands->addWidget(label);
        built.copyLabels[i] = label;
    }
    commands->addStretch(1);

    auto* layout = new QVBoxLayout(group);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->addLayout(grid);
    layout->addLayout(commands);
    group->setEnabled(false);
    return group;
}

QToolButton* makeToolButton(QWidget* parent, const QString& name, const QString& caption) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(caption);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

FilteredLineEdit* makeTargetField(QWidget* parent, const QString& name) {
    auto* field = new FilteredLineEdit(KeyFilter::Option, kTargetMaxLength, parent);
    field->setObjectName(name);
    field->setFixedWidth(kTargetFieldWidth);
    makeBold(field);
    return field;
}

void addMenuColumn(QGroupBox* group, QGridLayout* grid, int menu, ConfigurationFields& fields, MenusPage& built) {
    const int band = menu / kMenusPerBand;
    const int headerRow = band * (2 + kOptionCount);
    const int firstColumn = 1 + (menu % kMenusPerBand) * 4;

    auto* header = new QHBoxLayout;
    auto* caption = makeLabel(group, QStringLiteral("Menu %1").arg(menu));
    makeBold(caption);
    header->addWidget(caption);
    built.playButtons[menu] =
        makeToolButton(group, QStringLiteral("SpeedButton%1").arg(kPlayButtonNumbers[menu]), QStringLiteral("Play >"));
    built.stopButtons[menu] =
        makeToolButton(group, QStringLiteral("SpeedButton%1").arg(kStopButtonNumbers[menu]), QStringLiteral("Stop "));
    header->addWidget(built.playButtons[menu]);
    header->addWidget(built.stopButtons[menu]);
    header->addStretch(1);
    grid->addLayout(header, headerRow, firstColumn, 1, 3);

    for (int row = 0; row < kOptionCount; ++row) {
        const int option = kOptionRowOrder[row];
        const int gridRow = headerRow + 2 + row;
        // Menu 1's first fields carry a capital letter in their names.
        auto* x = makeTargetField(group, optionName(menu == 1 ? 'X' : 'x', menu, option));
        auto* y = makeTargetField(group, optionName('y', menu, option));
        auto* z = new QCheckBox(group);
        z->setObjectName(optionName('z', menu, option));
        grid->addWidget(x, gridRow, firstColumn);
        grid->addWidget(y, gridRow, firstColumn + 1);
        grid->addWidget(z, gridRow, firstColumn + 2);
        fields.menus[menu][option] = {x, y, z};
    }
}

QGroupBox* buildMenus(QWidget* page, ConfigurationFields& fields, MenusPage& built) {
    auto* group = new QGroupBox(QStringLiteral("Configuração dos Menus "), page);
    group->setObjectName(QStringLiteral("GroupBox2"));
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(1);
    for (int band = 0; band < 2; ++band) {
        const int headerRow = band * (2 + kOptionCount);
        for (int row = 0; row < kOptionCount; ++row) {
            const int option = kOptionRowOrder[row];
            const QString caption = option == 0 ? QStringLiteral("Não Dig") : QStringLiteral("Opção %1").arg(option);
            grid->addWidget(makeLabel(group, caption), headerRow + 2 + row, 0);
        }
    }
    for (int column = 0; column < kMenusPerBand; ++column) {
        const int firstColumn = 1 + column * 4;
        grid->addWidget(makeLabel(group, QStringLiteral("Ramal/Grupo")), 1, firstColumn);
        grid->addWidget(makeLabel(group, QStringLiteral("Ramal/Grupo")), 1, firstColumn + 1);
        grid->addWidget(makeLabel(group, QStringLiteral("F")), 1, firstColumn + 2);
        grid->setColumnMinimumWidth(firstColumn + 3, 4);
    }
    for (int menu = 0; menu < kMenuCount; ++menu) addMenuColumn(group, grid, menu, fields, built);
    grid->setColumnStretch(kMenusPerBand * 4 + 1, 1);
    group->setEnabled(false);
    return group;
}

}  // namespace

MenusPage buildMenusPage(QWidget* page, ExitGuard& guard, ConfigurationFields& fields) {
    MenusPage built;
    built.timetableGroup = buildTimetable(page, guard, fields, built);
    built.menusGroup = buildMenus(page, fields, built);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(built.timetableGroup);
    layout->addWidget(built.menusGroup);
    layout->addStretch(1);
    return built;
}

}  // namespace quorvel
