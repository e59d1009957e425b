// The window's structure: pages, groups, names, lists, limits, fonts, hints,
// the initial state and the tab order.
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "AppTestSupport.h"
#include "WindowTests.h"
#include "app/FilteredLineEdit.h"
#include "app/MaskedEdit.h"

using namespace quorvel;
using namespace quorvel::testing;

namespace {

QStringList itemsOf(const QComboBox* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
    return items;
}

QStringList numbered(const QString& pattern, int first, int last) {
    QStringList items;
    for (int i = first; i <= last; ++i) items << pattern.arg(i);
    return items;
}

}  // namespace

class WindowStructureTest : public QObject {
    Q_OBJECT

    CardFolderOnDisk card_;
    RecordingMessageBoxes boxes_;
    std::unique_ptr<TMainFormQuorvel> window_;

    QWidget* focusAfterTab(QWidget* from) {
        from->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(from, Qt::Key_Tab);
        return QApplication::focusWidget();
    }

private Q_SLOTS:
    void init() { window_ = openWindow(card_, boxes_, false); }
    void cleanup() { window_.reset(); }

    void windowAndPages() {
        QCOMPARE(window_->windowTitle(), QStringLiteral("Ajustor Quorvel"));
        QCOMPARE(window_->objectName(), QStringLiteral("MainFormQuorvel"));
        QCOMPARE(window_->size(), QSize(942, 753));
        QVERIFY(!(window_->windowFlags() & Qt::WindowMaximizeButtonHint));
        auto* pages = child<QTabWidget>(window_.get(), QStringLiteral("PageControl1"));
        QVERIFY(pages);
        QCOMPARE(pages->count(), 3);
        QCOMPARE(pages->currentIndex(), 0);
        const QStringList captions = {QString::fromUtf8("Configurações Menus / Horários"),
                                      QString::fromUtf8("Configurações Gerais"), QStringLiteral("Converte arquivo")};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(pages->tabText(i), captions[i]);
            QCOMPARE(pages->widget(i)->objectName(), QStringLiteral("TabSheet%1").arg(i + 1));
        }
    }

    void groupBoxes_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("enabledAtStart");
        QTest::newRow("timetable") << "GroupBox1" << QString::fromUtf8("Configuração dos horários ") << false;
        QTest::newRow("menus") << "GroupBox2" << QString::fromUtf8("Configuração dos Menus ") << false;
        QTest::newRow("settings") << "GroupBox3" << QString::fromUtf8("Configurações") << true;
        QTest::newRow("restricted") << "GroupBox4" << QStringLiteral("Ramais Restritos ") << true;
        QTest::newRow("holidays") << "GroupBox5" << QStringLiteral("Cadastro de feriados ") << true;
        QTest::newRow("conversion") << "GroupBox9" << QString::fromUtf8("Convertendo arquivo de áudio") << true;
    }
    void groupBoxes() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(bool, enabledAtStart);
        auto* group = child<QGroupBox>(window_.get(), name);
        QVERIFY(group);
        QCOMPARE(group->title(), caption);
        QCOMPARE(group->isEnabled(), enabledAtStart);
    }

    void menuGridNamesFollowTheRule() {
        int targets = 0;
        for (int menu = 0; menu < 10; ++menu) {
            for (int option = 0; option < 10; ++option) {
                const QString digits = QStringLiteral("0%1%2").arg(menu).arg(option);
                const QString xName = (menu == 1 ? QStringLiteral("X") : QStringLiteral("x")) + digits;
                for (const QString& name : {xName, QStringLiteral("y") + digits}) {
                    auto* field = child<FilteredLineEdit>(window_.get(), name);
                    QVERIFY2(field, qPrintable(name));
                    QCOMPARE(field->maxLength(), 4);
                    QVERIFY(field->font().bold());
                    ++targets;
                }
                auto* box = child<QCheckBox>(window_.get(), QStringLiteral("z") + digits);
                QVERIFY(box);
                QVERIFY(box->text().isEmpty());
            }
        }
        QCOMPARE(targets, 200);
        QVERIFY(!child<QWidget>(window_.get(), QStringLiteral("x010")));
    }

    void timetableFieldsAndLists() {
        const QStringList menuItems = numbered(QStringLiteral("Menu %1"), 0, 9);
        for (const char* day : {"Dom", "Seg", "Ter", "Qua", "Qui", "Sex", "Sab", "Fer"}) {
            for (int slot = 1; slot <= 4; ++slot) {
                auto* time = child<MaskedEdit>(window_.get(), QStringLiteral("Hora%1%2").arg(day).arg(slot));
                auto* menu = child<QComboBox>(window_.get(), QStringLiteral("Menu%1%2").arg(day).arg(slot));
                QVERIFY(time && menu);
                QCOMPARE(time->maskedText(), QStringLiteral("  :  "));
                QVERIFY(!menu->isEditable());
                QCOMPARE(itemsOf(menu), menuItems);
                QCOMPARE(menu->currentIndex(), -1);
            }
        }
    }

    void settingsLists_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("items");
        const QStringList oneToNine = numbered(QStringLiteral("%1"), 1, 9);
        QTest::newRow("cbRing") << "cbRing" << oneToNine;
        QTest::newRow("cbSilencio") << "cbSilencio" << oneToNine;
        QStringList flash;
        for (int tenths = 1; tenths <= 9; ++tenths) flash << QStringLiteral("%1 ms").arg(tenths * 100);
        QTest::newRow("cbFlash") << "cbFlash" << flash;
        QTest::newRow("cbDigito") << "cbDigito" << numbered(QStringLiteral("%1"), 2, 5);
        QTest::newRow("cbPabx") << "cbPabx"
                                << (numbered(QString::fromUtf8("Padrão Telebras %1"), 1, 4)
                                    << QString::fromUtf8("Padrão Intermediário")
                                    << numbered(QString::fromUtf8("Padrão Panasonic %1"), 1, 4));
        QTest::newRow("cbToque") << "cbToque" << oneToNine;
        QTest::newRow("cbRes1") << "cbRes1" << oneToNine;
        QTest::newRow("cbRes2") << "cbRes2" << oneToNine;
        QTest::newRow("cbRes3") << "cbRes3" << oneToNine;
        QTest::newRow("cbNomeArquivo") << "cbNomeArquivo"
                                       << (numbered(QStringLiteral("Menu %1"), 0, 9) << QStringLiteral("Vinheta"));
    }
    void settingsLists() {
        QFETCH(QString, name);
        QFETCH(QStringList, items);
        auto* list = child<QComboBox>(window_.get(), name);
        QVERIFY(list);
        QCOMPARE(itemsOf(list), items);
        QCOMPARE(list->currentIndex(), -1);
    }

    void settingsEdits_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("maxLength");
        QTest::newRow("edRamalInf") << "edRamalInf" << 4;
        QTest::newRow("edRamalSup") << "edRamalSup" << 4;
        QTest::newRow("edRestaura") << "edRestaura" << 3;
        QTest::newRow("edSenha") << "edSenha" << 3;
        for (int i = 1; i <= 4; ++i)
            QTest::newRow(qPrintable(QStringLiteral("edRamal%1").arg(i))) << QStringLiteral("edRamal%1").arg(i) << 4;
    }
    void settingsEdits() {
        QFETCH(QString, name);
        QFETCH(int, maxLength);
        auto* edit = child<FilteredLineEdit>(window_.get(), name);
        QVERIFY(edit);
        QCOMPARE(edit->maxLength(), maxLength);
        QVERIFY(edit->font().bold());
    }

    void passwordShowsStars() {
        auto* password = child<FilteredLineEdit>(window_.get(), QStringLiteral("edSenha"));
        QCOMPARE(password->echoMode(), QLineEdit::Password);
        password->setFocus();
        QTest::keyClicks(password, QStringLiteral("1#2345"));
        QCOMPARE(password->text(), QStringLiteral("123"));
        QCOMPARE(password->displayText().size(), 3);
        QVERIFY(!password->displayText().contains(QLatin1Char('1')));
    }

    void copyLabelsAreHandsWithHints_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("hint");
        const QString monday = QString::fromUtf8("Para copiar configure os horários e menus na Segunda");
        const QString sunday = QString::fromUtf8("Para copiar configure os horários e menus no Domingo");
        QTest::newRow("Label97") << "Label97"
                                 << "Copiar de Segunda a Quinta" << monday;
        QTest::newRow("Label98") << "Label98"
                                 << "Copiar de Segunda a Sexta" << monday;
        QTest::newRow("Label99") << "Label99" << QString::fromUtf8("Copiar de Sábado, Domingo e Feriado") << sunday;
        QTest::newRow("Label100") << "Label100"
                                  << "Copiar para todos os dias e feriado" << sunday;
    }
    void copyLabelsAreHandsWithHints() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, hint);
        auto* label = child<QLabel>(window_.get(), name);
        QVERIFY(label);
        QCOMPARE(label->text(), caption);
        QCOMPARE(label->toolTip(), hint);
        QCOMPARE(label->cursor().shape(), Qt::PointingHandCursor);
    }

    void commandStripPanelAndTimers() {
        const QStringList names = {"btRestBackUp", "btBackup", "Button1", "btAtualiza", "btClear", "btGrava"};
        const QStringList captions = {"Restaura Backup", "Copia de Backup", "Suporte Remoto",
                                      "Atualiza",        "Limpar",          "Gravar"};
        int previousLeft = -1;
        for (int i = 0; i < names.size(); ++i) {
            auto* button = child<QPushButton>(window_.get(), names[i]);
            QVERIFY(button);
            QCOMPARE(button->text(), captions[i]);
            QVERIFY(button->x() > previousLeft);
            previousLeft = button->x();
        }
        auto* save = child<QPushButton>(window_.get(), QStringLiteral("btGrava"));
        QCOMPARE(save->cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(!save->icon().isNull());

        auto* panel = child<QFrame>(window_.get(), QStringLiteral("Painel"));
        QVERIFY(panel);
        QVERIFY(panel->isHidden());
        // Shown over the pages, it must lie inside the window.
        QVERIFY(window_->rect().contains(panel->geometry()));
        QCOMPARE(child<QLabel>(panel, QStringLiteral("lbArquivo"))->text(), QStringLiteral("Arquivo"));

        const QList<std::pair<QString, int>> timers = {{"tChange", 2000}, {"tAguarda", 3000}};
        for (const auto& [name, interval] : timers) {
            auto* timer = window_->findChild<QTimer*>(name);
            QVERIFY(timer);
            QCOMPARE(timer->interval(), interval);
            QCOMPARE(timer->isActive(), name == QStringLiteral("tChange"));
        }
    }

    void tabOrder_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::newRow("time to its menu") << "HoraDom1"
                                          << "MenuDom1";
        QTest::newRow("menu to next slot") << "MenuDom1"
                                           << "HoraDom2";
        QTest::newRow("end of Dom to Seg") << "MenuDom4"
                                           << "HoraSeg1";
        QTest::newRow("left block to right block") << "MenuQua4"
                                                   << "HoraQui1";
        QTest::newRow("Sab to Fer") << "MenuSab4"
                                    << "HoraFer1";
        QTest::newRow("first field to second") << "x001"
                                               << "y001";
        QTest::newRow("second field to box") << "y001"
                                             << "z001";
        QTest::newRow("option 9 to Nao Dig") << "z009"
                                             << "x000";
        QTest::newRow("menu 0 to menu 1") << "z000"
                                          << "X011";
        QTest::newRow("menu 9 ends on Nao Dig") << "y090"
                                                << "z090";
    }
    void tabOrder() {
        QFETCH(QString, from);
        QFETCH(QString, to);
        window_->configuration().tChangeTimer();
        auto* start = child<QWidget>(window_.get(), from);
        QVERIFY(start);
        QWidget* reached = focusAfterTab(start);
        QVERIFY(reached);
        QCOMPARE(reached->objectName(), to);
        QVERIFY(boxes_.messages.isEmpty());
    }

    void pageChangeGreysOutConfigurationCommands() {
        auto* pages = child<QTabWidget>(window_.get(), QStringLiteral("PageControl1"));
        const QStringList commands = {"btGrava", "btClear", "btBackup", "btRestBackUp", "btAtualiza"};
        for (int page : {2, 1, 2, 0}) {
            pages->setCurrentIndex(page);
            for (const QString& name : commands) {
                QCOMPARE(child<QPushButton>(window_.get(), name)->isEnabled(), page != 2);
            }
            QVERIFY(child<QPushButton>(window_.get(), QStringLiteral("Button1"))->isEnabled());
        }
    }
};

QUORVEL_WINDOW_TEST(WindowStructureTest)
#include "WindowStructureTest.moc"
