#include "archives/archive_list.h"

#include "archives/file_list_ctrl.h"
#include "archives/naming.h"
#include "archives/search_dialog.h"

#include <QFileDialog>
#include <QList>
#include <QPointer>

namespace {

struct QueuedFolder {
    QString path;
    QPointer<FileListCtrl> list;
};

// One search at a time: a second one would share the dialog's stop flag.
bool searchRunning = false;
QList<QueuedFolder> queuedFolders;

bool Accepts(const QString& path, const FileListCtrl& list) {
    return list.AcceptsItems() && list.window()->isVisible() && !path.isEmpty();
}

void ListIfArchive(const QString& path, FileListCtrl& list) {
    if (ArchiveKindOf(path) == NotArchive)
        return;
    const int row = list.InsertItem(list.ItemCount(), FileNameOf(path),
                                    list.Icons().IconIndexFor(ExtensionOf(path)));
    list.SetItemText(row, 1, FolderOf(path));
}

// A folder named like an archive is searched and then listed too.
void SearchThenList(const QString& path, FileListCtrl& list) {
    if (IsFolder(path)) {
        SearchDialog dialog(list.window(), path);
        dialog.exec();
    }
    ListIfArchive(path, list);
}

} // namespace

void AddToArchiveList(const QString& path, FileListCtrl& list) {
    if (!Accepts(path, list))
        return;
    if (!IsFolder(path)) {
        ListIfArchive(path, list);
        return;
    }
    if (searchRunning) {
        queuedFolders.append({path, &list});
        return;
    }
    searchRunning = true;
    SearchThenList(path, list);
    while (!queuedFolders.isEmpty()) {
        const QueuedFolder next = queuedFolders.takeFirst();
        if (next.list && Accepts(next.path, *next.list))
            SearchThenList(next.path, *next.list);
    }
    searchRunning = false;
}

void AddFilesDialog(QWidget* owner, FileListCtrl& list) {
    QFileDialog dialog(owner);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters({u"Archives (ZIP, RAR, ACE, JAR, EXE, 001) "
                           u"(*.zip *.ace *.rar *.jar *.exe *.001)"_qs,
                           u"All Files (*.*) (*)"_qs});
    dialog.selectFile(u"helloworld"_qs);
    if (dialog.exec() != QDialog::Accepted)
        return;
    for (const QString& path : dialog.selectedFiles())
        AddToArchiveList(path, list);
}
