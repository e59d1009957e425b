#include "app/FlowMapWindow.h"

#include <QBoxLayout>
#include <QFileDialog>
#include <QGraphicsScene>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include "shell/MessageBoxes.h"

namespace quorvel {
namespace {

// The arrows under the elements they join.
class MapArrowItem final : public QGraphicsItem {
public:
    explicit MapArrowItem(MapArrow arrow) : arrow_(std::move(arrow)) { setZValue(-1); }

    QRectF boundingRect() const override { return arrow_.path.boundingRect().adjusted(-10, -10, 10, 10); }
    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override {
        painter->setRenderHint(QPainter::Antialiasing);
        paintMapArrow(*painter, arrow_);
    }

private:
    MapArrow arrow_;
};

// The saved picture: twice the map's own size, for print.
constexpr int kPngScale = 2;

}  // namespace

SaveFileChooser platformSaveFileChooser() {
    return [](QWidget* parent, const QString& caption, const QString& filter) {
        return QFileDialog::getSaveFileName(parent, caption, QString(), filter);
    };
}

MapElementItem::MapElementItem(MapElement element) : element_(std::move(element)) {
    if (!element_.toolTip.isEmpty()) setToolTip(element_.toolTip);
}

QRectF MapElementItem::boundingRect() const { return element_.rect.adjusted(-2, -2, 2, 2); }

void MapElementItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    painter->setRenderHint(QPainter::Antialiasing);
    paintMapElement(*painter, element_);
}

FlowMapView::FlowMapView(QWidget* parent) : QGraphicsView(parent) {}

void FlowMapView::mouseDoubleClickEvent(QMouseEvent* event) {
    // The innermost element under the pointer: an option before its menu.
    for (QGraphicsItem* item : items(event->position().toPoint())) {
        if (auto* element = dynamic_cast<MapElementItem*>(item)) {
            Q_EMIT elementDoubleClicked(element->element());
            event->accept();
            return;
        }
    }
    QGraphicsView::mouseDoubleClickEvent(event);
}

FlowMapWindow::FlowMapWindow(QWidget* owner, MessageBoxes& boxes, SaveFileChooser chooser)
    : QWidget(owner, Qt::Window), boxes_(boxes), chooser_(std::move(chooser)) {
    setObjectName(QStringLiteral("fmMapa"));
    setWindowTitle(QStringLiteral("Mapa do atendimento"));
    resize(1000, 640);
    scene_ = new QGraphicsScene(this);
    view_ = new FlowMapView(this);
    view_->setObjectName(QStringLiteral("gvMapa"));
    view_->setScene(scene_);
    view_->setRenderHint(QPainter::Antialiasing);
    view_->setBackgroundBrush(Qt::white);
    auto* savePng = new QPushButton(QStringLiteral("Salvar PNG..."), this);
    savePng->setObjectName(QStringLiteral("btMapaPng"));
    auto* saveSvg = new QPushButton(QStringLiteral("Salvar SVG..."), this);
    saveSvg->setObjectName(QStringLiteral("btMapaSvg"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(savePng);
    buttons->addWidget(saveSvg);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(view_, 1);
    connect(savePng, &QPushButton::clicked, this, [this] { save(false); });
    connect(saveSvg, &QPushButton::clicked, this, [this] { save(true); });
    connect(view_, &FlowMapView::elementDoubleClicked, this,
            [this](const MapElement& element) { Q_EMIT chosen(element.place); });
}

void FlowMapWindow::setModel(const CallFlowModel& model) {
    map_ = layoutFlowMap(model);
    scene_->clear();
    for (const MapArrow& arrow : map_.arrows) scene_->addItem(new MapArrowItem(arrow));
    // Later items lie above earlier ones: options above their menu's frame.
    qreal z = 0;
    for (const MapElement& element : map_.elements) {
        auto* item = new MapElementItem(element);
        item->setZValue(z += 0.001);
        scene_->addItem(item);
    }
    scene_->setSceneRect(QRectF(QPointF(0, 0), map_.size));
}

void FlowMapWindow::save(bool svg) {
    const QString path = chooser_(this, QStringLiteral("Salvar mapa"),
                                  svg ? QStringLiteral("SVG (*.svg)") : QStringLiteral("PNG (*.png)"));
    if (path.isEmpty()) return;
    const bool saved = svg ? saveMapSvg(map_, path) : saveMapPng(map_, path, (map_.size * kPngScale).toSize());
    if (!saved) boxes_.showError(this, QString::fromUtf8("Não foi possível gravar ") + path);
}

}  // namespace quorvel
