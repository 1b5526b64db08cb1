#include "archives/file_list_ctrl.h"
#include "extract/run_state.h"
#include "settings/settings_dialog.h"

#include <QAbstractItemView>
#include <QLineEdit>

namespace {

const QString kMaskKey = kProgramKey + u"\\No Extract"_qs;

// "*.txt" shows the icon of ".txt" files.
QString IconNameOf(QString mask) {
    return mask.remove(u'*');
}

} // namespace

void SettingsDialog::LoadMasks() {
    masks_.clear();
    const SettingsStore store(HKEY_LOCAL_MACHINE, kMaskKey);
    const std::uint32_t count = store.ReadDword(u"0"_qs, 0);
    for (std::uint32_t i = 1; i <= count; ++i) {
        const QString mask = store.ReadString(QString::number(i), QString());
        if (mask.isEmpty())
            continue;
        maskList_->InsertItem(maskList_->ItemCount(), mask,
                              maskList_->Icons().IconIndexFor(IconNameOf(mask)));
        masks_.append(mask);
    }
    PublishMasks();
}

void SettingsDialog::AddMask() {
    const QString mask = mask_->text();
    if (mask.isEmpty())
        return;
    maskList_->InsertItem(0, mask, maskList_->Icons().IconIndexFor(IconNameOf(mask)));
    maskList_->ActiveView()->setFocus();
    masks_.append(mask);
    PublishMasks();
}

void SettingsDialog::DeleteMasks() {
    const QList<int> selected = maskList_->SelectedRows();
    for (auto row = selected.rbegin(); row != selected.rend(); ++row) {
        const QString text = maskList_->ItemText(*row, 0);
        maskList_->DeleteItem(*row);
        masks_.removeAll(text);
    }
    PublishMasks();
}

void SettingsDialog::PublishMasks() {
    // The engines of a run read the shared list on the worker thread; a run in progress keeps
    // the masks it started with, and the next run reads the saved ones.
    if (!RunInProgress)
        sharedMasks_ = masks_;
}
