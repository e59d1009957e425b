// The folder chooser of Qt, shown for TFolderDialog.
#pragma once

#include "shell/FolderBrowser.h"

namespace quorvel {

class QtFolderBrowser final : public FolderBrowser {
public:
    std::optional<FolderChoice> browse(QWidget* owner, const FolderBrowseRequest& request) override;
};

}  // namespace quorvel
