// A small picture of a prompt: the smallest and largest sample of each
// column, so a silent, clipped or cut-off prompt shows at a glance.
#pragma once

#include <QWidget>
#include <cstdint>
#include <utility>
#include <vector>

namespace quorvel {

class WaveformView : public QWidget {
    Q_OBJECT

public:
    using Columns = std::vector<std::pair<std::int16_t, std::int16_t>>;

    explicit WaveformView(QWidget* parent = nullptr);

    void setColumns(Columns columns);
    const Columns& columns() const { return columns_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Columns columns_;
};

}  // namespace quorvel
