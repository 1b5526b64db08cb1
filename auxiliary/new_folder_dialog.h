#pragma once

#include <QDialog>

class QLineEdit;

// Dialog template 225: a new folder's name (upper case, "MY FOLDER" to begin with) within the
// browser's current folder.
class NewFolderDialog : public QDialog {
    Q_OBJECT
public:
    enum ControlId { IDC_FOLDER_NAME = 1011, IDC_PARENT = 1014 };

    NewFolderDialog(const QString& parentPath, QWidget* parent);

    // The folder that OK created (or tried to create): parent path followed by the name.
    const QString& CreatedPath() const { return createdPath_; }

    void accept() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLineEdit* name_;
    QLineEdit* parentPath_;
    QString parent_;
    QString createdPath_;
};
