// The desktop's folder chooser, as TFolderDialog asks for it. Tests replace
// it, so that choosing a folder never blocks.
#pragma once

#include <QPoint>
#include <QString>
#include <optional>

class QWidget;

namespace quorvel {

enum TDialogPosition { fdpDefault = 0, fdpScreenCenter = 1, fdpXY = 2 };

struct FolderBrowseRequest {
    QString caption;     // the chooser's window title when not empty
    QString title;       // the instruction shown above the folders
    QString directory;   // an existing folder the chooser opens on
    unsigned flags = 0;  // browser flag word of the dialog's options
    TDialogPosition position = fdpDefault;
    QPoint xy;  // where fdpXY places the chooser, never negative
};

struct FolderChoice {
    QString path;  // absolute when the choice is a file-system folder
    int imageIndex = 0;
};

class FolderBrowser {
public:
    virtual ~FolderBrowser() = default;

    // Shows the chooser modally over `owner`; nothing when the user cancelled.
    virtual std::optional<FolderChoice> browse(QWidget* owner, const FolderBrowseRequest& request) = 0;
};

}  // namespace quorvel
