#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

namespace platform {

// Replaces the file's content in one step (a temporary file beside it, renamed over it), creating
// its folders, so a reader never sees half of it and a failure leaves the old file whole. A file
// that already holds exactly this is left alone. False when it could not be written.
bool WriteFileAtomically(const QString& path, const QByteArray& content,
                         QFileDevice::Permissions permissions);

} // namespace platform
