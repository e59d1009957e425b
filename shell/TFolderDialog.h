// The folder picker component: the window sets its Title, calls Execute and
// reads Directory.
#pragma once

#include <QObject>
#include <QString>

#include "shell/FolderBrowser.h"

class QWidget;

namespace quorvel {

class TFolderDialog : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(QString Title READ Title WRITE setTitle)
    Q_PROPERTY(QString Directory READ Directory WRITE setDirectory)
    Q_PROPERTY(int ImageIndex READ ImageIndex)
    Q_PROPERTY(TFolderOptions Options READ Options WRITE setOptions)
    Q_PROPERTY(quorvel::TDialogPosition DialogPosition READ DialogPosition WRITE setDialogPosition)
    Q_PROPERTY(int DialogX READ DialogX WRITE setDialogX)
    Q_PROPERTY(int DialogY READ DialogY WRITE setDialogY)
    Q_PROPERTY(QString Version READ Version WRITE setVersion)

public:
    enum TOption {
        fdoBrowseForComputer = 0x01,
        fdoBrowseForPrinter = 0x02,
        fdoDontgoBelowDomain = 0x04,
        fdoReturnFSAncestors = 0x08,
        fdoReturnOnlyFSDirs = 0x10,
        fdoStatusText = 0x20,
        fdoNewDialogStyle = 0x40,
        fdoNoNewFolderButton = 0x80,
    };
    Q_DECLARE_FLAGS(TFolderOptions, TOption)
    Q_FLAG(TFolderOptions)

    // `owner` is the window the chooser is shown over.
    TFolderDialog(FolderBrowser& browser, QWidget* owner);

    const QString& Caption() const { return caption_; }
    void setCaption(const QString& caption) { caption_ = caption; }
    const QString& Title() const { return title_; }
    void setTitle(const QString& title) { title_ = title; }
    const QString& Directory() const { return directory_; }
    void setDirectory(const QString& directory) { directory_ = directory; }
    int ImageIndex() const { return imageIndex_; }
    TFolderOptions Options() const { return options_; }
    void setOptions(TFolderOptions options) { options_ = options; }
    TDialogPosition DialogPosition() const { return position_; }
    void setDialogPosition(TDialogPosition position) { position_ = position; }
    int DialogX() const { return x_; }
    void setDialogX(int x) { x_ = x; }
    int DialogY() const { return y_; }
    void setDialogY(int y) { y_ = y; }
    QString Version() const { return QStringLiteral("1.0.2.0"); }
    void setVersion(const QString&) {}

    // The browser's flag word for the options.
    unsigned browseFlags() const;

    // Shows the chooser on Directory (the current directory when Directory
    // is not an existing folder). True with Directory set to the chosen
    // absolute path; false when cancelled.
    bool Execute();

private:
    FolderBrowser& browser_;
    QWidget* owner_;
    QString caption_;
    QString title_;
    QString directory_;
    int imageIndex_ = 0;
    TFolderOptions options_ = fdoNewDialogStyle;
    TDialogPosition position_ = fdpDefault;
    int x_ = 0;
    int y_ = 0;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TFolderDialog::TFolderOptions)

// Where the chooser's window goes: unmoved, centred on the whole `desktop`,
// or at `xy`.
QPoint folderDialogPosition(TDialogPosition position, QPoint xy, const QRect& window, const QRect& desktop);

}  // namespace quorvel
