// The call-flow map laid out for drawing: the week on the left, the menus in
// the middle, extensions and groups on the right, with arrows from slots to
// menus and from options to what they lead to. The window shows it as
// scene items; pictures and the report paint it whole.
#pragma once

#include <QColor>
#include <QPainterPath>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QStringList>
#include <vector>

#include "config/CallFlowModel.h"

class QPainter;

namespace quorvel {

struct MapElement {
    enum class Kind { Day, Slot, Menu, Option, Endpoint };
    Kind kind = Kind::Slot;
    QRectF rect;
    QString text;
    QColor mark;      // the colour of its first finding; invalid when it has none
    QString toolTip;  // the findings' texts, one a line
    bool greyed = false;
    FindingPlace place;  // the field it comes from, or its first finding's
};

struct MapArrow {
    QPainterPath path;
    bool toMenu = true;
};

struct FlowMap {
    QSizeF size;
    std::vector<MapElement> elements;  // frames before what they enclose
    std::vector<MapArrow> arrows;
};

FlowMap layoutFlowMap(const CallFlowModel& model);

void paintMapElement(QPainter& painter, const MapElement& element);
void paintMapArrow(QPainter& painter, const MapArrow& arrow);
// The whole map at its own size; scale the painter to fit it elsewhere.
void paintFlowMap(QPainter& painter, const FlowMap& map);

// The map scaled into a picture of `size` pixels, saved whole (see
// draw/WholeFile.h); false when it cannot be written.
bool saveMapPng(const FlowMap& map, const QString& path, QSize size);
bool saveMapSvg(const FlowMap& map, const QString& path);

}  // namespace quorvel
