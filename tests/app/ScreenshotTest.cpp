// Pictures of the three pages for people to look at; nothing is compared.
#include <QDir>
#include <QTabWidget>
#include <QTest>

#include "AppTestSupport.h"
#include "app/FilteredLineEdit.h"

using namespace quorvel;
using namespace quorvel::testing;

class ScreenshotTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void savePages() {
        CardFolderOnDisk card;
        card.write(QStringLiteral("031.txt"), "201 M2  1\r\n");
        card.write(QStringLiteral("202.txt"), " 83031200  712012345\r\n");
        card.write(QStringLiteral("220.txt"), "35106271  20;9999123\r\n");
        RecordingMessageBoxes boxes;
        auto window = openWindow(card, boxes);
        const QString folder = QStringLiteral(QUORVEL_TEST_OUTPUT_DIR "/screenshots");
        QVERIFY(QDir().mkpath(folder));
        auto* pages = child<QTabWidget>(window.get(), QStringLiteral("PageControl1"));
        for (int page = 0; page < pages->count(); ++page) {
            pages->setCurrentIndex(page);
            QTest::qWait(20);
            const QImage image = window->grab().toImage();
            QCOMPARE(image.size(), window->size() * window->devicePixelRatio());
            const QString path = QStringLiteral("%1/page%2.png").arg(folder).arg(page);
            QVERIFY2(image.save(path), qPrintable(path));
        }
    }
};

QTEST_MAIN(ScreenshotTest)
#include "ScreenshotTest.moc"
