// Program entry: one instance per user; the card folder is the folder the
// program file lives in.
#include <QApplication>
#include <QDir>

#include "app/MainFormQuorvel.h"
#include "shell/ApplicationTitle.h"
#include "shell/QtMessageBoxes.h"
#include "shell/SingleInstance.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(quorvel::applicationTitle());
    quorvel::SingleInstance instance(quorvel::singleInstanceKey());
    if (instance.forwardToRunning()) return 0;
    instance.claim();

    quorvel::QtMessageBoxes boxes;
    const QString programFolder = QDir(QCoreApplication::applicationDirPath()).absolutePath() + QDir::separator();
    quorvel::TMainFormQuorvel window(programFolder, boxes);
    QObject::connect(&instance, &quorvel::SingleInstance::activationRequested, &window, [&window] {
        if (!window.isVisible()) window.show();
        window.raise();
        window.activateWindow();
    });
    window.show();
    return QApplication::exec();
}
