// The card as a device in the window, on a mocked disk service: a card
// inserted while the window runs is named in the strip and opened from
// there, writes say when the card may be pulled out, eject unmounts it, a
// write-protected card opens for reading, and a card pulled out during a
// write is named on opening with its last good state offered.
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextDocumentFragment>
#include <algorithm>

#include "AppTestSupport.h"
#include "FatCardMount.h"
#include "UdisksMock.h"
#include "WindowTests.h"
#include "app/CardNotices.h"
#include "app/CardWindows.h"
#include "app/MainFormQuorvel.h"
#include "config/CardSequences.h"

using namespace quorvel;
using namespace quorvel::testing;

namespace {

QString shown(const CardNotices* notices) {
    return QTextDocumentFragment::fromHtml(notices->notice()->text()).toPlainText();
}

bool called(const UdisksMock& mock, const std::string& method) {
    const auto calls = mock.calls();
    return std::find(calls.begin(), calls.end(), method) != calls.end();
}

std::string withoutSlash(std::string folder) {
    if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

constexpr int kBusWaitMs = 20000;

}  // namespace

class CardDeviceTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void insertedCardOpensFromTheStrip() {
        FatCardMount fat;
        if (!fat.mounted()) QSKIP(fat.skipReason().c_str());
        CardFolderOnDisk other;  // where the second card gets mounted
        UdisksMock mock({{"sdb1", "LOJA 12", "5E6F-7A8B", "vfat", withoutSlash(fat.folder()), false, true, false, ""}});
        if (!mock.running()) QSKIP(mock.skipReason().c_str());
        RecordingMessageBoxes boxes;
        CardWindows windows(boxes);
        TMainFormQuorvel* first = windows.open(QString::fromStdString(fat.folder()));
        QVERIFY(first->windowTitle().endsWith(QStringLiteral("LOJA 12")));
        CardNotices* notices = first->cardNotices();
        notices->writingStarted();
        QCOMPARE(shown(notices), QString::fromUtf8("Gravando no cartão…"));
        first->configuration().btGravaClick();
        notices->writingFinished();
        QCOMPARE(shown(notices), QString::fromUtf8("Cartão gravado — pode retirar"));

        QVERIFY(
            mock.insert({"sdc1", "LOJA 7", "1A2B-3C4D", "vfat", "", false, true, false, other.folder().toStdString()}));
        QTRY_COMPARE_WITH_TIMEOUT(shown(notices), QString::fromUtf8("Cartão LOJA 7 inserido — Abrir"), kBusWaitMs);
        Q_EMIT notices->notice()->linkActivated(QStringLiteral("abrir"));
        QTRY_COMPARE_WITH_TIMEOUT(windows.window()->programFolder(), other.folder(), kBusWaitMs);
        QVERIFY(called(mock, "Mount"));
        QCOMPARE(other.fileCount(), 113);
        TMainFormQuorvel* second = windows.window();
        QVERIFY(second->windowTitle().endsWith(QStringLiteral("LOJA 7")));

        QVERIFY(mock.pull("sdb1"));
        QTRY_COMPARE_WITH_TIMEOUT(shown(second->cardNotices()), QString::fromUtf8("Cartão LOJA 12 removido"),
                                  kBusWaitMs);
        child<QPushButton>(second, QStringLiteral("btEjetar"))->click();
        QVERIFY(called(mock, "Unmount"));
        QCOMPARE(shown(second->cardNotices()), QString::fromUtf8("Cartão LOJA 7 ejetado — pode retirar"));
        QVERIFY(!child<QPushButton>(second, QStringLiteral("btGrava"))->isEnabled());
        QVERIFY(boxes.errors.isEmpty());
    }

    void writeProtectedCardOpensForReading() {
        CardFolderOnDisk card;
        UdisksMock mock({{"sdb1", "LOJA 12", "", "vfat", card.folder().toStdString(), true, true, false, ""}});
        if (!mock.running()) QSKIP(mock.skipReason().c_str());
        RecordingMessageBoxes boxes;
        TMainFormQuorvel window(card.folder(), boxes);
        const QString reason = QString::fromUtf8("Cartão protegido contra gravação: aberto somente para leitura");
        QCOMPARE(shown(window.cardNotices()), reason);
        auto* pages = child<QTabWidget>(&window, QStringLiteral("PageControl1"));
        pages->setCurrentIndex(1);
        pages->setCurrentIndex(0);
        QCoreApplication::processEvents();
        for (const char* name : {"btGrava", "btClear", "btRestBackUp"}) {
            QVERIFY2(!child<QPushButton>(&window, QString::fromLatin1(name))->isEnabled(), name);
        }
    }

    void cardPulledDuringAWriteIsNamed_data() {
        QTest::addColumn<bool>("safetyCopy");
        QTest::newRow("safetyCopyRestored") << true;
        QTest::newRow("noSafetyCopy") << false;
    }
    void cardPulledDuringAWriteIsNamed() {
        QFETCH(bool, safetyCopy);
        QTemporaryDir data;
        qputenv("XDG_DATA_HOME", data.path().toUtf8());
        CardFolderOnDisk card;
        QVERIFY(ensureCardFiles(CardFolder(card.folder().toStdString())).ok());
        if (safetyCopy) {
            const QString safety =
                data.path() + QStringLiteral("/ajustor-quorvel/antes-da-restauracao/2026-12-09_10-00-00");
            QVERIFY(QDir().mkpath(safety));
            QFile copy(safety + QStringLiteral("/050.txt"));
            QVERIFY(copy.open(QIODevice::WriteOnly));
            copy.write(emptyCardFile(50));
        }
        card.write(QStringLiteral("050.txt"), "");
        card.write(QStringLiteral("qvs12345.tmp"), "x");
        RecordingMessageBoxes boxes;
        boxes.answer(true);
        CardWindows windows(boxes);
        windows.open(card.folder());
        const QStringList said = safetyCopy ? boxes.questions : boxes.messages;
        QCOMPARE(said.size(), 1);
        QVERIFY2(said.first().startsWith(
                     QString::fromUtf8("O cartão foi retirado durante uma gravação: 050.txt, qvs12345.tmp.")),
                 qPrintable(said.first()));
        // Restored, the card loads; otherwise the emptied file stops the load.
        QCOMPARE(card.read(QStringLiteral("050.txt")), safetyCopy ? emptyCardFile(50) : QByteArray());
        QCOMPARE(boxes.errors.isEmpty(), safetyCopy);
        qunsetenv("XDG_DATA_HOME");
    }
};

QUORVEL_WINDOW_TEST(CardDeviceTest)
#include "CardDeviceTest.moc"
