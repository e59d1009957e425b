// The desktop's playback and launch: what can be checked without a sound
// device or a desktop session.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "shell/QtProgramLauncher.h"
#include "shell/QtSoundPlayer.h"

using namespace quorvel;

class DesktopOperationsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void unplayablePromptsBeepWithoutAMessage_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("not a WAV file") << QByteArray("RIFF\x04\0\0\0JUNKJUNKJUNK", 16);
    }

    void unplayablePromptsBeepWithoutAMessage() {
        QFETCH(QByteArray, bytes);
        QTemporaryDir folder;
        const QString prompt = folder.path() + QStringLiteral("/103.wav");
        if (!bytes.isEmpty()) {
            QFile file(prompt);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        }
        int beeps = 0;
        QtSoundPlayer player([&beeps] { ++beeps; });
        player.play(prompt);
        QTRY_COMPARE_WITH_TIMEOUT(beeps, 1, 10000);
        player.stop();
        QTest::qWait(50);
        QCOMPARE(beeps, 1);
    }

    void launcherRunsAnExecutableWithoutWaiting() {
        QTemporaryDir folder;
        const QString tool = folder.path() + QStringLiteral("/AA_v3.5.exe");
        const QString marker = folder.path() + QStringLiteral("/started");
        QFile script(tool);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\ntouch '%1'\nsleep 5\n").arg(marker).toUtf8());
        script.close();
        QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

        QtProgramLauncher launcher;
        QElapsedTimer clock;
        clock.start();
        launcher.launch(tool);
        QVERIFY2(clock.elapsed() < 5000, "returns while the tool still runs");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 10000);
    }

    void launcherIgnoresAMissingTool() {
        QTemporaryDir folder;
        QtProgramLauncher launcher;
        launcher.launch(folder.path() + QStringLiteral("/suporte/AA_v3.5.exe"));
        QVERIFY(QDir(folder.path()).isEmpty());
    }
};

QTEST_MAIN(DesktopOperationsTest)
#include "DesktopOperationsTest.moc"
