#include "app/CommandStrip.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "app/ClickableLabel.h"

namespace quorvel {

namespace {

QPushButton* makeButton(QWidget* window, QBoxLayout* into, const QString& name, const QString& caption) {
    auto* button = new QPushButton(caption, window);
    button->setObjectName(name);
    into->addWidget(button);
    return button;
}

}  // namespace

CommandStrip buildCommandStrip(QWidget* window, QBoxLayout* into) {
    CommandStrip strip;
    strip.restoreBackup = makeButton(window, into, QStringLiteral("btRestBackUp"), QStringLiteral("Restaura Backup"));
    strip.backup = makeButton(window, into, QStringLiteral("btBackup"), QStringLiteral("Copia de Backup"));
    strip.remoteSupport = makeButton(window, into, QStringLiteral("Button1"), QStringLiteral("Suporte Remoto"));
    strip.update = makeButton(window, into, QStringLiteral("btAtualiza"), QStringLiteral("Atualiza"));
    strip.clear = makeButton(window, into, QStringLiteral("btClear"), QStringLiteral("Limpar"));
    strip.save = makeButton(window, into, QStringLiteral("btGrava"), QStringLiteral("Gravar"));
    strip.save->setCursor(Qt::PointingHandCursor);
    strip.save->setIcon(window->style()->standardIcon(QStyle::SP_DialogSaveButton));
    strip.notice = new QLabel(window);
    strip.notice->setObjectName(QStringLiteral("lbAviso"));
    strip.notice->setTextFormat(Qt::PlainText);
    into->addWidget(strip.notice);
    into->addStretch(1);
    strip.history = makeButton(window, into, QStringLiteral("btHistorico"), QString::fromUtf8("Histórico..."));
    strip.report = makeButton(window, into, QStringLiteral("btRelatorio"), QString::fromUtf8("Relatório"));
    strip.map = makeButton(window, into, QStringLiteral("btMapa"), QStringLiteral("Mapa"));
    strip.verification = new ClickableLabel(window);
    strip.verification->setObjectName(QStringLiteral("lbVerifica"));
    strip.verification->setCursor(Qt::PointingHandCursor);
    into->addWidget(strip.verification);
    return strip;
}

}  // namespace quorvel
