// Page 2's "Texto...": a typed text heard and installed as a menu's prompt.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "AppTestSupport.h"
#include "WindowTests.h"
#include "app/TextPromptDialog.h"

using namespace quorvel;
using namespace quorvel::testing;

class TextPromptTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void typedTextIsHeardAsOnTheTelephoneThenFillsItsMenusRow() {
        CardFolderOnDisk card;
        RecordingMessageBoxes boxes;
        RecordedOperations operations;
        TMainFormQuorvel window(card.folder(), boxes, operations.seams());
        window.prompts().settleOverview();
        const auto state = [&window] { return child<QLabel>(&window, QStringLiteral("lbVisaoEstado3"))->text(); };
        QCOMPARE(state(), QStringLiteral("ausente"));
        child<QComboBox>(&window, QStringLiteral("cbNomeArquivo"))->setCurrentIndex(3);
        child<QCheckBox>(&window, QStringLiteral("cbOuvirTelefone"))->setChecked(true);

        QTest::mouseClick(child<QPushButton>(&window, QStringLiteral("btTexto")), Qt::LeftButton);
        QPointer<TextPromptDialog> dialog = window.findChild<TextPromptDialog*>();
        QVERIFY(dialog);
        auto* text = dialog->findChild<QPlainTextEdit*>(QStringLiteral("edTexto"));
        auto* record = dialog->findChild<QPushButton*>(QStringLiteral("btGravarVoz"));

        // Blanks are refused in a message box and the dialog stays.
        QTest::keyClicks(text, QStringLiteral("   "));
        QTest::mouseClick(record, Qt::LeftButton);
        QCOMPARE(boxes.messages, QStringList{QString::fromUtf8("O texto só tem espaços em branco.")});
        QVERIFY(dialog);

        QTest::keyClicks(text, QStringLiteral("Estamos fechados no feriado. Voltamos na segunda-feira."));
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("btOuvir")), Qt::LeftButton);
        QCOMPARE(operations.sound.calls.size(), 1);
        const QString heard = operations.sound.calls[0].mid(QStringLiteral("play ").size());
        QVERIFY2(heard.startsWith(QDir::tempPath()) && heard.endsWith(QStringLiteral(".wav")), qPrintable(heard));
        QVERIFY(!card.exists(QStringLiteral("103.wav")));

        QTest::mouseClick(record, Qt::LeftButton);
        QTRY_VERIFY(!dialog);
        QTRY_COMPARE_WITH_TIMEOUT(state(), QStringLiteral("ok"), 30000);
        QCOMPARE(child<QLabel>(&window, QStringLiteral("lbVisaoTaxa3"))->text(), QStringLiteral("22050 Hz"));
        QCOMPARE(child<QLabel>(&window, QStringLiteral("lbVisaoFala3"))->text(), QStringLiteral("-19,0 dBm0"));
        QVERIFY(child<QPushButton>(&window, QStringLiteral("btSelecione"))->isEnabled());
    }
};

QUORVEL_WINDOW_TEST(TextPromptTest)
#include "TextPromptTest.moc"
