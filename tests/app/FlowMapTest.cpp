// "Mapa": the call flow of the fields in its own window, its marks, the way
// from an element to its field, and the pictures and report it saves.
#include <QApplication>
#include <QFile>
#include <QGraphicsScene>
#include <QImage>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "AppTestSupport.h"
#include "WindowTests.h"
#include "app/FilteredLineEdit.h"
#include "app/FlowMapWindow.h"

using namespace quorvel;
using namespace quorvel::testing;

namespace {

// The window names menu 1's first targets "X0..". Menu 1 answers every day from 08:00, but Seg's second slot has no
// menu, menu 3 is reached by nothing, menu 1 has no prompt, a holiday repeats and the extension range is reversed.
void writeFlawedCard(const CardFolderOnDisk& card) {
    card.write(QStringLiteral("011.txt"), "201     0\r\n");
    card.write(QStringLiteral("031.txt"), "300     0\r\n");
    for (int day = 200; day <= 207; ++day) {
        card.write(QStringLiteral("%1.txt").arg(day), "08001               \r\n");
    }
    card.write(QStringLiteral("202.txt"), "080011200           \r\n");
    card.write(QStringLiteral("221.txt"), "2512    01012104010507091210021115112512\r\n");
    card.write(QStringLiteral("220.txt"), "00000100300 200 0000\r\n");
}

std::vector<MapElementItem*> elements(const FlowMapWindow& map) {
    std::vector<MapElementItem*> found;
    for (QGraphicsItem* item : map.scene()->items(Qt::AscendingOrder)) {
        if (auto* element = dynamic_cast<MapElementItem*>(item)) found.push_back(element);
    }
    return found;
}

MapElementItem* elementStarting(const FlowMapWindow& map, MapElement::Kind kind, const QString& text) {
    for (MapElementItem* item : elements(map)) {
        if (item->element().kind == kind && item->element().text.startsWith(text)) return item;
    }
    return nullptr;
}

void doubleClick(FlowMapWindow& map, MapElementItem* item) {
    map.view()->centerOn(item);
    const QPoint at = map.view()->mapFromScene(item->element().rect.topLeft() + QPointF(8, 8));
    QTest::mouseDClick(map.view()->viewport(), Qt::LeftButton, {}, at);
}

FlowMapWindow* openMap(TMainFormQuorvel& window) {
    QTest::mouseClick(child<QPushButton>(&window, QStringLiteral("btMapa")), Qt::LeftButton);
    auto* map = window.findChild<FlowMapWindow*>(QStringLiteral("fmMapa"));
    return map != nullptr && QTest::qWaitForWindowExposed(map) ? map : nullptr;
}

}  // namespace

class FlowMapTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void marksTheElementsWithFindings() {
        CardFolderOnDisk card;
        writeFlawedCard(card);
        RecordingMessageBoxes boxes;
        auto window = openWindow(card, boxes);
        FlowMapWindow* map = openMap(*window);
        QVERIFY(map != nullptr);

        QStringList marked;
        for (MapElementItem* item : elements(*map)) {
            if (item->element().mark.isValid()) marked << item->element().text;
        }
        marked.sort();
        QCOMPARE(marked,
                 QStringList({QString::fromUtf8("12:00 → (sem menu)"), QString::fromUtf8("Menu 1 — sem 101.wav"),
                              QString::fromUtf8("Menu 3 — sem 103.wav")}));

        MapElementItem* menu3 = elementStarting(*map, MapElement::Kind::Menu, QStringLiteral("Menu 3"));
        QVERIFY(menu3 != nullptr);
        QVERIFY(menu3->element().greyed);
        QCOMPARE(menu3->toolTip(),
                 QString::fromUtf8("Menu 3 tem opções, mas nenhum horário nem outro menu leva a ele."));
        QVERIFY(!elementStarting(*map, MapElement::Kind::Menu, QStringLiteral("Menu 1"))->element().greyed);
        QVERIFY(elementStarting(*map, MapElement::Kind::Endpoint, QStringLiteral("Ramal/Grupo 201")) != nullptr);
    }

    void doubleClickShowsTheFieldOfTheElement() {
        CardFolderOnDisk card;
        writeFlawedCard(card);
        RecordingMessageBoxes boxes;
        auto window = openWindow(card, boxes);
        FlowMapWindow* map = openMap(*window);
        QVERIFY(map != nullptr);
        auto* pages = child<QTabWidget>(window.get(), QStringLiteral("PageControl1"));

        struct Row {
            MapElement::Kind kind;
            const char* text;
            int page;
            const char* field;
        };
        const Row rows[] = {
            {MapElement::Kind::Slot, "12:00", 0, "MenuSeg2"},            // its finding's field
            {MapElement::Kind::Menu, "Menu 1", 2, "cbNomeArquivo"},      // the missing prompt
            {MapElement::Kind::Option, "1: 300", 0, "x031"},             // an option without findings
            {MapElement::Kind::Endpoint, "Ramal/Grupo 201", 0, "X011"},  // the target naming it
            {MapElement::Kind::Day, "Dom", 0, "HoraDom1"},               // the day's first time
        };
        for (const Row& row : rows) {
            MapElementItem* item = elementStarting(*map, row.kind, QString::fromUtf8(row.text));
            QVERIFY2(item != nullptr, row.text);
            pages->setCurrentIndex(row.page == 0 ? 1 : 0);
            doubleClick(*map, item);
            QCOMPARE(pages->currentIndex(), row.page);
            QTRY_COMPARE(QApplication::focusWidget(), child<QWidget>(window.get(), QString::fromLatin1(row.field)));
        }
        QVERIFY(boxes.messages.isEmpty() && boxes.errors.isEmpty());
    }

    void followsSavesNotKeystrokes() {
        CardFolderOnDisk card;
        writeFlawedCard(card);
        RecordingMessageBoxes boxes;
        auto window = openWindow(card, boxes);
        FlowMapWindow* map = openMap(*window);
        QVERIFY(map != nullptr);
        const auto menu3Greyed = [&] {
            return elementStarting(*map, MapElement::Kind::Menu, QStringLiteral("Menu 3"))->element().greyed;
        };
        QVERIFY(menu3Greyed());

        auto* field = child<FilteredLineEdit>(window.get(), QStringLiteral("X012"));
        field->setFocus();
        QTest::keyClicks(field, QStringLiteral("M3"));
        QVERIFY(menu3Greyed());
        QTest::mouseClick(child<QPushButton>(window.get(), QStringLiteral("btGrava")), Qt::LeftButton);
        QVERIFY(!menu3Greyed());
        QVERIFY(elementStarting(*map, MapElement::Kind::Option, QStringLiteral("2: M3")) != nullptr);
    }

    void savesPictureAndReportWhereChosen() {
        CardFolderOnDisk card;
        writeFlawedCard(card);
        RecordingMessageBoxes boxes;
        auto window = openWindow(card, boxes);
        QStringList asked;
        QString answer;
        window->mapReport().setSaveFileChooser([&](QWidget*, const QString&, const QString& filter) {
            asked << filter;
            return answer;
        });
        FlowMapWindow* map = openMap(*window);
        QVERIFY(map != nullptr);

        answer = card.folder() + QStringLiteral("map.png");
        QTest::mouseClick(child<QPushButton>(map, QStringLiteral("btMapaPng")), Qt::LeftButton);
        QCOMPARE(QImage(answer).size(), (map->map().size * 2).toSize());

        answer = card.folder() + QStringLiteral("relatorio.pdf");
        QTest::mouseClick(child<QPushButton>(window.get(), QStringLiteral("btRelatorio")), Qt::LeftButton);
        QFile pdf(answer);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QCOMPARE(pdf.read(5), QByteArray("%PDF-"));

        // A cancelled chooser writes nothing; an unwritable place is reported.
        answer.clear();
        QTest::mouseClick(child<QPushButton>(map, QStringLiteral("btMapaSvg")), Qt::LeftButton);
        answer = card.folder() + QStringLiteral("missing/r.pdf");
        QTest::mouseClick(child<QPushButton>(window.get(), QStringLiteral("btRelatorio")), Qt::LeftButton);
        QCOMPARE(asked, QStringList({QStringLiteral("PNG (*.png)"), QStringLiteral("PDF (*.pdf)"),
                                     QStringLiteral("SVG (*.svg)"), QStringLiteral("PDF (*.pdf)")}));
        QCOMPARE(boxes.errors.size(), 1);
        QVERIFY(boxes.errors.front().startsWith(QString::fromUtf8("Não foi possível gravar")));
    }
};

QUORVEL_WINDOW_TEST(FlowMapTest)
#include "FlowMapTest.moc"
