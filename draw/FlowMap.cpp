#include "draw/FlowMap.h"

#include <QBuffer>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>
#include <map>

#include "config/Catalogue.h"
#include "config/MaskedText.h"
#include "draw/FindingColours.h"
#include "draw/Utf8Text.h"
#include "draw/WholeFile.h"

namespace quorvel {
namespace {

using Kind = MapElement::Kind;

constexpr qreal kMargin = 10;
constexpr qreal kDayWidth = 50;
constexpr qreal kSlotWidth = 112;
constexpr qreal kSlotGap = 6;
constexpr qreal kRowHeight = 26;
constexpr qreal kRowGap = 8;
constexpr qreal kMenuLeft = 580;
constexpr qreal kMenuWidth = 250;
constexpr qreal kTitleHeight = 24;
constexpr qreal kOptionHeight = 20;
constexpr qreal kMenuGap = 16;
constexpr qreal kEndpointLeft = 930;
constexpr qreal kEndpointWidth = 150;
constexpr qreal kEndpointGap = 8;

QString menuName(int menu) { return QStringLiteral("Menu %1").arg(menu); }

QString digitName(int digit) { return digit == 0 ? QString::fromUtf8("Não Dig") : QString::number(digit); }

QString slotText(const FlowSlot& slot) {
    const QString time = isMaskEmpty(slot.time) ? QStringLiteral("--:--") : fromUtf8(slot.time).trimmed();
    const QString menu = slot.menu == kNoSelection ? QStringLiteral("(sem menu)") : menuName(slot.menu);
    return time + QString::fromUtf8(" → ") + menu;
}

QString menuTitle(const FlowMenu& menu) {
    QString title = menuName(menu.menu);
    if (menu.prompt == PromptState::Missing) {
        title += QString::fromUtf8(" — sem ") + fromUtf8(*promptFileName(menu.menu));
    } else if (menu.prompt == PromptState::Unplayable) {
        title += QString::fromUtf8(" — ") + fromUtf8(*promptFileName(menu.menu)) + QString::fromUtf8(" inválido");
    }
    if (!menu.defined) title += QString::fromUtf8(" (sem opções)");
    return title;
}

QString optionText(const FlowOption& option) {
    QStringList targets;
    for (const FlowTarget& target : option.targets) targets << fromUtf8(target.text);
    QString text = digitName(option.digit) + QStringLiteral(": ") + targets.join(QStringLiteral(" / "));
    if (option.flagF) text += QStringLiteral("  F");
    return text;
}

QString endpointText(const FlowEndpoint& endpoint) {
    const QString kind =
        endpoint.kind == TargetKind::Dialling ? QStringLiteral("Discagem ") : QStringLiteral("Ramal/Grupo ");
    return kind + fromUtf8(endpoint.text);
}

class MapLayout {
public:
    explicit MapLayout(const CallFlowModel& model) : model_(model) {}

    FlowMap run() {
        const qreal weekBottom = week();
        const qreal menusBottom = menus();
        const qreal endpointsBottom = endpoints();
        arrows();
        map_.size = QSizeF(kEndpointLeft + kEndpointWidth + kMargin,
                           std::max({weekBottom, menusBottom, endpointsBottom}) + kMargin);
        return std::move(map_);
    }

private:
    MapElement& add(Kind kind, QRectF rect, QString text, const FindingRefs& findings, FindingPlace place) {
        MapElement element{kind, rect, std::move(text), {}, {}, false, place};
        if (!findings.empty()) {
            const Finding& first = model_.findings[findings.front()];
            element.mark = findingColour(first.code);
            element.place = first.place;
            QStringList lines;
            for (std::size_t index : findings) lines << fromUtf8(model_.findings[index].message);
            element.toolTip = lines.join(QLatin1Char('\n'));
        }
        map_.elements.push_back(std::move(element));
        return map_.elements.back();
    }

    qreal week() {
        qreal y = kMargin;
        for (DayKind kind : kWeekOrder) {
            const int day = static_cast<int>(kind);
            const FlowDay& flowDay = model_.week[day];
            add(Kind::Day, QRectF(kMargin, y, kDayWidth, kRowHeight), fromUtf8(std::string(dayKindCaption(kind))),
                flowDay.findings, {FindingPlace::Kind::Day, day, 0});
            for (const FlowSlot& slot : flowDay.slots) {
                const QRectF rect(kMargin + kDayWidth + slot.slot * (kSlotWidth + kSlotGap), y, kSlotWidth, kRowHeight);
                add(Kind::Slot, rect, slotText(slot), slot.findings, {FindingPlace::Kind::SlotTime, day, slot.slot});
                if (slot.menu != kNoSelection) slotEnds_.push_back({rect, slot.menu});
            }
            y += kRowHeight + kRowGap;
        }
        return y;
    }

    qreal menus() {
        qreal y = kMargin;
        for (const FlowMenu& menu : model_.menus) {
            const int rows = std::max<int>(1, static_cast<int>(menu.options.size()));
            const QRectF frame(kMenuLeft, y, kMenuWidth, kTitleHeight + rows * kOptionHeight + 4);
            add(Kind::Menu, frame, menuTitle(menu), menu.findings, {FindingPlace::Kind::Menu, menu.menu, 0}).greyed =
                !menu.reachable;
            menuTitles_[menu.menu] = QRectF(frame.left(), frame.top(), frame.width(), kTitleHeight);
            qreal rowTop = y + kTitleHeight;
            for (const FlowOption& option : menu.options) {
                const QRectF row(kMenuLeft + 4, rowTop, kMenuWidth - 8, kOptionHeight);
                FindingRefs findings;
                for (const FlowTarget& target : option.targets) {
                    findings.insert(findings.end(), target.findings.begin(), target.findings.end());
                }
                std::sort(findings.begin(), findings.end());
                const auto field = option.targets.empty() || option.targets.front().field == 1
                                       ? FindingPlace::Kind::Target1
                                       : FindingPlace::Kind::Target2;
                add(Kind::Option, row, optionText(option), findings, {field, menu.menu, option.digit}).greyed =
                    !menu.reachable;
                for (const FlowTarget& target : option.targets) optionEnds_.push_back({row, target});
                rowTop += kOptionHeight;
            }
            y = frame.bottom() + kMenuGap;
        }
        return y;
    }

    qreal endpoints() {
        qreal y = kMargin;
        for (const FlowEndpoint& endpoint : model_.endpoints) {
            const QRectF rect(kEndpointLeft, y, kEndpointWidth, kTitleHeight);
            add(Kind::Endpoint, rect, endpointText(endpoint), {}, endpoint.from.front());
            endpointBoxes_[endpoint.text] = rect;
            y += kTitleHeight + kEndpointGap;
        }
        return y;
    }

    void arrows() {
        for (const auto& [slot, menu] : slotEnds_) {
            const auto title = menuTitles_.find(menu);
            if (title == menuTitles_.end()) continue;
            const QPointF start(slot.center().x(), slot.bottom());
            const QPointF end(title->second.left(), title->second.center().y());
            QPainterPath path(start);
            path.cubicTo(QPointF(start.x(), start.y() + 30), QPointF(end.x() - 60, end.y()), end);
            map_.arrows.push_back({path, true});
        }
        for (const auto& [row, target] : optionEnds_) {
            const QPointF start(row.right(), row.center().y());
            QPainterPath path(start);
            if (target.kind == TargetKind::Menu) {
                const auto title = menuTitles_.find(target.menu);
                if (title == menuTitles_.end()) continue;
                const QPointF end(title->second.right(), title->second.center().y());
                const qreal bulge = 30 + std::abs(end.y() - start.y()) / 8;
                path.cubicTo(QPointF(start.x() + bulge, start.y()), QPointF(end.x() + bulge, end.y()), end);
                map_.arrows.push_back({path, true});
            } else if (const auto box = endpointBoxes_.find(target.text); box != endpointBoxes_.end()) {
                const QPointF end(box->second.left(), box->second.center().y());
                path.cubicTo(QPointF(start.x() + 40, start.y()), QPointF(end.x() - 40, end.y()), end);
                map_.arrows.push_back({path, false});
            }
        }
    }

    const CallFlowModel& model_;
    FlowMap map_;
    std::vector<std::pair<QRectF, int>> slotEnds_;
    std::vector<std::pair<QRectF, FlowTarget>> optionEnds_;
    std::map<int, QRectF> menuTitles_;
    std::map<std::string, QRectF> endpointBoxes_;
};

QFont mapFont(bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    font.setBold(bold);
    // Without ligatures, text copied or searched in the PDF reads "fi", not one glyph.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

}  // namespace

FlowMap layoutFlowMap(const CallFlowModel& model) { return MapLayout(model).run(); }

void paintMapElement(QPainter& painter, const MapElement& element) {
    painter.save();
    const QColor ink = element.greyed ? QColor(150, 150, 150) : QColor(20, 20, 20);
    QPen frame(element.mark.isValid() ? element.mark : ink, element.mark.isValid() ? 2.5 : 1);
    QColor fill = element.greyed ? QColor(235, 235, 235) : QColor(Qt::white);
    if (element.mark.isValid() && element.kind != Kind::Menu) fill = element.mark.lighter(190);
    QRectF text = element.rect.adjusted(6, 0, -4, 0);
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter;
    switch (element.kind) {
        case Kind::Day:
            painter.setPen(element.mark.isValid() ? element.mark : ink);
            painter.setFont(mapFont(true));
            painter.drawText(text, align, element.text);
            painter.restore();
            return;
        case Kind::Menu:
            painter.setPen(frame);
            painter.setBrush(fill);
            painter.drawRoundedRect(element.rect, 4, 4);
            text.setHeight(kTitleHeight);
            painter.setFont(mapFont(true));
            break;
        case Kind::Option:
            if (element.mark.isValid()) {
                painter.setPen(frame);
                painter.setBrush(fill);
                painter.drawRect(element.rect);
            }
            painter.setFont(mapFont(false));
            break;
        case Kind::Slot:
        case Kind::Endpoint:
            painter.setPen(frame);
            painter.setBrush(fill);
            painter.drawRoundedRect(element.rect, 3, 3);
            painter.setFont(mapFont(false));
            if (element.kind == Kind::Slot) align = Qt::AlignCenter;
            break;
    }
    painter.setPen(element.mark.isValid() && element.kind == Kind::Menu ? element.mark : ink);
    painter.drawText(text, align, element.text);
    painter.restore();
}

void paintMapArrow(QPainter& painter, const MapArrow& arrow) {
    painter.save();
    const QColor colour = arrow.toMenu ? QColor(40, 80, 160) : QColor(110, 110, 110);
    painter.setPen(QPen(colour, 1.2));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(arrow.path);
    const QPointF tip = arrow.path.pointAtPercent(1);
    const qreal angle = arrow.path.angleAtPercent(1) * M_PI / 180;
    // Angles grow counter-clockwise with y up; the painter's y grows down.
    const QPointF back(-std::cos(angle), std::sin(angle));
    const QPointF side(-back.y(), back.x());
    QPolygonF head;
    head << tip << tip + back * 8 + side * 4 << tip + back * 8 - side * 4;
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPolygon(head);
    painter.restore();
}

void paintFlowMap(QPainter& painter, const FlowMap& map) {
    painter.setRenderHint(QPainter::Antialiasing);
    for (const MapArrow& arrow : map.arrows) paintMapArrow(painter, arrow);
    for (const MapElement& element : map.elements) paintMapElement(painter, element);
}

bool saveMapPng(const FlowMap& map, const QString& path, QSize size) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        const qreal scale = std::min(size.width() / map.size.width(), size.height() / map.size.height());
        painter.translate((size.width() - map.size.width() * scale) / 2,
                          (size.height() - map.size.height() * scale) / 2);
        painter.scale(scale, scale);
        paintFlowMap(painter, map);
    }
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    return image.save(&png, "PNG") && saveWholeFile(path.toStdString(), png.data()) == 0;
}

bool saveMapSvg(const FlowMap& map, const QString& path) {
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&bytes);
    svg.setSize(map.size.toSize());
    svg.setViewBox(QRectF(QPointF(0, 0), map.size));
    svg.setTitle(QStringLiteral("Mapa do atendimento"));
    QPainter painter;
    if (!painter.begin(&svg)) return false;
    paintFlowMap(painter, map);
    return painter.end() && saveWholeFile(path.toStdString(), bytes.data()) == 0;
}

}  // namespace quorvel
