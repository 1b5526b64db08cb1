#pragma once

#include "archives/file_list_ctrl.h"

// What happened during the runs, one row per event with an icon and a time stamp in the hidden
// second column. While Recording() is off, nothing is added.
class HistoryList : public FileListCtrl {
    Q_OBJECT
public:
    explicit HistoryList(QWidget* parent = nullptr);

    // A reported path gives "Created " + its folder when the folder is new, then
    // "Processed " + path; a text with "||" is a plain message; "Done" ends an archive.
    void AddTextEntry(const QString& text);
    void AddErrorEntry(const QString& subject, const QString& message);
    // Adds "Archive: " + name unless that name was already listed since the last destination
    // row, then "Destination: " + destination when there is one.
    void AddArchiveEntry(const QString& archivePath, const QString& destination);
    // "CRC OK" directly under the last destination row; callable from any thread.
    void AddCrcOkEntry();
    // Clears the rows; the remembered folder and destination row stay.
    void Clear();

    // What a click on the list shows in the status line.
    QString StatusTextForClick() const;

private:
    int Append(const QString& text, int image, const QString& stamp);

    QString lastCreated_;
    int lastDestinationRow_ = -1;
};
