// Page 2's overview: one row per prompt with its state and figures, filled
// in as each prompt is measured.
#pragma once

#include <array>

#include "config/PromptFile.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QToolButton;
class QWidget;

namespace quorvel {

class WaveformView;
struct PromptSurvey;

struct PromptOverviewRow {
    QLabel* file = nullptr;
    QLabel* state = nullptr;
    QLabel* seconds = nullptr;
    QLabel* rate = nullptr;
    QLabel* peak = nullptr;
    QLabel* level = nullptr;
    WaveformView* waveform = nullptr;
    QToolButton* play = nullptr;
    QToolButton* stop = nullptr;
    QPushButton* replace = nullptr;  // "Substituir..."
};

struct PromptOverview {
    std::array<PromptOverviewRow, PromptCount> rows;
    QPushButton* levelAll = nullptr;  // "Igualar volume de todos"
    QCheckBox* telephone = nullptr;   // "Ouvir como no telefone": playback through a telephone line
};

// Builds the overview into `parent`, which gets its layout.
PromptOverview buildPromptOverview(QWidget* parent);

// Shows a row as not yet measured.
void showMeasuring(PromptOverviewRow& row);
void showSurvey(PromptOverviewRow& row, const PromptSurvey& survey);

}  // namespace quorvel
