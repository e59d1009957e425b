// The text a masked field had on entry, which Esc gives back, through focus
// changes that do not leave the field: the refusal's message box, the window
// losing and regaining activation, a popup.
#include <QMenu>
#include <QTabWidget>
#include <QTest>

#include "AppTestSupport.h"
#include "WindowTests.h"
#include "app/MaskedEdit.h"
#include "config/FieldRules.h"

using namespace quorvel;
using namespace quorvel::testing;

class EntryTextTest : public QObject {
    Q_OBJECT

    // Focus moves that take the focus out of the window's field and bring it back.
    static bool deactivateWindow(QWidget* window) {
        QWidget other;
        if (!showActive(&other)) return false;
        if (!QTest::qWaitFor([window] { return !window->isActiveWindow(); })) return false;
        other.hide();
        return showActive(window);
    }
    static bool openPopup(QWidget* field) {
        QMenu popup;
        popup.addAction(QStringLiteral("-"));
        popup.popup(field->mapToGlobal(QPoint(0, field->height())));
        if (!QTest::qWaitFor([&popup] { return QApplication::activePopupWidget() == &popup; })) return false;
        popup.close();
        return QTest::qWaitFor([] { return !QApplication::activePopupWidget(); });
    }

private Q_SLOTS:
    void escapeRestoresTheTextOnEntry_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("accepted");
        QTest::addColumn<QString>("retyped");  // after the caret is put at the end
        QTest::addColumn<QString>("refused");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("between");
        const QString incomplete = QString::fromUtf8(kIncompleteMaskMessage);
        QTest::newRow("time field") << "HoraSeg1" << 0 << "08:30"
                                    << "\b\b\b\b\b1"
                                    << "1 :  " << incomplete << "";
        QTest::newRow("time field, window deactivated") << "HoraSeg1" << 0 << "08:30"
                                                        << "\b\b\b\b\b1"
                                                        << "1 :  " << incomplete << "deactivation";
        QTest::newRow("time check, window deactivated")
            << "HoraSeg1" << 0 << "08:30"
            << "\b\b\b\b\b2400"
            << "24:00" << QString::fromUtf8(kInvalidTimeMessage) << "deactivation";
        QTest::newRow("holiday field, window deactivated") << "edFer1" << 1 << "25/12"
                                                           << "\b\b\b\b\b1"
                                                           << "1 /  " << incomplete << "deactivation";
        QTest::newRow("holiday field, popup") << "edFer1" << 1 << "25/12"
                                              << "\b\b\b\b\b1"
                                              << "1 /  " << incomplete << "popup";
    }
    void escapeRestoresTheTextOnEntry() {
        QFETCH(QString, name);
        QFETCH(int, page);
        QFETCH(QString, accepted);
        QFETCH(QString, retyped);
        QFETCH(QString, refused);
        QFETCH(QString, message);
        QFETCH(QString, between);
        CardFolderOnDisk card;
        AnsweredMessageBoxes boxes;
        auto window = openWindow(card, boxes);
        child<QTabWidget>(window.get(), QStringLiteral("PageControl1"))->setCurrentIndex(page);
        auto* field = child<MaskedEdit>(window.get(), name);
        QVERIFY(field);

        // Typed and left: accepted.
        field->setFocus(Qt::TabFocusReason);
        QVERIFY(QTest::qWaitFor([field] { return field->hasFocus(); }));
        QTest::keyClicks(field, accepted);
        QTest::keyClick(field, Qt::Key_Tab);
        QVERIFY(!field->hasFocus());
        QVERIFY(boxes.messages.isEmpty());

        // Clicked back into, changed, left: refused.
        QTest::mouseClick(field, Qt::LeftButton);
        QVERIFY(field->hasFocus());
        QTest::keyClick(field, Qt::Key_End);
        QTest::keyClicks(field, retyped);
        QTest::keyClick(field, Qt::Key_Tab);
        QCOMPARE(boxes.messages, QStringList{message});
        // The focus is handed back while the box is closing; the window is
        // active again only afterwards, when the window manager gives it back.
        QTRY_COMPARE(window->focusWidget(), field);
        QVERIFY(showActive(window.get()));
        QVERIFY(field->hasFocus());

        if (between == QStringLiteral("deactivation")) QVERIFY(deactivateWindow(window.get()));
        if (between == QStringLiteral("popup")) QVERIFY(openPopup(field));
        QTRY_VERIFY(field->hasFocus());
        QCOMPARE(field->maskedText(), refused);

        QTest::keyClick(field, Qt::Key_Escape);
        QCOMPARE(field->maskedText(), accepted);
        // Abandoned edits are no edits: the field is left without a message.
        QTest::keyClick(field, Qt::Key_Tab);
        QTRY_VERIFY(!field->hasFocus());
        QCOMPARE(boxes.messages.size(), 1);
    }
};

QUORVEL_WINDOW_TEST(EntryTextTest)
#include "EntryTextTest.moc"
