// The key filters apply to every way text enters a plain edit.
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QSignalSpy>
#include <QTest>

#include "AppTestSupport.h"
#include "WindowTests.h"
#include "app/FilteredLineEdit.h"

using namespace quorvel;
using namespace quorvel::testing;

// The ways text enters a field, each checked against every case.
enum class Entry { Typed, Pasted, Dropped, Composed };

Q_DECLARE_METATYPE(quorvel::KeyFilter)
Q_DECLARE_METATYPE(Entry)

class FilteredLineEditTest : public QObject {
    Q_OBJECT

private:
    struct Case {
        const char* name;
        KeyFilter filter;
        int maxLength;
        QString entered;
        QString expected;
    };

    static QList<Case> cases() {
        return {
            {"option: digits, signs, M", KeyFilter::Option, 4, "1#*M", "1#*M"},
            {"option: lower-case m becomes M", KeyFilter::Option, 4, "m7", "M7"},
            {"option: letters, blanks, ';' refused", KeyFilter::Option, 4, "a 2;b x3", "23"},
            {"option: cut at four", KeyFilter::Option, 4, "123456", "1234"},
            {"digit: only digits", KeyFilter::Digit, 4, "1a#2*3m", "123"},
            {"digit: password of three", KeyFilter::Digit, 3, "98765", "987"},
            {"restore code: signs and digits", KeyFilter::RestoreCode, 3, "*M1#", "*1#"},
            {"non-ASCII refused", KeyFilter::Digit, 4, QString::fromUtf8("1é²2"), "12"},
        };
    }

    static void enter(FilteredLineEdit& edit, Entry way, const QString& text) {
        switch (way) {
            case Entry::Typed:
                for (QChar c : text)
                    QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
                break;
            case Entry::Pasted:
                QGuiApplication::clipboard()->setText(text);
                QTest::keySequence(&edit, QKeySequence::Paste);
                break;
            case Entry::Dropped:
                dropText(&edit, text);
                break;
            case Entry::Composed: {
                QInputMethodEvent commit;
                commit.setCommitString(text);
                QApplication::sendEvent(&edit, &commit);
                break;
            }
        }
    }

    static bool shownWithFocus(FilteredLineEdit& edit) {
        if (!showActive(&edit)) return false;
        edit.setFocus();
        return QTest::qWaitFor([&edit] { return edit.hasFocus(); });
    }

private Q_SLOTS:
    void enteredText_data() {
        QTest::addColumn<Entry>("way");
        QTest::addColumn<KeyFilter>("filter");
        QTest::addColumn<int>("maxLength");
        QTest::addColumn<QString>("entered");
        QTest::addColumn<QString>("expected");
        const std::pair<Entry, const char*> ways[] = {{Entry::Typed, "typed"},
                                                      {Entry::Pasted, "pasted"},
                                                      {Entry::Dropped, "dropped"},
                                                      {Entry::Composed, "composed"}};
        for (const auto& [way, wayName] : ways) {
            for (const Case& c : cases()) {
                QTest::addRow("%s, %s", wayName, c.name) << way << c.filter << c.maxLength << c.entered << c.expected;
            }
        }
    }

    void enteredText() {
        QFETCH(Entry, way);
        QFETCH(KeyFilter, filter);
        QFETCH(int, maxLength);
        QFETCH(QString, entered);
        QFETCH(QString, expected);
        FilteredLineEdit edit(filter, maxLength);
        // A drop needs only an active window; the other ways type into the focused field.
        QVERIFY(way == Entry::Dropped ? showActive(&edit) : shownWithFocus(edit));
        enter(edit, way, entered);
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

QUORVEL_WINDOW_TEST(FilteredLineEditTest)
#include "FilteredLineEditTest.moc"
