#pragma once

#include "extract/run_host.h"

// A run's front end in the main window: the archive list, the overall bar and counters, the
// buttons and the folder browser, all reached through UiLinks on the UI thread.
class WindowRunHost : public RunHost {
public:
    int ArchiveCount() override;
    ListedArchive ArchiveAt(int index) override;
    std::optional<QString> AskDestination(const QString& startFolder) override;
    void RunStarting(int archiveCount) override;
    void ArchiveDone(int done, int count) override;
    void RunEnded() override;
    void Beep() override;
    void OpenFolder(const QString& folder) override;
};
