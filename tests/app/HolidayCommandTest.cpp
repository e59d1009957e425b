// "Feriados nacionais..." on page 1: the national dates of the year asked
// for, entered as typed edits and saved only by "Gravar".
#include <QDate>
#include <QPushButton>
#include <QTest>

#include "AppTestSupport.h"
#include "WindowTests.h"
#include "app/MaskedEdit.h"

using namespace quorvel;
using namespace quorvel::testing;

namespace {

QStringList holidayFields(const QWidget& window) {
    QStringList dates;
    for (int i = 1; i <= 10; ++i) dates << child<MaskedEdit>(&window, QStringLiteral("edFer%1").arg(i))->maskedText();
    return dates;
}

}  // namespace

class HolidayCommandTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fillsTheYearsDatesAsEdits_data() {
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("goodFriday");
        QTest::newRow("2024") << 2024 << QStringLiteral("29/03");
        QTest::newRow("2025") << 2025 << QStringLiteral("18/04");
        QTest::newRow("2026") << 2026 << QStringLiteral("03/04");
        QTest::newRow("2027") << 2027 << QStringLiteral("26/03");
    }

    void fillsTheYearsDatesAsEdits() {
        QFETCH(int, year);
        QFETCH(QString, goodFriday);
        CardFolderOnDisk card;
        RecordingMessageBoxes boxes;
        auto window = openWindow(card, boxes);
        const QByteArray savedBefore = card.read(QStringLiteral("221.txt"));
        QVERIFY(!window->dataChanged());

        boxes.answerNumber(year);
        auto* button = child<QPushButton>(window.get(), QStringLiteral("btFeriadosNacionais"));
        QCOMPARE(button->text(), QStringLiteral("Feriados nacionais..."));
        QTest::mouseClick(button, Qt::LeftButton);

        QCOMPARE(boxes.questions, QStringList{QStringLiteral("Ano dos feriados nacionais:")});
        const QDate today = QDate::currentDate();
        QCOMPARE(boxes.offeredNumbers, QList<int>{today.month() == 12 ? today.year() + 1 : today.year()});
        const QStringList expected = {QStringLiteral("01/01"), goodFriday,
                                      QStringLiteral("21/04"), QStringLiteral("01/05"),
                                      QStringLiteral("07/09"), QStringLiteral("12/10"),
                                      QStringLiteral("02/11"), QStringLiteral("15/11"),
                                      QStringLiteral("20/11"), QStringLiteral("25/12")};
        QCOMPARE(holidayFields(*window), expected);
        QVERIFY(window->dataChanged());
        QCOMPARE(card.read(QStringLiteral("221.txt")), savedBefore);
    }

    // The card's own 24/12 in the first field: kept where a field is free,
    // otherwise named in a question before anything is filled.
    void ownDateKeptOrAskedAbout_data() {
        QTest::addColumn<int>("year");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QStringList>("questions");
        QTest::addColumn<QString>("fields");
        const QString asked = QString::fromUtf8(
            "O feriado 24/12 não cabe nos dez campos junto com os nacionais e será retirado. Preencher os feriados "
            "nacionais assim mesmo?");
        const QString year = QStringLiteral("Ano dos feriados nacionais:");
        QTest::newRow("kept") << 2000 << false << QStringList{year}
                              << QStringLiteral("01/01 21/04 01/05 07/09 12/10 02/11 15/11 24/12 25/12   /  ");
        QTest::newRow("asked, refused") << 2026 << false << QStringList{year, asked}
                                        << QStringLiteral(
                                               "24/12   /   01/01 21/04 01/05 07/09 12/10 02/11 15/11 25/12");
        QTest::newRow("asked, accepted") << 2026 << true << QStringList{year, asked}
                                         << QStringLiteral(
                                                "01/01 03/04 21/04 01/05 07/09 12/10 02/11 15/11 20/11 25/12");
    }

    void ownDateKeptOrAskedAbout() {
        QFETCH(int, year);
        QFETCH(bool, answer);
        QFETCH(QStringList, questions);
        QFETCH(QString, fields);
        CardFolderOnDisk card;
        card.write(QStringLiteral("221.txt"), QByteArrayLiteral("2412    01012104010507091210021115112512\r\n"));
        RecordingMessageBoxes boxes;
        auto window = openWindow(card, boxes);
        boxes.answerNumber(year);
        boxes.answer(answer);
        QTest::mouseClick(child<QPushButton>(window.get(), QStringLiteral("btFeriadosNacionais")), Qt::LeftButton);
        QCOMPARE(boxes.questions, questions);
        QCOMPARE(holidayFields(*window).join(QLatin1Char(' ')), fields);
    }

    void cancelChangesNothing() {
        CardFolderOnDisk card;
        RecordingMessageBoxes boxes;
        auto window = openWindow(card, boxes);
        const QStringList before = holidayFields(*window);
        QTest::mouseClick(child<QPushButton>(window.get(), QStringLiteral("btFeriadosNacionais")), Qt::LeftButton);
        QCOMPARE(boxes.questions.size(), 1);
        QCOMPARE(holidayFields(*window), before);
        QVERIFY(!window->dataChanged());
    }
};

QUORVEL_WINDOW_TEST(HolidayCommandTest)
#include "HolidayCommandTest.moc"
