// Start-up, load and save between the window's fields and the card files.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QTest>
#include <QTimer>

#include "AppTestSupport.h"
#include "CardTestSupport.h"
#include "WindowTests.h"
#include "app/FilteredLineEdit.h"
#include "app/MaskedEdit.h"

using namespace quorvel;
using namespace quorvel::testing;

namespace {

QList<int> allCardFileNumbers() {
    QList<int> numbers;
    for (int i = 0; i < 100; ++i) numbers << i;
    for (int i = 200; i <= 207; ++i) numbers << i;
    numbers << 220 << 221 << 222 << 223 << 421;
    return numbers;
}

QString cardName(int number) { return QStringLiteral("%1.txt").arg(number, 3, 10, QLatin1Char('0')); }

QString text(const TMainFormQuorvel& window, const char* name) {
    const QString objectName = QString::fromLatin1(name);
    if (auto* masked = window.findChild<MaskedEdit*>(objectName)) return masked->maskedText();
    return window.findChild<QLineEdit*>(objectName)->text();
}

int selected(const TMainFormQuorvel& window, const char* name) {
    return window.findChild<QComboBox*>(QString::fromLatin1(name))->currentIndex();
}

bool ticked(const TMainFormQuorvel& window, const char* name) {
    return window.findChild<QCheckBox*>(QString::fromLatin1(name))->isChecked();
}

}  // namespace

class CardLoadSaveTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void firstStartCreatesTheCardAndShowsIt() {
        CardFolderOnDisk card;
        RecordingMessageBoxes boxes;
        TMainFormQuorvel window(card.folder(), boxes);
        QCOMPARE(card.fileCount(), 113);
        for (int number : allCardFileNumbers()) QVERIFY2(card.exists(cardName(number)), qPrintable(cardName(number)));
        QCOMPARE(text(window, "edFer1"), QStringLiteral("  /  "));
        QCOMPARE(text(window, "edFer3"), QStringLiteral("01/01"));
        QCOMPARE(text(window, "edFer10"), QStringLiteral("25/12"));
        QCOMPARE(text(window, "HoraDom1"), QStringLiteral("  :  "));
        QCOMPARE(selected(window, "cbRing"), -1);
        QVERIFY(boxes.errors.isEmpty());
        QVERIFY(window.findChild<QTimer*>(QStringLiteral("tChange"))->isActive());
    }

    void saveAfterFirstStartWritesTheEmptyRecords() {
        CardFolderOnDisk card;
        RecordingMessageBoxes boxes;
        TMainFormQuorvel window(card.folder(), boxes);
        window.configuration().btGravaClick();
        QVERIFY(!window.dataChanged());
        for (int number : allCardFileNumbers()) {
            QByteArray expected = emptyCardFile(number);
            if (number == 221 || number == 421) expected = "        01012104010507091210021115112512\r\n";
            QCOMPARE(card.read(cardName(number)), expected);
        }
    }

    void existingCardIsLoadedUnchanged() {
        CardFolderOnDisk card;
        const QList<std::pair<QString, QByteArray>> files = {
            {"031.txt", "201 M2  1\r\n"},
            {"010.txt", "  12*#  0\r\nsecond line\r\n"},
            {"202.txt", " 83031200  712012345"},
            {"221.txt", "2902                                    \r\n"},
            {"222.txt", "1001  22\r\n"},
            {"223.txt", ";12987\r\n"},
            {"220.txt", "35106271  20;9999123\r\n"},
        };
        for (const auto& [name, bytes] : files) card.write(name, bytes);
        RecordingMessageBoxes boxes;
        TMainFormQuorvel window(card.folder(), boxes);
        QVERIFY(boxes.errors.isEmpty());
        for (const auto& [name, bytes] : files) QCOMPARE(card.read(name), bytes);

        QCOMPARE(text(window, "x031"), QStringLiteral("201"));
        QCOMPARE(text(window, "y031"), QStringLiteral("M2"));
        QVERIFY(ticked(window, "z031"));
        QCOMPARE(text(window, "X010"), QStringLiteral("12"));
        QCOMPARE(text(window, "y010"), QStringLiteral("*#"));
        QVERIFY(!ticked(window, "z010"));
        QCOMPARE(text(window, "HoraSeg1"), QStringLiteral(" 8:30"));
        QCOMPARE(selected(window, "MenuSeg1"), 3);
        QCOMPARE(text(window, "HoraSeg2"), QStringLiteral("12:00"));
        QCOMPARE(selected(window, "MenuSeg2"), -1);
        QCOMPARE(text(window, "HoraSeg3"), QStringLiteral(" 7:12"));
        QCOMPARE(selected(window, "MenuSeg3"), 0);
        QCOMPARE(text(window, "HoraSeg4"), QStringLiteral("12:34"));
        QCOMPARE(selected(window, "MenuSeg4"), 5);
        QCOMPARE(text(window, "edFer1"), QStringLiteral("29/02"));
        QCOMPARE(text(window, "edFer2"), QStringLiteral("  /  "));
        QCOMPARE(text(window, "edRamal1"), QStringLiteral("1001"));
        QCOMPARE(text(window, "edRamal2"), QStringLiteral("22"));
        QCOMPARE(text(window, "edRestaura"), QStringLiteral("*12"));
        QCOMPARE(text(window, "edSenha"), QStringLiteral("987"));
        QCOMPARE(selected(window, "cbRing"), 2);
        QCOMPARE(selected(window, "cbSilencio"), 4);
        QVERIFY(ticked(window, "cbSauda"));
        QVERIFY(!ticked(window, "cbEco"));
        QCOMPARE(selected(window, "cbFlash"), 5);
        QCOMPARE(selected(window, "cbDigito"), 0);
        QCOMPARE(selected(window, "cbPabx"), 6);
        QVERIFY(ticked(window, "cbSuper"));
        QCOMPARE(text(window, "edRamalInf"), QStringLiteral("20"));
        QCOMPARE(text(window, "edRamalSup"), QStringLiteral("999"));
        QCOMPARE(selected(window, "cbToque"), 8);
        QCOMPARE(selected(window, "cbRes3"), 2);

        window.configuration().btGravaClick();
        QCOMPARE(card.read(QStringLiteral("010.txt")), QByteArray("12  *#  0\r\n"));
        QCOMPARE(card.read(QStringLiteral("202.txt")), QByteArray(" 83031200  712012345\r\n"));
        QCOMPARE(card.read(QStringLiteral("223.txt")), QByteArray(";12987\r\n"));
    }

    void startUpErrorShowsWhatWasLoadedAndLeavesTheGroupsLocked() {
        CardFolderOnDisk card;
        card.write(QStringLiteral("047.txt"), "47      1\r\n");
        card.write(QStringLiteral("050.txt"), "");
        card.write(QStringLiteral("051.txt"), "51      1\r\n");
        card.write(QStringLiteral("201.txt"), "0800120               \r\n");
        RecordingMessageBoxes boxes;
        TMainFormQuorvel window(card.folder(), boxes);
        QCOMPARE(boxes.errors, QStringList{QStringLiteral("List index out of bounds (-1)")});
        QCOMPARE(text(window, "x047"), QStringLiteral("47"));
        QCOMPARE(text(window, "x051"), QString());
        QCOMPARE(text(window, "HoraDom1"), QStringLiteral("  :  "));
        QVERIFY(!window.findChild<QTimer*>(QStringLiteral("tChange"))->isActive());
        QVERIFY(showActive(&window));
        QTest::qWait(50);
        QVERIFY(!window.findChild<QGroupBox*>(QStringLiteral("GroupBox1"))->isEnabled());
        QVERIFY(!window.findChild<QGroupBox*>(QStringLiteral("GroupBox2"))->isEnabled());
        QVERIFY(window.findChild<QGroupBox*>(QStringLiteral("GroupBox3"))->isEnabled());
        QVERIFY(window.dataChanged());
    }

    void failingSaveIsReportedAndKeepsTheChange() {
        CardFolderOnDisk card;
        for (int number : allCardFileNumbers()) card.write(cardName(number), emptyCardFile(number));
        FaultyFileSystem fileSystem;
        fileSystem.markReadOnly("220.txt");
        RecordingMessageBoxes boxes;
        TMainFormQuorvel window(card.folder(), boxes, fileSystem);
        window.configuration().tChangeTimer();
        window.findChild<QLineEdit*>(QStringLiteral("x025"))->setText(QStringLiteral("77"));
        window.configuration().btGravaClick();
        QCOMPARE(boxes.errors, QStringList{QStringLiteral("File access denied.\n") + card.folder() +
                                           QString::fromUtf8("220.txt\n\nNada foi gravado: o cartão continua com a "
                                                             "configuração anterior.")});
        QVERIFY(window.dataChanged());
        // All or nothing: the file before the read-only one keeps its bytes too.
        QCOMPARE(card.read(QStringLiteral("025.txt")), emptyCardFile(25));
        QCOMPARE(card.read(QStringLiteral("220.txt")), emptyCardFile(220));
    }

    void startAndSaveRemoveLeftoverTemporariesOfEveryKind() {
        const QStringList leftovers{
            QStringLiteral("qvsx7yq2.tmp"),         QStringLiteral("qvcx7yq2.tmp"),
            QStringLiteral("qvpx7yq2.wav"),         QStringLiteral(".quorvel-x7Yq2b"),
            QStringLiteral(".quorvel-copy-x7Yq2b"), QStringLiteral(".quorvel-prompt-x7Yq2b.wav")};
        const QStringList lookAlikes{QStringLiteral(".quorvel-x7Yq2"), QStringLiteral(".quorvel-copy-x7Yq2b.txt"),
                                     QStringLiteral(".quorvel-prompt-x7Yq2b")};
        CardFolderOnDisk card;
        auto plant = [&] {
            for (const QString& name : leftovers + lookAlikes) card.write(name, "left by a killed run");
        };
        auto check = [&](const char* when) {
            for (const QString& name : leftovers) QVERIFY2(!card.exists(name), when);
            for (const QString& name : lookAlikes) QVERIFY2(card.exists(name), when);
        };
        plant();
        RecordingMessageBoxes boxes;
        TMainFormQuorvel window(card.folder(), boxes);
        check("after the start");
        plant();
        window.configuration().btGravaClick();
        check("after a save");
    }

    void missingFileIsSkippedOnSave() {
        CardFolderOnDisk card;
        RecordingMessageBoxes boxes;
        TMainFormQuorvel window(card.folder(), boxes);
        QVERIFY(QFile::remove(card.folder() + QStringLiteral("050.txt")));
        window.configuration().btGravaClick();
        QVERIFY(boxes.errors.isEmpty());
        QVERIFY(!card.exists(QStringLiteral("050.txt")));
        QVERIFY(!window.dataChanged());
    }
};

QUORVEL_WINDOW_TEST(CardLoadSaveTest)
#include "CardLoadSaveTest.moc"
