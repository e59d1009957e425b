#include "shell/RemovableCards.h"

#include <sys/stat.h>

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QVariantMap>
#include <algorithm>
#include <atomic>

namespace {

using Interfaces = QMap<QString, QVariantMap>;
using ManagedObjects = QMap<QDBusObjectPath, Interfaces>;

}  // namespace

Q_DECLARE_METATYPE(Interfaces)
Q_DECLARE_METATYPE(ManagedObjects)

namespace quorvel {

namespace {

const QString kService = QStringLiteral("org.freedesktop.UDisks2");
const QString kManager = QStringLiteral("/org/freedesktop/UDisks2");
const QString kObjectManager = QStringLiteral("org.freedesktop.DBus.ObjectManager");
const QString kBlock = QStringLiteral("org.freedesktop.UDisks2.Block");
const QString kFilesystem = QStringLiteral("org.freedesktop.UDisks2.Filesystem");
const QString kDrive = QStringLiteral("org.freedesktop.UDisks2.Drive");
std::atomic<int> nextConnection{0};

// Read at each connection: the D-Bus library reads it once per process.
QString systemBusAddress() {
    const QString address = qEnvironmentVariable("DBUS_SYSTEM_BUS_ADDRESS");
    return address.isEmpty() ? QStringLiteral("unix:path=/run/dbus/system_bus_socket") : address;
}
// Mounting waits for the file system check a desktop may run first.
constexpr int kCallTimeoutMs = 25000;

// udisks2 gives paths as bytes ending with a NUL.
QString pathFromBytes(QByteArray bytes) {
    if (bytes.endsWith('\0')) bytes.chop(1);
    return QFile::decodeName(bytes);
}

QString firstMountPoint(const QVariant& value) {
    const auto argument = value.value<QDBusArgument>();
    QString first;
    argument.beginArray();
    while (!argument.atEnd()) {
        QByteArray bytes;
        argument >> bytes;
        if (first.isEmpty()) first = pathFromBytes(bytes);
    }
    argument.endArray();
    return first;
}

bool removableDrive(const ManagedObjects& objects, const QVariantMap& block) {
    const auto drive = objects.constFind(block.value(QStringLiteral("Drive")).value<QDBusObjectPath>());
    if (drive == objects.constEnd()) return false;
    const QVariantMap properties = drive->value(kDrive);
    return properties.value(QStringLiteral("Removable")).toBool() ||
           properties.value(QStringLiteral("MediaRemovable")).toBool();
}

QDBusMessage filesystemCall(const RemovableVolume& volume, const QString& method) {
    QDBusMessage call = QDBusMessage::createMethodCall(kService, volume.objectPath, kFilesystem, method);
    call << QVariantMap();
    return call;
}

// The folder lies below the mount point and on the file system mounted there.
bool mountedWithin(const QString& folder, const QString& mountPoint) {
    const QString inside = QFileInfo(folder).canonicalFilePath();
    const QString root = QFileInfo(mountPoint).canonicalFilePath();
    if (inside.isEmpty() || root.isEmpty()) return false;
    if (inside != root && !inside.startsWith(root.endsWith(u'/') ? root : root + u'/')) return false;
    struct stat folderStatus {};
    struct stat rootStatus {};
    return ::stat(QFile::encodeName(inside).constData(), &folderStatus) == 0 &&
           ::stat(QFile::encodeName(root).constData(), &rootStatus) == 0 && folderStatus.st_dev == rootStatus.st_dev;
}

}  // namespace

QString diskServiceSilent(const QString& reason) {
    return QStringLiteral("udisks2, the desktop's disk service, does not answer: %1").arg(reason);
}

RemovableCards::RemovableCards()
    : bus_(
          QDBusConnection::connectToBus(systemBusAddress(), QStringLiteral("quorvel-disks-%1").arg(nextConnection++))) {
    qDBusRegisterMetaType<Interfaces>();
    qDBusRegisterMetaType<ManagedObjects>();
}

RemovableCards::~RemovableCards() { QDBusConnection::disconnectFromBus(bus_.name()); }

bool RemovableCards::connected(QString& error) const {
    if (bus_.isConnected()) return true;
    error = diskServiceSilent(bus_.lastError().message());
    return false;
}

bool RemovableCards::list(std::vector<RemovableVolume>& volumes, QString& error) const {
    volumes.clear();
    if (!connected(error)) return false;
    const QDBusMessage reply = bus_.call(
        QDBusMessage::createMethodCall(kService, kManager, kObjectManager, QStringLiteral("GetManagedObjects")),
        QDBus::Block, kCallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        error = diskServiceSilent(reply.errorMessage());
        return false;
    }
    const auto objects = qdbus_cast<ManagedObjects>(reply.arguments().constFirst().value<QDBusArgument>());
    for (auto object = objects.constBegin(); object != objects.constEnd(); ++object) {
        const Interfaces& interfaces = object.value();
        if (!interfaces.contains(kBlock) || !interfaces.contains(kFilesystem)) continue;
        const QVariantMap block = interfaces.value(kBlock);
        if (block.value(QStringLiteral("HintSystem")).toBool() || !removableDrive(objects, block)) continue;
        RemovableVolume volume;
        volume.objectPath = object.key().path();
        volume.device = pathFromBytes(block.value(QStringLiteral("Device")).toByteArray());
        volume.label = block.value(QStringLiteral("IdLabel")).toString();
        volume.uuid = block.value(QStringLiteral("IdUUID")).toString();
        volume.fileSystem = block.value(QStringLiteral("IdType")).toString();
        volume.readOnly = block.value(QStringLiteral("ReadOnly")).toBool();
        volume.mountPoint = firstMountPoint(interfaces.value(kFilesystem).value(QStringLiteral("MountPoints")));
        volumes.push_back(volume);
    }
    std::sort(volumes.begin(), volumes.end(), [](const RemovableVolume& a, const RemovableVolume& b) {
        return std::pair(a.label, a.device) < std::pair(b.label, b.device);
    });
    return true;
}

QString RemovableCards::mount(const RemovableVolume& volume, QString& error) const {
    if (!connected(error)) return {};
    const QDBusMessage reply = bus_.call(filesystemCall(volume, QStringLiteral("Mount")), QDBus::Block, kCallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        error = reply.errorMessage();
        return {};
    }
    return reply.arguments().constFirst().toString();
}

bool RemovableCards::unmount(const RemovableVolume& volume, QString& error, bool& busy) const {
    busy = false;
    if (!connected(error)) return false;
    const QDBusMessage reply =
        bus_.call(filesystemCall(volume, QStringLiteral("Unmount")), QDBus::Block, kCallTimeoutMs);
    busy = reply.errorName() == QStringLiteral("org.freedesktop.UDisks2.Error.DeviceBusy");
    if (reply.type() == QDBusMessage::ReplyMessage) return true;
    error = reply.errorMessage();
    return false;
}

const RemovableVolume* RemovableCards::holding(const std::vector<RemovableVolume>& volumes, const QString& folder) {
    for (const RemovableVolume& volume : volumes) {
        if (!volume.mountPoint.isEmpty() && mountedWithin(folder, volume.mountPoint)) return &volume;
    }
    return nullptr;
}

RemovableCardWatch::RemovableCardWatch(const RemovableCards& cards, QObject* parent) : QObject(parent) {
    QDBusConnection bus = cards.bus();
    for (const QString& name : {QStringLiteral("InterfacesAdded"), QStringLiteral("InterfacesRemoved")}) {
        bus.connect(kService, kManager, kObjectManager, name, this, SLOT(busSignal(QDBusMessage)));
    }
    // A volume mounted or unmounted changes its mount points.
    bus.connect(kService, QString(), QStringLiteral("org.freedesktop.DBus.Properties"),
                QStringLiteral("PropertiesChanged"), this, SLOT(busSignal(QDBusMessage)));
}

void RemovableCardWatch::busSignal(const QDBusMessage&) { Q_EMIT changed(); }

}  // namespace quorvel
