#include "shell/OperationSeams.h"

#include <QApplication>

namespace quorvel {

DesktopOperations::DesktopOperations() : sound_([] { QApplication::beep(); }) {}

}  // namespace quorvel
