#include "app/PromptOverview.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/Controls.h"
#include "app/QtText.h"
#include "app/WaveformView.h"
#include "config/Catalogue.h"
#include "operations/prompt/PromptSurvey.h"

namespace quorvel {

namespace {

constexpr const char* kHeadings[] = {"", "Arquivo", "Estado", "Duração", "Taxa", "Pico", "Fala", ""};

QLabel* addLabel(QGridLayout* grid, QWidget* parent, int row, int column, const QString& text = {},
                 const QString& name = {}) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    grid->addWidget(label, row, column);
    return label;
}

QToolButton* makeToolButton(QWidget* parent, const QString& caption, const QString& name) {
    auto* button = new QToolButton(parent);
    button->setText(caption);
    button->setObjectName(name);
    return button;
}

}  // namespace

PromptOverview buildPromptOverview(QWidget* parent) {
    PromptOverview built;
    auto* layout = new QVBoxLayout(parent);
    auto* grid = new QGridLayout;
    for (int column = 0; column < static_cast<int>(std::size(kHeadings)); ++column)
        addLabel(grid, parent, 0, column, toQString(kHeadings[column]));
    for (int index = 0; index < PromptCount; ++index) {
        PromptOverviewRow& row = built.rows[static_cast<std::size_t>(index)];
        const int line = index + 1;
        addLabel(grid, parent, line, 0, toQString(promptCaptions()[index]));
        const QString number = QString::number(index);
        row.file = addLabel(grid, parent, line, 1, toQString(*promptFileName(index)));
        row.state = addLabel(grid, parent, line, 2, {}, QStringLiteral("lbVisaoEstado") + number);
        row.seconds = addLabel(grid, parent, line, 3, {}, QStringLiteral("lbVisaoDuracao") + number);
        row.rate = addLabel(grid, parent, line, 4, {}, QStringLiteral("lbVisaoTaxa") + number);
        row.peak = addLabel(grid, parent, line, 5, {}, QStringLiteral("lbVisaoPico") + number);
        row.level = addLabel(grid, parent, line, 6, {}, QStringLiteral("lbVisaoFala") + number);
        row.waveform = new WaveformView(parent);
        row.waveform->setObjectName(QStringLiteral("imgVisao%1").arg(index));
        row.waveform->setMinimumSize(120, 20);
        grid->addWidget(row.waveform, line, 7);
        row.play = makeToolButton(parent, QStringLiteral("Play >"), QStringLiteral("btVisaoPlay%1").arg(index));
        row.stop = makeToolButton(parent, QStringLiteral("Stop"), QStringLiteral("btVisaoStop%1").arg(index));
        row.replace = new QPushButton(QStringLiteral("Substituir..."), parent);
        row.replace->setObjectName(QStringLiteral("btVisaoSubstituir%1").arg(index));
        grid->addWidget(row.play, line, 8);
        grid->addWidget(row.stop, line, 9);
        grid->addWidget(row.replace, line, 10);
        showMeasuring(row);
    }
    grid->setColumnStretch(7, 1);
    built.levelAll = new QPushButton(QStringLiteral("Igualar volume de todos"), parent);
    built.levelAll->setObjectName(QStringLiteral("btIgualarTodos"));
    // Not configuration: it changes only how prompts are played here.
    built.telephone = new QCheckBox(QStringLiteral("Ouvir como no telefone"), parent);
    built.telephone->setObjectName(QStringLiteral("cbOuvirTelefone"));
    auto* commands = new QHBoxLayout;
    commands->addWidget(built.levelAll);
    commands->addWidget(built.telephone);
    commands->addStretch(1);
    layout->addLayout(grid);
    layout->addLayout(commands);
    return built;
}

void showMeasuring(PromptOverviewRow& row) {
    row.state->setText(QStringLiteral("…"));
    for (QLabel* figure : {row.seconds, row.rate, row.peak, row.level}) figure->clear();
    row.waveform->setColumns({});
}

void showSurvey(PromptOverviewRow& row, const PromptSurvey& survey) {
    const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
    switch (survey.state) {
        case PromptSurveyState::Ok:
            row.state->setText(QStringLiteral("ok"));
            break;
        case PromptSurveyState::Absent:
            row.state->setText(QStringLiteral("ausente"));
            break;
        case PromptSurveyState::Unplayable:
            row.state->setText(toQString(survey.problem));
            break;
    }
    row.seconds->setText(survey.seconds ? QStringLiteral("%1 s").arg(brazil.toString(*survey.seconds, 'f', 1))
                                        : QString());
    row.rate->setText(survey.sampleRate ? QStringLiteral("%1 Hz").arg(*survey.sampleRate) : QString());
    row.peak->setText(survey.peak ? QString::number(*survey.peak) : QString());
    if (survey.speechLevelDbm0)
        row.level->setText(QStringLiteral("%1 dBm0").arg(brazil.toString(*survey.speechLevelDbm0, 'f', 1)));
    else
        row.level->setText(survey.peak ? QStringLiteral("silêncio") : QString());
    row.waveform->setColumns(survey.waveform);
}

}  // namespace quorvel
