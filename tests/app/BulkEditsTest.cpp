// The day copy commands and "Limpar": the fields they change and the save
// that follows at once.
#include <QCheckBox>
#include <QComboBox>
#include <QTest>

#include "AppTestSupport.h"
#include "WindowTests.h"
#include "app/FilteredLineEdit.h"
#include "app/MaskedEdit.h"

using namespace quorvel;
using namespace quorvel::testing;

namespace {

const QStringList kDays = {"Dom", "Seg", "Ter", "Qua", "Qui", "Sex", "Sab", "Fer"};
const QMap<QString, QString> kDayFiles = {{"Fer", "200.txt"}, {"Dom", "201.txt"}, {"Seg", "202.txt"},
                                          {"Ter", "203.txt"}, {"Qua", "204.txt"}, {"Qui", "205.txt"},
                                          {"Sex", "206.txt"}, {"Sab", "207.txt"}};

struct Slot {
    QString time;
    int menu;
    bool operator==(const Slot&) const = default;
};

using Row = QList<Slot>;

MaskedEdit* timeField(const QWidget* window, const QString& day, int slot) {
    return child<MaskedEdit>(window, QStringLiteral("Hora%1%2").arg(day).arg(slot));
}

QComboBox* menuList(const QWidget* window, const QString& day, int slot) {
    return child<QComboBox>(window, QStringLiteral("Menu%1%2").arg(day).arg(slot));
}

Row rowOf(const QWidget* window, const QString& day) {
    Row row;
    for (int slot = 1; slot <= 4; ++slot) {
        row.append({timeField(window, day, slot)->maskedText(), menuList(window, day, slot)->currentIndex()});
    }
    return row;
}

QString describe(const Row& row) {
    QStringList slots;
    for (const Slot& slot : row) slots << QStringLiteral("'%1' %2").arg(slot.time).arg(slot.menu);
    return slots.join(QStringLiteral(", "));
}

void setRow(const QWidget* window, const QString& day, const Row& row) {
    for (int slot = 1; slot <= 4; ++slot) {
        timeField(window, day, slot)->setMaskedText(row[slot - 1].time);
        menuList(window, day, slot)->setCurrentIndex(row[slot - 1].menu);
    }
}

}  // namespace

Q_DECLARE_METATYPE(Slot)

class BulkEditsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void copyCommands_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QStringList>("targets");
        QTest::newRow("Segunda a Quinta") << "Label97"
                                          << "Seg" << QStringList{"Ter", "Qua", "Qui"};
        QTest::newRow("Segunda a Sexta") << "Label98"
                                         << "Seg" << QStringList{"Ter", "Qua", "Qui", "Sex"};
        QTest::newRow("Sabado, Domingo e Feriado") << "Label99"
                                                   << "Dom" << QStringList{"Sab", "Fer"};
        QTest::newRow("todos os dias") << "Label100"
                                       << "Dom" << QStringList{"Seg", "Ter", "Qua", "Qui", "Sex", "Sab", "Fer"};
    }
    void copyCommands() {
        QFETCH(QString, label);
        QFETCH(QString, source);
        QFETCH(QStringList, targets);
        CardFolderOnDisk card;
        RecordingMessageBoxes boxes;
        auto window = openWindow(card, boxes);
        // Every row differs; the source has an empty slot and one without menu.
        for (int i = 0; i < kDays.size(); ++i) {
            const QString hour = QStringLiteral("%1").arg(10 + i);
            setRow(window.get(), kDays[i],
                   {{hour + QStringLiteral(":00"), i},
                    {hour + QStringLiteral(":15"), 9 - i},
                    {hour + ":30", 1},
                    {hour + ":45", 2}});
        }
        const Row sourceRow = {{" 8:00", 1}, {"12:30", -1}, {"  :  ", 4}, {"23:59", 7}};
        setRow(window.get(), source, sourceRow);
        QMap<QString, Row> before;
        for (const QString& day : kDays) before[day] = rowOf(window.get(), day);

        QTest::mouseClick(child<QWidget>(window.get(), label), Qt::LeftButton);

        for (const QString& day : kDays) {
            const Row expected = targets.contains(day) ? sourceRow : before[day];
            const Row actual = rowOf(window.get(), day);
            QVERIFY2(actual == expected, qPrintable(day + QStringLiteral(": ") + describe(actual) +
                                                    QStringLiteral(" instead of ") + describe(expected)));
            const QByteArray file = card.read(kDayFiles[day]);
            if (targets.contains(day)) QCOMPARE(file, QByteArray(" 80011230     423597\r\n"));
        }
        QCOMPARE(card.read(kDayFiles[source]), QByteArray(" 80011230     423597\r\n"));
        QVERIFY(!window->dataChanged());
        QVERIFY(boxes.messages.isEmpty());
    }

    void clearAnsweredNoChangesNothing() {
        CardFolderOnDisk card;
        card.write(QStringLiteral("033.txt"), "M1  9   1\r\n");
        RecordingMessageBoxes boxes;
        auto window = openWindow(card, boxes);
        child<FilteredLineEdit>(window.get(), QStringLiteral("edRamal2"))->setText(QStringLiteral("55"));
        boxes.answer(false);
        QTest::mouseClick(child<QWidget>(window.get(), QStringLiteral("btClear")), Qt::LeftButton);
        QCOMPARE(boxes.questions, QStringList{QString::fromUtf8("Deseja realmente limpar todas as configurações?")});
        QCOMPARE(child<FilteredLineEdit>(window.get(), QStringLiteral("x033"))->text(), QStringLiteral("M1"));
        QCOMPARE(child<FilteredLineEdit>(window.get(), QStringLiteral("edRamal2"))->text(), QStringLiteral("55"));
        QCOMPARE(card.read(QStringLiteral("033.txt")), QByteArray("M1  9   1\r\n"));
        QCOMPARE(card.read(QStringLiteral("222.txt")), QByteArray("\r\n"));
        QVERIFY(window->dataChanged());
    }

    void clearAnsweredYesEmptiesEverythingAndSaves() {
        CardFolderOnDisk card;
        card.write(QStringLiteral("099.txt"), "1234#*M51\r\n");
        card.write(QStringLiteral("207.txt"), "08001                \r\n");
        card.write(QStringLiteral("220.txt"), "91111211123412349999\r\n");
        card.write(QStringLiteral("223.txt"), ";#1123\r\n");
        RecordingMessageBoxes boxes;
        auto window = openWindow(card, boxes);
        child<QComboBox>(window.get(), QStringLiteral("cbNomeArquivo"))->setCurrentIndex(10);
        boxes.answer(true);
        window->configuration().btClearClick();

        for (auto* edit : window->findChildren<FilteredLineEdit*>())
            QVERIFY2(edit->text().isEmpty(), qPrintable(edit->objectName()));
        for (auto* masked : window->findChildren<MaskedEdit*>()) {
            const QString empty = masked->objectName().startsWith(QStringLiteral("edFer")) ? "  /  " : "  :  ";
            QCOMPARE(masked->maskedText(), empty);
        }
        for (auto* list : window->findChildren<QComboBox*>()) QCOMPARE(list->currentIndex(), -1);
        for (auto* box : window->findChildren<QCheckBox*>()) QVERIFY(!box->isChecked());

        for (int number : {99, 207, 220, 221, 222, 223, 421}) {
            const QString name = QStringLiteral("%1.txt").arg(number, 3, 10, QLatin1Char('0'));
            QCOMPARE(card.read(name), emptyCardFile(number));
        }
        QVERIFY(!window->dataChanged());
    }
};

QUORVEL_WINDOW_TEST(BulkEditsTest)
#include "BulkEditsTest.moc"
