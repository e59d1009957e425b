// Pages 0 and 1: the configuration fields, their input rules, and the load
// and save of the card's configuration with the commands that change many
// fields at once.
#pragma once

#include <QObject>
#include <QString>
#include <initializer_list>
#include <memory>

#include "app/ConfigurationFields.h"
#include "app/ExitGuard.h"
#include "app/MenusPage.h"
#include "config/CallFlowCheck.h"
#include "config/DeviceConfiguration.h"
#include "operations/session/CardSession.h"

class QPushButton;
class QTimer;
class QWidget;

namespace quorvel {

class FilteredLineEdit;
class MaskedEdit;
class MessageBoxes;

class ConfigurationPart : public QObject {
    Q_OBJECT

public:
    // Builds the pages into `menusPage` and `settingsPage`; `window` is the
    // parent of the boxes.
    ConfigurationPart(QWidget* window, QWidget* menusPage, QWidget* settingsPage, std::shared_ptr<CardSession> session,
                      MessageBoxes& boxes);

    bool dataChanged() const { return dataChanged_; }
    // The configuration the fields show now.
    DeviceConfiguration configuration() const { return readFields(fields_); }
    // Whether the window may close now; asks when there are unsaved changes.
    bool FormCloseQuery();
    // The field a finding concerns; none for a prompt's.
    QWidget* fieldOf(const FindingPlace& place) const;

public Q_SLOTS:
    // Creates the card files that are missing and loads the card.
    void FormCreate();
    void btGravaClick();
    void btClearClick();
    void btAtualizaClick();
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
    void btFeriadosNacionaisClick();
    // The card got other files from a restore: the fields show them.
    void reloadRestoredCard();
    // While a folder copy runs the day copies, which save, are disabled.
    void copyStarted();
    void copyFinished();

Q_SIGNALS:
    // After each load, whether or not the card could be read.
    void cardReloaded();
    // After each save, whether or not it landed.
    void cardWritten();
    // The fields hold what the card holds, after a load or save that succeeded.
    void configurationStored(const quorvel::DeviceConfiguration& config);
    void writingStarted();
    void writingFinished();
    // A text for the command strip's notice line; empty clears it.
    void notice(const QString& text);
    // The fields were emptied by "Limpar".
    void fieldsCleared();
    // Page 0's "Play >" and "Stop " of a menu's prompt.
    void playRequested(int menu);
    void stopRequested();

private:
    void connectFields();
    // Reads every record file into the fields; after a failure they show
    // what was read before it.
    CardResult loadConfigurationIntoFields();
    // Saves the fields as the card's configuration; `action` names the write
    // in the card's history. When another program writes the card, the save
    // waits for it without holding up the window.
    void saveFields(const QString& action);
    void copyDay(DayKind source, std::initializer_list<DayKind> targets);
    void showSessionNotices();

    QWidget* window_;
    std::shared_ptr<CardSession> session_;
    MessageBoxes& boxes_;
    ExitGuard guard_;
    ConfigurationFields fields_;
    MenusPage menusPage_;
    QPushButton* nationalHolidaysButton_ = nullptr;
    QTimer* tChange_ = nullptr;
    QTimer* tGrava_ = nullptr;  // retries a save that waits for another program
    QString pendingSave_;       // the action of that save
    bool dataChanged_ = false;
};

}  // namespace quorvel
