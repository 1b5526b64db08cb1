#include "archives/folder_walk.h"

#include "archives/naming.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QStringList>

namespace {

struct Walk {
    const FolderWalkHooks& hooks;
    const std::atomic<bool>& stop;
    QStringList onPath; // canonical folders from the start down to the current one

    void Visit(QString folder) {
        // Not EnsureTrailingSeparator: it trims, and a name may end in a blank.
        if (!folder.endsWith(u'/'))
            folder += u'/';
        const QString canonical = QFileInfo(folder).canonicalFilePath();
        if (canonical.isEmpty() || onPath.contains(canonical))
            return;
        onPath.append(canonical);
        if (hooks.entering)
            hooks.entering(folder.toUpper());
        QDirIterator entries(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden |
                                         QDir::System);
        while (entries.hasNext()) {
            if (stop.load())
                break;
            const QFileInfo entry = entries.nextFileInfo();
            const QString path = folder + entry.fileName();
            if (entry.isDir())
                Visit(path);
            else if (ArchiveKindOf(path) == KnownArchive && hooks.found)
                hooks.found(path);
        }
        onPath.removeLast();
    }
};

} // namespace

void WalkFolderForArchives(const QString& folder, const FolderWalkHooks& hooks,
                           const std::atomic<bool>& stop) {
    Walk walk{hooks, stop, {}};
    walk.Visit(folder);
}
