#include "shell/OpenFileDialog.h"

#include <QFileDialog>
#include <QStringList>

namespace quorvel {

QString qtNameFilters(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        // Recordings from other systems often carry upper-case names.
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'));
        for (const QString& pattern : QStringList(patterns))
            if (pattern.toUpper() != pattern) patterns << pattern.toUpper();
        filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns.join(QLatin1Char(' ')));
    }
    return filters.join(QStringLiteral(";;"));
}

QString QtOpenFileDialog::execute(QWidget* parent, const QString& filter) {
    QFileDialog dialog(parent);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(qtNameFilters(filter));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

}  // namespace quorvel
