// Program entry: one instance per user; the card folder is the folder the
// program file lives in, or for an installed copy the one given, the card
// inserted or the one picked.
#include <QApplication>

#include <csignal>

#include "app/CardFolderAtStart.h"
#include "app/CardWindows.h"
#include "app/MainFormQuorvel.h"
#include "app/QtTranslations.h"
#include "operations/history/HistoryRecorder.h"
#include "shell/ApplicationTitle.h"
#include "shell/QtCardFolderChooser.h"
#include "shell/QtMessageBoxes.h"
#include "shell/RemovableCards.h"
#include "shell/SingleInstance.h"

int main(int argc, char* argv[]) {
    // Past a file-size limit a write then fails with EFBIG, reported like a
    // full disk, instead of the signal killing the program midway.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication application(argc, argv);
    QApplication::setApplicationName(quorvel::applicationTitle());
    quorvel::installQtTranslations(application);
    quorvel::SingleInstance instance(quorvel::singleInstanceKey());
    if (instance.forwardToRunning()) return 0;
    instance.claim();

    // Every write is kept in the card's history.
    quorvel::CardSession::setRecorderFactory(quorvel::makeHistoryRecorder);
    quorvel::QtMessageBoxes boxes;
    quorvel::QtCardFolderChooser chooser;
    const quorvel::ProgramPlace place{QCoreApplication::applicationDirPath(), QStringLiteral(QUORVEL_INSTALLED_BINDIR)};
    const quorvel::RemovableCards cards;
    const auto start = quorvel::cardFolderAtStart(place, QCoreApplication::arguments().mid(1), chooser, boxes, &cards);
    if (!start.folder) return start.exitCode;
    quorvel::CardWindows windows(boxes);
    windows.open(*start.folder);
    QObject::connect(&instance, &quorvel::SingleInstance::activationRequested, &windows, [&windows] {
        quorvel::TMainFormQuorvel* window = windows.window();
        if (!window->isVisible()) window->show();
        window->raise();
        window->activateWindow();
    });
    return QApplication::exec();
}
