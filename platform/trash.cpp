#include "platform/trash.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>

namespace platform {
namespace {

// Qt writes the original path of a trashed file unescaped, while the trash's readers expect it
// percent-encoded; names with blanks or non-ASCII letters could then not be restored.
void EncodeOriginalPath(const QString& trashedFile, const QString& originalPath) {
    const QFileInfo trashed(trashedFile);
    const QString info =
        trashed.dir().absoluteFilePath("../info/" + trashed.fileName() + ".trashinfo");
    QFile in(info);
    if (!in.open(QIODevice::ReadOnly))
        return;
    QByteArrayList lines = in.readAll().split('\n');
    in.close();
    for (QByteArray& line : lines)
        if (line.startsWith("Path="))
            line = "Path=" + QUrl::toPercentEncoding(originalPath, "/");
    QSaveFile out(info);
    if (out.open(QIODevice::WriteOnly) && out.write(lines.join('\n')) >= 0)
        out.commit();
}

} // namespace

bool MoveToTrash(const QString& path) {
    const QString original = QFileInfo(path).absoluteFilePath();
    QString trashed;
    if (!QFile::moveToTrash(path, &trashed))
        return false;
    EncodeOriginalPath(trashed, original);
    return true;
}

} // namespace platform
