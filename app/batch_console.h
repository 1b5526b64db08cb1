#pragma once

#include "controls/classic_progress_bar.h"
#include "extract/ui_links.h"
#include "history/history_list.h"

#include <QList>
#include <QPersistentModelIndex>
#include <QString>
#include <optional>

// The receiver of a window-less run's reports. The rows come from a history list that is never
// shown, so they are exactly the window's; each is printed on standard output as it is added.
// Status texts go to standard error, on a terminal as one progress line with both counters.
// Lives and is called on the UI thread.
class BatchConsole : public ReportReceiver {
public:
    BatchConsole();

    platform::LRESULT WindowProc(unsigned message, platform::WPARAM wParam,
                                 platform::LPARAM lParam) override;
    void RefreshCounters() override;
    void AddCrcOkEntry() override;

    // The overall counter: `done` archives of `count`.
    void SetOverall(int done, int count);
    // A line of our own on standard error, outside the history.
    void Note(const QString& text);
    // Asks on standard error and reads the answer from standard input; nothing at its end.
    std::optional<QString> Ask(const QString& prompt, bool echo);
    // Asks for the current archive's password once, hidden: the ACE probe asks before the
    // engine forgets the answer and asks again, and a pipe holds one line per archive.
    std::optional<QString> AskPassword(const QString& prompt);
    // Leaves the last status as a line of its own.
    void Finish();

    int ErrorRows() const { return errorRows_; }

private:
    void PrintAddedRows();
    void ShowStatus();
    void ClearProgressLine();

    HistoryList history_;
    QList<QPersistentModelIndex> added_;
    ClassicProgressBar archiveBar_; // never shown: it keeps the counter's range rules
    QString status_;
    int overallDone_ = 0;
    int overallCount_ = 0;
    int errorRows_ = 0;
    bool passwordAsked_ = false;
    QString passwordPrompt_;
    std::optional<QString> passwordAnswer_;
    bool progressLine_;
    bool progressShown_ = false;
};
