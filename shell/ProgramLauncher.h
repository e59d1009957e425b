// Starting an outside program, without waiting for it.
#pragma once

#include <QString>

namespace quorvel {

class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;

    // Starts `path` with the desktop's default action: runs it when it is
    // executable, otherwise hands it to the desktop's opener. A missing file
    // does nothing and reports nothing.
    virtual void launch(const QString& path) = 0;
};

}  // namespace quorvel
