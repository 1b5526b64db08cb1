#include "app/batch_run_host.h"

#include "app/batch_console.h"
#include "extract/run_state.h"
#include "platform/terminal.h"
#include "platform/ui_thread.h"

#include <QDir>

namespace terminal = platform::terminal;

namespace {

QString AbsoluteFolder(QString folder) {
    if (folder == u"~" || folder.startsWith(u"~/"))
        folder.replace(0, 1, QDir::homePath());
    return QDir::cleanPath(QDir::current().absoluteFilePath(folder));
}

} // namespace

BatchRunHost::BatchRunHost(std::vector<ListedArchive> archives, QString destination,
                           BatchConsole& console)
    : archives_(std::move(archives)), destination_(std::move(destination)), console_(console) {}

int BatchRunHost::ArchiveCount() {
    return static_cast<int>(archives_.size());
}

ListedArchive BatchRunHost::ArchiveAt(int index) {
    return archives_.at(static_cast<std::size_t>(index));
}

std::optional<QString> BatchRunHost::AskDestination(const QString& startFolder) {
    asked_ = true;
    canceled_ = true;
    if (terminal::Interrupted())
        return std::nullopt;
    std::optional<QString> chosen;
    if (!destination_.isEmpty())
        chosen = Created(AbsoluteFolder(destination_));
    else if (terminal::IsTerminal(terminal::Stream::Input))
        chosen = DestinationFromTerminal(startFolder);
    else
        platform::RunOnUiThread([this] {
            console_.Note(u"tamblewick: no folder to extract into: the settings leave it to the "
                          u"user; give --dest DIR"_qs);
        });
    canceled_ = !chosen;
    return chosen;
}

std::optional<QString> BatchRunHost::DestinationFromTerminal(const QString& startFolder) {
    std::optional<QString> answer;
    platform::RunDialogOnUiThread([&] {
        answer = console_.Ask(u"Select the directory files will be extracted into : ["_qs +
                                  startFolder + u"] "_qs,
                              true);
    });
    if (!answer || terminal::Interrupted())
        return std::nullopt;
    const QString typed = answer->trimmed();
    if (typed.isEmpty() && startFolder.isEmpty())
        return std::nullopt;
    return Created(AbsoluteFolder(typed.isEmpty() ? startFolder : typed));
}

// The folder browser offers to make a new folder; a folder named here is made when missing.
std::optional<QString> BatchRunHost::Created(const QString& folder) {
    if (QDir().mkpath(folder))
        return folder;
    platform::RunOnUiThread(
        [&] { console_.Note(u"tamblewick: cannot create the folder "_qs + folder); });
    return std::nullopt;
}

void BatchRunHost::RunStarting(int archiveCount) {
    // An interrupt that came before the worker cleared the flag still stops the run.
    if (terminal::Interrupted())
        StopRequested = true;
    platform::RunOnUiThread([this, archiveCount] { console_.SetOverall(0, archiveCount); });
}

void BatchRunHost::ArchiveDone(int done, int count) {
    platform::RunOnUiThread([this, done, count] { console_.SetOverall(done, count); });
}
