#include "engines/engine_conventions.h"
#include "settings/settings_dialog.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>

namespace {

// Texts are read back through a 260-byte buffer, terminator included.
constexpr qsizetype kMaxStoredTextBytes = 259;

std::uint32_t StateOf(const QCheckBox* box) {
    return box->isChecked() ? 1 : 0;
}

// A file of that name is no folder to extract into.
bool IsUsableFolder(const QString& folder) {
    return FileExists(folder) && !QFileInfo(folder).isFile();
}

// Only a full path says where a missing folder is to be made.
bool CanBeCreated(const QString& folder) {
    return folder.startsWith(u'/');
}

bool AskToCreate(QWidget* owner) {
    QMessageBox question(QMessageBox::Warning, u"Folder Selection"_qs,
                         u"Cannot find favorite folder.\n\nClick 'Yes' to try and create the "
                         u"directory.\nClick 'No' to select a different directory."_qs,
                         QMessageBox::Yes | QMessageBox::No, owner);
    return question.exec() == QMessageBox::Yes;
}

} // namespace

void SettingsDialog::accept() {
    const QString folder = favoriteFolder_->text().trimmed();
    if (!ValidateFavoriteFolder(folder))
        return;
    Save(folder);
    QDialog::accept();
}

bool SettingsDialog::ValidateFavoriteFolder(const QString& folder) {
    const bool storable = folder.toUtf8().size() <= kMaxStoredTextBytes;
    if (storable && (!favoriteActivated_->isChecked() || IsUsableFolder(folder)))
        return true;
    if (!storable || !CanBeCreated(folder)) {
        QMessageBox::warning(this, u"Error"_qs, u"Invalid favorite folder. Select a new one.\n"_qs);
        return false;
    }
    if (AskToCreate(this)) {
        if (QDir().mkdir(folder))
            return true;
        QMessageBox::critical(this, u"Error"_qs, u"Error creating directory. Try agian."_qs);
    }
    WriteString(HKEY_LOCAL_MACHINE, kProgramKey, u"Favorite Folder"_qs, folder);
    WriteDword(HKEY_LOCAL_MACHINE, kProgramKey, u"Favorite Activated"_qs, 0);
    return false;
}

void SettingsDialog::Save(const QString& folder) {
    store_ = SettingsStore(HKEY_LOCAL_MACHINE, kProgramKey);
    store_.WriteString(u"Favorite Folder"_qs, folder);
    store_.WriteDword(u"Open Folder"_qs, StateOf(openFolder_));
    store_.WriteDword(u"Overwrite"_qs, StateOf(overwrite_));
    store_.WriteDword(u"Delete After Extraction"_qs, StateOf(deleteAfterExtraction_));
    store_.WriteDword(u"Name Folder"_qs, StateOf(nameFolder_));
    store_.WriteDword(u"Current Directory"_qs, StateOf(currentDirectory_));
    store_.WriteDword(u"Favorite Activated"_qs, StateOf(favoriteActivated_));
    store_.SetPath(kProgramKey + u"\\No Extract"_qs);
    store_.WriteDword(u"0"_qs, static_cast<std::uint32_t>(masks_.size()));
    for (qsizetype i = 0; i < masks_.size(); ++i)
        store_.WriteString(QString::number(i + 1), masks_.at(i));
}
