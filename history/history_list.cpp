#include "history/history_list.h"

#include "archives/naming.h"
#include "history/time_stamps.h"
#include "platform/ui_thread.h"

namespace {

QString Stamp() {
    const QDateTime now = QDateTime::currentDateTime();
    return DateStamp(now) + TimeStamp(now);
}

// The folder part of a reported path: up to the last backslash, else up to the last slash.
QString ReportedFolder(const QString& text) {
    qsizetype end = text.lastIndexOf(u'\\');
    if (end < 0)
        end = text.lastIndexOf(u'/');
    return end < 0 ? QString() : text.left(end + 1);
}

bool NamesSubject(const QString& message) {
    for (const char16_t* marker :
         {u"Matched", u"Cannot find archive", u"File already exists", u"Invalid password"})
        if (message.contains(QStringView(marker)))
            return true;
    return false;
}

} // namespace

HistoryList::HistoryList(QWidget* parent) : FileListCtrl(parent) {
    SetViewStyle(Details);
    SetMultipleSelection(false);
}

int HistoryList::Append(const QString& text, int image, const QString& stamp) {
    const int row = InsertItem(ItemCount(), text, image);
    SetItemText(row, 1, stamp);
    return row;
}

void HistoryList::AddTextEntry(const QString& text) {
    if (!Recording() || text.isEmpty())
        return;
    if (text == u"Done") {
        Append(text, IconCache::Ok, QString());
        return;
    }
    const QString stamp = Stamp();
    const QString folder = ReportedFolder(text);
    if (!folder.isEmpty()) {
        const QString created = u"Created "_qs + folder;
        if (created != lastCreated_) {
            lastCreated_ = created;
            Append(created, IconCache::FolderCreated, stamp);
        }
    }
    QString row = text;
    if (row.contains(u"||"))
        row.remove(u"||"_qs);
    else
        row.prepend(u"Processed "_qs);
    Append(row, IconCache::Processed, stamp);
}

void HistoryList::AddErrorEntry(const QString& subject, const QString& message) {
    if (!Recording())
        return;
    QString row = message;
    if (NamesSubject(message))
        row += u" - "_qs + subject.toLower();
    Append(u"Error: "_qs + row, IconCache::Error, Stamp());
}

void HistoryList::AddArchiveEntry(const QString& archivePath, const QString& destination) {
    if (!Recording())
        return;
    const QString stamp = Stamp();
    if (!archivePath.isEmpty()) {
        const QString archiveRow = u"Archive: "_qs + FileNameOf(archivePath);
        for (int row = ItemCount() - 1; row >= 0; --row) {
            const QString text = ItemText(row, 0);
            if (text == archiveRow)
                return;
            if (text.contains(u"Destination:"))
                break;
        }
        Append(archiveRow, IconCache::Ok, stamp);
    }
    if (!destination.isEmpty())
        lastDestinationRow_ = Append(u"Destination: "_qs + destination, IconCache::Ok, stamp);
}

void HistoryList::AddCrcOkEntry() {
    platform::RunOnUiThread([this] {
        if (!Recording())
            return;
        // Without a destination row yet there is nothing to stand under: append.
        const int row = lastDestinationRow_ < 0 ? ItemCount() : lastDestinationRow_ + 1;
        const int at = InsertItem(row, u"CRC OK"_qs, IconCache::Processed);
        SetItemText(at, 1, Stamp());
    });
}

void HistoryList::Clear() {
    DeleteAllItems();
}

QString HistoryList::StatusTextForClick() const {
    if (SelectedRows().isEmpty())
        return u" Done."_qs;
    QString text = u" "_qs + ItemText(SelectionMark(), 0);
    for (const char16_t* prefix : {u"Processed ", u"Destination: ", u"Archive: ", u"Error: "})
        text.remove(QStringView(prefix).toString());
    return text;
}
