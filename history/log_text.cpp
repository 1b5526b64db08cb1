#include "history/log_text.h"

namespace {

const QString kLineBreak = u"\r\n"_qs;
const QString kSeparator(73, u'-');

// "[05/17/02][03:45:12 PM]" gives "[05/17/02]".
QString DatePart(const QString& stamp) {
    return stamp.left(stamp.indexOf(u']') + 1);
}

// "[05/17/02][03:45:12 PM]" gives "[03:45:12 PM] ".
QString TimePart(const QString& stamp) {
    return stamp.mid(stamp.indexOf(u']') + 1) + u' ';
}

} // namespace

QByteArray FormatLog(const QList<LogRow>& rows, const QString& version) {
    // Reading one row past the end is intended: an archive row that is the last row still gets
    // its (empty) destination line.
    const auto rowAt = [&rows](qsizetype i) { return i < rows.size() ? rows[i] : LogRow(); };
    QString log = kLineBreak + u"TAMBLEWICK "_qs + version + kLineBreak;
    for (qsizetype i = 0; i <= rows.size(); ++i) {
        const LogRow row = rowAt(i);
        const bool created = row.text.contains(u"Created ");
        if (created)
            log += kLineBreak;
        if (row.text.isEmpty() || row.text == u"Done")
            continue;
        if (row.text.contains(u"Archive:")) {
            log += kLineBreak + kSeparator + kLineBreak + row.text;
            const LogRow destination = rowAt(++i);
            log += kLineBreak + destination.text + kLineBreak + kSeparator + kLineBreak +
                   DatePart(destination.stamp);
            continue;
        }
        log += kLineBreak + TimePart(row.stamp) + row.text + kLineBreak;
        if (created)
            log += kLineBreak;
    }
    log += kLineBreak + kSeparator;
    return log.toUtf8();
}
