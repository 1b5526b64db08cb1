#include "app/window_run_host.h"

#include "archives/file_list_ctrl.h"
#include "auxiliary/folder_browser.h"
#include "controls/classic_progress_bar.h"
#include "extract/ui_links.h"
#include "platform/shell.h"
#include "platform/ui_thread.h"

#include <QAbstractButton>
#include <QLabel>

int WindowRunHost::ArchiveCount() {
    int count = 0;
    platform::RunOnUiThread([&] { count = UiLinks().archiveList->ItemCount(); });
    return count;
}

ListedArchive WindowRunHost::ArchiveAt(int index) {
    ListedArchive item;
    platform::RunOnUiThread([&] {
        item.name = UiLinks().archiveList->ItemText(index, 0);
        item.location = UiLinks().archiveList->ItemText(index, 1);
    });
    return item;
}

std::optional<QString> WindowRunHost::AskDestination(const QString& startFolder) {
    QString path = startFolder;
    QWidget* owner = dynamic_cast<QWidget*>(UiLinks().mainWindow);
    if (!BrowseForFolder(owner, "Select the directory files will be extracted into :", true, path))
        return std::nullopt;
    return path;
}

void WindowRunHost::RunStarting(int archiveCount) {
    platform::RunOnUiThread([archiveCount] {
        const UiLinkSet& links = UiLinks();
        links.archiveBar->SetPos(0);
        links.archiveCounter->setText("0/0");
        links.overallBar->SetPos(0);
        links.overallBar->SetRange(0, archiveCount);
        links.overallCounter->setText(QString("0/%1").arg(archiveCount));
        links.stopButton->setEnabled(true);
        links.archiveList->setEnabled(false);
    });
}

void WindowRunHost::ArchiveDone(int done, int count) {
    platform::RunOnUiThread([done, count] {
        UiLinks().overallBar->SetPos(done);
        UiLinks().overallCounter->setText(QString("%1/%2").arg(done).arg(count));
    });
}

void WindowRunHost::RunEnded() {
    platform::RunOnUiThread([] {
        const UiLinkSet& links = UiLinks();
        links.archiveList->setEnabled(true);
        links.stopButton->setEnabled(false);
        links.extractAllButton->setEnabled(true);
        links.archiveList->setFocus();
    });
}

void WindowRunHost::Beep() {
    platform::RunOnUiThread([] { platform::shell::Beep(); });
}

void WindowRunHost::OpenFolder(const QString& folder) {
    platform::shell::Open(folder);
}
