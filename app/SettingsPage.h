// Page 1: general settings, restricted extensions and holidays.
#pragma once

class QPushButton;
class QWidget;

namespace quorvel {

class ExitGuard;
struct ConfigurationFields;

// Returns the "Feriados nacionais..." button, which the window connects.
QPushButton* buildSettingsPage(QWidget* page, ExitGuard& guard, ConfigurationFields& fields);

}  // namespace quorvel
