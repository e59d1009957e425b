// The key filters apply to every way text enters a plain edit.
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QSignalSpy>
#include <QTest>

#include "AppTestSupport.h"
#include "app/FilteredLineEdit.h"

using namespace quorvel;
using namespace quorvel::testing;

Q_DECLARE_METATYPE(quorvel::KeyFilter)

class FilteredLineEditTest : public QObject {
    Q_OBJECT

private:
    static void addCases() {
        QTest::addColumn<KeyFilter>("filter");
        QTest::addColumn<int>("maxLength");
        QTest::addColumn<QString>("entered");
        QTest::addColumn<QString>("expected");
        QTest::newRow("option: digits, signs, M") << KeyFilter::Option << 4 << "1#*M"
                                                  << "1#*M";
        QTest::newRow("option: lower-case m becomes M") << KeyFilter::Option << 4 << "m7"
                                                        << "M7";
        QTest::newRow("option: letters, blanks, ';' refused") << KeyFilter::Option << 4 << "a 2;b x3"
                                                              << "23";
        QTest::newRow("option: cut at four") << KeyFilter::Option << 4 << "123456"
                                             << "1234";
        QTest::newRow("digit: only digits") << KeyFilter::Digit << 4 << "1a#2*3m"
                                            << "123";
        QTest::newRow("digit: password of three") << KeyFilter::Digit << 3 << "98765"
                                                  << "987";
        QTest::newRow("restore code: signs and digits") << KeyFilter::RestoreCode << 3 << "*M1#"
                                                        << "*1#";
        QTest::newRow("non-ASCII refused") << KeyFilter::Digit << 4 << QString::fromUtf8("1é²2") << "12";
    }

    static bool shownWithFocus(FilteredLineEdit& edit) {
        if (!showActive(&edit)) return false;
        edit.setFocus();
        return QTest::qWaitFor([&edit] { return edit.hasFocus(); });
    }

private Q_SLOTS:
    void typedKeys_data() { addCases(); }
    void typedKeys() {
        QFETCH(KeyFilter, filter);
        QFETCH(int, maxLength);
        QFETCH(QString, entered);
        QFETCH(QString, expected);
        FilteredLineEdit edit(filter, maxLength);
        QVERIFY(shownWithFocus(edit));
        for (QChar c : entered) QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QCOMPARE(edit.text(), expected);
    }

    void pastedText_data() { addCases(); }
    void pastedText() {
        QFETCH(KeyFilter, filter);
        QFETCH(int, maxLength);
        QFETCH(QString, entered);
        QFETCH(QString, expected);
        FilteredLineEdit edit(filter, maxLength);
        QVERIFY(shownWithFocus(edit));
        QGuiApplication::clipboard()->setText(entered);
        QTest::keySequence(&edit, QKeySequence::Paste);
        QCOMPARE(edit.text(), expected);
    }

    void droppedText_data() { addCases(); }
    void droppedText() {
        QFETCH(KeyFilter, filter);
        QFETCH(int, maxLength);
        QFETCH(QString, entered);
        QFETCH(QString, expected);
        FilteredLineEdit edit(filter, maxLength);
        QVERIFY(showActive(&edit));
        dropText(&edit, entered);
        QCOMPARE(edit.text(), expected);
    }

    void composedText_data() { addCases(); }
    void composedText() {
        QFETCH(KeyFilter, filter);
        QFETCH(int, maxLength);
        QFETCH(QString, entered);
        QFETCH(QString, expected);
        FilteredLineEdit edit(filter, maxLength);
        QVERIFY(shownWithFocus(edit));
        QInputMethodEvent commit;
        commit.setCommitString(entered);
        QApplication::sendEvent(&edit, &commit);
        QCOMPARE(edit.text(), expected);
    }

    void refusedPasteKeepsTheSelection() {
        FilteredLineEdit edit(KeyFilter::Digit, 4);
        edit.setText(QStringLiteral("1234"));
        QVERIFY(shownWithFocus(edit));
        edit.selectAll();
        QGuiApplication::clipboard()->setText(QStringLiteral("abc"));
        QTest::keySequence(&edit, QKeySequence::Paste);
        QCOMPARE(edit.text(), QStringLiteral("1234"));
    }

    void backspaceAndCaretKeysStillWork() {
        FilteredLineEdit edit(KeyFilter::Option, 4);
        QVERIFY(shownWithFocus(edit));
        QTest::keyClicks(&edit, QStringLiteral("123"));
        QTest::keyClick(&edit, Qt::Key_Left);
        QTest::keyClick(&edit, Qt::Key_Backspace);
        QTest::keyClicks(&edit, QStringLiteral("m"));
        QCOMPARE(edit.text(), QStringLiteral("1M3"));
    }

    void leavingIsSignalledOnlyForRealExits() {
        FilteredLineEdit edit(KeyFilter::Digit, 4);
        QSignalSpy left(&edit, &FilteredLineEdit::left);
        QVERIFY(shownWithFocus(edit));
        QFocusEvent deactivated(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(&edit, &deactivated);
        QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
        QApplication::sendEvent(&edit, &popup);
        QCOMPARE(left.count(), 0);
        QFocusEvent tabbed(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(&edit, &tabbed);
        QCOMPARE(left.count(), 1);
    }
};

QTEST_MAIN(FilteredLineEditTest)
#include "FilteredLineEditTest.moc"
