#pragma once

#include <QString>
#include <atomic>
#include <functional>

// What the folder search walk tells its caller. `entering` gets the folder as the progress text
// shows it (upper case, ending with "/"); `found` gets the real path of each archive, since
// names are case-sensitive here and the upper-cased text may name no file at all.
struct FolderWalkHooks {
    std::function<void(const QString& shownFolder)> entering;
    std::function<void(const QString& archivePath)> found;
};

// Walks `folder` and everything below it depth first, in the order the file system returns the
// entries, and reports every name the naming rules call a known archive. `stop` is checked
// before every entry. Unreadable folders are skipped silently; a symbolic link to a folder
// already on the current path is not entered again, so link loops end.
void WalkFolderForArchives(const QString& folder, const FolderWalkHooks& hooks,
                           const std::atomic<bool>& stop);
