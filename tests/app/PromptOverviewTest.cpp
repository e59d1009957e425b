// Page 2's overview: every prompt of the card measured, played, replaced
// and levelled together.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <stdexcept>

#include "AppTestSupport.h"
#include "WindowTests.h"
#include "app/WaveformView.h"
#include "operations/prompt/PromptFiles.h"
#include "operations/prompt/PromptSurvey.h"
#include "shell/OpenFileDialog.h"

using namespace quorvel;
using namespace quorvel::testing;

namespace {

class ScriptedOpenDialog final : public OpenFileDialog {
public:
    explicit ScriptedOpenDialog(QStringList* answers) : answers_(answers) {}
    QString execute(QWidget*, const QString&) override {
        return answers_->isEmpty() ? QString() : answers_->takeFirst();
    }

private:
    QStringList* answers_;
};

// Makes `path` with sox from a format and effects, each a space-separated list.
bool sox(const QString& format, const QString& path, const QString& effects) {
    QStringList arguments{QStringLiteral("-n")};
    arguments << format.split(QLatin1Char(' ')) << path << effects.split(QLatin1Char(' '));
    return QProcess::execute(QStringLiteral("sox"), arguments) == 0;
}

bool haveSox() { return QProcess::execute(QStringLiteral("sox"), {QStringLiteral("--version")}) == 0; }

}  // namespace

class PromptOverviewTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        if (!haveSox()) QSKIP("sox is not installed");
        card_ = std::make_unique<CardFolderOnDisk>();
        const QString folder = card_->folder();
        // Menu 0 absent; 1 stereo; 2 8-bit; 3 good and soft; 4 good and on target.
        QVERIFY(sox(QStringLiteral("-r 8000 -c 2 -b 16"), folder + QStringLiteral("101.wav"),
                    QStringLiteral("synth 1 sine 440 vol 0.5")));
        QVERIFY(sox(QStringLiteral("-r 8000 -c 1 -b 8"), folder + QStringLiteral("102.wav"),
                    QStringLiteral("synth 1 sine 440 vol 0.5")));
        QVERIFY(sox(QStringLiteral("-r 8000 -c 1 -b 16"), folder + QStringLiteral("103.wav"),
                    QStringLiteral("synth 2 sine 440 vol 0.02")));
        QVERIFY(sox(QStringLiteral("-r 16000 -c 1 -b 16"), folder + QStringLiteral("104.wav"),
                    QStringLiteral("synth 1.5 sine 440 vol 0.1122")));
        window_ = std::make_unique<TMainFormQuorvel>(folder, boxes_, operations_.seams());
        window_->prompts().setOpenDialog2(std::make_unique<ScriptedOpenDialog>(&answers_));
        window_->prompts().settleOverview();
    }
    void cleanup() {
        window_.reset();
        card_.reset();
        answers_.clear();
        boxes_.questions.clear();
        boxes_.errors.clear();
        boxes_.messages.clear();
        operations_.sound.calls.clear();
    }

    void rowsShowEachPromptsStateAndFigures() {
        struct Row {
            int index;
            const char* state;
            const char* rate;
        };
        const Row rows[] = {{0, "ausente", ""},   {1, "não é mono", "8000 Hz"}, {2, "não é 16 bits", "8000 Hz"},
                            {3, "ok", "8000 Hz"}, {4, "ok", "16000 Hz"},        {10, "ausente", ""}};
        for (const Row& row : rows) {
            QCOMPARE(label(QStringLiteral("lbVisaoEstado"), row.index), QString::fromUtf8(row.state));
            QCOMPARE(label(QStringLiteral("lbVisaoTaxa"), row.index), QString::fromUtf8(row.rate));
        }
        QCOMPARE(label(QStringLiteral("lbVisaoDuracao"), 4), QStringLiteral("1,5 s"));
        QVERIFY(qAbs(level(4) + 19.0) <= 0.11);
        QVERIFY(qAbs(level(3) + 34.0) <= 0.11);
        QCOMPARE(label(QStringLiteral("lbVisaoPico"), 0), QString());
        QVERIFY(!waveform(3).empty());
        QVERIFY(waveform(0).empty());
    }

    void playAndStopGoThroughTheSoundSeam() {
        QTest::mouseClick(child<QToolButton>(window_.get(), QStringLiteral("btVisaoPlay10")), Qt::LeftButton);
        QTest::mouseClick(child<QToolButton>(window_.get(), QStringLiteral("btVisaoStop10")), Qt::LeftButton);
        QCOMPARE(operations_.sound.calls,
                 (QStringList{QStringLiteral("play ") + card_->folder() + QStringLiteral("132.wav"),
                              QStringLiteral("stop")}));
    }

    // With the trim box ticked, the 2 s of silence on either side of the
    // 0.5 s tone come down to a 0.3 s lead-in and a 0.5 s tail after the
    // meter's hangover.
    // Ticked, both the overview's and page 0's play buttons play an 8000 Hz
    // telephone version kept outside the card folder.
    void telephonePlaybackPlaysAn8kHzCopyOutsideTheCard() {
        child<QCheckBox>(window_.get(), QStringLiteral("cbOuvirTelefone"))->setChecked(true);
        QTest::mouseClick(child<QToolButton>(window_.get(), QStringLiteral("btVisaoPlay4")), Qt::LeftButton);
        QCOMPARE(operations_.sound.calls.size(), 1);
        const QString played = operations_.sound.calls[0].mid(QStringLiteral("play ").size());
        QVERIFY2(!played.startsWith(card_->folder()), qPrintable(played));
        QFile copy(played);
        QVERIFY(copy.open(QIODevice::ReadOnly));
        const QByteArray header = copy.read(44);
        QCOMPARE(header.mid(0, 4), QByteArray("RIFF"));
        const auto le32 = [&header](int at) {
            return static_cast<std::uint8_t>(header[at]) | static_cast<std::uint8_t>(header[at + 1]) << 8 |
                   static_cast<std::uint8_t>(header[at + 2]) << 16;
        };
        QCOMPARE(le32(24), 8000U);
        // 1.5 s of 16-bit mono.
        QCOMPARE(le32(40), 8000U * 3);
        const QStringList before = QDir(card_->folder()).entryList(QDir::Files);
        child<QCheckBox>(window_.get(), QStringLiteral("cbOuvirTelefone"))->setChecked(false);
        QTest::mouseClick(child<QToolButton>(window_.get(), QStringLiteral("btVisaoPlay4")), Qt::LeftButton);
        QCOMPARE(operations_.sound.calls[1], QStringLiteral("play ") + card_->folder() + QStringLiteral("104.wav"));
        QCOMPARE(QDir(card_->folder()).entryList(QDir::Files), before);
    }

    void replacingARowConvertsIntoItTrimmedAndMeasuresItAgain() {
        const QString take = card_->folder() + QStringLiteral("take.wav");
        QVERIFY(sox(QStringLiteral("-r 22050 -c 2 -b 16"), take, QStringLiteral("synth 0.5 sine 300 vol 0.3 pad 2 2")));
        auto* trim = child<QCheckBox>(window_.get(), QStringLiteral("cbRemoverSilencio"));
        QVERIFY(!trim->isChecked());
        trim->setChecked(true);
        answers_ << take;
        auto* select = child<QPushButton>(window_.get(), QStringLiteral("btSelecione"));
        QTest::mouseClick(child<QPushButton>(window_.get(), QStringLiteral("btVisaoSubstituir0")), Qt::LeftButton);
        QCOMPARE(child<QComboBox>(window_.get(), QStringLiteral("cbNomeArquivo"))->currentIndex(), 0);
        QVERIFY(!select->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(select->isEnabled(), 30000);
        window_->prompts().settleOverview();
        QCOMPARE(label(QStringLiteral("lbVisaoEstado"), 0), QStringLiteral("ok"));
        const double seconds = number(QStringLiteral("lbVisaoDuracao"), 0);
        QVERIFY2(seconds >= 1.4 && seconds <= 1.6, qPrintable(QString::number(seconds)));
        QVERIFY(!waveform(0).empty());
    }

    void levellingAllAsksFirstAndDeclinedChangesNothing() {
        const QByteArray soft = card_->read(QStringLiteral("103.wav"));
        auto* levelAll = child<QPushButton>(window_.get(), QStringLiteral("btIgualarTodos"));
        QTest::mouseClick(levelAll, Qt::LeftButton);
        QCOMPARE(boxes_.questions.size(), 1);
        QVERIFY2(boxes_.questions[0].contains(QStringLiteral("103.wav")), qPrintable(boxes_.questions[0]));
        QVERIFY(!boxes_.questions[0].contains(QStringLiteral("104.wav")));
        QCOMPARE(card_->read(QStringLiteral("103.wav")), soft);
        QVERIFY(boxes_.errors.isEmpty());
    }

    void levellingAllConfirmedLevelsAndNamesWhatFailed() {
        const QString louder = card_->folder() + QStringLiteral("105.wav");
        QVERIFY(sox(QStringLiteral("-r 8000 -c 1 -b 16"), louder, QStringLiteral("synth 1 sine 440 vol 0.8")));
        const QByteArray loud = card_->read(QStringLiteral("105.wav"));
        const QByteArray onTarget = card_->read(QStringLiteral("104.wav"));
        window_->prompts().setPromptInstaller([](const std::string& finished, const std::string& target) {
            if (target.ends_with("105.wav")) return CardResult::failed("Permissão negada", target);
            return InstallPrompt(finished, target);
        });
        boxes_.answer(true);
        QTest::mouseClick(child<QPushButton>(window_.get(), QStringLiteral("btIgualarTodos")), Qt::LeftButton);
        QCOMPARE(boxes_.questions.size(), 1);
        QCOMPARE(boxes_.errors.size(), 1);
        QVERIFY2(boxes_.errors[0].contains(QStringLiteral("105.wav: Permissão negada")), qPrintable(boxes_.errors[0]));
        QVERIFY(boxes_.errors[0].contains(QString::fromUtf8("101.wav: não é mono")));
        QCOMPARE(card_->read(QStringLiteral("105.wav")), loud);
        QCOMPARE(card_->read(QStringLiteral("104.wav")), onTarget);
        window_->prompts().settleOverview();
        QVERIFY(qAbs(level(3) + 19.0) <= 0.3);
    }

private:
    QString label(const QString& name, int index) {
        return child<QLabel>(window_.get(), name + QString::number(index))->text();
    }
    double level(int index) { return number(QStringLiteral("lbVisaoFala"), index); }
    // The figure a row shows, as "-19,0 dBm0" or "1,5 s".
    double number(const QString& name, int index) {
        const QString text = label(name, index);
        bool ok = false;
        const double value =
            QLocale(QLocale::Portuguese, QLocale::Brazil).toDouble(text.section(QLatin1Char(' '), 0, 0), &ok);
        return ok ? value : 1000.0;
    }
    const WaveformView::Columns& waveform(int index) {
        return child<WaveformView>(window_.get(), QStringLiteral("imgVisao%1").arg(index))->columns();
    }

    RecordingMessageBoxes boxes_;
    RecordedOperations operations_;
    std::unique_ptr<CardFolderOnDisk> card_;
    std::unique_ptr<TMainFormQuorvel> window_;
    QStringList answers_;
};

QUORVEL_WINDOW_TEST(PromptOverviewTest)
#include "PromptOverviewTest.moc"
