// Backup, restore and "Atualiza" through the folder chooser seam and a
// file system that watches the copy.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <filesystem>

#include "AppTestSupport.h"
#include "CardTestSupport.h"
#include "WindowTests.h"

using namespace quorvel;
using namespace quorvel::testing;

namespace {

struct Step {
    QString file;
    QString count;
    int position;
    int maximum;

    bool operator==(const Step&) const = default;
};

class Copying {
public:
    Copying() : window_(card.folder(), boxes, operations.seams(), fileSystem) {
        window_.configuration().tChangeTimer();
        fileSystem.onOpenRead = [this](const std::string&) {
            steps << Step{label("lbArquivo"), label("lbContabil"), bar()->value(), bar()->maximum()};
        };
    }

    TMainFormQuorvel& window() { return window_; }
    QString label(const char* name) const { return child<QLabel>(&window_, QString::fromLatin1(name))->text(); }
    QProgressBar* bar() const { return child<QProgressBar>(&window_, QStringLiteral("Pbar")); }
    bool panelShown() const { return !child<QWidget>(&window_, QStringLiteral("Painel"))->isHidden(); }
    bool panelTimerRunning() const { return child<QTimer>(&window_, QStringLiteral("tAguarda"))->isActive(); }
    void click(const char* button) {
        QTest::mouseClick(child<QPushButton>(&window_, QString::fromLatin1(button)), Qt::LeftButton);
    }

    CardFolderOnDisk card;
    RecordingMessageBoxes boxes;
    RecordedOperations operations;
    FaultyFileSystem fileSystem;
    QList<Step> steps;

private:
    TMainFormQuorvel window_;
};

// Every file in the folder, hidden ones included.
QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

}  // namespace

class BackupRestoreTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void backupCopiesThePlainFilesInNameOrderCountingEveryStep() {
        Copying run;
        const QString card = run.card.folder();
        QVERIFY(QDir(card).mkdir(QStringLiteral("suporte")));
        run.card.write(QStringLiteral("suporte/AA_v3.5.exe"), "tool");
        run.card.write(QStringLiteral(".hidden"), "desktop notes");
        run.card.write(QStringLiteral("Vinheta.WAV"), "jingle");
        run.card.write(QStringLiteral("a-readonly"), "kept read-only");
        QFile::setPermissions(card + QStringLiteral("a-readonly"), QFile::ReadOwner | QFile::ReadGroup);
        QTemporaryDir destination;
        QFile old(destination.path() + QStringLiteral("/001.txt"));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("older copy of the record, longer") > 0);
        old.close();
        const QString directoryBefore = QDir::currentPath();

        run.operations.folders.choose(destination.path());
        run.click("btBackup");

        QCOMPARE(run.operations.folders.requests.size(), 1);
        const FolderBrowseRequest& request = run.operations.folders.requests[0];
        QCOMPARE(request.title, QStringLiteral("Selecione o local de destino do backup."));
        QCOMPARE(request.caption, QStringLiteral("Procurar Pasta"));
        QCOMPARE(request.directory, directoryBefore);
        QCOMPARE(request.flags, 0x1040u);

        QStringList expected = entries(card);
        expected.removeAll(QStringLiteral(".hidden"));
        std::sort(expected.begin(), expected.end(),
                  [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
        QCOMPARE(expected.size(), 115);
        QCOMPARE(expected.first(), QStringLiteral("000.txt"));
        QCOMPARE(expected.at(1), QStringLiteral("001.txt"));
        QCOMPARE(expected.at(113), QStringLiteral("a-readonly"));
        QCOMPARE(expected.last(), QStringLiteral("Vinheta.WAV"));
        QCOMPARE(run.steps.size(), 115);
        for (int i = 0; i < 115; ++i) {
            const Step step{card + expected[i], QStringLiteral("Copiando arquivo: %1 de 115").arg(i + 1), i, 115};
            QCOMPARE(run.steps[i], step);
        }

        QCOMPARE(entries(destination.path()), entries(card).filter(QRegularExpression(QStringLiteral("^[^.]"))));
        QFile copied(destination.path() + QStringLiteral("/001.txt"));
        QVERIFY(copied.open(QIODevice::ReadOnly));
        QCOMPARE(copied.readAll(), run.card.read(QStringLiteral("001.txt")));
        QVERIFY(!(QFile::permissions(destination.path() + QStringLiteral("/a-readonly")) & QFile::WriteOwner));
        QVERIFY(!QDir(destination.path()).exists(QStringLiteral("suporte")));
        QVERIFY(run.boxes.messages.isEmpty());
        QCOMPARE(QDir::currentPath(), directoryBefore);

        QVERIFY(run.panelShown());
        QVERIFY(run.panelTimerRunning());
        run.window().backup().tAguardaTimer();
        QVERIFY(!run.panelShown());
        QVERIFY(!run.panelTimerRunning());
    }

    void restoreIntoTheCardAsksThenReloadsTheWindow() {
        QTemporaryDir dataHome;
        qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
        Copying run;
        QTemporaryDir backup;
        QFile record(backup.path() + QStringLiteral("/031.txt"));
        QVERIFY(record.open(QIODevice::WriteOnly) && record.write("201 M2  1\r\n") > 0);
        record.close();
        QVERIFY(!run.window().dataChanged());

        run.boxes.answer(true);
        run.operations.folders.choose(backup.path());
        run.operations.folders.choose(run.card.folder());
        run.click("btRestBackUp");

        QCOMPARE(run.operations.folders.requests.size(), 2);
        QCOMPARE(run.operations.folders.requests[0].title, QStringLiteral("Selecione o local de origem dos arquivos."));
        QCOMPARE(run.operations.folders.requests[1].title,
                 QStringLiteral("Selecione o local de destino dos arquivos."));
        QCOMPARE(run.operations.folders.requests[1].directory, backup.path());
        QCOMPARE(run.boxes.questions.size(), 1);
        QCOMPARE(run.card.read(QStringLiteral("031.txt")), QByteArray("201 M2  1\r\n"));
        QCOMPARE(run.label("lbContabil"), QStringLiteral("Copiando arquivo: 1 de 1"));
        QCOMPARE(child<QLineEdit>(&run.window(), QStringLiteral("x031"))->text(), QStringLiteral("201"));
        QCOMPARE(child<QLineEdit>(&run.window(), QStringLiteral("y031"))->text(), QStringLiteral("M2"));
        QVERIFY(!run.window().dataChanged());

        // The prompts played are the card's, not those of the folder listed last.
        QTest::mouseClick(child<QToolButton>(&run.window(), QStringLiteral("SpeedButton6")), Qt::LeftButton);
        QCOMPARE(run.operations.sound.calls, QStringList{QStringLiteral("play ") + run.card.folder() + "100.wav"});
        qunsetenv("XDG_DATA_HOME");
    }

    void cancelAtAnyPromptCopiesNothing_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("chosenBeforeCancel");
        QTest::newRow("backup") << QStringLiteral("btBackup") << 0;
        QTest::newRow("restore source") << QStringLiteral("btRestBackUp") << 0;
        QTest::newRow("restore destination") << QStringLiteral("btRestBackUp") << 1;
    }

    void cancelAtAnyPromptCopiesNothing() {
        QFETCH(QString, button);
        QFETCH(int, chosenBeforeCancel);
        Copying run;
        QTemporaryDir destination;
        for (int i = 0; i < chosenBeforeCancel; ++i) run.operations.folders.choose(run.card.folder());
        run.operations.folders.cancel();
        run.operations.folders.choose(destination.path());
        QTest::mouseClick(child<QPushButton>(&run.window(), button), Qt::LeftButton);
        QCOMPARE(run.operations.folders.requests.size(), chosenBeforeCancel + 1);
        QVERIFY(run.steps.isEmpty());
        QVERIFY(entries(destination.path()).isEmpty());
        QVERIFY(!run.panelShown());
        QVERIFY(!run.panelTimerRunning());
    }

    void failedCopyIsNamedAndLeavesNoTruncatedOrTemporaryFile() {
        Copying run;
        run.card.write(QStringLiteral("105.wav"), QByteArray(200000, 'n'));
        QTemporaryDir destination;
        QFile old(destination.path() + QStringLiteral("/105.wav"));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("good older prompt") > 0);
        old.close();
        run.fileSystem.fail(FaultyFileSystem::Call::Write, "105.wav", ENOSPC);
        run.fileSystem.fail(FaultyFileSystem::Call::Rename, "222.txt", EIO);

        run.operations.folders.choose(destination.path());
        run.window().backup().btBackupClick();

        QCOMPARE(run.boxes.messages,
                 QStringList{QString::fromUtf8("Os arquivos abaixo não foram copiados:\n105.wav\n222.txt")});
        QCOMPARE(run.label("lbContabil"), QStringLiteral("Copiando arquivo: 114 de 114"));
        QFile kept(destination.path() + QStringLiteral("/105.wav"));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("good older prompt"));
        QStringList expected = entries(run.card.folder());
        expected.removeAll(QStringLiteral("222.txt"));
        QCOMPARE(entries(destination.path()), expected);
    }

    void sameFolderAsDestinationIsRefused() {
        Copying run;
        const QByteArray before = run.card.read(QStringLiteral("031.txt"));
        run.operations.folders.choose(run.card.folder());
        run.operations.folders.choose(run.card.folder() + QStringLiteral("."));
        run.window().backup().btRestBackUpClick();
        QCOMPARE(run.boxes.messages,
                 QStringList{QString::fromUtf8("A pasta de destino é a pasta de origem: escolha outra pasta.")});
        QVERIFY(run.steps.isEmpty());
        QVERIFY(!run.panelShown());
        QCOMPARE(run.card.read(QStringLiteral("031.txt")), before);
        QCOMPARE(entries(run.card.folder()).size(), 113);
    }

    void emptySourceShowsAnEmptyBarAndKeepsTheCount() {
        Copying run;
        QTemporaryDir empty;
        QTemporaryDir destination;
        run.operations.folders.choose(empty.path());
        run.operations.folders.choose(destination.path());
        run.window().backup().btRestBackUpClick();
        QVERIFY(run.panelShown());
        QCOMPARE(run.bar()->maximum(), 0);
        QCOMPARE(run.label("lbContabil"), QString());
        QCOMPARE(run.label("lbArquivo"), QStringLiteral("Arquivo"));
        QVERIFY(run.panelTimerRunning());
        QVERIFY(run.boxes.messages.isEmpty());
    }

    void windowHandlesEventsDuringTheCopyAndIgnoresASecondCopy() {
        Copying run;
        QTemporaryDir destination;
        run.operations.folders.choose(destination.path());
        run.operations.folders.choose(destination.path());
        QStringList seenDuringCopy;
        run.fileSystem.onOpenRead = [&](const std::string&) {
            if (run.steps.size() == 1) return;
            run.steps << Step{};
            // Runs only if the copy loop lets the window handle its events.
            QTimer::singleShot(0, &run.window(), [&] {
                seenDuringCopy << run.label("lbContabil");
                run.click("btBackup");
            });
        };
        run.window().backup().btBackupClick();
        QCOMPARE(seenDuringCopy, QStringList{QStringLiteral("Copiando arquivo: 1 de 113")});
        QCOMPARE(run.operations.folders.requests.size(), 1);
        QCOMPARE(run.label("lbContabil"), QStringLiteral("Copiando arquivo: 113 de 113"));
    }

    void atualizaShowsAReadError() {
        Copying run;
        run.card.write(QStringLiteral("050.txt"), "");
        run.card.write(QStringLiteral("049.txt"), "49      1\r\n");
        run.window().configuration().btAtualizaClick();
        QCOMPARE(run.boxes.errors, QStringList{QStringLiteral("List index out of bounds (-1)")});
        QCOMPARE(child<QLineEdit>(&run.window(), QStringLiteral("x049"))->text(), QStringLiteral("49"));
    }
    void commandsThatWriteOrReloadTheCardAreDisabledWhileACopyRuns_data() {
        QTest::addColumn<bool>("secondFileFails");
        QTest::newRow("copy succeeds") << false;
        QTest::newRow("copy fails") << true;
    }

    // "Gravar", "Limpar" and "Atualiza" clicked between two files of a
    // restore into the card folder: nothing is saved, cleared or reloaded.
    void commandsThatWriteOrReloadTheCardAreDisabledWhileACopyRuns() {
        QFETCH(bool, secondFileFails);
        QTemporaryDir dataHome;
        qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
        Copying run;
        QTemporaryDir backup;
        for (const auto& [name, record] : {std::pair{"/030.txt", "301     0\r\n"}, {"/031.txt", "201 M2  1\r\n"}}) {
            QFile file(backup.path() + QString::fromLatin1(name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(record) > 0);
        }
        QLineEdit* edited = child<QLineEdit>(&run.window(), QStringLiteral("x040"));
        edited->setText(QStringLiteral("777"));
        const QByteArray record040 = run.card.read(QStringLiteral("040.txt"));
        if (secondFileFails)
            run.fileSystem.fail(FaultyFileSystem::Call::OpenRead, backup.path().toStdString() + "/031.txt", EIO);

        const QStringList commands{QStringLiteral("btGrava"),      QStringLiteral("btClear"),
                                   QStringLiteral("btAtualiza"),   QStringLiteral("btBackup"),
                                   QStringLiteral("btRestBackUp"), QStringLiteral("btSelecione")};
        const QStringList labels{QStringLiteral("Label97"), QStringLiteral("Label98"), QStringLiteral("Label99"),
                                 QStringLiteral("Label100")};
        QStringList liveDuringCopy;
        int opened = 0;
        QString textDuringCopy;
        // Reads of the backup's files only: the card's own safety copy comes first.
        const std::string source = backup.path().toStdString();
        run.fileSystem.onOpenRead = [&](const std::string& path) {
            if (path.rfind(source, 0) != 0 || ++opened != 2) return;
            for (const QString& name : commands + labels) {
                if (child<QWidget>(&run.window(), name)->isEnabled()) liveDuringCopy << name;
            }
            for (const char* button : {"btGrava", "btClear", "btAtualiza"}) run.click(button);
            QTest::mouseClick(child<QWidget>(&run.window(), QStringLiteral("Label97")), Qt::LeftButton);
            textDuringCopy = edited->text();
        };
        run.boxes.answer(true);
        run.operations.folders.choose(backup.path());
        run.operations.folders.choose(run.card.folder());
        run.click("btRestBackUp");

        QCOMPARE(opened, 2);
        QCOMPARE(liveDuringCopy, QStringList());
        QCOMPARE(textDuringCopy, QStringLiteral("777"));
        QCOMPARE(run.card.read(QStringLiteral("040.txt")), record040);
        // All or nothing: a file that cannot be read restores none.
        QCOMPARE(run.card.read(QStringLiteral("030.txt")) == QByteArray("301     0\r\n"), !secondFileFails);
        // The restore's end message, or the error that nothing was restored.
        QCOMPARE(run.boxes.messages.size(), secondFileFails ? 0 : 1);
        QCOMPARE(run.boxes.errors.size(), secondFileFails ? 1 : 0);
        for (const QString& name : commands + labels) {
            QVERIFY2(child<QWidget>(&run.window(), name)->isEnabled(), qPrintable(name + QStringLiteral(" stays off")));
        }
        qunsetenv("XDG_DATA_HOME");
    }
};

QUORVEL_WINDOW_TEST(BackupRestoreTest)
#include "BackupRestoreTest.moc"
