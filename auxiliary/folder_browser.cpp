#include "auxiliary/folder_browser.h"

#include "auxiliary/new_folder_dialog.h"
#include "platform/desktop_geometry.h"
#include "platform/ui_thread.h"
#include "settings/settings_store.h"

#include <QCheckBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>

namespace {

constexpr int kWidth = 355;
constexpr int kHeight = 305;
constexpr int kCheckBoxRoom = 25;

} // namespace

FolderBrowserDialog::FolderBrowserDialog(QWidget* owner, const QString& title,
                                         bool nameFolderOption, const QString& initialPath)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint) {
    setWindowTitle("Browse for Folder");
    if (owner)
        setFont(owner->font());
    resize(kWidth, kHeight);

    auto* heading = new QLabel(title, this);
    heading->setGeometry(10, 8, kWidth - 20, 30);
    heading->setWordWrap(true);
    status_ = new QLabel(this);
    status_->setGeometry(10, 38, kWidth - 20, 18);
    status_->setTextFormat(Qt::PlainText);

    model_ = new QFileSystemModel(this);
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Hidden);
    model_->setRootPath("/");
    tree_ = new QTreeView(this);
    tree_->setObjectName("folderTree");
    tree_->setGeometry(10, 60, kWidth - 20, 200);
    tree_->setModel(model_);
    tree_->setHeaderHidden(true);
    for (int column = 1; column < model_->columnCount(); ++column)
        tree_->hideColumn(column);

    newFolder_ = new QPushButton("&New Folder..", this);
    newFolder_->setObjectName(QString::number(IDC_NEW_FOLDER));
    newFolder_->setGeometry(10, 270, 95, 23);
    newFolder_->setEnabled(false);
    auto* ok = new QPushButton("OK", this);
    ok->setGeometry(kWidth - 170, 270, 75, 23);
    ok->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setGeometry(kWidth - 85, 270, 75, 23);

    if (nameFolderOption) {
        nameFolder_ = new QCheckBox("Extract archives into their own name folder", this);
        nameFolder_->setObjectName(QString::number(IDC_NAME_FOLDER));
        nameFolder_->setGeometry(10, 295, 335, 35);
        nameFolder_->setChecked(ReadDword(HKEY_LOCAL_MACHINE, kProgramKey, "Name Folder", 0) != 0);
        // Stored at once, so it counts even when the browser is then cancelled.
        connect(nameFolder_, &QCheckBox::toggled, this, [](bool on) {
            WriteDword(HKEY_LOCAL_MACHINE, kProgramKey, "Name Folder", on ? 1 : 0);
        });
        QSize size(kWidth, kHeight);
        if (owner) {
            const QRect clamped =
                platform::ClampToDesktop(kWidth, kHeight, owner->x() + 10, owner->y() + 10);
            move(clamped.topLeft());
            size = clamped.size();
        }
        resize(size.width(), size.height() + kCheckBoxRoom);
    }

    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &FolderBrowserDialog::OnSelectionChanged);
    connect(newFolder_, &QPushButton::clicked, this, &FolderBrowserDialog::OnNewFolder);
    connect(ok, &QPushButton::clicked, this, [this] {
        if (!selectedPath_.isEmpty())
            accept();
    });
    connect(cancel, &QPushButton::clicked, this, &FolderBrowserDialog::reject);
    SelectPath(initialPath.isEmpty() ? QDir::homePath() : initialPath);
}

void FolderBrowserDialog::SelectPath(const QString& path) {
    const QModelIndex index = model_->index(QDir::cleanPath(path));
    if (!index.isValid())
        return;
    tree_->setCurrentIndex(index);
    tree_->scrollTo(index);
    OnSelectionChanged();
}

void FolderBrowserDialog::OnSelectionChanged() {
    const QString path = model_->filePath(tree_->currentIndex());
    const bool isFolder = !path.isEmpty() && QFileInfo(path).isDir();
    newFolder_->setEnabled(isFolder);
    selectedPath_ = isFolder ? path : QString();
    if (isFolder && !selectedPath_.endsWith(u'/'))
        selectedPath_ += u'/';
    status_->setText(selectedPath_);
    tree_->setFocus();
}

void FolderBrowserDialog::OnNewFolder() {
    NewFolderDialog dialog(selectedPath_, this);
    if (dialog.exec() == QDialog::Accepted) {
        const QModelIndex parent = tree_->currentIndex();
        tree_->collapse(parent);
        SelectPath(dialog.CreatedPath());
        if (selectedPath_.isEmpty())
            SelectPath(model_->filePath(parent));
    }
    tree_->setFocus();
}

QString FolderBrowserDialog::ChosenPath() const {
    if (selectedPath_ == u"/")
        return selectedPath_;
    return selectedPath_.endsWith(u'/') ? selectedPath_.chopped(1) : selectedPath_;
}

bool BrowseForFolder(QWidget* owner, const QString& title, bool nameFolderOption, QString& path) {
    bool chosen = false;
    platform::RunDialogOnUiThread([&] {
        FolderBrowserDialog dialog(owner, title, nameFolderOption, path);
        chosen = dialog.exec() == QDialog::Accepted && !dialog.ChosenPath().isEmpty();
        path = chosen ? dialog.ChosenPath() : QStringLiteral("CANCELED");
    });
    return chosen;
}
