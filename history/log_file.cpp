#include "history/log_file.h"

#include "history/history_list.h"
#include "history/log_text.h"
#include "history/time_stamps.h"
#include "platform/shell.h"
#include "platform/version.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {

// Permission bits do not tell (root ignores them, a read-only mount does not show in them):
// only creating a file does.
bool CanCreateFilesIn(const QString& folder) {
    QTemporaryFile probe(folder + u".probe-XXXXXX"_qs);
    return probe.open();
}

QString LogsFolder(QString programFolder) {
    EnsureTrailingSeparator(programFolder);
    const QString beside = programFolder + u"logs/"_qs;
    QDir().mkpath(beside);
    if (CanCreateFilesIn(beside))
        return beside;
    const QString own = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                        u"/tamblewick/logs/"_qs;
    QDir().mkpath(own);
    return own;
}

// "[05/17/02]" gives "05-17-02".
QString TodaysNamePart() {
    QString date = DateStamp();
    date.remove(u'[');
    date.remove(u']');
    date.replace(u'/', u'-');
    return date;
}

// The day's first name not taken yet: 05-17-02.txt, then 05-17-02-1.txt, 05-17-02-2.txt, ...
// A name that cannot be looked at counts as free, so an unreadable folder cannot keep this
// loop going; creating the file then fails and says why.
QString FreeLogPath(const QString& folder) {
    const QString date = TodaysNamePart();
    for (int n = 0;; ++n) {
        const QString path =
            folder + date + (n == 0 ? QString() : u"-"_qs + QString::number(n)) + u".txt"_qs;
        const QFileInfo info(path);
        if (!info.exists() && !info.isSymLink())
            return path;
    }
}

QList<LogRow> RowsOf(const HistoryList& history) {
    QList<LogRow> rows;
    for (int row = 0; row < history.ItemCount(); ++row)
        rows.append({history.ItemText(row, 0), history.ItemText(row, 1)});
    return rows;
}

// Never empties an existing file, and never follows a link planted under the chosen name.
bool WriteNewFile(QFile& file, const QByteArray& bytes) {
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    if (file.write(bytes) != bytes.size() || !file.flush())
        return false;
    file.close();
    return file.error() == QFileDevice::NoError;
}

} // namespace

void WriteLogFile(const HistoryList& history, QWidget* owner, const QString& programFolder) {
    if (history.ItemCount() == 0) {
        QMessageBox::warning(owner, u"Error"_qs, u"Nothing to write."_qs);
        return;
    }
    const QString folder = LogsFolder(programFolder);
    QFile file(FreeLogPath(folder));
    const QByteArray log =
        FormatLog(RowsOf(history), QString::fromStdString(platform::ProgramVersion()));
    if (!WriteNewFile(file, log)) {
        QMessageBox::warning(owner, u"Error"_qs,
                             u"Cannot write %1: %2."_qs.arg(file.fileName(), file.errorString()));
        return;
    }
    platform::shell::Open(folder);
}
