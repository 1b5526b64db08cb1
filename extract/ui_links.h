#pragma once

#include "platform/window_procedure.h"

class ClassicProgressBar;
class FileListCtrl;
class HistoryList;
class QAbstractButton;
class QLabel;

// The receiver of the reports: the main window, or a front end without one.
class ReportReceiver : public platform::WindowProcedure {
public:
    // Rewrites both counters from the bars and the archive list.
    virtual void RefreshCounters() = 0;
    // Adds the "CRC OK" row under the current archive's destination row.
    virtual void AddCrcOkEntry() = 0;

protected:
    ~ReportReceiver() = default;
};

// What background threads reach of the user interface. Filled before any worker exists and only
// read afterwards; a front end without a window leaves the controls null. Controls are touched
// only through platform::RunOnUiThread.
struct UiLinkSet {
    ReportReceiver* mainWindow = nullptr;
    ClassicProgressBar* archiveBar = nullptr; // per-archive progress
    ClassicProgressBar* overallBar = nullptr;
    QLabel* archiveCounter = nullptr;
    QLabel* overallCounter = nullptr;
    QAbstractButton* stopButton = nullptr;
    QAbstractButton* extractAllButton = nullptr;
    FileListCtrl* archiveList = nullptr;
    HistoryList* historyList = nullptr;
};

UiLinkSet& UiLinks();
