// The main window as receiver: the reports of background threads, the archives a second copy
// hands over, and the archive list at start.
#include "app/command_line.h"
#include "app/main_dialog.h"
#include "archives/archive_list.h"
#include "archives/naming.h"
#include "controls/classic_progress_bar.h"
#include "extract/messages.h"
#include "history/history_list.h"

#include <QLabel>
#include <algorithm>

using platform::LPARAM;
using platform::LRESULT;
using platform::WPARAM;

namespace {

const QString kForwardingKey = kProgramKey + u"\\AddItem"_qs;
const QString kSavedListKey = kProgramKey + u"\\LoadOnRun"_qs;

// A count damaged by hand must not keep the window busy for hours.
constexpr std::uint32_t kMaxListEntries = 65535;

std::uint32_t ListCount(const QString& key) {
    return std::min(ReadDword(HKEY_LOCAL_MACHINE, key, u"0"_qs, 0), kMaxListEntries);
}

QString ListEntry(const QString& key, std::uint32_t number) {
    return ReadString(HKEY_LOCAL_MACHINE, key, QString::number(number), QString());
}

} // namespace

LRESULT MainDialog::WindowProc(unsigned message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case UM_HISTORYERROR:
        history_->AddErrorEntry(TextOf(wParam), TextOf(lParam));
        break;
    case UM_HISTORYITEM:
        history_->AddTextEntry(TextOf(wParam));
        break;
    case UM_HISTORYARCHIVE:
        history_->AddArchiveEntry(TextOf(wParam), TextOf(lParam));
        break;
    case UM_PROGRESSRANGE:
        archiveBar_->SetRange(static_cast<int>(wParam & 0xFFFF), static_cast<int>(lParam & 0xFFFF));
        RefreshCounters();
        break;
    case UM_HISTORYRECORDING:
        history_->SetRecording(wParam == 1);
        break;
    case UM_PROGRESSPOS:
        archiveBar_->SetPos(static_cast<int>(wParam));
        RefreshCounters();
        break;
    case UM_PROGRESSSTEP:
        archiveBar_->SetPos(archiveBar_->Pos() + static_cast<int>(wParam));
        RefreshCounters();
        break;
    case UM_STATUSTEXT:
        status_->setText(TextOf(wParam));
        break;
    case UM_ADDITEM:
        return OnAddItem(wParam);
    default:
        break;
    }
    return 0;
}

void MainDialog::RefreshCounters() {
    archiveCounter_->setText(u"%1/%2"_qs.arg(archiveBar_->Pos()).arg(archiveBar_->RangeHigh()));
    overallCounter_->setText(u"%1/%2"_qs.arg(overallBar_->Pos()).arg(archiveList_->ItemCount()));
}

LRESULT MainDialog::OnAddItem(WPARAM wParam) {
    const QString text = TextOf(wParam);
    const bool foundArchive = wParam && !text.isEmpty();
    QStringList work;
    if (!foundArchive) {
        for (std::uint32_t i = ListCount(kForwardingKey); i >= 1; --i)
            work << ListEntry(kForwardingKey, i);
        DeleteTree(HKEY_LOCAL_MACHINE, kForwardingKey);
    }
    // Hidden windows take no archives, so come back from the tray first.
    if (iconic_) {
        showNormal();
        RemoveTrayIcon();
        iconic_ = false;
    }
    if (foundArchive) {
        // A path found by the folder search names a real file, and ";" or "/auto" may be part
        // of its names here; only forwarded texts carry switches.
        AddToArchiveList(text, *archiveList_);
        return 0;
    }
    for (QString& item : work)
        AddWorkText(std::move(item));
    return 0;
}

void MainDialog::AddWorkText(QString text) {
    text.remove(u';');
    const bool automatic = TakeSwitch(text, u"/auto", Qt::CaseSensitive);
    AddToArchiveList(text, *archiveList_);
    if (automatic)
        StartRun();
}

void MainDialog::PopulateInitialList() {
    const QString text = NormaliseForLocalUse(commandLine_);
    if (store_.ReadDword(u"First Load"_qs, 1) == 1) {
        AddToArchiveList(ModuleFolder() + u"testarchive.zip"_qs, *archiveList_);
        store_.WriteDword(u"First Load"_qs, 0);
        return;
    }
    const QStringList pieces = SplitPieces(text);
    if (pieces.isEmpty()) {
        RestoreSavedList();
        return;
    }
    for (QString piece : pieces) {
        const bool automatic = TakeSwitch(piece, u"/auto", Qt::CaseInsensitive);
        if (piece.isEmpty())
            continue;
        AddToArchiveList(piece, *archiveList_);
        if (automatic)
            StartRun();
    }
}

void MainDialog::RestoreSavedList() {
    const std::uint32_t count = ListCount(kSavedListKey);
    for (std::uint32_t i = 1; i <= count; ++i) {
        const QString path = ListEntry(kSavedListKey, i);
        if (!path.isEmpty())
            AddToArchiveList(path, *archiveList_);
    }
}

void MainDialog::SaveArchiveList() {
    DeleteTree(HKEY_LOCAL_MACHINE, kSavedListKey);
    const int count = archiveList_->ItemCount();
    WriteDword(HKEY_LOCAL_MACHINE, kSavedListKey, u"0"_qs, static_cast<std::uint32_t>(count));
    for (int row = 0; row < count; ++row)
        WriteString(HKEY_LOCAL_MACHINE, kSavedListKey, QString::number(row + 1),
                    archiveList_->ItemText(row, 1) + archiveList_->ItemText(row, 0));
}

void MainDialog::AddCrcOkEntry() {
    history_->AddCrcOkEntry();
}
