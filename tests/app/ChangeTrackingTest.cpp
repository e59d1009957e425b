// The unsaved-changes flag: which changes set it, the start-up settle that
// clears it, and the question asked on closing.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QTabWidget>
#include <QTest>

#include "AppTestSupport.h"
#include "WindowTests.h"
#include "app/FilteredLineEdit.h"
#include "app/MaskedEdit.h"

using namespace quorvel;
using namespace quorvel::testing;

namespace {
const QString kCloseQuestion =
    QString::fromUtf8("Existem dados que não foram salvos deseja realmente sair sem salvar?");
}

class ChangeTrackingTest : public QObject {
    Q_OBJECT

    template <typename T>
    static T* get(const std::unique_ptr<TMainFormQuorvel>& window, const char* name) {
        return child<T>(window.get(), QString::fromLatin1(name));
    }

private Q_SLOTS:
    void programmaticChangesNotifyExceptLists_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("notifies");
        QTest::newRow("option field") << "y057" << true;
        QTest::newRow("settings edit") << "edRamalSup" << true;
        QTest::newRow("password") << "edSenha" << true;
        QTest::newRow("time field") << "HoraTer2" << true;
        QTest::newRow("holiday field") << "edFer10" << true;
        QTest::newRow("option box") << "z093" << true;
        QTest::newRow("settings box") << "cbEco" << true;
        QTest::newRow("timetable list") << "MenuSex3" << false;
        QTest::newRow("settings list") << "cbPabx" << false;
        QTest::newRow("prompt list") << "cbNomeArquivo" << false;
    }
    void programmaticChangesNotifyExceptLists() {
        QFETCH(QString, field);
        QFETCH(bool, notifies);
        CardFolderOnDisk card;
        RecordingMessageBoxes boxes;
        auto window = openWindow(card, boxes);
        QVERIFY(!window->dataChanged());
        QWidget* widget = child<QWidget>(window.get(), field);
        if (auto* masked = qobject_cast<MaskedEdit*>(widget)) {
            masked->setMaskedText(QStringLiteral("12:12"));
        } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            edit->setText(QStringLiteral("12"));
        } else if (auto* box = qobject_cast<QCheckBox*>(widget)) {
            box->setChecked(true);
        } else {
            qobject_cast<QComboBox*>(widget)->setCurrentIndex(3);
        }
        QCOMPARE(window->dataChanged(), notifies);
    }

    void userSelectionInListsNotifiesExceptPromptList_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("notifies");
        QTest::newRow("timetable list") << "MenuFer4" << true;
        QTest::newRow("settings list") << "cbDigito" << true;
        QTest::newRow("prompt list") << "cbNomeArquivo" << false;
    }
    void userSelectionInListsNotifiesExceptPromptList() {
        QFETCH(QString, field);
        QFETCH(bool, notifies);
        CardFolderOnDisk card;
        RecordingMessageBoxes boxes;
        auto window = openWindow(card, boxes);
        auto* list = child<QComboBox>(window.get(), field);
        const int page = field == QStringLiteral("cbNomeArquivo") ? 2 : field.startsWith(QLatin1Char('M')) ? 0 : 1;
        child<QTabWidget>(window.get(), QStringLiteral("PageControl1"))->setCurrentIndex(page);
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->currentIndex(), 0);
        QCOMPARE(window->dataChanged(), notifies);
    }

    void settleClearsTheLoadAndUnlocksAfterTwoSeconds() {
        CardFolderOnDisk card;
        card.write(QStringLiteral("007.txt"), "12      1\r\n");
        RecordingMessageBoxes boxes;
        TMainFormQuorvel window(card.folder(), boxes);
        auto* menus = child<QGroupBox>(&window, QStringLiteral("GroupBox2"));
        QVERIFY(window.dataChanged());
        QVERIFY(!menus->isEnabled());
        QTest::qWait(1500);
        QVERIFY(window.dataChanged());
        QVERIFY(!menus->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!window.dataChanged(), 1500);
        QVERIFY(menus->isEnabled());
        QVERIFY(child<QGroupBox>(&window, QStringLiteral("GroupBox1"))->isEnabled());
    }

    void closingBeforeTheSettleAsksAfterALoad() {
        // A new card fills the default holidays, so even it leaves changes behind.
        CardFolderOnDisk card;
        RecordingMessageBoxes boxes;
        auto window = openWindow(card, boxes, false);
        QVERIFY(window->dataChanged());
        QVERIFY(!window->FormCloseQuery());
        QCOMPARE(boxes.questions, QStringList{kCloseQuestion});
    }

    void closeQuestion_data() {
        QTest::addColumn<bool>("edit");
        QTest::addColumn<bool>("save");
        QTest::addColumn<bool>("asked");
        QTest::newRow("settled, untouched") << false << false << false;
        QTest::newRow("edited") << true << false << true;
        QTest::newRow("edited and saved") << true << true << false;
    }
    void closeQuestion() {
        QFETCH(bool, edit);
        QFETCH(bool, save);
        QFETCH(bool, asked);
        CardFolderOnDisk card;
        RecordingMessageBoxes boxes;
        auto window = openWindow(card, boxes);
        if (edit) {
            auto* field = get<FilteredLineEdit>(window, "edRamal3");
            field->setFocus();
            QTest::keyClicks(field, QStringLiteral("45"));
        }
        if (save) window->configuration().btGravaClick();
        boxes.answer(true);
        QVERIFY(window->close());
        QCOMPARE(boxes.questions.size(), asked ? 1 : 0);
        QVERIFY(!window->isVisible());
    }

    void answeringNoKeepsTheWindowAsItWas() {
        CardFolderOnDisk card;
        RecordingMessageBoxes boxes;
        auto window = openWindow(card, boxes);
        auto* field = get<FilteredLineEdit>(window, "x044");
        field->setFocus();
        QTest::keyClicks(field, QStringLiteral("301"));
        boxes.answer(false);
        QVERIFY(!window->close());
        QCOMPARE(boxes.questions, QStringList{kCloseQuestion});
        QVERIFY(window->isVisible());
        QCOMPARE(field->text(), QStringLiteral("301"));
        QVERIFY(window->dataChanged());
        boxes.answer(true);
        QVERIFY(window->close());
        QCOMPARE(card.read(QStringLiteral("044.txt")), QByteArray("\r\n"));
    }
};

QUORVEL_WINDOW_TEST(ChangeTrackingTest)
#include "ChangeTrackingTest.moc"
