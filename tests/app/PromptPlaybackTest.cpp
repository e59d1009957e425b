// "Play >", "Stop " and "Suporte Remoto" through the sound and launch seams.
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "AppTestSupport.h"
#include "WindowTests.h"

using namespace quorvel;
using namespace quorvel::testing;

class PromptPlaybackTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void eachPlayButtonPlaysItsMenusPromptFromTheCard_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("prompt");
        const char* buttons[] = {"SpeedButton6", "SpeedButton10", "SpeedButton9",  "SpeedButton8",  "SpeedButton7",
                                 "SpeedButton1", "SpeedButton14", "SpeedButton13", "SpeedButton12", "SpeedButton11"};
        for (int menu = 0; menu < 10; ++menu) {
            QTest::newRow(buttons[menu]) << QString::fromLatin1(buttons[menu]) << QStringLiteral("10%1.wav").arg(menu);
        }
    }

    void eachPlayButtonPlaysItsMenusPromptFromTheCard() {
        QFETCH(QString, button);
        QFETCH(QString, prompt);
        CardFolderOnDisk card;
        RecordingMessageBoxes boxes;
        RecordedOperations operations;
        TMainFormQuorvel window(card.folder(), boxes, operations.seams());
        window.configuration().tChangeTimer();
        QVERIFY(showActive(&window));
        auto* field = child<QLineEdit>(&window, QStringLiteral("x031"));
        field->setFocus();
        QTest::keyClicks(field, QStringLiteral("M"));

        QTest::mouseClick(child<QToolButton>(&window, button), Qt::LeftButton);
        QCOMPARE(operations.sound.calls, QStringList{QStringLiteral("play ") + card.folder() + prompt});
        QCOMPARE(QApplication::focusWidget(), field);
        QVERIFY(boxes.messages.isEmpty());
    }

    void everyStopButtonStopsWhateverPlays() {
        CardFolderOnDisk card;
        RecordingMessageBoxes boxes;
        RecordedOperations operations;
        TMainFormQuorvel window(card.folder(), boxes, operations.seams());
        window.configuration().tChangeTimer();
        QVERIFY(showActive(&window));
        QTest::mouseClick(child<QToolButton>(&window, QStringLiteral("SpeedButton9")), Qt::LeftButton);
        QTest::mouseClick(child<QToolButton>(&window, QStringLiteral("SpeedButton8")), Qt::LeftButton);
        const int stops[] = {15, 17, 18, 19, 20, 21, 22, 23, 24, 25};
        for (int number : stops) {
            QTest::mouseClick(child<QToolButton>(&window, QStringLiteral("SpeedButton%1").arg(number)), Qt::LeftButton);
        }
        QStringList expected{QStringLiteral("play ") + card.folder() + "102.wav",
                             QStringLiteral("play ") + card.folder() + "103.wav"};
        for (int i = 0; i < 10; ++i) expected << QStringLiteral("stop");
        QCOMPARE(operations.sound.calls, expected);
    }

    void remoteSupportStartsTheToolOnEveryPage() {
        CardFolderOnDisk card;
        RecordingMessageBoxes boxes;
        RecordedOperations operations;
        TMainFormQuorvel window(card.folder(), boxes, operations.seams());
        QVERIFY(showActive(&window));
        auto* pages = child<QTabWidget>(&window, QStringLiteral("PageControl1"));
        for (int page = 0; page < 3; ++page) {
            pages->setCurrentIndex(page);
            QTest::mouseClick(child<QPushButton>(&window, QStringLiteral("Button1")), Qt::LeftButton);
        }
        const QString tool = card.folder() + QStringLiteral("suporte/AA_v3.5.exe");
        QCOMPARE(operations.launcher.launched, (QStringList{tool, tool, tool}));
        QVERIFY(boxes.messages.isEmpty() && boxes.errors.isEmpty());
    }
};

QUORVEL_WINDOW_TEST(PromptPlaybackTest)
#include "PromptPlaybackTest.moc"
