#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// One history row as the log sees it: its text and its time stamp (empty for "Done").
struct LogRow {
    QString text;
    QString stamp;
};

// The log's bytes: a header with the version, one block per archive with its destination and
// date, one line per event with its time, CR LF line breaks, and a closing separator line.
QByteArray FormatLog(const QList<LogRow>& rows, const QString& version);
