// A restore into the card folder: what it changes is shown first, and the
// card's files are kept aside before the backup's replace them.
#include <QLocale>
#include <algorithm>
#include <cstring>
#include <ctime>
#include <filesystem>

#include "app/MainFormQuorvel.h"
#include "app/QtText.h"
#include "config/CardError.h"
#include "config/Catalogue.h"
#include "operations/CardDiff.h"
#include "operations/FolderCopy.h"
#include "operations/SafetyCopies.h"
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

// Copies every plain file of the card into `folder`; the names of those not
// copied, empty when all were.
std::vector<CopyFailure> keepSafetyCopy(const std::string& card, const std::string& folder, FileSystem& fileSystem) {
    FolderCopy copy(card, folder, ReadOnlyTarget::Replace, fileSystem);
    if (const int error = copy.list()) return {{card, std::strerror(error)}};
    for (std::size_t i = 0; i < copy.names().size(); ++i) copy.copy(i);
    copy.finish();
    return copy.failures();
}

}  // namespace

bool TMainFormQuorvel::isCardFolder(const QString& folder) const {
    std::error_code error;
    return std::filesystem::equivalent(toStdString(folder), toStdString(programFolder_), error);
}

QString TMainFormQuorvel::restorePreviewText(const QString& source) {
    QString text = QString::fromUtf8("Restaurar os arquivos de %1 no cartão?\n\n").arg(source);
    try {
        const CardDifferences differences = diffCardFolders(programFolder_.toStdString(), source.toStdString());
        text += valuesText(differences.values);
        text += promptsText(differences.prompts);
    } catch (const CardError& error) {
        text += QString::fromUtf8("A configuração não pôde ser comparada: ") + toQString(error.what()) + u'\n';
        text += promptsText(diffPrompts(programFolder_.toStdString(), source.toStdString()));
    }
    return text;
}

void TMainFormQuorvel::restoreIntoCard(const QString& source) {
    if (isCardFolder(source)) {
        copyFolder(source, programFolder_, ReadOnlyTarget::Refuse);  // says why nothing is copied
        return;
    }
    if (!boxes_.confirm(this, restorePreviewText(source))) return;

    const std::string parent = safetyCopiesFolder();
    std::string error;
    const std::string safety = createSafetyCopyFolder(parent, std::time(nullptr), error);
    const std::vector<CopyFailure> failures = safety.empty()
                                                  ? std::vector<CopyFailure>{{parent, error}}
                                                  : keepSafetyCopy(card_.folder(), safety, card_.fileSystem());
    if (!failures.empty()) {
        boxes_.showError(this,
                         QString::fromUtf8("Não foi possível guardar a cópia de segurança do cartão em %1 (%2); "
                                           "nada foi restaurado.")
                             .arg(toQString(safety.empty() ? parent : safety), toQString(failures.front().reason)));
        return;
    }
    pruneSafetyCopies(parent);

    if (!copyFolder(source, programFolder_, ReadOnlyTarget::Refuse)) return;
    // What the window shows is what the card now holds; a "Gravar" that
    // followed would otherwise write the old values back.
    try {
        loadConfigurationIntoFields();
    } catch (const CardError& cardError) {
        showCardError(cardError);
    }
    dataChanged_ = false;
    boxes_.showMessage(
        this,
        QString::fromUtf8("Restauração concluída. Os arquivos que o cartão tinha antes estão em ") + toQString(safety));
}

}  // namespace quorvel
