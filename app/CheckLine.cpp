#include "app/CheckLine.h"

#include <utility>

#include "app/ClickableLabel.h"
#include "app/QtText.h"
#include "app/VerificationList.h"
#include "config/CardFolder.h"
#include "config/PromptFile.h"

namespace quorvel {

CheckLine::CheckLine(QWidget* window, ClickableLabel* line, const QString& programFolder)
    : QObject(window),
      line_(line),
      folder_(CardFolder(toStdString(programFolder)).folder()),
      verificationList_(new VerificationList(window)) {
    connect(line_, &ClickableLabel::clicked, this, &CheckLine::lbVerificaClick);
    connect(verificationList_, &VerificationList::chosen, this, &CheckLine::lvVerificaDblClick);
}

void CheckLine::refresh(const DeviceConfiguration& config) {
    const PromptProbe prompts = [this](int menu) { return promptState(folder_, menu); };
    std::vector<Finding> findings = checkCallFlow(config, prompts);
    line_->setText(verificationSummary(findings.size()));
    verificationList_->setFindings(findings);
    Q_EMIT callFlowChanged(buildCallFlowModel(config, std::move(findings), prompts));
}

void CheckLine::lbVerificaClick() {
    verificationList_->show();
    verificationList_->raise();
    verificationList_->activateWindow();
}

void CheckLine::lvVerificaDblClick(int row) { Q_EMIT findingChosen(verificationList_->place(row)); }

}  // namespace quorvel
