#include "app/ConvertPage.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Controls.h"
#include "app/WaveformView.h"
#include "config/Catalogue.h"

namespace quorvel {

ConvertPage buildConvertPage(QWidget* page) {
    ConvertPage built;
    auto* group = new QGroupBox(QString::fromUtf8("Convertendo arquivo de áudio"), page);
    group->setObjectName(QStringLiteral("GroupBox9"));

    built.promptList = makeDropDownList(group, QStringLiteral("cbNomeArquivo"), promptCaptions());
    auto* select = new QPushButton(QStringLiteral("Selecione..."), group);
    select->setObjectName(QStringLiteral("btSelecione"));
    built.select = select;
    built.text = new QPushButton(QStringLiteral("Texto..."), group);
    built.text->setObjectName(QStringLiteral("btTexto"));
    // Not part of the configuration: it changes nothing that is saved.
    built.speechLevel = new QCheckBox(QString::fromUtf8("Igualar volume da fala"), group);
    built.speechLevel->setObjectName(QStringLiteral("cbNivelVoz"));
    built.trim = new QCheckBox(QString::fromUtf8("Remover silêncio do início e do fim"), group);
    built.trim->setObjectName(QStringLiteral("cbRemoverSilencio"));

    auto* panel = new QFrame(group);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::StyledPanel);
    auto* log = new QLabel(panel);
    log->setObjectName(QStringLiteral("lbLog"));
    auto* progress = new QProgressBar(panel);
    progress->setObjectName(QStringLiteral("ProgressBar1"));
    progress->setRange(0, 100);
    progress->setValue(0);
    built.log = log;
    built.progress = progress;
    built.summary = new QLabel(panel);
    built.summary->setObjectName(QStringLiteral("lbResumo"));
    built.waveform = new WaveformView(panel);
    built.waveform->setObjectName(QStringLiteral("imgOnda"));
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->addWidget(log);
    panelLayout->addWidget(progress);
    panelLayout->addWidget(built.summary);
    panelLayout->addWidget(built.waveform);

    auto* choice = new QHBoxLayout;
    choice->addWidget(makeLabel(group, QStringLiteral("Nome do Menu")));
    choice->addWidget(built.promptList);
    choice->addWidget(select);
    choice->addWidget(built.text);
    choice->addStretch(1);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addLayout(choice);
    auto* options = new QHBoxLayout;
    options->addWidget(built.speechLevel);
    options->addWidget(built.trim);
    options->addStretch(1);
    groupLayout->addLayout(options);
    groupLayout->addWidget(panel);

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(group);
    auto* overview = new QGroupBox(QString::fromUtf8("Arquivos de voz do cartão"), page);
    overview->setObjectName(QStringLiteral("GroupBoxVisao"));
    built.overview = buildPromptOverview(overview);
    layout->addWidget(overview);
    layout->addStretch(1);
    return built;
}

}  // namespace quorvel
