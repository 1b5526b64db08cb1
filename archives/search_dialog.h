#pragma once

#include <QDialog>
#include <QRect>
#include <QString>
#include <atomic>
#include <thread>

class QLabel;

// Set by "Stop" while a folder search runs; cleared when the search dialog shows and when its
// search ends. Separate from the extraction's stop flag.
extern std::atomic<bool> SearchStop;

// "Searching for archives in :\n" and the folder as the walk shows it; a folder text of 31
// characters or more keeps only its first 3 and last 30 characters around "...".
QString SearchProgressText(const QString& shownFolder);

// Where the dialog goes when it shows: from its owner's window rectangle and its own width.
QRect SearchDialogPlacement(const QRect& owner, int currentWidth);

// The small modal window of a folder search (template 135): the searching icon, the progress
// text and "Stop". Its own thread walks the folder, reports every archive found to the main
// window and ends the dialog when the walk is over, so exec() returns when the search has ended.
class SearchDialog : public QDialog {
    Q_OBJECT
public:
    enum ControlId { IDC_PROGRESS = 1016, IDC_STOP = 1088 };

    SearchDialog(QWidget* owner, QString folder);
    ~SearchDialog() override;

    // Escape and a close request stop the search like "Stop"; the dialog closes only when its
    // thread has finished with it.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Search();

    const QString folder_;
    QLabel* progress_;
    std::thread thread_;
    bool endedBySearch_ = false; // UI thread only
    std::atomic<bool> finished_{false};
};
