// The window's claim on its card: other programs refuse to write while it is
// open, and what they write anyway with --force is noticed and not written
// over unasked.
#include <unistd.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "AppTestSupport.h"
#include "WindowTests.h"
#include "app/MaskedEdit.h"
#include "config/CardLock.h"

using namespace quorvel;
using namespace quorvel::testing;

namespace {

struct ToolResult {
    int status = -1;
    QString err;
};

ToolResult runCardTool(const QStringList& arguments) {
    QProcess tool;
    tool.start(QStringLiteral(AJUSTOR_CARD_BINARY), arguments);
    tool.waitForFinished(-1);
    return {tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1,
            QString::fromUtf8(tool.readAllStandardError())};
}

QString dom1(const TMainFormQuorvel& window) {
    return window.findChild<MaskedEdit*>(QStringLiteral("HoraDom1"))->maskedText();
}

// The first Sunday time as the card holds it, read by another program.
QString cardDom1(const CardFolderOnDisk& card) {
    QProcess tool;
    tool.start(QStringLiteral(AJUSTOR_CARD_BINARY), {QStringLiteral("show"), card.folder()});
    tool.waitForFinished(-1);
    const QJsonObject config = QJsonDocument::fromJson(tool.readAllStandardOutput()).object();
    return config[QStringLiteral("timetable")][QStringLiteral("Dom")][0][QStringLiteral("time")].toString();
}

bool noticeShown(const TMainFormQuorvel& window) {
    return !window.findChild<QLabel*>(QStringLiteral("lbAlterado"))->isHidden();
}

// Waits until the window has compared the card after the folder watcher
// reported the save just made.
void awaitWatcher(const TMainFormQuorvel& window) {
    auto* check = window.findChild<QTimer*>(QStringLiteral("tCartao"));
    QVERIFY(check != nullptr);
    QSignalSpy spy(check, &QTimer::timeout);
    QVERIFY2(spy.wait(10000), "the folder watcher never reported the save");
}

}  // namespace

class CardHoldTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void otherWritersRefuseUnlessForced() {
        CardFolderOnDisk card;
        RecordingMessageBoxes boxes;
        auto window = openWindow(card, boxes);
        const QString before = cardDom1(card);

        const ToolResult refused =
            runCardTool({QStringLiteral("set"), card.folder(), QStringLiteral("timetable.Dom.0.time=08:00")});
        QCOMPARE(refused.status, 1);
        QVERIFY2(refused.err.contains(QStringLiteral("open in the window of ajustor-quorvel (pid %1)").arg(::getpid())),
                 qPrintable(refused.err));
        QCOMPARE(cardDom1(card), before);

        const ToolResult forced = runCardTool({QStringLiteral("set"), QStringLiteral("--force"), card.folder(),
                                               QStringLiteral("timetable.Dom.0.time=08:00")});
        QCOMPARE(forced.status, 0);
        QCOMPARE(cardDom1(card), QStringLiteral("08:00"));
    }

    void closingTheWindowReleasesTheCard() {
        CardFolderOnDisk card;
        RecordingMessageBoxes boxes;
        openWindow(card, boxes).reset();
        const ToolResult run =
            runCardTool({QStringLiteral("set"), card.folder(), QStringLiteral("timetable.Dom.0.time=08:00")});
        QCOMPARE(run.status, 0);
        QVERIFY(boxes.questions.isEmpty());
    }

    void saveAsksBeforeWritingOverAnOutsideChange_data() {
        QTest::addColumn<bool>("overwrite");
        QTest::addColumn<QString>("expected");
        QTest::newRow("&Não reloads the card") << false << QStringLiteral("08:00");
        QTest::newRow("&Sim writes the window's fields") << true << QStringLiteral("  :  ");
    }

    void saveAsksBeforeWritingOverAnOutsideChange() {
        QFETCH(bool, overwrite);
        QFETCH(QString, expected);
        CardFolderOnDisk card;
        RecordingMessageBoxes boxes;
        auto window = openWindow(card, boxes);
        QVERIFY(!noticeShown(*window));

        QCOMPARE(runCardTool({QStringLiteral("set"), QStringLiteral("--force"), card.folder(),
                              QStringLiteral("timetable.Dom.0.time=08:00")})
                     .status,
                 0);
        awaitWatcher(*window);
        QVERIFY(noticeShown(*window));

        boxes.answer(overwrite);
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("btGrava")), Qt::LeftButton);
        QCOMPARE(boxes.questions.size(), 1);
        QVERIFY2(boxes.questions[0].contains(QStringLiteral("alterados por outro programa")),
                 qPrintable(boxes.questions[0]));
        QCOMPARE(dom1(*window), expected);
        QCOMPARE(cardDom1(card), expected);
    }

    void ownSavesAreNotOutsideChanges() {
        CardFolderOnDisk card;
        RecordingMessageBoxes boxes;
        auto window = openWindow(card, boxes);
        window->findChild<MaskedEdit*>(QStringLiteral("HoraDom1"))->setMaskedText(QStringLiteral("07:30"));
        window->configuration().btGravaClick();
        awaitWatcher(*window);
        QVERIFY(!noticeShown(*window));
        window->configuration().btGravaClick();
        QVERIFY(boxes.questions.isEmpty());
        QVERIFY(boxes.messages.isEmpty());
    }
};

QUORVEL_WINDOW_TEST(CardHoldTest)
#include "CardHoldTest.moc"
