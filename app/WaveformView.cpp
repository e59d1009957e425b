#include "app/WaveformView.h"

#include <QPainter>

namespace quorvel {

WaveformView::WaveformView(QWidget* parent) : QWidget(parent) {
    setMinimumHeight(60);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void WaveformView::setColumns(Columns columns) {
    columns_ = std::move(columns);
    update();
}

void WaveformView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    if (columns_.empty()) return;
    const double middle = height() / 2.0;
    const double scale = middle / 32768.0;
    painter.setPen(palette().text().color());
    const int pixels = width();
    for (int x = 0; x < pixels; ++x) {
        const auto& [low, high] =
            columns_[static_cast<std::size_t>(x) * columns_.size() / static_cast<std::size_t>(pixels)];
        painter.drawLine(QPointF(x, middle - high * scale), QPointF(x, middle - low * scale));
    }
}

}  // namespace quorvel
