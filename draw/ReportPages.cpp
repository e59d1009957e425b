#include "draw/ReportPages.h"

#include <algorithm>

namespace quorvel {
namespace {

constexpr qreal kFooterHeight = 18;
constexpr qreal kCellPadding = 3;

}  // namespace

QFont reportFont(qreal points, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(points);
    font.setBold(bold);
    // Without ligatures, text copied or searched in the PDF reads "fi", not one glyph.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

ReportPages::ReportPages(QPdfWriter& writer, QPainter& painter)
    : writer_(writer), painter_(painter), width_(writer.width()), height_(writer.height()) {}

qreal ReportPages::bottom() const { return height_ - kFooterHeight; }

void ReportPages::footer() {
    painter_.setFont(reportFont(8));
    painter_.setPen(Qt::darkGray);
    painter_.drawText(QRectF(0, height_ - kFooterHeight + 4, width_, kFooterHeight - 4), Qt::AlignRight,
                      QString::fromUtf8("Página %1").arg(page_));
    painter_.setPen(Qt::black);
}

void ReportPages::newPage() {
    footer();
    writer_.newPage();
    ++page_;
    y_ = 0;
}

void ReportPages::finish() { footer(); }

void ReportPages::heading(const QString& text) {
    // A heading never ends a page alone.
    if (remaining() < 80) newPage();
    if (y_ > 0) y_ += 10;
    painter_.setFont(reportFont(14, true));
    const QRectF area(0, y_, width_, 24);
    painter_.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, text);
    painter_.drawLine(QPointF(0, area.bottom()), QPointF(width_, area.bottom()));
    y_ = area.bottom() + 8;
}

void ReportPages::subheading(const QString& text) {
    if (remaining() < 60) newPage();
    painter_.setFont(reportFont(11, true));
    painter_.drawText(QRectF(0, y_, width_, 18), Qt::AlignLeft | Qt::AlignVCenter, text);
    y_ += 22;
}

void ReportPages::paragraph(const QString& text, bool bold) {
    const QFont font = reportFont(10, bold);
    painter_.setFont(font);
    const QRectF bounds = painter_.boundingRect(QRectF(0, 0, width_, 10000), Qt::TextWordWrap, text);
    if (bounds.height() > remaining()) newPage();
    painter_.setFont(font);
    painter_.drawText(QRectF(0, y_, width_, bounds.height()), Qt::TextWordWrap, text);
    y_ += bounds.height() + 4;
}

qreal ReportPages::rowHeight(const QList<qreal>& widths, const QStringList& cells, const QFont& font) const {
    painter_.setFont(font);
    qreal height = 0;
    for (qsizetype i = 0; i < cells.size() && i < widths.size(); ++i) {
        const QRectF room(0, 0, widths[i] * width_ - 2 * kCellPadding, 10000);
        height = std::max(height, painter_.boundingRect(room, Qt::TextWordWrap, cells[i]).height());
    }
    return height + 2 * kCellPadding;
}

void ReportPages::drawRow(const QList<qreal>& widths, const QStringList& cells, qreal height, const QFont& font,
                          bool shaded) {
    painter_.setFont(font);
    qreal x = 0;
    for (qsizetype i = 0; i < widths.size(); ++i) {
        const QRectF cell(x, y_, widths[i] * width_, height);
        if (shaded) painter_.fillRect(cell, QColor(225, 225, 225));
        painter_.setPen(QColor(160, 160, 160));
        painter_.drawRect(cell);
        painter_.setPen(Qt::black);
        if (i < cells.size()) {
            painter_.drawText(cell.adjusted(kCellPadding, kCellPadding, -kCellPadding, -kCellPadding), Qt::TextWordWrap,
                              cells[i]);
        }
        x += cell.width();
    }
    y_ += height;
}

void ReportPages::table(const QList<qreal>& widths, const QStringList& headers, const QList<QStringList>& rows) {
    const QFont headFont = reportFont(9, true);
    const QFont bodyFont = reportFont(9);
    const qreal headHeight = rowHeight(widths, headers, headFont);
    if (remaining() < headHeight * 2) newPage();
    drawRow(widths, headers, headHeight, headFont, true);
    for (const QStringList& row : rows) {
        const qreal height = rowHeight(widths, row, bodyFont);
        if (height > remaining()) {
            newPage();
            drawRow(widths, headers, headHeight, headFont, true);
        }
        drawRow(widths, row, height, bodyFont, false);
    }
    y_ += 8;
}

void ReportPages::block(qreal height, const std::function<void(QPainter&, const QRectF&)>& draw) {
    if (height > remaining()) newPage();
    painter_.save();
    draw(painter_, QRectF(0, y_, width_, height));
    painter_.restore();
    y_ += height + 8;
}

}  // namespace quorvel
