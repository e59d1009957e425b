// A restore into the card folder: what it changes is shown first, and the
// card's files are kept aside before the backup's replace them.
#include <QLocale>
#include <algorithm>
#include <cstring>
#include <ctime>
#include <filesystem>

#include "app/BackupPart.h"
#include "app/CardWriteMessages.h"
#include "app/QtText.h"
#include "config/Catalogue.h"
#include "operations/CardDiff.h"
#include "operations/history/CardHistory.h"
#include "shell/MessageBoxes.h"

namespace quorvel {

namespace {

// Beyond this many values the box would not fit the screen.
constexpr std::size_t kValuesListed = 30;

QString seconds(const PromptAudio& audio) {
    if (!audio.seconds) return QString::fromUtf8("duração desconhecida");
    return QLocale(QLocale::Portuguese, QLocale::Brazil).toString(*audio.seconds, 'f', 1) + QStringLiteral(" s");
}

// "prompts.5" is Menu 5's, "prompts.vinheta" the Vinheta's.
QString promptLabel(const PromptChange& change) {
    const std::size_t index = change.path == "prompts.vinheta" ? kMenuCount : std::stoul(change.path.substr(8));
    return toQString(promptCaptions()[index]) + QStringLiteral(" (") + toQString(change.file) + QStringLiteral(")");
}

QString valuesText(std::vector<ValueChange> values) {
    // In the order of the fields rather than of their paths: a menu option's
    // two targets and its F box stay together.
    std::stable_sort(values.begin(), values.end(), [](const ValueChange& a, const ValueChange& b) {
        return findConfigurationField(a.path) < findConfigurationField(b.path);
    });
    if (values.empty()) return QString::fromUtf8("Nenhum valor da configuração muda.\n");
    QString text = values.size() == 1 ? QString::fromUtf8("1 valor da configuração muda:\n")
                                      : QString::fromUtf8("%1 valores da configuração mudam:\n").arg(values.size());
    for (std::size_t i = 0; i < values.size() && i < kValuesListed; ++i) {
        text += toQString(describeChange(values[i])) + u'\n';
    }
    if (values.size() > kValuesListed) text += QString::fromUtf8("... e mais %1.\n").arg(values.size() - kValuesListed);
    return text;
}

// Restoring copies files over the card's and removes none, so only the
// prompts the backup holds can change.
QString promptsText(const std::vector<PromptChange>& prompts) {
    QString text;
    for (const PromptChange& change : prompts) {
        if (!change.to) continue;
        if (change.from) {
            text += QString::fromUtf8("%1: substituída (%2 → %3)\n")
                        .arg(promptLabel(change), seconds(*change.from), seconds(*change.to));
        } else {
            text += QString::fromUtf8("%1: acrescentada (%2)\n").arg(promptLabel(change), seconds(*change.to));
        }
    }
    if (text.isEmpty()) return QString::fromUtf8("Nenhuma voz é acrescentada ou substituída.\n");
    return QString::fromUtf8("Vozes:\n") + text;
}

}  // namespace

bool BackupPart::isCardFolder(const QString& folder) const {
    std::error_code error;
    return std::filesystem::equivalent(toStdString(folder), toStdString(programFolder_), error);
}

QString BackupPart::restorePreviewText(const QString& source) {
    QString text = QString::fromUtf8("Restaurar os arquivos de %1 no cartão?\n\n").arg(source);
    CardDifferences differences;
    if (const CardResult compared = diffCardFolders(programFolder_.toStdString(), source.toStdString(), differences);
        compared.ok()) {
        text += valuesText(differences.values);
        text += promptsText(differences.prompts);
    } else {
        text += QString::fromUtf8("A configuração não pôde ser comparada: ") + toQString(compared.message) + u'\n';
        text += promptsText(diffPrompts(programFolder_.toStdString(), source.toStdString()));
    }
    return text;
}

void BackupPart::restoreIntoCard(const QString& source, const QString& action) {
    if (isCardFolder(source)) {
        boxes_.showMessage(window_, QString::fromUtf8("A pasta de destino é a pasta de origem: escolha outra pasta."));
        return;
    }
    if (!boxes_.confirm(window_, restorePreviewText(source))) return;
    const CardSession::Hold hold = holdCard(*session_, boxes_, window_);
    if (!hold) return;

    std::string safety;
    CardResult result;
    Q_EMIT writingStarted();
    runCopy([&](const CardSession::CopyProgress& progress) {
        result = session_->restore(toStdString(source), toStdString(action), safety, progress);
    });
    showSessionNotices();
    if (!result.ok() && safety.empty()) {
        boxes_.showError(window_,
                         QString::fromUtf8("Não foi possível guardar a cópia de segurança do cartão em %1 (%2); "
                                           "nada foi restaurado.")
                             .arg(toQString(result.file), toQString(result.message)));
        return;
    }
    if (!result.ok()) {
        showWriteError(boxes_, window_, result);
        if (result.state == CardState::Unchanged) return;
    }
    // What the window shows is what the card now holds.
    Q_EMIT cardRestored();
    if (result.ok()) {
        boxes_.showMessage(window_,
                           QString::fromUtf8("Restauração concluída. Os arquivos que o cartão tinha antes estão em ") +
                               toQString(safety));
    }
}

}  // namespace quorvel
