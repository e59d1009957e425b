// Qt's own dialogs speak Portuguese once its translations are installed.
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "WindowTests.h"
#include "app/QtTranslations.h"

using namespace quorvel;

class QtTranslationsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
        if (!QFile::exists(folder + QStringLiteral("/qtbase_pt_BR.qm"))) {
            QSKIP(qPrintable(QStringLiteral("Qt's pt_BR translations are not installed in %1 "
                                            "(Debian package qt6-translations-l10n)")
                                 .arg(folder)));
        }
        QVERIFY(installQtTranslations(*QCoreApplication::instance()));
    }

    void choosersButtonsArePortuguese() {
        QFileDialog chooser;
        chooser.setOption(QFileDialog::DontUseNativeDialog, true);
        chooser.setFileMode(QFileDialog::ExistingFile);
        auto* buttons = chooser.findChild<QDialogButtonBox*>();
        QVERIFY(buttons != nullptr);
        QCOMPARE(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Cancelar"));
        QCOMPARE(buttons->button(QDialogButtonBox::Open)->text(), QStringLiteral("&Abrir"));
    }

    void standardBoxButtonsArePortuguese() {
        QMessageBox box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("?"),
                        QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Cancelar"));
        QCOMPARE(box.button(QMessageBox::Ok)->text(), QStringLiteral("OK"));
    }
};

QUORVEL_WINDOW_TEST(QtTranslationsTest)
#include "QtTranslationsTest.moc"
