// What each page must guarantee in the window's fixed size: every control
// lies inside the window and none covers another. A picture of each page is
// kept for people to look at.
#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

#include "AppTestSupport.h"
#include "WindowTests.h"

using namespace quorvel;
using namespace quorvel::testing;

class ScreenshotTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyControlFitsItsPage() {
        CardFolderOnDisk card;
        RecordingMessageBoxes boxes;
        auto window = openWindow(card, boxes);
        const QString folder = QStringLiteral(QUORVEL_TEST_OUTPUT_DIR "/screenshots");
        QVERIFY(QDir().mkpath(folder));
        auto* pages = child<QTabWidget>(window.get(), QStringLiteral("PageControl1"));
        for (int page = 0; page < pages->count(); ++page) {
            pages->setCurrentIndex(page);
            window->layout()->activate();
            QList<std::pair<QRect, QString>> placed;
            for (QWidget* control : pages->widget(page)->findChildren<QWidget*>()) {
                const bool leaf = qobject_cast<QAbstractButton*>(control) || qobject_cast<QComboBox*>(control) ||
                                  qobject_cast<QLineEdit*>(control) ||
                                  (qobject_cast<QLabel*>(control) && !qobject_cast<QLabel*>(control)->text().isEmpty());
                if (!leaf || !control->isVisibleTo(window.get())) continue;
                const QRect inWindow(control->mapTo(window.get(), QPoint(0, 0)), control->size());
                const QString what = QStringLiteral("page %1, %2 \"%3\" at %4,%5 %6x%7")
                                         .arg(page)
                                         .arg(control->objectName(), control->metaObject()->className())
                                         .arg(inWindow.x())
                                         .arg(inWindow.y())
                                         .arg(inWindow.width())
                                         .arg(inWindow.height());
                QVERIFY2(window->rect().contains(inWindow), qPrintable(what));
                for (const auto& [other, otherWhat] : placed)
                    QVERIFY2(!other.intersects(inWindow), qPrintable(what + QStringLiteral(" overlaps ") + otherWhat));
                placed.append({inWindow, what});
            }
            const QImage image = window->grab().toImage();
            QVERIFY(image.save(QStringLiteral("%1/page%2.png").arg(folder).arg(page)));
        }
    }
};

QUORVEL_WINDOW_TEST(ScreenshotTest)
#include "ScreenshotTest.moc"
