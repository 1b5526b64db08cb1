#include "archives/folder_walk.h"

#include "archives/naming.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QStringList>
#include <vector>

namespace {

struct Entry {
    QString name;
    bool folder = false;
};

// A folder's entries are read before any of them is visited: keeping one directory open per
// level would run out of file descriptors in a deep tree, and every folder below that depth
// would then be skipped without a word.
std::vector<Entry> EntriesOf(const QString& folder, const std::atomic<bool>& stop) {
    std::vector<Entry> entries;
    QDirIterator iterator(folder,
                          QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    while (iterator.hasNext() && !stop.load()) {
        const QFileInfo entry = iterator.nextFileInfo();
        entries.push_back({entry.fileName(), entry.isDir()});
    }
    return entries;
}

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
        for (const Entry& entry : EntriesOf(folder, stop)) {
            if (stop.load())
                break;
            const QString path = folder + entry.name;
            if (entry.folder)
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
