// Page 2's overview: measuring every prompt without holding up the window,
// playing and replacing a row's prompt, and levelling them all.
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QThreadPool>
#include <QToolButton>

#include "app/MainFormQuorvel.h"
#include "app/QtText.h"
#include "operations/prompt/PromptSurvey.h"
#include "shell/MessageBoxes.h"

namespace quorvel {

namespace {

constexpr std::size_t kOverviewColumns = 160;

QString nameList(const std::vector<std::string>& names) {
    QStringList lines;
    for (const std::string& name : names) lines << toQString(name);
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

void TMainFormQuorvel::connectOverviewHandlers() {
    overviewPool_ = std::make_unique<QThreadPool>();
    for (int index = 0; index < PromptCount; ++index) {
        PromptOverviewRow& row = convertPage_.overview.rows[static_cast<std::size_t>(index)];
        connect(row.play, &QToolButton::clicked, this, [this, index] { playPrompt(index); });
        connect(row.stop, &QToolButton::clicked, this, &TMainFormQuorvel::SpeedButton15Click);
        connect(row.replace, &QPushButton::clicked, this, [this, index] {
            convertPage_.promptList->setCurrentIndex(index);
            btSelecioneClick();
        });
    }
    connect(convertPage_.overview.levelAll, &QPushButton::clicked, this, &TMainFormQuorvel::btIgualarTodosClick);
}

void TMainFormQuorvel::measureOverview() {
    for (int index = 0; index < PromptCount; ++index) measureOverviewRow(index);
}

void TMainFormQuorvel::measureOverviewRow(int index) {
    const auto slot = static_cast<std::size_t>(index);
    const unsigned generation = ++overviewGeneration_[slot];
    showMeasuring(convertPage_.overview.rows[slot]);
    overviewPool_->start([this, folder = toStdString(programFolder_), index, generation] {
        PromptSurvey survey = surveyPrompt(folder, index, kOverviewColumns);
        QMetaObject::invokeMethod(
            this,
            [this, index, generation, survey = std::move(survey)] {
                const auto row = static_cast<std::size_t>(index);
                if (overviewGeneration_[row] == generation) showSurvey(convertPage_.overview.rows[row], survey);
            },
            Qt::QueuedConnection);
    });
}

void TMainFormQuorvel::settleOverview() {
    overviewPool_->waitForDone();
    QCoreApplication::sendPostedEvents(this);
}

void TMainFormQuorvel::btIgualarTodosClick() {
    const std::string folder = toStdString(programFolder_);
    const std::vector<std::string> names = PromptsToLevel(folder);
    if (names.empty()) {
        boxes_.showMessage(this, QString::fromUtf8("Todos os arquivos de voz já estão no mesmo volume."));
        return;
    }
    if (!boxes_.confirm(this,
                        QString::fromUtf8("Igualar o volume da fala destes arquivos de voz?\n") + nameList(names)))
        return;
    const CardSession::Hold hold = holdCard();
    if (!hold) return;
    const TLevelAllOutcome outcome = LevelAllPrompts(folder, installPrompt_);
    showSessionNotices();
    measureOverview();
    if (outcome.Failed.empty()) return;
    QStringList failed;
    for (const auto& [prompt, error] : outcome.Failed)
        failed << toQString(prompt) + QStringLiteral(": ") + toQString(error);
    boxes_.showError(this,
                     QString::fromUtf8("Não foi possível igualar o volume de:\n") + failed.join(QLatin1Char('\n')));
}

}  // namespace quorvel
