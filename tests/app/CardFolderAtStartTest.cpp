// The card folder an installed copy edits: the one given as its argument or
// picked at start, never its own read-only folder.
#include <QDir>
#include <QFile>
#include <QTest>

#include "AppTestSupport.h"
#include "UdisksMock.h"
#include "WindowTests.h"
#include "app/CardFolderAtStart.h"
#include "shell/CardFolderChooser.h"
#include "shell/RemovableCards.h"

using namespace quorvel;
using namespace quorvel::testing;

namespace {

// Answers with a folder, "#N" for offered card N, or nothing for a cancel.
class ScriptedChooser final : public CardFolderChooser {
public:
    explicit ScriptedChooser(std::optional<QString> answer) : answer_(std::move(answer)) {}
    std::optional<CardChoice> chooseCardFolder(QWidget*, const std::vector<RemovableVolume>& cards) override {
        ++asked;
        for (const RemovableVolume& card : cards) offered << card.label;
        if (!answer_) return std::nullopt;
        if (answer_->startsWith(u'#')) return CardChoice{QString(), answer_->mid(1).toInt()};
        return CardChoice{*answer_};
    }
    QStringList offered;
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

    // Without an argument, an installed copy opens the one inserted card
    // holding card files, and otherwise offers the inserted cards first.
    void insertedCardsComeFirst() {
        struct Row {
            const char* name;
            std::vector<int> mounted;  // of the folders below: 0, 1 hold card files, 2 is blank; -1 not mounted
            std::optional<QString> answer;
            int opened;  // the folder opened; 3 is where an unmounted card gets mounted, -1 none
            QStringList offered;
            bool mounts;
        };
        const Row rows[] = {
            {"oneCardHoldsCardFiles", {0, 2}, std::nullopt, 0, {}, false},
            {"twoCardsHoldCardFiles", {0, 1}, QStringLiteral("#1"), 1, {"LOJA 0", "LOJA 1"}, false},
            {"blankCardOnly", {2}, QStringLiteral("#0"), 2, {"LOJA 0"}, false},
            {"unmountedCardPicked", {-1, 2}, QStringLiteral("#0"), 3, {"LOJA 0", "LOJA 1"}, true},
            {"cancelled", {0, 1}, std::nullopt, -1, {"LOJA 0", "LOJA 1"}, false},
        };
        for (const Row& row : rows) {
            ReadOnlyFolder program;
            CardFolderOnDisk folders[4];
            for (int holding : {0, 1}) folders[holding].write(QStringLiteral("220.txt"), "x\r\n");
            std::vector<UdisksMock::Volume> volumes;
            for (std::size_t i = 0; i < row.mounted.size(); ++i) {
                const int mounted = row.mounted[i];
                volumes.push_back({"sd" + std::string(1, char('b' + i)) + "1", "LOJA " + std::to_string(i), "", "vfat",
                                   mounted < 0 ? "" : folders[mounted].folder().toStdString(), false, true, false,
                                   folders[3].folder().toStdString()});
            }
            UdisksMock mock(volumes);
            if (!mock.running()) QSKIP(mock.skipReason().c_str());
            RecordingMessageBoxes boxes;
            ScriptedChooser chooser(row.answer);
            const RemovableCards cards;
            const StartFolder start =
                cardFolderAtStart({program.path(), QStringLiteral("/usr/bin")}, {}, chooser, boxes, &cards);
            const auto expected =
                row.opened < 0
                    ? std::nullopt
                    : std::optional<QString>(QDir(folders[row.opened].folder()).absolutePath() + QDir::separator());
            QVERIFY2(start.folder == expected, row.name);
            QVERIFY2(chooser.offered == row.offered, row.name);
            const auto calls = mock.calls();
            QVERIFY2((std::find(calls.begin(), calls.end(), "Mount") != calls.end()) == row.mounts, row.name);
            QVERIFY2(boxes.errors.isEmpty(), row.name);
        }
    }
};

QUORVEL_WINDOW_TEST(CardFolderAtStartTest)
#include "CardFolderAtStartTest.moc"
