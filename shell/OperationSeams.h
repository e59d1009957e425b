// The platform services behind the window's card operations.
#pragma once

#include "shell/FolderBrowser.h"
#include "shell/ProgramLauncher.h"
#include "shell/QtFolderBrowser.h"
#include "shell/QtProgramLauncher.h"
#include "shell/QtSoundPlayer.h"
#include "shell/SoundPlayer.h"

namespace quorvel {

struct OperationSeams {
    FolderBrowser& folders;
    SoundPlayer& sound;
    ProgramLauncher& launcher;
};

// The desktop's own services, for the running program.
class DesktopOperations {
public:
    DesktopOperations();

    OperationSeams seams() { return {folders_, sound_, launcher_}; }

private:
    QtFolderBrowser folders_;
    QtSoundPlayer sound_;
    QtProgramLauncher launcher_;
};

}  // namespace quorvel
