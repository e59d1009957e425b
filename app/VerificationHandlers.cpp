// The call-flow check after every load and save, its line in the command
// strip and the way from a finding to its field.
#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>
#include <utility>

#include "app/ClickableLabel.h"
#include "app/FilteredLineEdit.h"
#include "app/MainFormQuorvel.h"
#include "app/MaskedEdit.h"
#include "app/VerificationList.h"

namespace quorvel {

namespace {
constexpr int kMenusPageIndex = 0;
constexpr int kSettingsPageIndex = 1;
constexpr int kConvertPageIndex = 2;
}  // namespace

void TMainFormQuorvel::refreshVerification() {
    const DeviceConfiguration config = readFields(fields_);
    const std::string& folder = card_.folder();
    const PromptProbe prompts = [&folder](int menu) { return promptState(folder, menu); };
    std::vector<Finding> findings = checkCallFlow(config, prompts);
    commands_.verification->setText(verificationSummary(findings.size()));
    verificationList_->setFindings(findings);
    flowMap_->setModel(buildCallFlowModel(config, std::move(findings), prompts));
}

void TMainFormQuorvel::lbVerificaClick() {
    verificationList_->show();
    verificationList_->raise();
    verificationList_->activateWindow();
}

void TMainFormQuorvel::lvVerificaDblClick(int row) { showField(verificationList_->place(row)); }

void TMainFormQuorvel::showField(const FindingPlace& place) {
    const auto [page, field] = fieldOf(place);
    pageControl_->setCurrentIndex(page);
    activateWindow();
    field->setFocus(Qt::OtherFocusReason);
}

std::pair<int, QWidget*> TMainFormQuorvel::fieldOf(const FindingPlace& place) {
    using Kind = FindingPlace::Kind;
    switch (place.kind) {
        case Kind::Target1:
            return {kMenusPageIndex, fields_.menus[place.first][place.second].x};
        case Kind::Target2:
            return {kMenusPageIndex, fields_.menus[place.first][place.second].y};
        case Kind::Menu:
            // The menu's first row on screen.
            return {kMenusPageIndex, fields_.menus[place.first][1].x};
        case Kind::Prompt:
            // Where the missing prompt is made.
            convertPage_.promptList->setCurrentIndex(place.first);
            return {kConvertPageIndex, convertPage_.promptList};
        case Kind::SlotTime:
            return {kMenusPageIndex, fields_.timetable[place.first][place.second].time};
        case Kind::SlotMenu:
            return {kMenusPageIndex, fields_.timetable[place.first][place.second].menu};
        case Kind::Day:
            return {kMenusPageIndex, fields_.timetable[place.first][0].time};
        case Kind::Holiday:
            return {kSettingsPageIndex, fields_.holidays[place.first]};
        case Kind::Holidays:
            // The command that puts the national dates in the list.
            return {kSettingsPageIndex, nationalHolidaysButton_};
        case Kind::LowerExtension:
            break;
    }
    return {kSettingsPageIndex, fields_.lowerExtension};
}

}  // namespace quorvel
