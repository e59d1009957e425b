// The desktop's folder chooser, playback and launch: what can be checked
// without a sound device or a desktop session.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "shell/QtFolderBrowser.h"

#include "shell/QtProgramLauncher.h"
#include "shell/QtSoundPlayer.h"

using namespace quorvel;

namespace {

// Runs `answer` on the chooser once it is up; a timer, because it is modal.
void whenChooserShows(QObject* context, std::function<void(QFileDialog*)> answer) {
    auto* poll = new QTimer(context);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, answer] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QFileDialog*>(window);
            if (dialog == nullptr || !dialog->isVisible()) continue;
            poll->deleteLater();
            poll->stop();
            answer(dialog);
            return;
        }
    });
    poll->start(20);
}

}  // namespace

class DesktopOperationsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void folderChooserShowsTheRequestAndReturnsTheFolder() {
        QTemporaryDir folder;
        const FolderBrowseRequest request{QStringLiteral("Procurar Pasta"),
                                          QStringLiteral("Selecione o local de destino do backup."),
                                          folder.path(),
                                          0x1040,
                                          fdpXY,
                                          QPoint(0, 20)};
        QString caption;
        QString instruction;
        QString directory;
        QPoint position;
        whenChooserShows(this, [&](QFileDialog* dialog) {
            caption = dialog->windowTitle();
            instruction = dialog->labelText(QFileDialog::LookIn);
            directory = dialog->directory().absolutePath();
            position = dialog->pos();
            static_cast<QDialog*>(dialog)->accept();
        });
        const std::optional<FolderChoice> choice = QtFolderBrowser().browse(nullptr, request);
        QVERIFY(choice.has_value());
        QCOMPARE(choice->path, folder.path());
        QCOMPARE(caption, request.caption);
        QCOMPARE(instruction, request.title);
        QCOMPARE(directory, folder.path());
        QCOMPARE(position, QPoint(0, 20));
    }

    void folderChooserCancelledGivesNothing() {
        QTemporaryDir folder;
        whenChooserShows(this, [](QFileDialog* dialog) { dialog->reject(); });
        const FolderBrowseRequest request{QString(), QStringLiteral("Selecione"), folder.path(), 0, fdpDefault,
                                          QPoint()};
        QVERIFY(!QtFolderBrowser().browse(nullptr, request).has_value());
    }

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
