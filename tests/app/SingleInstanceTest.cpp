// One program per session: a second start hands over and creates nothing.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

#include "WindowTests.h"
#include "shell/SingleInstance.h"

using namespace quorvel;

class SingleInstanceTest : public QObject {
    Q_OBJECT

    static QString uniqueKey() { return QStringLiteral("quorvel-test-") + QUuid::createUuid().toString(QUuid::Id128); }

    // A copy of the program in its own card folder.
    static QString installProgram(const QTemporaryDir& dir) {
        const QString program = dir.path() + QStringLiteral("/ajustor-quorvel");
        QFile::copy(QStringLiteral(QUORVEL_PROGRAM), program);
        return program;
    }

    static int fileCount(const QTemporaryDir& dir) {
        return static_cast<int>(QDir(dir.path()).entryList(QDir::Files).size());
    }

private Q_SLOTS:
    void laterStartIsForwardedToTheRunningOne() {
        const QString key = uniqueKey();
        SingleInstance first(key);
        SingleInstance second(key);
        QVERIFY(!first.forwardToRunning());
        QVERIFY(first.claim());
        QSignalSpy activations(&first, &SingleInstance::activationRequested);
        QVERIFY(second.forwardToRunning());
        QVERIFY(activations.wait(2000));
        QCOMPARE(activations.count(), 1);
    }

    void keyLeftBehindIsTakenOver() {
        const QString key = uniqueKey();
        // What a process that died while holding the key leaves behind.
        QFile leftover(QDir::tempPath() + QLatin1Char('/') + key);
        QVERIFY(leftover.open(QIODevice::WriteOnly));
        leftover.close();
        SingleInstance instance(key);
        QVERIFY(!instance.forwardToRunning());
        QVERIFY(instance.claim());
        SingleInstance later(key);
        QVERIFY(later.forwardToRunning());
    }

    void secondProgramStartCreatesNothing() {
        QTemporaryDir firstCard;
        QTemporaryDir secondCard;
        QProcess first;
        first.start(installProgram(firstCard), {});
        QVERIFY(first.waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(fileCount(firstCard), 114, 20000);

        QProcess second;
        second.start(installProgram(secondCard), {});
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(fileCount(secondCard), 1);
        QCOMPARE(first.state(), QProcess::Running);

        first.terminate();
        QVERIFY(first.waitForFinished(20000));
    }
};

QUORVEL_WINDOW_TEST(SingleInstanceTest)
#include "SingleInstanceTest.moc"
