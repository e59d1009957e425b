// "Mapa": the call flow of the fields as last loaded or saved, in a window of
// its own beside the editor. Marked elements carry their findings as tool
// tips; double-clicking one asks the editor to show its field.
#pragma once

#include <QGraphicsItem>
#include <QGraphicsView>
#include <QWidget>
#include <functional>

#include "config/CallFlowModel.h"
#include "draw/FlowMap.h"

class QGraphicsScene;
class QPushButton;

namespace quorvel {

class MessageBoxes;

// Asks where to save: the chosen path, or an empty text for a cancel.
using SaveFileChooser = std::function<QString(QWidget* parent, const QString& caption, const QString& filter)>;

// The window's own chooser: the platform's save dialog.
SaveFileChooser platformSaveFileChooser();

// One element of the map in the scene.
class MapElementItem final : public QGraphicsItem {
public:
    explicit MapElementItem(MapElement element);

    const MapElement& element() const { return element_; }
    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    MapElement element_;
};

class FlowMapView final : public QGraphicsView {
    Q_OBJECT

public:
    explicit FlowMapView(QWidget* parent);

Q_SIGNALS:
    void elementDoubleClicked(const quorvel::MapElement& element);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

class FlowMapWindow : public QWidget {
    Q_OBJECT

public:
    FlowMapWindow(QWidget* owner, MessageBoxes& boxes, SaveFileChooser chooser);

    void setModel(const CallFlowModel& model);
    const FlowMap& map() const { return map_; }
    QGraphicsScene* scene() const { return scene_; }
    FlowMapView* view() const { return view_; }

Q_SIGNALS:
    // An element was double-clicked: show the field it comes from.
    void chosen(const quorvel::FindingPlace& place);

private:
    void save(bool svg);

    MessageBoxes& boxes_;
    SaveFileChooser chooser_;
    FlowMap map_;
    QGraphicsScene* scene_ = nullptr;
    FlowMapView* view_ = nullptr;
};

}  // namespace quorvel
