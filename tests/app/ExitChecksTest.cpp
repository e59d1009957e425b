// The checks run when a field is left: their messages, the focus given back,
// and the masked fields' own test running first.
#include <QTest>

#include "AppTestSupport.h"
#include "WindowTests.h"
#include "app/FilteredLineEdit.h"
#include "app/MaskedEdit.h"
#include "config/FieldRules.h"

using namespace quorvel;
using namespace quorvel::testing;

class ExitChecksTest : public QObject {
    Q_OBJECT

    CardFolderOnDisk card_;
    RecordingMessageBoxes boxes_;
    std::unique_ptr<TMainFormQuorvel> window_;

    QWidget* field(const QString& name) { return child<QWidget>(window_.get(), name); }

    // Types `text` into the empty field `name`, then tabs away from it.
    void typeAndLeave(const QString& name, const QString& text) {
        QWidget* edit = field(name);
        QVERIFY2(edit, qPrintable(name));
        edit->setFocus(Qt::OtherFocusReason);
        QVERIFY(QTest::qWaitFor([edit] { return edit->hasFocus(); }));
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Tab);
    }

    // The field named `name` ends up with the focus and `count` copies of `message` were shown.
    void expectOutcome(const QString& name, const QString& message, int count) {
        QStringList expected;
        for (int i = 0; i < count; ++i) expected << message;
        if (count > 0) QTRY_COMPARE(QApplication::focusWidget(), field(name));
        QCOMPARE(boxes_.messages, expected);
        if (count == 0) QVERIFY(QApplication::focusWidget() != field(name));
    }

private Q_SLOTS:
    void init() {
        boxes_.messages.clear();
        window_ = openWindow(card_, boxes_);
    }
    void cleanup() { window_.reset(); }

    void menuReference_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("messages");
        for (const char* passing : {"M5", "M0", "M9", "1234", "#12", "*9", "1M2", "M#", "M*", ""}) {
            QTest::newRow(*passing ? passing : "empty") << passing << 0;
        }
        for (const char* failing : {"M", "MM", "M12", "M55", "m", "mm3"}) QTest::newRow(failing) << failing << 1;
    }
    void menuReference() {
        QFETCH(QString, typed);
        QFETCH(int, messages);
        for (const QString& name : {QStringLiteral("x034"), QStringLiteral("y099"), QStringLiteral("X010")}) {
            boxes_.messages.clear();
            typeAndLeave(name, typed);
            expectOutcome(name, QString::fromUtf8(kMenuRangeMessage), messages);
            auto* edit = qobject_cast<FilteredLineEdit*>(field(name));
            QCOMPARE(edit->text(), typed.toUpper());
            edit->clear();
        }
    }

    void time_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("messages");
        QTest::newRow("blank hour digit") << "8:30" << 0;
        QTest::newRow("last minute") << "23:59" << 0;
        QTest::newRow("midnight") << "0000" << 0;
        QTest::newRow("hour 24") << "24:00" << 1;
        QTest::newRow("minute 60") << "12:60" << 1;
        QTest::newRow("hour 99") << "9959" << 1;
    }
    void time() {
        QFETCH(QString, typed);
        QFETCH(int, messages);
        typeAndLeave(QStringLiteral("HoraQui3"), typed);
        expectOutcome(QStringLiteral("HoraQui3"), QString::fromUtf8(kInvalidTimeMessage), messages);
    }

    void date_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("messages");
        QTest::newRow("christmas") << "25/12" << 0;
        QTest::newRow("blank day digit") << "1/05" << 0;
        QTest::newRow("31 April") << "31/04" << 1;
        QTest::newRow("29 February") << "29/02" << 1;
        QTest::newRow("month 13") << "0113" << 1;
        QTest::newRow("day 00") << "0001" << 1;
    }
    void date() {
        QFETCH(QString, typed);
        QFETCH(int, messages);
        typeAndLeave(QStringLiteral("edFer2"), typed);
        expectOutcome(QStringLiteral("edFer2"), QString::fromUtf8(kInvalidDateMessage), messages);
    }

    void starPosition_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("messages");
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("star alone") << "*" << 0;
        QTest::newRow("star first") << "*12" << 0;
        QTest::newRow("star second") << "1*2" << 1;
        QTest::newRow("two stars") << "**" << 1;
        QTest::newRow("star third") << "#1*" << 1;
        QTest::newRow("digit and two stars") << "1**" << 2;
    }
    void starPosition() {
        QFETCH(QString, typed);
        QFETCH(int, messages);
        typeAndLeave(QStringLiteral("edRestaura"), typed);
        expectOutcome(QStringLiteral("edRestaura"), QString::fromUtf8(kStarPositionMessage), messages);
    }

    void incompleteMaskIsReportedBeforeTheTimeCheck() {
        typeAndLeave(QStringLiteral("HoraSab2"), QStringLiteral("9"));
        expectOutcome(QStringLiteral("HoraSab2"), QString::fromUtf8(kIncompleteMaskMessage), 1);
        QCOMPARE(boxes_.beeps, 1);
    }

    void failingFieldKeepsItsTextAndChecksAgain() {
        typeAndLeave(QStringLiteral("x050"), QStringLiteral("M12"));
        QTRY_COMPARE(QApplication::focusWidget(), field(QStringLiteral("x050")));
        QTest::keyClick(field(QStringLiteral("x050")), Qt::Key_Tab);
        QTRY_COMPARE(QApplication::focusWidget(), field(QStringLiteral("x050")));
        QCOMPARE(boxes_.messages.size(), 2);
        QTest::keyClick(field(QStringLiteral("x050")), Qt::Key_Backspace);
        QTest::keyClick(field(QStringLiteral("x050")), Qt::Key_Tab);
        QTRY_COMPARE(QApplication::focusWidget(), field(QStringLiteral("y050")));
        QCOMPARE(boxes_.messages.size(), 2);
    }

    void focusPassingBackDoesNotCheckTheFieldMovedTo() {
        // Both fields hold a bad reference; only the one being left complains.
        qobject_cast<FilteredLineEdit*>(field(QStringLiteral("y021")))->setText(QStringLiteral("M12"));
        typeAndLeave(QStringLiteral("x021"), QStringLiteral("M"));
        QTRY_COMPARE(QApplication::focusWidget(), field(QStringLiteral("x021")));
        QTest::qWait(20);
        QCOMPARE(boxes_.messages, QStringList{QString::fromUtf8(kMenuRangeMessage)});
        QCOMPARE(QApplication::focusWidget(), field(QStringLiteral("x021")));
    }

    void clickingACopyLabelRunsNoExitCheck() {
        QWidget* edit = field(QStringLiteral("X011"));
        edit->setFocus(Qt::OtherFocusReason);
        QTest::keyClicks(edit, QStringLiteral("MM"));
        QTest::mouseClick(field(QStringLiteral("Label97")), Qt::LeftButton);
        QVERIFY(boxes_.messages.isEmpty());
        QVERIFY(edit->hasFocus());
    }
};

QUORVEL_WINDOW_TEST(ExitChecksTest)
#include "ExitChecksTest.moc"
