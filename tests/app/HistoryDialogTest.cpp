// "Histórico...": the card's versions, what one differs from the card, and
// that version restored into the card and the window.
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "AppTestSupport.h"
#include "WindowTests.h"
#include "operations/history/CardHistory.h"
#include "operations/history/HistoryRecorder.h"

using namespace quorvel;
using namespace quorvel::testing;

class HistoryDialogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        qputenv("XDG_DATA_HOME", dataHome_.path().toUtf8());
        CardSession::setRecorderFactory(makeHistoryRecorder);
    }
    void cleanup() {
        CardSession::setRecorderFactory({});
        qunsetenv("XDG_DATA_HOME");
    }

    void aVersionIsComparedRestoredAndShown() {
        CardFolderOnDisk card;
        RecordingMessageBoxes boxes;
        RecordedOperations operations;
        TMainFormQuorvel window(card.folder(), boxes, operations.seams());
        window.configuration().tChangeTimer();
        // The first save records the card as it was, then the save.
        child<QLineEdit>(&window, QStringLiteral("x031"))->setText(QStringLiteral("201"));
        QTest::mouseClick(child<QPushButton>(&window, QStringLiteral("btGrava")), Qt::LeftButton);
        CardHistory history(card.folder().toStdString());
        std::vector<HistoryVersion> versions;
        QCOMPARE(QString::fromStdString(history.versions(versions)), QString());
        QVERIFY(versions.size() >= 2);
        QCOMPARE(QString::fromStdString(versions[0].action), QStringLiteral("Gravar"));
        // The card as it was before the save.
        const std::string first = versions[1].id;
        const int kept = static_cast<int>(versions.size());

        QTest::mouseClick(child<QPushButton>(&window, QStringLiteral("btHistorico")), Qt::LeftButton);
        auto* list = child<QListWidget>(&window, QStringLiteral("lvHistorico"));
        QVERIFY(list != nullptr && list->isVisible());
        QCOMPARE(list->count(), kept);
        QVERIFY2(list->item(0)->text().endsWith(QStringLiteral("  Gravar")), qPrintable(list->item(0)->text()));
        QVERIFY(list->item(1)->text().endsWith(QStringLiteral("  ") + QString::fromStdString(versions[1].action)));
        auto* restore = child<QPushButton>(&window, QStringLiteral("btRestaurarVersao"));
        QVERIFY(!restore->isEnabled());

        list->setCurrentRow(1);
        const QString changes = child<QPlainTextEdit>(&window, QStringLiteral("mmDiferencas"))->toPlainText();
        QVERIFY2(changes.startsWith(
                     QString::fromUtf8("1 valor da configuração muda:\nMenu 3, Opção 1, Ramal/Grupo 1: 201 → —\n")),
                 qPrintable(changes));
        QVERIFY(restore->isEnabled());

        boxes.answer(true);
        QTest::mouseClick(restore, Qt::LeftButton);
        QCOMPARE(boxes.questions.size(), 1);
        QVERIFY(boxes.questions[0].endsWith(changes));
        QCOMPARE(child<QLineEdit>(&window, QStringLiteral("x031"))->text(), QString());
        QVERIFY(!window.dataChanged());
        QCOMPARE(list->count(), kept + 1);
        QVERIFY2(list->item(0)->text().endsWith(QString::fromUtf8("Restauração da versão ") +
                                                QString::fromStdString(shortVersionId(first))),
                 qPrintable(list->item(0)->text()));
        QVERIFY(history.cardHolds(first));
    }

private:
    QTemporaryDir dataHome_;
};

QUORVEL_WINDOW_TEST(HistoryDialogTest)
#include "HistoryDialogTest.moc"
