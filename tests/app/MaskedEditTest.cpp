// The masked edit on its own: positional text, placeholders, the
// completeness test on exit, Esc, and text that arrives other than typed.
#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QSignalSpy>
#include <QTest>

#include "AppTestSupport.h"
#include "WindowTests.h"
#include "app/ExitGuard.h"
#include "app/MaskedEdit.h"
#include "config/FieldRules.h"

using namespace quorvel;
using namespace quorvel::testing;

class MaskedEditTest : public QObject {
    Q_OBJECT

private:
    struct Host {
        RecordingMessageBoxes boxes;
        QWidget window;
        ExitGuard guard{boxes, &window};
        MaskedEdit* edit = nullptr;
        QLineEdit* next = nullptr;

        explicit Host(MaskKind kind) {
            edit = new MaskedEdit(kind, guard, &window);
            next = new QLineEdit(&window);
            auto* layout = new QHBoxLayout(&window);
            layout->addWidget(edit);
            layout->addWidget(next);
        }
    };

    static bool focusOn(QWidget* widget) {
        widget->setFocus(Qt::OtherFocusReason);
        return QTest::qWaitFor([widget] { return widget->hasFocus(); });
    }

private Q_SLOTS:
    void typedTextIsPositional_data() {
        QTest::addColumn<bool>("date");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("hour of one digit") << false << "8:30"
                                           << " 8:30";
        QTest::newRow("hour of two digits") << false << "0830"
                                            << "08:30";
        QTest::newRow("separator typed after two digits") << false << "23:59"
                                                          << "23:59";
        QTest::newRow("letters and signs are refused") << false << "1a2b-3x4"
                                                       << "12:34";
        QTest::newRow("too many digits") << false << "123456"
                                         << "12:34";
        QTest::newRow("day of one digit") << true << "1/05"
                                          << " 1/05";
        QTest::newRow("time separator in a date") << true << "25:12"
                                                  << "25/12";
        QTest::newRow("unfinished minutes") << false << "12:3"
                                            << "12:3 ";
    }
    void typedTextIsPositional() {
        QFETCH(bool, date);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        Host host(date ? MaskKind::Date : MaskKind::Time);
        QVERIFY(showActive(&host.window));
        QVERIFY(focusOn(host.edit));
        QTest::keyClicks(host.edit, typed);
        QCOMPARE(host.edit->maskedText(), expected);
    }

    void blankPositionsShowPlaceholdersOnlyWhileFocused() {
        Host host(MaskKind::Time);
        host.edit->setMaskedText(QStringLiteral("8:30"));
        QVERIFY(showActive(&host.window));
        QVERIFY(focusOn(host.next));
        QCOMPARE(host.edit->text(), QStringLiteral(" 8:30"));
        QVERIFY(focusOn(host.edit));
        QCOMPARE(host.edit->text(), QStringLiteral("_8:30"));
        QCOMPARE(host.edit->maskedText(), QStringLiteral(" 8:30"));
        QVERIFY(focusOn(host.next));
        QCOMPARE(host.edit->text(), QStringLiteral(" 8:30"));
    }

    void emptyFieldsReadAsTheirEmptyForm() {
        Host time(MaskKind::Time);
        Host date(MaskKind::Date);
        QCOMPARE(time.edit->maskedText(), QStringLiteral("  :  "));
        QCOMPARE(date.edit->maskedText(), QStringLiteral("  /  "));
        time.edit->setMaskedText(QStringLiteral(":"));
        QCOMPARE(time.edit->maskedText(), QStringLiteral("  :  "));
    }

    void incompleteEditRefusesToBeLeft_data() {
        QTest::addColumn<QString>("initial");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("caret");
        QTest::newRow("hour without minutes") << "  :  "
                                              << "8" << 1;
        QTest::newRow("minutes half typed") << "  :  "
                                            << "12:3" << 4;
        QTest::newRow("emptied field") << "08:30"
                                       << "\b\b\b\b\b" << 1;
    }
    void incompleteEditRefusesToBeLeft() {
        QFETCH(QString, initial);
        QFETCH(QString, typed);
        QFETCH(int, caret);
        Host host(MaskKind::Time);
        host.edit->setMaskedText(initial);
        QSignalSpy left(host.edit, &MaskedEdit::left);
        QVERIFY(showActive(&host.window));
        QVERIFY(focusOn(host.edit));
        host.edit->setCursorPosition(initial == QStringLiteral("  :  ") ? 0 : 5);
        QTest::keyClicks(host.edit, typed);
        QTest::keyClick(host.edit, Qt::Key_Tab);
        QCOMPARE(host.boxes.messages, QStringList{QString::fromUtf8(kIncompleteMaskMessage)});
        QCOMPARE(host.boxes.beeps, 1);
        QTRY_VERIFY(host.edit->hasFocus());
        QCOMPARE(host.edit->cursorPosition(), caret);
        QCOMPARE(left.count(), 0);
    }

    void completeEditIsLeftWithoutMessage() {
        Host host(MaskKind::Time);
        QSignalSpy left(host.edit, &MaskedEdit::left);
        QVERIFY(showActive(&host.window));
        QVERIFY(focusOn(host.edit));
        QTest::keyClicks(host.edit, QStringLiteral("9:05"));
        QTest::keyClick(host.edit, Qt::Key_Tab);
        QVERIFY(host.next->hasFocus());
        QVERIFY(host.boxes.messages.isEmpty());
        QCOMPARE(left.count(), 1);
    }

    void fieldNotEditedSinceFocusIsNotTested() {
        Host host(MaskKind::Date);
        host.edit->setMaskedText(QStringLiteral("3/"));  // incomplete, as a card may hold it
        QSignalSpy left(host.edit, &MaskedEdit::left);
        QVERIFY(showActive(&host.window));
        QVERIFY(focusOn(host.edit));
        QTest::keyClick(host.edit, Qt::Key_Right);
        QTest::keyClick(host.edit, Qt::Key_Tab);
        QVERIFY(host.next->hasFocus());
        QVERIFY(host.boxes.messages.isEmpty());
        QCOMPARE(left.count(), 1);
    }

    void escapeRestoresTheTextFromFocusTime() {
        Host host(MaskKind::Time);
        host.edit->setMaskedText(QStringLiteral(" 8:30"));
        QVERIFY(showActive(&host.window));
        QVERIFY(focusOn(host.edit));
        host.edit->setCursorPosition(3);
        QTest::keyClick(host.edit, Qt::Key_Backspace);
        QTest::keyClick(host.edit, Qt::Key_Delete);
        QCOMPARE(host.edit->maskedText(), QStringLiteral("  :30"));
        QTest::keyClick(host.edit, Qt::Key_Escape);
        QCOMPARE(host.edit->maskedText(), QStringLiteral(" 8:30"));
        // Abandoned edits are no edits: leaving is not tested again.
        QTest::keyClick(host.edit, Qt::Key_Tab);
        QVERIFY(host.boxes.messages.isEmpty());
    }

    void escapeAfterRefusalRestoresTheOriginalText() {
        Host host(MaskKind::Time);
        host.edit->setMaskedText(QStringLiteral("10:15"));
        QVERIFY(showActive(&host.window));
        QVERIFY(focusOn(host.edit));
        host.edit->setCursorPosition(5);
        QTest::keyClick(host.edit, Qt::Key_Backspace);
        QTest::keyClick(host.edit, Qt::Key_Tab);
        QTRY_VERIFY(host.edit->hasFocus());
        QCOMPARE(host.boxes.messages.size(), 1);
        QTest::keyClick(host.edit, Qt::Key_Escape);
        QCOMPARE(host.edit->maskedText(), QStringLiteral("10:15"));
        QTest::keyClick(host.edit, Qt::Key_Tab);
        QVERIFY(host.next->hasFocus());
        QCOMPARE(host.boxes.messages.size(), 1);
    }

    void changeIsSignalledOnlyForRealChanges() {
        Host host(MaskKind::Time);
        QSignalSpy changed(host.edit, &MaskedEdit::maskedTextChanged);
        host.edit->setMaskedText(QStringLiteral(":"));
        QCOMPARE(changed.count(), 0);
        host.edit->setMaskedText(QStringLiteral("07:00"));
        QCOMPARE(changed.count(), 1);
        host.edit->setMaskedText(QStringLiteral("07:00"));
        QCOMPARE(changed.count(), 1);
        QVERIFY(showActive(&host.window));
        QVERIFY(focusOn(host.edit));
        QCOMPARE(changed.count(), 1);
        QTest::keyClick(host.edit, Qt::Key_1);
        QCOMPARE(changed.count(), 2);
    }

    void pastedAndDroppedTextIsTypedPositionByPosition() {
        Host host(MaskKind::Time);
        QVERIFY(showActive(&host.window));
        QVERIFY(focusOn(host.edit));
        QGuiApplication::clipboard()->setText(QStringLiteral("x1;2h45"));
        QTest::keySequence(host.edit, QKeySequence::Paste);
        QCOMPARE(host.edit->maskedText(), QStringLiteral("12:45"));

        host.edit->setMaskedText(QString());
        dropText(host.edit, QStringLiteral("9:0a7"));
        QCOMPARE(host.edit->maskedText(), QStringLiteral(" 9:07"));
    }
};

QUORVEL_WINDOW_TEST(MaskedEditTest)
#include "MaskedEditTest.moc"
