// Page 0: the weekly timetable with its copy commands, and the ten voice menus.
#pragma once

#include <array>

class QGroupBox;
class QToolButton;
class QWidget;

namespace quorvel {

class ClickableLabel;
class ExitGuard;
struct ConfigurationFields;

struct MenusPage {
    QGroupBox* timetableGroup = nullptr;          // GroupBox1
    QGroupBox* menusGroup = nullptr;              // GroupBox2
    std::array<ClickableLabel*, 4> copyLabels{};  // Label97 ... Label100
    std::array<QToolButton*, 10> playButtons{};   // "Play >" of menus 0 to 9
    std::array<QToolButton*, 10> stopButtons{};   // "Stop " of menus 0 to 9
};

MenusPage buildMenusPage(QWidget* page, ExitGuard& guard, ConfigurationFields& fields);

}  // namespace quorvel
