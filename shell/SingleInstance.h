// One running program per user session: a later start hands over to the
// running one, which brings its window forward.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace quorvel {

class SingleInstance : public QObject {
    Q_OBJECT

public:
    explicit SingleInstance(QString key, QObject* parent = nullptr);

    // True when a running instance answered under the key; it has been asked
    // to bring its window forward.
    bool forwardToRunning();

    // Takes the key for this process, replacing a key left behind by a
    // process that ended without releasing it. False when that fails.
    bool claim();

Q_SIGNALS:
    void activationRequested();

private:
    QString key_;
    QLocalServer server_;
};

// The key of the program: its window class name, per user.
QString singleInstanceKey();

}  // namespace quorvel
