// TFolderDialog's published properties and Execute, with the chooser replaced.
#include <QDir>
#include <QMetaProperty>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <deque>
#include <stdexcept>

#include "shell/TFolderDialog.h"

using namespace quorvel;

namespace {

class FakeBrowser final : public FolderBrowser {
public:
    std::optional<FolderChoice> browse(QWidget* owner, const FolderBrowseRequest& request) override {
        owners << owner;
        requests << request;
        if (throws) throw std::runtime_error("chooser failed");
        return answer;
    }

    std::optional<FolderChoice> answer;
    bool throws = false;
    QList<QWidget*> owners;
    QList<FolderBrowseRequest> requests;
};

}  // namespace

class FolderDialogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void publishesItsPropertiesInOrderWithTheirDefaults() {
        FakeBrowser browser;
        TFolderDialog dialog(browser, nullptr);
        QStringList names;
        const QMetaObject* meta = dialog.metaObject();
        for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) names << meta->property(i).name();
        QCOMPARE(names, (QStringList{"Caption", "Title", "Directory", "ImageIndex", "Options", "DialogPosition",
                                     "DialogX", "DialogY", "Version"}));
        QVERIFY(!meta->property(meta->indexOfProperty("ImageIndex")).isWritable());
        QCOMPARE(dialog.Caption(), QString());
        QCOMPARE(dialog.Title(), QString());
        QCOMPARE(dialog.Directory(), QDir::currentPath());
        QCOMPARE(dialog.ImageIndex(), 0);
        QCOMPARE(dialog.Options(), TFolderDialog::TFolderOptions(TFolderDialog::fdoNewDialogStyle));
        QCOMPARE(dialog.DialogPosition(), fdpDefault);
        QCOMPARE(dialog.DialogX(), 0);
        QCOMPARE(dialog.DialogY(), 0);
        dialog.setVersion(QStringLiteral("9.9"));
        QVERIFY(dialog.setProperty("Version", QStringLiteral("2.0")));
        QCOMPARE(dialog.property("Version").toString(), QStringLiteral("1.0.2.0"));
        dialog.setDialogX(-50);
        QCOMPARE(dialog.DialogX(), -50);
    }

    void optionsMapToTheBrowserFlags_data() {
        QTest::addColumn<int>("option");
        QTest::addColumn<unsigned>("flag");
        QTest::newRow("computer") << int(TFolderDialog::fdoBrowseForComputer) << 0x1000u;
        QTest::newRow("printer") << int(TFolderDialog::fdoBrowseForPrinter) << 0x2000u;
        QTest::newRow("domain") << int(TFolderDialog::fdoDontgoBelowDomain) << 0x0002u;
        QTest::newRow("ancestors") << int(TFolderDialog::fdoReturnFSAncestors) << 0x0008u;
        QTest::newRow("fs dirs") << int(TFolderDialog::fdoReturnOnlyFSDirs) << 0x0001u;
        QTest::newRow("status") << int(TFolderDialog::fdoStatusText) << 0x0004u;
        QTest::newRow("new style") << int(TFolderDialog::fdoNewDialogStyle) << 0x0040u;
        QTest::newRow("no new folder") << int(TFolderDialog::fdoNoNewFolderButton) << 0x0200u;
        QTest::newRow("none") << 0 << 0u;
        QTest::newRow("all") << 0xff << 0x324fu;
    }

    void optionsMapToTheBrowserFlags() {
        QFETCH(int, option);
        QFETCH(unsigned, flag);
        FakeBrowser browser;
        TFolderDialog dialog(browser, nullptr);
        dialog.setOptions(TFolderDialog::TFolderOptions::fromInt(option));
        QCOMPARE(dialog.browseFlags(), flag);
    }

    void executeAsksTheChooserAndKeepsAnAbsoluteChoice() {
        FakeBrowser browser;
        QWidget owner;
        TFolderDialog dialog(browser, &owner);
        QTemporaryDir start;
        QTemporaryDir chosen;
        dialog.setCaption(QStringLiteral("Procurar Pasta"));
        dialog.setTitle(QStringLiteral("Selecione o local de destino do backup."));
        dialog.setDirectory(start.path());
        dialog.setOptions(TFolderDialog::fdoBrowseForComputer | TFolderDialog::fdoNewDialogStyle);
        dialog.setDialogPosition(fdpXY);
        dialog.setDialogX(-50);
        dialog.setDialogY(20);
        browser.answer = FolderChoice{chosen.path(), 12};

        QVERIFY(dialog.Execute());
        QCOMPARE(dialog.Directory(), chosen.path());
        QCOMPARE(dialog.ImageIndex(), 12);
        QCOMPARE(browser.owners, QList<QWidget*>{&owner});
        const FolderBrowseRequest& request = browser.requests[0];
        QCOMPARE(request.caption, QStringLiteral("Procurar Pasta"));
        QCOMPARE(request.title, QStringLiteral("Selecione o local de destino do backup."));
        QCOMPARE(request.directory, start.path());
        QCOMPARE(request.flags, 0x1040u);
        QCOMPARE(request.position, fdpXY);
        QCOMPARE(request.xy, QPoint(0, 20));

        QVERIFY(dialog.Execute());
        QCOMPARE(browser.requests[1].directory, chosen.path());
    }

    void failedChoicesChangeNothingButAMissingDirectory_data() {
        QTest::addColumn<int>("outcome");
        QTest::newRow("cancel") << 0;
        QTest::newRow("no file-system path") << 1;
        QTest::newRow("chooser raised") << 2;
    }

    void failedChoicesChangeNothingButAMissingDirectory() {
        QFETCH(int, outcome);
        FakeBrowser browser;
        TFolderDialog dialog(browser, nullptr);
        if (outcome == 1) browser.answer = FolderChoice{QStringLiteral("Computador"), 3};
        browser.throws = outcome == 2;
        dialog.setDirectory(QStringLiteral("/no/such/folder"));

        QVERIFY(!dialog.Execute());
        QCOMPARE(browser.requests[0].directory, QDir::currentPath());
        QCOMPARE(dialog.Directory(), QDir::currentPath());
        QCOMPARE(dialog.ImageIndex(), 0);
    }

    void windowPositionFollowsDialogPosition() {
        const QRect window(30, 40, 400, 300);
        const QRect desktop(0, 0, 1920, 1080);
        QCOMPARE(folderDialogPosition(fdpDefault, QPoint(5, 5), window, desktop), QPoint(30, 40));
        QCOMPARE(folderDialogPosition(fdpScreenCenter, QPoint(5, 5), window, desktop), QPoint(760, 390));
        QCOMPARE(folderDialogPosition(fdpScreenCenter, QPoint(), QRect(0, 0, 401, 301), QRect(0, 0, 1921, 1081)),
                 QPoint(760, 390));
        QCOMPARE(folderDialogPosition(fdpXY, QPoint(-50, 20), window, desktop), QPoint(0, 20));
        QCOMPARE(folderDialogPosition(fdpXY, QPoint(70, -1), window, desktop), QPoint(70, 0));
    }
};

QTEST_MAIN(FolderDialogTest)
#include "FolderDialogTest.moc"
