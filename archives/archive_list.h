#pragma once

#include <QString>

class FileListCtrl;
class QWidget;

// Adds one path to `list`: an archive becomes a row (Name, Location, the icon of its extension),
// and a folder is searched for archives with the search dialog before it returns. A folder that
// arrives while a search runs is searched when that search has ended. Nothing happens for an
// empty path or a non-archive, while the list refuses items, or while its window is hidden. The
// same path may be listed twice.
void AddToArchiveList(const QString& path, FileListCtrl& list);

// Asks for archives with the file dialog and adds the chosen ones in the dialog's order.
void AddFilesDialog(QWidget* owner, FileListCtrl& list);
