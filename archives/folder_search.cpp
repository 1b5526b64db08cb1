#include "archives/folder_search.h"

#include "archives/archive_list.h"
#include "auxiliary/folder_browser.h"

void StartFolderSearch(QWidget* owner, FileListCtrl& list) {
    QString folder;
    if (BrowseForFolder(owner, u"Select a folder to search for archives :"_qs, false, folder))
        AddToArchiveList(folder, list);
}
