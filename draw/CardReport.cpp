#include "draw/CardReport.h"

#include <QBuffer>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>

#include "config/Catalogue.h"
#include "config/FieldTable.h"
#include "config/MaskedText.h"
#include "draw/FlowMap.h"
#include "draw/ReportPages.h"
#include "draw/Utf8Text.h"
#include "draw/WholeFile.h"

namespace quorvel {
namespace {

constexpr qreal kPromptRowHeight = 34;

QString dash() { return QString::fromUtf8("—"); }

QLocale portuguese() { return QLocale(QLocale::Portuguese, QLocale::Brazil); }

class CardReport {
public:
    CardReport(const ReportContents& contents, ReportPages& pages) : contents_(contents), pages_(pages) {}

    void write() {
        cover();
        week();
        map();
        menus();
        holidays();
        restrictedExtensions();
        settings();
        prompts();
        findings();
        pages_.finish();
    }

private:
    const DeviceConfiguration& config() const { return contents_.config; }

    void cover() {
        pages_.heading(QString::fromUtf8("Relatório do cartão"));
        pages_.paragraph(QStringLiteral("Pasta do cartão: ") + fromUtf8(contents_.folder));
        pages_.paragraph(QStringLiteral("Data: ") +
                         portuguese().toString(contents_.madeAt, QStringLiteral("dd/MM/yyyy HH:mm")));
        pages_.paragraph(QString::fromUtf8("Verificação: ") + findingsSummary(contents_.model.findings.size()), true);
    }

    void week() {
        pages_.heading(QString::fromUtf8("Horários da semana"));
        QList<QStringList> rows;
        for (DayKind kind : kWeekOrder) {
            QStringList row{fromUtf8(dayKindCaption(kind))};
            for (const TimeSlot& slot : config().day(kind).slots) {
                const bool hasMenu = slot.menu >= 0 && slot.menu < kMenuCount;
                if (isMaskEmpty(slot.time) && !hasMenu) {
                    row << QString();
                    continue;
                }
                const QString time = isMaskEmpty(slot.time) ? QStringLiteral("--:--") : fromUtf8(slot.time).trimmed();
                row << time + QString::fromUtf8(" → ") +
                           (hasMenu ? QStringLiteral("Menu %1").arg(slot.menu) : QStringLiteral("(sem menu)"));
            }
            rows << row;
        }
        pages_.table({0.12, 0.22, 0.22, 0.22, 0.22},
                     {QStringLiteral("Dia"), QString::fromUtf8("Horário 1"), QString::fromUtf8("Horário 2"),
                      QString::fromUtf8("Horário 3"), QString::fromUtf8("Horário 4")},
                     rows);
    }

    // The map at the page's width, continued over as many pages as it needs.
    void map() {
        pages_.newPage();
        pages_.heading(QStringLiteral("Mapa do atendimento"));
        const FlowMap flowMap = layoutFlowMap(contents_.model);
        const qreal scale = std::min<qreal>(1, pages_.width() / flowMap.size.width());
        qreal shown = 0;
        while (shown < flowMap.size.height()) {
            // Each band gets at least a fifth of a page.
            if (pages_.remaining() < pages_.pageHeight() / 5) pages_.newPage();
            const qreal room = pages_.remaining() - 8;
            const qreal band = std::min(room / scale, flowMap.size.height() - shown);
            const QRectF visible(0, shown, flowMap.size.width(), band);
            pages_.block(band * scale, [&](QPainter& painter, const QRectF& area) {
                painter.setClipRect(area);
                painter.translate(area.topLeft());
                painter.scale(scale, scale);
                painter.translate(0, -shown);
                painter.setRenderHint(QPainter::Antialiasing);
                for (const MapArrow& arrow : flowMap.arrows) {
                    if (arrow.path.boundingRect().intersects(visible)) paintMapArrow(painter, arrow);
                }
                for (const MapElement& element : flowMap.elements) {
                    if (element.rect.intersects(visible)) paintMapElement(painter, element);
                }
            });
            shown += band;
        }
    }

    void menus() {
        pages_.heading(QStringLiteral("Menus"));
        bool any = false;
        for (const FlowMenu& menu : contents_.model.menus) {
            if (!menu.defined) continue;
            any = true;
            QString title = QStringLiteral("Menu %1").arg(menu.menu);
            if (!menu.reachable) title += QString::fromUtf8(" (nenhum horário nem menu leva a ele)");
            pages_.subheading(title);
            QList<QStringList> rows;
            for (int digit = 0; digit < kOptionCount; ++digit) {
                const MenuOption& option = config().menus[menu.menu][digit];
                if (option.target1.empty() && option.target2.empty() && !option.flagF) continue;
                rows << QStringList{digit == 0 ? QString::fromUtf8("Não Dig") : QString::number(digit),
                                    fromUtf8(option.target1), fromUtf8(option.target2),
                                    option.flagF ? QStringLiteral("F") : QString()};
            }
            pages_.table({0.2, 0.35, 0.35, 0.1},
                         {QString::fromUtf8("Opção"), QStringLiteral("Ramal/Grupo"), QStringLiteral("Ramal/Grupo"),
                          QStringLiteral("F")},
                         rows);
        }
        if (!any) pages_.paragraph(QStringLiteral("Nenhum menu tem opções."));
    }

    void holidays() {
        pages_.heading(QStringLiteral("Feriados"));
        QList<QStringList> rows;
        for (int i = 0; i < kHolidayCount; ++i) {
            if (!isMaskEmpty(config().holidays[i]))
                rows << QStringList{QString::number(i + 1), fromUtf8(config().holidays[i])};
        }
        if (rows.isEmpty()) {
            pages_.paragraph(QStringLiteral("Nenhum feriado cadastrado."));
            return;
        }
        pages_.table({0.3, 0.7}, {QStringLiteral("Feriado"), QString::fromUtf8("Dia/Mês")}, rows);
    }

    void restrictedExtensions() {
        pages_.heading(QStringLiteral("Ramais restritos"));
        QList<QStringList> rows;
        for (int i = 0; i < kRestrictedExtensionCount; ++i) {
            if (!config().restrictedExtensions[i].empty()) {
                rows << QStringList{QString::number(i + 1), fromUtf8(config().restrictedExtensions[i])};
            }
        }
        if (rows.isEmpty()) {
            pages_.paragraph(QStringLiteral("Nenhum ramal restrito."));
            return;
        }
        pages_.table({0.3, 0.7}, {QStringLiteral("Ramal"), QString::fromUtf8("Número")}, rows);
    }

    void settings() {
        pages_.heading(QString::fromUtf8("Configurações"));
        QList<QStringList> rows;
        for (std::string_view group : {"settings.", "accessCodes."}) {
            for (const ConfigurationField& field : configurationFields()) {
                if (!field.path().starts_with(group)) continue;
                const ConfigurationValue value = field.get(config());
                // Not even the password's length is printed.
                const bool hidden = field.rule() == EntryRule::Password && !field.shownText(value).empty();
                rows << QStringList{fromUtf8(field.caption()),
                                    hidden ? QStringLiteral("***") : fromUtf8(field.describe(value))};
            }
        }
        pages_.table({0.5, 0.5}, {QStringLiteral("Campo"), QStringLiteral("Valor")}, rows);
    }

    void prompts() {
        pages_.heading(QStringLiteral("Arquivos de voz"));
        const QList<qreal> widths{0.13, 0.17, 0.1, 0.12, 0.13, 0.35};
        pages_.table(widths,
                     {QStringLiteral("Arquivo"), QStringLiteral("Estado"), QString::fromUtf8("Duração"),
                      QStringLiteral("Taxa"), QStringLiteral("Nível de fala"), QStringLiteral("Forma de onda")},
                     {});
        for (const PromptSurvey& prompt : contents_.prompts) {
            pages_.block(kPromptRowHeight,
                         [&](QPainter& painter, const QRectF& area) { promptRow(painter, area, widths, prompt); });
        }
    }

    static QString stateText(const PromptSurvey& prompt) {
        switch (prompt.state) {
            case PromptSurveyState::Ok:
                return QStringLiteral("OK");
            case PromptSurveyState::Absent:
                return QStringLiteral("ausente");
            case PromptSurveyState::Unplayable:
                break;
        }
        return prompt.problem.empty() ? QStringLiteral("inválido") : fromUtf8(prompt.problem);
    }

    static void promptRow(QPainter& painter, const QRectF& area, const QList<qreal>& widths,
                          const PromptSurvey& prompt) {
        const QLocale locale = portuguese();
        const QStringList cells{
            fromUtf8(prompt.promptName) + u'\n' + fromUtf8(promptCaptions()[prompt.promptIndex]), stateText(prompt),
            prompt.seconds ? locale.toString(*prompt.seconds, 'f', 1) + QStringLiteral(" s") : dash(),
            prompt.sampleRate ? QString::number(*prompt.sampleRate) + QStringLiteral(" Hz") : dash(),
            prompt.speechLevelDbm0 ? locale.toString(*prompt.speechLevelDbm0, 'f', 1) + QStringLiteral(" dBm0")
                                   : dash()};
        painter.setFont(reportFont(9));
        qreal x = area.left();
        for (qsizetype i = 0; i < widths.size(); ++i) {
            const QRectF cell(x, area.top(), widths[i] * area.width(), area.height());
            painter.setPen(QColor(160, 160, 160));
            painter.drawRect(cell);
            painter.setPen(Qt::black);
            if (i < cells.size()) {
                painter.drawText(cell.adjusted(3, 3, -3, -3), Qt::TextWordWrap, cells[i]);
            } else {
                waveform(painter, cell.adjusted(3, 3, -3, -3), prompt);
            }
            x += cell.width();
        }
    }

    static void waveform(QPainter& painter, const QRectF& area, const PromptSurvey& prompt) {
        if (prompt.waveform.empty()) return;
        const qreal middle = area.center().y();
        const qreal half = area.height() / 2;
        const qreal step = area.width() / static_cast<qreal>(prompt.waveform.size());
        painter.setPen(QPen(QColor(40, 80, 160), 0));
        for (std::size_t i = 0; i < prompt.waveform.size(); ++i) {
            const auto [low, high] = prompt.waveform[i];
            const qreal x = area.left() + (static_cast<qreal>(i) + 0.5) * step;
            painter.drawLine(QPointF(x, middle - high / 32768.0 * half), QPointF(x, middle - low / 32768.0 * half));
        }
    }

    void findings() {
        pages_.heading(QStringLiteral("Avisos da verificação"));
        if (contents_.model.findings.empty()) {
            pages_.paragraph(findingsSummary(0));
            return;
        }
        QList<QStringList> rows;
        for (const Finding& finding : contents_.model.findings) {
            rows << QStringList{fromUtf8(finding.path), fromUtf8(finding.message)};
        }
        pages_.table({0.3, 0.7}, {QStringLiteral("Campo"), QStringLiteral("Aviso")}, rows);
    }

    const ReportContents& contents_;
    ReportPages& pages_;
};

}  // namespace

QString findingsSummary(std::size_t findingCount) {
    if (findingCount == 0) return QStringLiteral("Nenhum problema encontrado");
    if (findingCount == 1) return QStringLiteral("1 aviso");
    return QStringLiteral("%1 avisos").arg(findingCount);
}

ReportContents cardReportContents(const DeviceConfiguration& config, const std::string& folder, QDateTime madeAt) {
    ReportContents contents{folder, std::move(madeAt), config, buildCallFlowModel(config, folder), {}};
    for (int prompt = 0; prompt < PromptCount; ++prompt) contents.prompts.push_back(surveyPrompt(folder, prompt));
    return contents;
}

namespace {

// A whole PDF ends with its end-of-file marker and a line end or two.
bool endsComplete(const QByteArray& pdf) {
    QByteArray end = pdf.right(16);
    while (end.endsWith('\n') || end.endsWith('\r')) end.chop(1);
    return end.endsWith("%%EOF");
}

bool drawCardReport(const ReportContents& contents, QPdfWriter& writer) {
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    writer.setResolution(72);
    writer.setTitle(QString::fromUtf8("Relatório do cartão"));
    writer.setCreator(QStringLiteral("Ajustor Quorvel"));
    QPainter painter;
    if (!painter.begin(&writer)) return false;
    ReportPages pages(writer, painter);
    CardReport(contents, pages).write();
    return painter.end();
}

}  // namespace

int writeCardReport(const ReportContents& contents, const std::string& path) {
    const QByteArray pdf = cardReportPdf(contents);
    if (!endsComplete(pdf)) return kReportNotDrawn;
    return saveWholeFile(path, pdf);
}

QByteArray cardReportPdf(const ReportContents& contents) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        // The writer ends the document when it is destroyed.
        QPdfWriter writer(&buffer);
        if (!drawCardReport(contents, writer)) return {};
    }
    return buffer.data();
}

}  // namespace quorvel
