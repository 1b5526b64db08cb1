#include "archives/archive_list.h"

#include "archives/file_list_ctrl.h"
#include "archives/naming.h"

#include <QFileDialog>

void AddToArchiveList(const QString& path, FileListCtrl& list) {
    if (!list.AcceptsItems() || !list.window()->isVisible() || path.isEmpty())
        return;
    // A folder is searched for archives here once the folder search exists (folder search
    // issue); until then a folder is listed only when its own name says archive.
    if (ArchiveKindOf(path) == NotArchive)
        return;
    const int row = list.InsertItem(list.ItemCount(), FileNameOf(path),
                                    list.Icons().IconIndexFor(ExtensionOf(path)));
    list.SetItemText(row, 1, FolderOf(path));
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
