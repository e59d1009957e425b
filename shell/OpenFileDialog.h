// The file chooser the window opens (OpenDialog2). Tests replace it, so a
// test never blocks on a dialog.
#pragma once

#include <QString>

class QWidget;

namespace quorvel {

class OpenFileDialog {
public:
    virtual ~OpenFileDialog() = default;

    // `filter` pairs descriptions and patterns with "|", as in
    // "mp3|*.mp3|wav|*.wav". The chosen file, or an empty text on cancel.
    virtual QString execute(QWidget* parent, const QString& filter) = 0;
};

class QtOpenFileDialog final : public OpenFileDialog {
public:
    QString execute(QWidget* parent, const QString& filter) override;
};

// "mp3|*.mp3|wav|*.wav" in Qt's form, each pattern also in upper case:
// "mp3 (*.mp3 *.MP3);;wav (*.wav *.WAV)".
QString qtNameFilters(const QString& filter);

}  // namespace quorvel
