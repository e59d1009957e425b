#include "app/TextPromptDialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <exception>

#include "app/QtText.h"
#include "operations/prompt/TelephoneLine.h"
#include "shell/MessageBoxes.h"
#include "shell/SoundPlayer.h"

namespace quorvel {

namespace {

QPushButton* makeButton(QWidget* parent, const QString& caption, const QString& name) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

TextPromptDialog::TextPromptDialog(const QString& target, MessageBoxes& boxes, SoundPlayer& sound,
                                   const QCheckBox* telephone, Installer install, QWidget* parent)
    : QDialog(parent), boxes_(boxes), sound_(sound), telephone_(telephone), install_(std::move(install)) {
    setObjectName(QStringLiteral("TextPromptDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Texto para %1").arg(target));
    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("edTexto"));
    auto* limit = new QLabel(QStringLiteral("Até %1 caracteres.").arg(MaxSpokenCharacters), this);
    auto* listen = makeButton(this, QStringLiteral("Ouvir"), QStringLiteral("btOuvir"));
    auto* record = makeButton(this, QStringLiteral("Gravar como voz do menu"), QStringLiteral("btGravarVoz"));
    auto* close = makeButton(this, QStringLiteral("Fechar"), QStringLiteral("btFechar"));
    connect(listen, &QPushButton::clicked, this, &TextPromptDialog::listen);
    connect(record, &QPushButton::clicked, this, &TextPromptDialog::record);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(listen);
    buttons->addWidget(record);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(limit);
    layout->addLayout(buttons);
}

TextPromptDialog::~TextPromptDialog() {
    // Its file goes with the dialog.
    if (heard_) sound_.stop();
}

std::shared_ptr<TSpokenWave> TextPromptDialog::speak() {
    TSpeechRequest request;
    request.Text = toStdString(text_->toPlainText());
    try {
        return std::make_shared<TSpokenWave>(SpeakText(request));
    } catch (const ESpeechRefused& refused) {
        boxes_.showMessage(this, toQString(refused.what()));
    } catch (const std::exception& failure) {
        boxes_.showError(this, toQString(failure.what()));
    }
    return nullptr;
}

void TextPromptDialog::listen() {
    std::shared_ptr<TSpokenWave> wave = speak();
    if (!wave) return;
    if (telephone_ != nullptr && telephone_->isChecked()) {
        try {
            auto line = std::make_shared<TSpokenWave>();
            MakeTelephoneCopy(wave->Path(), line->Path());
            wave = std::move(line);
        } catch (const std::exception&) {
            // Played as it is, like a prompt the line cannot carry.
        }
    }
    heard_ = wave;
    sound_.play(toQString(heard_->Path()));
}

void TextPromptDialog::record() {
    if (std::shared_ptr<TSpokenWave> wave = speak(); wave && install_(std::move(wave))) accept();
}

}  // namespace quorvel
