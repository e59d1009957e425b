// A restore into the card folder: the "Confirmação" box lists what changes,
// the card's files are kept aside, and the window shows what was restored.
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "AppTestSupport.h"
#include "CardTestSupport.h"
#include "WindowTests.h"
#include "config/CardFolder.h"
#include "config/CardSequences.h"

using namespace quorvel;
using namespace quorvel::testing;

namespace {

namespace fs = std::filesystem;

std::map<std::string, std::string> snapshot(const QString& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder.toStdString())) {
        // The writers' lock file is no card file.
        if (!entry.is_regular_file() || entry.path().filename().string().front() == '.') continue;
        QFile file(QString::fromStdString(entry.path().string()));
        if (!file.open(QIODevice::ReadOnly)) continue;
        files[entry.path().filename().string()] = file.readAll().toStdString();
    }
    return files;
}

bool makeTone(const QString& path, const char* seconds) {
    const std::string command =
        "sox -n -r 8000 -b 16 -c 1 '" + path.toStdString() + "' synth " + seconds + " sine 440 vol 0.25";
    return std::system(command.c_str()) == 0;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

class Restoring {
public:
    Restoring() : window_(card.folder(), boxes, operations.seams()) {
        window_.configuration().tChangeTimer();
        qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
        // The backup: the card as it is, then one option row, one setting, one prompt
        // replaced and the Vinheta added.
        for (const auto& entry : fs::directory_iterator(card.folder().toStdString())) {
            fs::copy_file(entry.path(), fs::path(backup.path().toStdString()) / entry.path().filename());
        }
        writeFile(backup.path() + QStringLiteral("/031.txt"), "201 M2  1\r\n");
        writeFile(backup.path() + QStringLiteral("/220.txt"), "20000100        0000\r\n");
        tonesMade = makeTone(card.folder() + QStringLiteral("102.wav"), "0.5") &&
                    makeTone(backup.path() + QStringLiteral("/102.wav"), "1.5") &&
                    makeTone(backup.path() + QStringLiteral("/132.wav"), "2");
    }
    ~Restoring() { qunsetenv("XDG_DATA_HOME"); }

    TMainFormQuorvel& window() { return window_; }
    QLineEdit* edit(const char* name) { return child<QLineEdit>(&window_, QString::fromLatin1(name)); }
    QString safetyParent() const { return dataHome.path() + QStringLiteral("/ajustor-quorvel/antes-da-restauracao/"); }
    QStringList safetyFolders() const {
        return QDir(safetyParent()).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    }
    void restoreInto(const QString& destination) {
        operations.folders.choose(backup.path());
        operations.folders.choose(destination);
        QTest::mouseClick(child<QPushButton>(&window_, QStringLiteral("btRestBackUp")), Qt::LeftButton);
    }

    QTemporaryDir dataHome;
    CardFolderOnDisk card;
    QTemporaryDir backup;
    RecordingMessageBoxes boxes;
    RecordedOperations operations;
    bool tonesMade = false;

private:
    TMainFormQuorvel window_;
};

const char* const kPreview =
    "\n\n"
    "4 valores da configuração mudam:\n"
    "Menu 3, Opção 1, Ramal/Grupo 1: — → 201\n"
    "Menu 3, Opção 1, Ramal/Grupo 2: — → M2\n"
    "Menu 3, Opção 1, F: Não → Sim\n"
    "Ring p/Atender: — → 2\n"
    "Vozes:\n"
    "Menu 2 (102.wav): substituída (0,5 s → 1,5 s)\n"
    "Vinheta (132.wav): acrescentada (2,0 s)\n";

}  // namespace

class RestorePreviewTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void naoCopiesNothingAfterShowingTheChanges() {
        Restoring run;
        QVERIFY2(run.tonesMade, "sox could not make the prompts");
        const auto before = snapshot(run.card.folder());
        run.restoreInto(run.card.folder());

        QCOMPARE(run.boxes.questions,
                 QStringList{QString::fromUtf8("Restaurar os arquivos de %1 no cartão?").arg(run.backup.path()) +
                             QString::fromUtf8(kPreview)});
        QCOMPARE(snapshot(run.card.folder()), before);
        QVERIFY(run.safetyFolders().isEmpty());
        QVERIFY(run.boxes.messages.isEmpty());
    }

    void simKeepsASafetyCopyRestoresAndReloads() {
        Restoring run;
        QVERIFY2(run.tonesMade, "sox could not make the prompts");
        // Ten older safety copies: the oldest goes.
        for (int day = 1; day <= 10; ++day) {
            QVERIFY(
                QDir().mkpath(run.safetyParent() + QStringLiteral("2026-01-%1_08-00-00").arg(day, 2, 10, QChar(u'0'))));
        }
        const auto before = snapshot(run.card.folder());
        run.edit("x032")->setText(QStringLiteral("555"));
        QVERIFY(run.window().dataChanged());
        run.boxes.answer(true);
        run.restoreInto(run.card.folder());

        QCOMPARE(run.boxes.questions.size(), 1);
        const QStringList folders = run.safetyFolders();
        QCOMPARE(folders.size(), 10);
        QVERIFY(!folders.contains(QStringLiteral("2026-01-01_08-00-00")));
        QVERIFY(folders.contains(QStringLiteral("2026-01-02_08-00-00")));
        const QString safety = run.safetyParent() + folders.last() + u'/';
        QCOMPARE(snapshot(safety), before);
        QCOMPARE(
            run.boxes.messages,
            QStringList{QString::fromUtf8("Restauração concluída. Os arquivos que o cartão tinha antes estão em ") +
                        safety});

        auto restored = snapshot(run.backup.path());
        QCOMPARE(snapshot(run.card.folder()), restored);
        QCOMPARE(run.edit("x031")->text(), QStringLiteral("201"));
        QCOMPARE(run.edit("x032")->text(), QString());
        QVERIFY(!run.window().dataChanged());

        QTest::mouseClick(child<QPushButton>(&run.window(), QStringLiteral("btGrava")), Qt::LeftButton);
        DeviceConfiguration saved;
        DeviceConfiguration backedUp;
        QVERIFY(loadConfiguration(CardFolder(run.card.folder().toStdString()), saved).ok());
        QVERIFY(loadConfiguration(CardFolder(run.backup.path().toStdString()), backedUp).ok());
        QVERIFY(saved == backedUp);
        QCOMPARE(saved.menus[3][1].target1, std::string("201"));
    }

    void safetyCopyThatCannotBeMadeRestoresNothing() {
        Restoring run;
        writeFile(run.dataHome.path() + QStringLiteral("/ajustor-quorvel"), "a file where the folder goes");
        const auto before = snapshot(run.card.folder());
        run.boxes.answer(true);
        run.restoreInto(run.card.folder());
        QCOMPARE(run.boxes.errors.size(), 1);
        QVERIFY2(
            run.boxes.errors[0].startsWith(
                QString::fromUtf8("Não foi possível guardar a cópia de segurança do cartão em ") + run.safetyParent()),
            qPrintable(run.boxes.errors[0]));
        QVERIFY(run.boxes.errors[0].endsWith(QStringLiteral("nada foi restaurado.")));
        QCOMPARE(snapshot(run.card.folder()), before);
        QVERIFY(run.boxes.messages.isEmpty());
    }

    void restoreBetweenOtherFoldersNeitherAsksNorReloads() {
        Restoring run;
        QTemporaryDir destination;
        run.edit("x032")->setText(QStringLiteral("555"));
        run.restoreInto(destination.path());

        QVERIFY(run.boxes.questions.isEmpty());
        QVERIFY(run.boxes.messages.isEmpty());
        QCOMPARE(snapshot(destination.path()), snapshot(run.backup.path()));
        QCOMPARE(run.edit("x032")->text(), QStringLiteral("555"));
        QCOMPARE(run.edit("x031")->text(), QString());
        QVERIFY(run.window().dataChanged());
        QVERIFY(run.safetyFolders().isEmpty());
    }
};

QUORVEL_WINDOW_TEST(RestorePreviewTest)
#include "RestorePreviewTest.moc"
