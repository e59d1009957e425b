#include "shell/QtProgramLauncher.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace quorvel {

void QtProgramLauncher::launch(const QString& path) {
    const QFileInfo program(path);
    if (!program.exists()) return;
    if (program.isFile() && program.isExecutable()) {
        QProcess::startDetached(program.absoluteFilePath(), {});
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(program.absoluteFilePath()));
}

}  // namespace quorvel
