// The card folder an installed copy edits: the one given as its argument or
// picked at start, never its own read-only folder.
#include <QDir>
#include <QFile>
#include <QTest>

#include "AppTestSupport.h"
#include "app/CardFolderAtStart.h"
#include "shell/CardFolderChooser.h"

using namespace quorvel;
using namespace quorvel::testing;

namespace {

class ScriptedChooser final : public CardFolderChooser {
public:
    explicit ScriptedChooser(std::optional<QString> answer) : answer_(std::move(answer)) {}
    std::optional<QString> chooseCardFolder(QWidget*) override {
        ++asked;
        return answer_;
    }
    int asked = 0;

private:
    std::optional<QString> answer_;
};

// A program folder the way a package installs it: no card file, read-only.
class ReadOnlyFolder {
public:
    ReadOnlyFolder() { QFile::setPermissions(path(), QFile::ReadOwner | QFile::ExeOwner); }
    ~ReadOnlyFolder() { QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); }
    QString path() const { return dir_.path(); }
    int fileCount() const { return static_cast<int>(QDir(path()).entryList(QDir::Files).size()); }

private:
    QTemporaryDir dir_;
};

}  // namespace

class CardFolderAtStartTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void argumentIsTheCardOfAnInstalledCopy() {
        ReadOnlyFolder program;
        CardFolderOnDisk card;
        RecordingMessageBoxes boxes;
        ScriptedChooser chooser(std::nullopt);
        const auto folder =
            cardFolderAtStart({program.path(), QStringLiteral("/usr/bin")}, {card.folder()}, chooser, boxes).folder;
        QCOMPARE(folder, std::optional<QString>(QDir(card.folder()).absolutePath() + QDir::separator()));
        QCOMPARE(chooser.asked, 0);

        TMainFormQuorvel window(*folder, boxes);
        QCOMPARE(card.fileCount(), 113);
        QCOMPARE(program.fileCount(), 0);
        QVERIFY(boxes.errors.isEmpty());
    }

    void withoutArgumentThePickerIsAsked_data() {
        QTest::addColumn<bool>("picked");
        QTest::newRow("picked") << true;
        QTest::newRow("cancelled") << false;
    }
    void withoutArgumentThePickerIsAsked() {
        QFETCH(bool, picked);
        ReadOnlyFolder program;
        CardFolderOnDisk card;
        RecordingMessageBoxes boxes;
        ScriptedChooser chooser(picked ? std::optional<QString>(card.folder()) : std::nullopt);
        const StartFolder start = cardFolderAtStart({program.path(), QStringLiteral("/usr/bin")}, {}, chooser, boxes);
        QCOMPARE(chooser.asked, 1);
        QCOMPARE(start.folder.has_value(), picked);
        QCOMPARE(start.exitCode, 0);
        QVERIFY(boxes.errors.isEmpty());
        QCOMPARE(program.fileCount(), 0);
        QCOMPARE(card.fileCount(), 0);
    }

    void unusableFolderEndsWithTheErrorBox() {
        ReadOnlyFolder program;
        ReadOnlyFolder readOnlyCard;
        RecordingMessageBoxes boxes;
        ScriptedChooser chooser(std::nullopt);
        const ProgramPlace place{program.path(), QStringLiteral("/usr/bin")};
        for (const QString& folder : {program.path() + QStringLiteral("/missing"), readOnlyCard.path()}) {
            const StartFolder start = cardFolderAtStart(place, {folder}, chooser, boxes);
            QVERIFY(!start.folder);
            QCOMPARE(start.exitCode, 1);
        }
        QCOMPARE(boxes.errors, (QStringList{QStringLiteral("File not found."), QStringLiteral("File access denied.")}));
    }

    void aCopyThatLivesInTheCardEditsItsOwnFolder() {
        CardFolderOnDisk own;
        CardFolderOnDisk other;
        RecordingMessageBoxes boxes;
        ScriptedChooser chooser(std::nullopt);
        const QString ownFolder = QDir(own.folder()).absolutePath() + QDir::separator();
        const QString otherFolder = QDir(other.folder()).absolutePath() + QDir::separator();
        QCOMPARE(cardFolderAtStart({own.folder(), QStringLiteral("/usr/bin")}, {other.folder()}, chooser, boxes).folder,
                 std::optional<QString>(ownFolder));
        // Where the package installs programs is no card, even for a user who may write there.
        QCOMPARE(cardFolderAtStart({own.folder(), own.folder()}, {other.folder()}, chooser, boxes).folder,
                 std::optional<QString>(otherFolder));
        own.write(QStringLiteral("220.txt"), "x\r\n");
        QCOMPARE(cardFolderAtStart({own.folder(), own.folder()}, {}, chooser, boxes).folder,
                 std::optional<QString>(ownFolder));
        QCOMPARE(chooser.asked, 0);
    }
};

QTEST_MAIN(CardFolderAtStartTest)
#include "CardFolderAtStartTest.moc"
