// A4 pages filled from top to bottom: headings, paragraphs and tables whose
// cells wrap, a new page whenever the next block does not fit, and the page
// number at the foot of each.
#pragma once

#include <QFont>
#include <QList>
#include <QPainter>
#include <QPdfWriter>
#include <QString>
#include <QStringList>
#include <functional>

namespace quorvel {

class ReportPages {
public:
    // `painter` is active on `writer`.
    ReportPages(QPdfWriter& writer, QPainter& painter);

    void heading(const QString& text);
    void subheading(const QString& text);
    void paragraph(const QString& text, bool bold = false);
    // Column widths as parts of the page width, summing to 1.
    void table(const QList<qreal>& widths, const QStringList& headers, const QList<QStringList>& rows);
    // A block of `height` drawn by `draw` into its rectangle, on a new page when it does not fit.
    void block(qreal height, const std::function<void(QPainter&, const QRectF&)>& draw);
    void newPage();
    // Numbers the last page; call once at the end.
    void finish();

    qreal width() const { return width_; }
    // What is left of the current page, and of a fresh one.
    qreal remaining() const { return bottom() - y_; }
    qreal pageHeight() const { return bottom(); }

private:
    qreal bottom() const;
    void footer();
    qreal rowHeight(const QList<qreal>& widths, const QStringList& cells, const QFont& font) const;
    void drawRow(const QList<qreal>& widths, const QStringList& cells, qreal height, const QFont& font, bool shaded);

    QPdfWriter& writer_;
    QPainter& painter_;
    qreal width_;
    qreal height_;
    qreal y_ = 0;
    int page_ = 1;
};

QFont reportFont(qreal points, bool bold = false);

}  // namespace quorvel
