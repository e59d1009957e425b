#include "app/PromptsPart.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryFile>
#include <QThreadPool>
#include <QToolButton>

#include "app/CardWriteMessages.h"
#include "app/QtText.h"
#include "app/TextPromptDialog.h"
#include "app/WaveformView.h"
#include "operations/prompt/PromptSurvey.h"
#include "shell/MessageBoxes.h"
#include "shell/OpenFileDialog.h"

namespace quorvel {

namespace {

constexpr std::size_t kOverviewColumns = 160;

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

QString nameList(const std::vector<std::string>& names) {
    QStringList lines;
    for (const std::string& name : names) lines << toQString(name);
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

PromptsPart::PromptsPart(QWidget* window, QWidget* page, std::shared_ptr<CardSession> session,
                         const QString& programFolder, MessageBoxes& boxes, SoundPlayer& sound)
    : QObject(window),
      window_(window),
      session_(std::move(session)),
      programFolder_(programFolder),
      boxes_(boxes),
      sound_(sound),
      convertPage_(buildConvertPage(page)),
      openDialog2_(std::make_unique<QtOpenFileDialog>()),
      overviewPool_(std::make_unique<QThreadPool>()) {
    connectPage();
}

PromptsPart::~PromptsPart() = default;

void PromptsPart::connectPage() {
    connect(convertPage_.select, &QPushButton::clicked, this, &PromptsPart::btSelecioneClick);
    connect(convertPage_.text, &QPushButton::clicked, this, &PromptsPart::btTextoClick);
    prompt_.WaveOut2().SetOnProgress([this](TAuOutput&) { WaveOut2Progress(); });
    prompt_.WaveOut1().SetOnProgress([this](TAuOutput&) { WaveOut1Progress(); });
    prompt_.WaveOut2().SetOnDone([this](TAuOutput&) { WaveOut2Done(); });
    prompt_.WaveOut1().SetOnDone([this](TAuOutput&) { WaveOut1Done(); });
    for (int index = 0; index < PromptCount; ++index) {
        PromptOverviewRow& row = convertPage_.overview.rows[static_cast<std::size_t>(index)];
        connect(row.play, &QToolButton::clicked, this, [this, index] { playPrompt(index); });
        connect(row.stop, &QToolButton::clicked, this, &PromptsPart::SpeedButton15Click);
        connect(row.replace, &QPushButton::clicked, this, [this, index] {
            convertPage_.promptList->setCurrentIndex(index);
            btSelecioneClick();
        });
    }
    connect(convertPage_.overview.levelAll, &QPushButton::clicked, this, &PromptsPart::btIgualarTodosClick);
}

void PromptsPart::btSelecioneClick() {
    // One conversion at a time: "Substituir..." of another row says so.
    if (prompt_.Running()) {
        boxes_.showMessage(window_, QString::fromUtf8("Aguarde o fim da conversão em andamento."));
        return;
    }
    const int index = convertPage_.promptList->currentIndex();
    if (index < 0) {
        boxes_.showMessage(window_, QStringLiteral("Selecione o menu desejado para converter o arquivo."));
        return;
    }
    const QString file = openDialog2_->execute(window_, QStringLiteral("mp3|*.mp3|wav|*.wav"));
    if (file.isEmpty()) return;
    const TLevelMode level = convertPage_.speechLevel->isChecked() ? TLevelMode::Speech : TLevelMode::Peak;
    beginConversion(index, toStdString(file), level, {});
}

void PromptsPart::btTextoClick() {
    const int index = convertPage_.promptList->currentIndex();
    if (index < 0) {
        boxes_.showMessage(window_, QStringLiteral("Selecione o menu desejado para converter o arquivo."));
        return;
    }
    // A typed text is always levelled to the speech level.
    auto install = [this, index](std::shared_ptr<TSpokenWave> wave) {
        // The spoken file lives until the conversion has read it.
        return beginConversion(index, wave->Path(), TLevelMode::Speech, [wave]() mutable { wave.reset(); });
    };
    auto* dialog = new TextPromptDialog(convertPage_.promptList->currentText(), boxes_, sound_,
                                        convertPage_.overview.telephone, install, window_);
    dialog->open();
}

bool PromptsPart::beginConversion(int index, const std::string& source, TLevelMode level,
                                  std::function<void()> finished) {
    if (prompt_.Running()) {
        boxes_.showMessage(window_, QString::fromUtf8("Aguarde o fim da conversão em andamento."));
        return false;
    }
    // Held until the conversion has installed its prompt, or failed.
    promptHold_ = holdCard(*session_, boxes_, window_);
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

void PromptsPart::WaveOut2Progress() { convertPage_.progress->setValue(prompt_.WaveOut2().PercentDone()); }

void PromptsPart::WaveOut1Progress() { convertPage_.progress->setValue(prompt_.WaveOut1().PercentDone()); }

void PromptsPart::WaveOut2Done() { prompt_.DecodeDone(); }

void PromptsPart::WaveOut1Done() {
    // The prompt is installed once a backup or restore under way has ended.
    if (copying_) {
        monoDonePending_ = true;
        return;
    }
    prompt_.MonoDone();
}

void PromptsPart::promptFinished(const TPromptResult& result) {
    promptHold_.release();
    showSessionNotices();
    if (result.Outcome == TPromptOutcome::Installed) Q_EMIT writingFinished();
    convertPage_.select->setEnabled(!copying_);
    if (result.Outcome != TPromptOutcome::Installed) return;
    for (int index = 0; index < PromptCount; ++index)
        if (promptFileName(index) == result.PromptName) measureOverviewRow(index);
    convertPage_.summary->setText(summaryText(result.Summary));
    convertPage_.waveform->setColumns(result.Summary.Waveform);
}

void PromptsPart::setOpenDialog2(std::unique_ptr<OpenFileDialog> dialog) { openDialog2_ = std::move(dialog); }

void PromptsPart::copyStarted() {
    copying_ = true;
    convertPage_.select->setEnabled(false);
}

void PromptsPart::copyFinished() {
    copying_ = false;
    convertPage_.select->setEnabled(!prompt_.Running());
    // A restore may have brought other prompts.
    measureOverview();
    // A conversion that ended during the copy installs its prompt now.
    if (std::exchange(monoDonePending_, false)) prompt_.MonoDone();
}

void PromptsPart::clearSelection() { convertPage_.promptList->setCurrentIndex(kNoSelection); }

QWidget* PromptsPart::promptField(int index) {
    convertPage_.promptList->setCurrentIndex(index);
    return convertPage_.promptList;
}

void PromptsPart::measureOverview() {
    for (int index = 0; index < PromptCount; ++index) measureOverviewRow(index);
}

void PromptsPart::measureOverviewRow(int index) {
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

void PromptsPart::settleOverview() {
    overviewPool_->waitForDone();
    QCoreApplication::sendPostedEvents(this);
}

void PromptsPart::btIgualarTodosClick() {
    const std::string folder = toStdString(programFolder_);
    const std::vector<std::string> names = PromptsToLevel(folder);
    if (names.empty()) {
        boxes_.showMessage(window_, QString::fromUtf8("Todos os arquivos de voz já estão no mesmo volume."));
        return;
    }
    if (!boxes_.confirm(window_,
                        QString::fromUtf8("Igualar o volume da fala destes arquivos de voz?\n") + nameList(names)))
        return;
    const CardSession::Hold hold = holdCard(*session_, boxes_, window_);
    if (!hold) return;
    const TLevelAllOutcome outcome = LevelAllPrompts(folder, installPrompt_);
    showSessionNotices();
    measureOverview();
    if (outcome.Failed.empty()) return;
    QStringList failed;
    for (const auto& [prompt, error] : outcome.Failed)
        failed << toQString(prompt) + QStringLiteral(": ") + toQString(error);
    boxes_.showError(window_,
                     QString::fromUtf8("Não foi possível igualar o volume de:\n") + failed.join(QLatin1Char('\n')));
}

void PromptsPart::showSessionNotices() {
    for (const std::string& text : session_->takeNotices()) Q_EMIT notice(toQString(text));
}

}  // namespace quorvel
