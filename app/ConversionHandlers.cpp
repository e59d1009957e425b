// Page 2: the prompt conversion. The workflow lives below the window; these
// handlers start it and turn what it reports into texts.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>

#include "app/CardNotices.h"
#include "app/MainFormQuorvel.h"
#include "app/QtText.h"
#include "app/WaveformView.h"
#include "shell/MessageBoxes.h"
#include "shell/OpenFileDialog.h"

namespace quorvel {

namespace {

QString summaryText(const TPromptSummary& summary) {
    const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
    const double seconds = summary.SampleRate > 0 ? static_cast<double>(summary.Frames) / summary.SampleRate : 0.0;
    const QString speech = summary.SpeechLevelDbm0
                               ? QStringLiteral("%1 dBm0").arg(brazil.toString(*summary.SpeechLevelDbm0, 'f', 1))
                               : QStringLiteral("silêncio");
    return QStringLiteral("Duração %1 s · %2 Hz · pico %3 · fala %4")
        .arg(brazil.toString(seconds, 'f', 1))
        .arg(summary.SampleRate)
        .arg(summary.PeakAfter)
        .arg(speech);
}

}  // namespace

void TMainFormQuorvel::connectConversionHandlers() {
    connect(convertPage_.select, &QPushButton::clicked, this, &TMainFormQuorvel::btSelecioneClick);
    connect(convertPage_.text, &QPushButton::clicked, this, &TMainFormQuorvel::btTextoClick);
    prompt_.WaveOut2().SetOnProgress([this](TAuOutput&) { WaveOut2Progress(); });
    prompt_.WaveOut1().SetOnProgress([this](TAuOutput&) { WaveOut1Progress(); });
    prompt_.WaveOut2().SetOnDone([this](TAuOutput&) { WaveOut2Done(); });
    prompt_.WaveOut1().SetOnDone([this](TAuOutput&) { WaveOut1Done(); });
}

void TMainFormQuorvel::btSelecioneClick() {
    // One conversion at a time: "Substituir..." of another row says so.
    if (prompt_.Running()) {
        boxes_.showMessage(this, QString::fromUtf8("Aguarde o fim da conversão em andamento."));
        return;
    }
    const int index = convertPage_.promptList->currentIndex();
    if (index < 0) {
        boxes_.showMessage(this, QStringLiteral("Selecione o menu desejado para converter o arquivo."));
        return;
    }
    const QString file = openDialog2_->execute(this, QStringLiteral("mp3|*.mp3|wav|*.wav"));
    if (file.isEmpty()) return;
    const TLevelMode level = convertPage_.speechLevel->isChecked() ? TLevelMode::Speech : TLevelMode::Peak;
    beginConversion(index, toStdString(file), level, {});
}

bool TMainFormQuorvel::beginConversion(int index, const std::string& source, TLevelMode level,
                                       std::function<void()> finished) {
    if (prompt_.Running()) {
        boxes_.showMessage(this, QString::fromUtf8("Aguarde o fim da conversão em andamento."));
        return false;
    }
    // Held until the conversion has installed its prompt, or failed.
    promptHold_ = holdCard();
    if (!promptHold_) return false;
    convertPage_.select->setEnabled(false);
    convertPage_.summary->clear();
    convertPage_.waveform->setColumns({});
    prompt_.Begin({toStdString(programFolder_), index, source, level, convertPage_.trim->isChecked()},
                  {[this](const std::string& text) { convertPage_.log->setText(toQString(text)); },
                   [this, finished = std::move(finished)](const TPromptResult& result) {
                       if (finished) finished();
                       promptFinished(result);
                   }});
    return true;
}

void TMainFormQuorvel::WaveOut2Progress() { convertPage_.progress->setValue(prompt_.WaveOut2().PercentDone()); }

void TMainFormQuorvel::WaveOut1Progress() { convertPage_.progress->setValue(prompt_.WaveOut1().PercentDone()); }

void TMainFormQuorvel::WaveOut2Done() { prompt_.DecodeDone(); }

void TMainFormQuorvel::WaveOut1Done() {
    // The prompt is installed once a backup or restore under way has ended.
    if (copying_) {
        monoDonePending_ = true;
        return;
    }
    prompt_.MonoDone();
}

void TMainFormQuorvel::promptFinished(const TPromptResult& result) {
    promptHold_.release();
    showSessionNotices();
    if (result.Outcome == TPromptOutcome::Installed) cardNotices_->writingFinished();
    convertPage_.select->setEnabled(!copying_);
    if (result.Outcome != TPromptOutcome::Installed) return;
    for (int index = 0; index < PromptCount; ++index)
        if (promptFileName(index) == result.PromptName) measureOverviewRow(index);
    convertPage_.summary->setText(summaryText(result.Summary));
    convertPage_.waveform->setColumns(result.Summary.Waveform);
}

void TMainFormQuorvel::setOpenDialog2(std::unique_ptr<OpenFileDialog> dialog) { openDialog2_ = std::move(dialog); }

}  // namespace quorvel
