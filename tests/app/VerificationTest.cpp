// The call-flow line of the command strip, its findings list and the way
// from a finding to its field.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "AppTestSupport.h"
#include "WindowTests.h"
#include "app/FilteredLineEdit.h"

using namespace quorvel;
using namespace quorvel::testing;

namespace {

QString line(const TMainFormQuorvel& window) { return child<QLabel>(&window, QStringLiteral("lbVerifica"))->text(); }

// Menu 1 answers every day from 08:00, but Seg's second slot has no menu,
// menu 3 is reached by nothing, menu 1 has no prompt, a holiday repeats,
// 20/11 is missing while Fer answers and the extension range is reversed.
void writeFlawedCard(const CardFolderOnDisk& card) {
    card.write(QStringLiteral("011.txt"), "201     0\r\n");
    card.write(QStringLiteral("031.txt"), "300     0\r\n");
    for (int day = 200; day <= 207; ++day) {
        card.write(QStringLiteral("%1.txt").arg(day), "08001               \r\n");
    }
    card.write(QStringLiteral("202.txt"), "080011200           \r\n");
    card.write(QStringLiteral("221.txt"), "2512    01012104010507091210021115112512\r\n");
    card.write(QStringLiteral("220.txt"), "00000100300 200 0000\r\n");
}

}  // namespace

class VerificationTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lineFollowsLoadsAndSavesOnly() {
        CardFolderOnDisk card;
        RecordingMessageBoxes boxes;
        auto window = openWindow(card, boxes);
        QCOMPARE(line(*window), QStringLiteral("Nenhum problema encontrado"));

        auto* field = child<FilteredLineEdit>(window.get(), QStringLiteral("x031"));
        field->setFocus();
        QTest::keyClicks(field, QStringLiteral("300"));
        QCOMPARE(line(*window), QStringLiteral("Nenhum problema encontrado"));
        QTest::mouseClick(child<QPushButton>(window.get(), QStringLiteral("btGrava")), Qt::LeftButton);
        QCOMPARE(line(*window), QStringLiteral("1 aviso"));

        CardFolderOnDisk flawed;
        writeFlawedCard(flawed);
        auto reopened = openWindow(flawed, boxes);
        QCOMPARE(line(*reopened), QStringLiteral("6 avisos"));
        QVERIFY(boxes.messages.isEmpty() && boxes.errors.isEmpty() && boxes.questions.isEmpty());
    }

    void doubleClickShowsTheFieldOfTheFinding() {
        CardFolderOnDisk card;
        writeFlawedCard(card);
        RecordingMessageBoxes boxes;
        auto window = openWindow(card, boxes);
        QTest::mouseClick(child<QLabel>(window.get(), QStringLiteral("lbVerifica")), Qt::LeftButton);
        auto* findings = child<QWidget>(window.get(), QStringLiteral("fmVerifica"));
        QVERIFY(QTest::qWaitForWindowExposed(findings));
        QVERIFY(!findings->isModal());
        auto* list = child<QListWidget>(findings, QStringLiteral("lvVerifica"));
        QCOMPARE(list->count(), 6);
        QCOMPARE(list->item(1)->text(),
                 QString::fromUtf8("Menu 3 tem opções, mas nenhum horário nem outro menu leva a ele."));

        const std::pair<int, const char*> expected[] = {
            {0, "MenuSeg2"},  {0, "x031"}, {2, "cbNomeArquivo"}, {1, "edFer10"}, {1, "btFeriadosNacionais"},
            {1, "edRamalInf"}};
        auto* pages = child<QTabWidget>(window.get(), QStringLiteral("PageControl1"));
        for (int row = 0; row < list->count(); ++row) {
            const auto [page, name] = expected[row];
            const QRect item = list->visualItemRect(list->item(row));
            // An item view takes a double click only on the item its first click pressed.
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, item.center());
            QCOMPARE(pages->currentIndex(), page);
            auto* field = child<QWidget>(window.get(), QString::fromLatin1(name));
            QTRY_COMPARE(QApplication::focusWidget(), field);
        }
        QCOMPARE(child<QComboBox>(window.get(), QStringLiteral("cbNomeArquivo"))->currentIndex(), 1);
        QVERIFY(boxes.messages.isEmpty());
    }
};

QUORVEL_WINDOW_TEST(VerificationTest)
#include "VerificationTest.moc"
