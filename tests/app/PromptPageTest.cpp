// Page 2: a recording chosen through the file chooser becomes a prompt.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include "AppTestSupport.h"
#include "WindowTests.h"
#include "app/WaveformView.h"
#include "shell/OpenFileDialog.h"

using namespace quorvel;
using namespace quorvel::testing;

namespace {

// Answers every OpenDialog2 with the next queued file; none queued cancels.
class ScriptedOpenDialog final : public OpenFileDialog {
public:
    explicit ScriptedOpenDialog(QStringList* answers, QStringList* filters) : answers_(answers), filters_(filters) {}
    QString execute(QWidget*, const QString& filter) override {
        *filters_ << filter;
        return answers_->isEmpty() ? QString() : answers_->takeFirst();
    }

private:
    QStringList* answers_;
    QStringList* filters_;
};

bool makeRecording(const QString& path) {
    return QProcess::execute(
               QStringLiteral("sox"),
               {QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("8000"), QStringLiteral("-c"),
                QStringLiteral("2"), path, QStringLiteral("synth"), QStringLiteral("0.4"), QStringLiteral("sine"),
                QStringLiteral("440"), QStringLiteral("vol"), QStringLiteral("0.1")}) == 0;
}

}  // namespace

class PromptPageTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        card_ = std::make_unique<CardFolderOnDisk>();
        window_ = std::make_unique<TMainFormQuorvel>(card_->folder(), boxes_);
        answers_.clear();
        filters_.clear();
        window_->prompts().setOpenDialog2(std::make_unique<ScriptedOpenDialog>(&answers_, &filters_));
        select_ = child<QPushButton>(window_.get(), QStringLiteral("btSelecione"));
        menu_ = child<QComboBox>(window_.get(), QStringLiteral("cbNomeArquivo"));
        log_ = child<QLabel>(window_.get(), QStringLiteral("lbLog"));
    }
    void cleanup() {
        window_.reset();
        card_.reset();
        boxes_.messages.clear();
    }

    void withoutAMenuTheMessageComesAndNoChooserOpens() {
        menu_->setCurrentIndex(-1);
        QTest::mouseClick(select_, Qt::LeftButton);
        QCOMPARE(boxes_.messages, QStringList{QStringLiteral("Selecione o menu desejado para converter o arquivo.")});
        QVERIFY(filters_.isEmpty());
    }

    void cancellingTheChooserChangesNothing() {
        menu_->setCurrentIndex(5);
        QTest::mouseClick(select_, Qt::LeftButton);
        QCOMPARE(filters_, QStringList{QStringLiteral("mp3|*.mp3|wav|*.wav")});
        QVERIFY(select_->isEnabled());
        QVERIFY(log_->text().isEmpty());
        QVERIFY(!card_->exists(QStringLiteral("105.wav")));
    }

    void recordingBecomesThePromptWithItsFiguresAndPicture() {
        const QString take = card_->folder() + QStringLiteral("take.wav");
        QVERIFY(makeRecording(take));
        // The load's own changes settle first, as they do two seconds after start.
        window_->configuration().tChangeTimer();
        QVERIFY(!window_->dataChanged());
        menu_->setCurrentIndex(5);
        auto* speech = child<QCheckBox>(window_.get(), QStringLiteral("cbNivelVoz"));
        QVERIFY(!speech->isChecked());
        speech->setChecked(true);
        answers_ << take;
        QTest::mouseClick(select_, Qt::LeftButton);
        QVERIFY(!select_->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(select_->isEnabled(), 30000);
        QCOMPARE(log_->text(), QString::fromUtf8("Processos de conversão finalizados..."));
        QVERIFY(card_->exists(QStringLiteral("105.wav")));
        QVERIFY(card_->exists(QStringLiteral("take.wav")));
        const QString summary = child<QLabel>(window_.get(), QStringLiteral("lbResumo"))->text();
        QVERIFY2(summary.contains(QStringLiteral("8000 Hz")), qPrintable(summary));
        QVERIFY2(summary.contains(QStringLiteral("-19,0 dBm0")), qPrintable(summary));
        QVERIFY(!child<WaveformView>(window_.get(), QStringLiteral("imgOnda"))->columns().empty());
        // The level choice and the menu choice are not configuration.
        QVERIFY(!window_->dataChanged());
    }

    // The conversion and the save share the card: the save lands at once,
    // a second conversion is told to wait, and the first one still installs.
    void aSaveDuringAConversionLandsAndASecondConversionWaits() {
        const QString take = card_->folder() + QStringLiteral("take.wav");
        QVERIFY(makeRecording(take));
        window_->configuration().tChangeTimer();
        menu_->setCurrentIndex(5);
        answers_ << take;
        QTest::mouseClick(select_, Qt::LeftButton);
        QVERIFY(!select_->isEnabled());

        // No event has run since: the conversion is under way.
        child<QLineEdit>(window_.get(), QStringLiteral("x031"))->setText(QStringLiteral("201"));
        window_->configuration().btGravaClick();
        QVERIFY(card_->read(QStringLiteral("031.txt")).startsWith("201"));
        QVERIFY(boxes_.messages.isEmpty());
        QVERIFY(boxes_.errors.isEmpty());

        answers_ << take;
        menu_->setCurrentIndex(3);
        window_->prompts().btSelecioneClick();
        QCOMPARE(boxes_.messages, QStringList{QString::fromUtf8("Aguarde o fim da conversão em andamento.")});

        QTRY_VERIFY_WITH_TIMEOUT(select_->isEnabled(), 30000);
        QCOMPARE(log_->text(), QString::fromUtf8("Processos de conversão finalizados..."));
        QVERIFY(card_->exists(QStringLiteral("105.wav")));
        QVERIFY(!card_->exists(QStringLiteral("103.wav")));
    }

    void unreadableRecordingSaysSoAndKeepsTheOldPrompt() {
        card_->write(QStringLiteral("102.wav"), "old");
        card_->write(QStringLiteral("broken.wav"), "RIFF....");
        menu_->setCurrentIndex(2);
        answers_ << card_->folder() + QStringLiteral("broken.wav");
        QTest::mouseClick(select_, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(select_->isEnabled(), 30000);
        QCOMPARE(log_->text(), QString::fromUtf8("Arquivo de áudio inválido ou não suportado."));
        QCOMPARE(card_->read(QStringLiteral("102.wav")), QByteArray("old"));
    }

private:
    RecordingMessageBoxes boxes_;
    std::unique_ptr<CardFolderOnDisk> card_;
    std::unique_ptr<TMainFormQuorvel> window_;
    QStringList answers_;
    QStringList filters_;
    QPushButton* select_ = nullptr;
    QComboBox* menu_ = nullptr;
    QLabel* log_ = nullptr;
};

QUORVEL_WINDOW_TEST(PromptPageTest)
#include "PromptPageTest.moc"
