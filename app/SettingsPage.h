// Page 1: general settings, restricted extensions and holidays.
#pragma once

class QWidget;

namespace quorvel {

class ExitGuard;
struct ConfigurationFields;

void buildSettingsPage(QWidget* page, ExitGuard& guard, ConfigurationFields& fields);

}  // namespace quorvel
