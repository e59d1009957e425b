// Page 2: conversion of a recording into a menu's prompt file.
#pragma once

#include "app/PromptOverview.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

namespace quorvel {

class WaveformView;

struct ConvertPage {
    QComboBox* promptList = nullptr;   // cbNomeArquivo
    QCheckBox* speechLevel = nullptr;  // cbNivelVoz: level the speech, not the peak
    QCheckBox* trim = nullptr;         // cut silence before and after the speech
    QPushButton* select = nullptr;     // btSelecione
    QPushButton* text = nullptr;       // btTexto: "Texto...", a typed text spoken
    QLabel* log = nullptr;             // lbLog
    QProgressBar* progress = nullptr;  // ProgressBar1
    QLabel* summary = nullptr;         // lbResumo: the installed prompt's figures
    WaveformView* waveform = nullptr;  // imgOnda
    PromptOverview overview;           // every prompt of the card, below the conversion
};

ConvertPage buildConvertPage(QWidget* page);

}  // namespace quorvel
