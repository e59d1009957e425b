// "Histórico...": the card's versions, what one differs from the card, and
// that version restored into the card and the window.
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "AppTestSupport.h"
#include "operations/history/CardHistory.h"

using namespace quorvel;
using namespace quorvel::testing;

class HistoryDialogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { qputenv("XDG_DATA_HOME", dataHome_.path().toUtf8()); }
    void cleanup() { qunsetenv("XDG_DATA_HOME"); }

    void aVersionIsComparedRestoredAndShown() {
        CardFolderOnDisk card;
        RecordingMessageBoxes boxes;
        RecordedOperations operations;
        TMainFormQuorvel window(card.folder(), boxes, operations.seams());
        window.tChangeTimer();
        // Until the card writers record by themselves, the test records each write.
        CardHistory history(card.folder().toStdString());
        QCOMPARE(QString::fromStdString(history.record("Inicial")), QString());
        const std::string first = history.latest();
        child<QLineEdit>(&window, QStringLiteral("x031"))->setText(QStringLiteral("201"));
        QTest::mouseClick(child<QPushButton>(&window, QStringLiteral("btGrava")), Qt::LeftButton);
        QCOMPARE(QString::fromStdString(history.record("Gravar")), QString());

        QTest::mouseClick(child<QPushButton>(&window, QStringLiteral("btHistorico")), Qt::LeftButton);
        auto* list = child<QListWidget>(&window, QStringLiteral("lvHistorico"));
        QVERIFY(list != nullptr && list->isVisible());
        QCOMPARE(list->count(), 2);
        QVERIFY2(list->item(0)->text().endsWith(QStringLiteral("  Gravar")), qPrintable(list->item(0)->text()));
        QVERIFY(list->item(1)->text().endsWith(QStringLiteral("  Inicial")));
        auto* restore = child<QPushButton>(&window, QStringLiteral("btRestaurarVersao"));
        QVERIFY(!restore->isEnabled());

        list->setCurrentRow(1);
        const QString changes = child<QPlainTextEdit>(&window, QStringLiteral("mmDiferencas"))->toPlainText();
        QVERIFY2(
            changes.startsWith(QString::fromUtf8("1 valor da configuração muda:\nmenus.3.1.target1: \"201\" → \"\"\n")),
            qPrintable(changes));
        QVERIFY(restore->isEnabled());

        boxes.answer(true);
        QTest::mouseClick(restore, Qt::LeftButton);
        QCOMPARE(boxes.questions.size(), 1);
        QVERIFY(boxes.questions[0].endsWith(changes));
        QCOMPARE(child<QLineEdit>(&window, QStringLiteral("x031"))->text(), QString());
        QVERIFY(!window.dataChanged());
        QCOMPARE(list->count(), 3);
        QVERIFY2(list->item(0)->text().endsWith(QString::fromUtf8("Restauração da versão ") +
                                                QString::fromStdString(shortVersionId(first))),
                 qPrintable(list->item(0)->text()));
        QVERIFY(history.cardHolds(first));
    }

private:
    QTemporaryDir dataHome_;
};

QTEST_MAIN(HistoryDialogTest)
#include "HistoryDialogTest.moc"
