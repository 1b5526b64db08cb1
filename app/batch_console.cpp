#include "app/batch_console.h"

#include "extract/messages.h"
#include "platform/terminal.h"

#include <QAbstractItemModel>
#include <QTableView>

using platform::LPARAM;
using platform::LRESULT;
using platform::WPARAM;
namespace terminal = platform::terminal;

namespace {

void WriteLine(terminal::Stream stream, const QString& text) {
    terminal::Write(stream, (text + u'\n').toStdString());
}

} // namespace

BatchConsole::BatchConsole() : progressLine_(terminal::IsTerminal(terminal::Stream::Error)) {
    history_.InsertColumn(0, u"File\\Error"_qs, 100);
    history_.InsertColumn(1, u"Date"_qs, 0);
    archiveBar_.SetRange(0, 0);
    // A row gets its stamp after its insertion, so it is printed once the report is complete.
    QAbstractItemModel* rows = history_.DetailsView()->model();
    QObject::connect(rows, &QAbstractItemModel::rowsInserted, &history_,
                     [this, rows](const QModelIndex& parent, int first, int last) {
                         for (int row = first; row <= last; ++row)
                             added_ << QPersistentModelIndex(rows->index(row, 0, parent));
                     });
}

LRESULT BatchConsole::WindowProc(unsigned message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case UM_HISTORYERROR:
        history_.AddErrorEntry(TextOf(wParam), TextOf(lParam));
        break;
    case UM_HISTORYITEM:
        history_.AddTextEntry(TextOf(wParam));
        break;
    case UM_HISTORYARCHIVE:
        // With a destination the worker opens the next archive; without, an engine a volume.
        if (lParam && !TextOf(lParam).isEmpty())
            passwordAsked_ = false;
        history_.AddArchiveEntry(TextOf(wParam), TextOf(lParam));
        break;
    case UM_PROGRESSRANGE:
        archiveBar_.SetRange(static_cast<int>(wParam & 0xFFFF), static_cast<int>(lParam & 0xFFFF));
        RefreshCounters();
        break;
    case UM_HISTORYRECORDING:
        history_.SetRecording(wParam == 1);
        break;
    case UM_PROGRESSPOS:
        archiveBar_.SetPos(static_cast<int>(wParam));
        RefreshCounters();
        break;
    case UM_PROGRESSSTEP:
        archiveBar_.SetPos(archiveBar_.Pos() + static_cast<int>(wParam));
        RefreshCounters();
        break;
    case UM_STATUSTEXT:
        status_ = TextOf(wParam);
        if (!progressLine_)
            WriteLine(terminal::Stream::Error, status_);
        ShowStatus();
        break;
    default:
        break;
    }
    PrintAddedRows();
    return 0;
}

void BatchConsole::RefreshCounters() {
    ShowStatus();
}

void BatchConsole::AddCrcOkEntry() {
    history_.AddCrcOkEntry();
    PrintAddedRows();
}

void BatchConsole::SetOverall(int done, int count) {
    overallDone_ = done;
    overallCount_ = count;
    if (done == 0)
        archiveBar_.SetRange(0, 0);
    ShowStatus();
}

void BatchConsole::Note(const QString& text) {
    ClearProgressLine();
    WriteLine(terminal::Stream::Error, text);
    ShowStatus();
}

std::optional<QString> BatchConsole::Ask(const QString& prompt, bool echo) {
    // After Ctrl+C nothing more is asked: the run is ending.
    if (terminal::Interrupted())
        return std::nullopt;
    ClearProgressLine();
    const std::optional<std::string> answer = terminal::ReadLine(prompt.toStdString(), echo);
    // The line end of an answer that was hidden or came from a pipe was not shown.
    if (!echo || !terminal::IsTerminal(terminal::Stream::Input))
        terminal::Write(terminal::Stream::Error, "\n");
    ShowStatus();
    if (!answer)
        return std::nullopt;
    return QString::fromStdString(*answer);
}

std::optional<QString> BatchConsole::AskPassword(const QString& prompt) {
    if (!passwordAsked_ || prompt != passwordPrompt_) {
        passwordAnswer_ = Ask(prompt, false);
        passwordPrompt_ = prompt;
        passwordAsked_ = true;
    }
    return passwordAnswer_;
}

void BatchConsole::Finish() {
    if (!progressLine_)
        return;
    ClearProgressLine();
    WriteLine(terminal::Stream::Error, status_);
}

void BatchConsole::PrintAddedRows() {
    if (added_.isEmpty())
        return;
    ClearProgressLine();
    QString lines;
    for (const QPersistentModelIndex& added : std::as_const(added_)) {
        if (!added.isValid())
            continue;
        const QString text = history_.ItemText(added.row(), 0);
        const QString stamp = history_.ItemText(added.row(), 1);
        if (history_.ItemImage(added.row()) == IconCache::Error)
            ++errorRows_;
        lines += (stamp.isEmpty() ? text : stamp + u' ' + text) + u'\n';
    }
    added_.clear();
    terminal::Write(terminal::Stream::Output, lines.toStdString());
    ShowStatus();
}

void BatchConsole::ShowStatus() {
    if (!progressLine_)
        return;
    QString line = u"overall %1/%2  archive %3/%4 "_qs.arg(overallDone_)
                       .arg(overallCount_)
                       .arg(archiveBar_.Pos())
                       .arg(archiveBar_.RangeHigh()) +
                   status_;
    line.truncate(terminal::Columns() - 1);
    terminal::Write(terminal::Stream::Error, (u"\r\033[K"_qs + line).toStdString());
    progressShown_ = true;
}

void BatchConsole::ClearProgressLine() {
    if (!progressShown_)
        return;
    terminal::Write(terminal::Stream::Error, "\r\033[K");
    progressShown_ = false;
}
