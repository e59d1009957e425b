#include "app/ProgressPanel.h"

#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace quorvel {

namespace {
constexpr int kWidth = 425;
constexpr int kHeight = 90;
}  // namespace

ProgressPanel buildProgressPanel(QWidget* window) {
    auto* panel = new QFrame(window);
    panel->setObjectName(QStringLiteral("Painel"));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setAutoFillBackground(true);
    panel->resize(kWidth, kHeight);
    auto* file = new QLabel(QStringLiteral("Arquivo"), panel);
    file->setObjectName(QStringLiteral("lbArquivo"));
    auto* bar = new QProgressBar(panel);
    bar->setObjectName(QStringLiteral("Pbar"));
    auto* count = new QLabel(panel);
    count->setObjectName(QStringLiteral("lbContabil"));
    auto* layout = new QVBoxLayout(panel);
    layout->addWidget(file);
    layout->addWidget(bar);
    layout->addWidget(count);
    panel->hide();
    return {panel, file, bar, count};
}

}  // namespace quorvel
