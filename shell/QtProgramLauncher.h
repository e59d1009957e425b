// Program launch through the desktop.
#pragma once

#include "shell/ProgramLauncher.h"

namespace quorvel {

class QtProgramLauncher final : public ProgramLauncher {
public:
    void launch(const QString& path) override;
};

}  // namespace quorvel
