#pragma once

#include "extract/run_host.h"

#include <vector>

class BatchConsole;

// A run's front end without a window: a fixed list, the destination from --dest or the
// terminal, the counters on the console. The desktop is left alone: no beep, no folder opened.
class BatchRunHost : public RunHost {
public:
    // `destination` is --dest, empty when not given.
    BatchRunHost(std::vector<ListedArchive> archives, QString destination, BatchConsole& console);

    int ArchiveCount() override;
    ListedArchive ArchiveAt(int index) override;
    std::optional<QString> AskDestination(const QString& startFolder) override;
    void RunStarting(int archiveCount) override;
    void ArchiveDone(int done, int count) override;
    void RunEnded() override {}
    void Beep() override {}
    void OpenFolder(const QString&) override {}

    bool DestinationAsked() const { return asked_; }
    bool Canceled() const { return canceled_; }

private:
    std::optional<QString> DestinationFromTerminal(const QString& startFolder);
    std::optional<QString> Created(const QString& folder);

    const std::vector<ListedArchive> archives_;
    const QString destination_;
    BatchConsole& console_;
    bool asked_ = false;
    bool canceled_ = false;
};
