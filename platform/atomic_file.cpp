#include "platform/atomic_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace platform {
namespace {

// The "user" bits repeat the owner's for whoever asks; only owner, group and others are stored.
QFileDevice::Permissions Stored(QFileDevice::Permissions permissions) {
    return permissions & ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser);
}

bool AlreadyHolds(const QString& path, const QByteArray& content,
                  QFileDevice::Permissions permissions) {
    QFile file(path);
    if (Stored(file.permissions()) != Stored(permissions) || file.size() != content.size())
        return false;
    return file.open(QIODevice::ReadOnly) && file.readAll() == content;
}

} // namespace

bool WriteFileAtomically(const QString& path, const QByteArray& content,
                         QFileDevice::Permissions permissions) {
    if (AlreadyHolds(path, content, permissions))
        return true;
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(content) != content.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit() && QFile::setPermissions(path, permissions);
}

} // namespace platform
