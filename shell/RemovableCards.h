// The memory cards the desktop's disk service (udisks2, on the system bus)
// knows about: only volumes of removable drives are ever listed, mounted or
// unmounted, never a system disk.
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <vector>

class QDBusMessage;

namespace quorvel {

struct RemovableVolume {
    QString objectPath;  // the block device's object
    QString device;      // "/dev/sdb1"
    QString label;
    QString uuid;
    QString fileSystem;  // "vfat"
    QString mountPoint;  // empty when not mounted
    bool readOnly = false;

    // The label, or the device when the volume has none.
    QString name() const { return label.isEmpty() ? device : label; }
};

class RemovableCards {
public:
    // A connection of its own to the system bus, so that one whose bus went
    // away is never reused.
    RemovableCards();
    ~RemovableCards();
    RemovableCards(const RemovableCards&) = delete;
    RemovableCards& operator=(const RemovableCards&) = delete;

    // Volumes with a file system on removable drives, by label. False, with
    // the reason in `error`, when the disk service does not answer.
    bool list(std::vector<RemovableVolume>& volumes, QString& error) const;
    // Mounts the volume where the desktop mounts cards; its mount point, or
    // an empty text with `error` set.
    QString mount(const RemovableVolume& volume, QString& error) const;
    // Unmounts the volume (the drive keeps its power: one reader may hold
    // several cards). `busy` tells that something still uses it.
    bool unmount(const RemovableVolume& volume, QString& error, bool& busy) const;

    // The listed volume whose file system holds `folder`, or null.
    static const RemovableVolume* holding(const std::vector<RemovableVolume>& volumes, const QString& folder);

    const QDBusConnection& bus() const { return bus_; }

private:
    // Whether the bus is there, saying why not in `error`.
    bool connected(QString& error) const;

    QDBusConnection bus_;
};

// Says when volumes come, go, or are mounted or unmounted.
class RemovableCardWatch : public QObject {
    Q_OBJECT

public:
    explicit RemovableCardWatch(const RemovableCards& cards, QObject* parent = nullptr);

Q_SIGNALS:
    void changed();

private Q_SLOTS:
    void busSignal(const QDBusMessage& message);
};

// The text shown when the disk service gives no answer.
QString diskServiceSilent(const QString& reason);

}  // namespace quorvel
