#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QFileSystemModel;
class QLabel;
class QPushButton;
class QTreeView;

// The program's folder browser: a tree of the file system with the selected path in its status
// line, "&New Folder.." below the selection and, for the extraction worker, the check box that
// sets "Name Folder" on the spot.
class FolderBrowserDialog : public QDialog {
    Q_OBJECT
public:
    enum ControlId { IDC_NEW_FOLDER = 12013, IDC_NAME_FOLDER = 12012 };

    FolderBrowserDialog(QWidget* owner, const QString& title, bool nameFolderOption,
                        const QString& initialPath);

    // The chosen folder: without a trailing separator, except for the root "/".
    QString ChosenPath() const;
    // The selection as the status line shows it, always ending with "/".
    const QString& SelectedPath() const { return selectedPath_; }
    void SelectPath(const QString& path);

private:
    void OnSelectionChanged();
    void OnNewFolder();

    QFileSystemModel* model_;
    QTreeView* tree_;
    QLabel* status_;
    QPushButton* newFolder_;
    QCheckBox* nameFolder_ = nullptr;
    QString selectedPath_;
};

// Shows the browser modally on the UI thread, for whichever thread asks. On success `path`
// holds the chosen folder and the result is true; on cancel `path` is "CANCELED" and the result
// false.
bool BrowseForFolder(QWidget* owner, const QString& title, bool nameFolderOption, QString& path);
