#include "app/PipelineEvents.h"

#include <QCoreApplication>
#include <QMetaObject>

#include "audio/pipeline/WindowDispatcher.h"

namespace quorvel {

void drainPipelineEventsInQtLoop() {
    // The hook runs on the posting thread: it only queues the drain.
    WindowDispatcher().SetWakeHook([] {
        if (QCoreApplication* application = QCoreApplication::instance())
            QMetaObject::invokeMethod(
                application, [] { WindowDispatcher().Drain(); }, Qt::QueuedConnection);
    });
}

}  // namespace quorvel
