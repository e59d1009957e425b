// The call-flow check after every load and save: its line at the right end
// of the command strip, the list of findings it opens, and a finding chosen
// there handed on to be shown in its field.
#pragma once

#include <QObject>
#include <QString>

#include "config/CallFlowCheck.h"
#include "config/CallFlowModel.h"
#include "config/DeviceConfiguration.h"

class QWidget;

namespace quorvel {

class ClickableLabel;
class VerificationList;

class CheckLine : public QObject {
    Q_OBJECT

public:
    // `line` is the strip's lbVerifica; `window` owns the list of findings.
    CheckLine(QWidget* window, ClickableLabel* line, const QString& programFolder);

public Q_SLOTS:
    // Runs the check on `config` and the card's prompts and shows its outcome.
    void refresh(const quorvel::DeviceConfiguration& config);
    void lbVerificaClick();
    void lvVerificaDblClick(int row);

Q_SIGNALS:
    // The call flow of the configuration last checked, with its findings.
    void callFlowChanged(const quorvel::CallFlowModel& model);
    // Show the field the finding concerns.
    void findingChosen(const quorvel::FindingPlace& place);

private:
    ClickableLabel* line_;
    std::string folder_;
    VerificationList* verificationList_ = nullptr;
};

}  // namespace quorvel
