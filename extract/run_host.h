#pragma once

#include <QString>
#include <optional>

// One row of the archive list as a run reads it.
struct ListedArchive {
    QString location; // the folder, with its trailing separator
    QString name;
};

// What an extraction run needs of its front end beyond the reports: the window, or the batch
// mode without one. Every call comes from the worker thread.
class RunHost {
public:
    virtual ~RunHost() = default;

    // The list as it is now; archives added during a run are processed in it.
    virtual int ArchiveCount() = 0;
    virtual ListedArchive ArchiveAt(int index) = 0;
    // The run's destination when the settings leave it to the user; nothing after a cancel.
    virtual std::optional<QString> AskDestination(const QString& startFolder) = 0;
    // Bars and counters to zero, Stop enabled, the list closed to the user.
    virtual void RunStarting(int archiveCount) = 0;
    // The overall bar and counter after `done` archives of `count`.
    virtual void ArchiveDone(int done, int count) = 0;
    // The list open again, Stop disabled, "&Extract All" enabled, the focus on the list.
    virtual void RunEnded() = 0;
    virtual void Beep() = 0;
    virtual void OpenFolder(const QString& folder) = 0;
};
