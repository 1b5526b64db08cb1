#pragma once

class FileListCtrl;
class QWidget;

// The popup command "&Search Through Folder For Files": asks for a folder and searches it for
// archives into `list`; nothing happens on cancel.
void StartFolderSearch(QWidget* owner, FileListCtrl& list);
