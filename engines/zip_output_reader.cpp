#include "engines/zip_output_reader.h"

#include "engines/engine_conventions.h"
#include "extract/reporting.h"

namespace {

// The entry name of an output line: after the first blank, then after the last backslash
// (" inflating: docs/a.txt" gives "docs/a.txt", "skipping: Target file exists\a.txt" "a.txt").
QString SubjectOf(const QString& text) {
    QString subject = text.trimmed();
    if (text.contains(u' '))
        subject = subject.mid(subject.indexOf(u' ') + 1);
    if (text.contains(u'\\'))
        subject = subject.mid(subject.lastIndexOf(u'\\') + 1);
    return subject;
}

QString PasswordSubject(QString subject) {
    subject = subject.mid(subject.indexOf(u':') + 1);
    const qsizetype words = subject.indexOf(u"incorrect password");
    return subject.left(std::max<qsizetype>(words - 1, 0));
}

void StepArchiveBar(const ZipOutputContext& context) {
    SetArchiveRange(0, static_cast<int>(context.numMembers));
    AdvanceArchiveProgress(1);
}

} // namespace

void ReadZipOutput(const QString& text, ZipOutputContext& context) {
    if (text.trimmed().size() <= 1)
        return;
    const QString subject = SubjectOf(text);
    auto has = [&](const char* word) { return text.contains(QLatin1String(word)); };

    if (has("is empty")) {
        ReportError(context.archivePath, "ZIP file is empty");
    } else if (has("extracting") || has("inflating") || has("creating")) {
        ReportItem(subject);
    } else if (has("warning") && !has("caution")) {
        ReportError(context.archivePath, subject.left(std::max<qsizetype>(subject.size() - 1, 0)));
    } else if (has("End-of-")) {
        ReportError(context.archivePath, "End of file not found");
    } else if (has("incorrect password") && !has("files skipped because")) {
        ReportError(PasswordSubject(subject), "Invalid password");
    } else if (has("testing")) {
        if (IsFolderEntry(subject)) {
            ++context.excludedCount;
        } else if (!IsExtractAllowed(subject)) {
            ReportError(subject, "Matched masks not to extract");
            ++context.excludedCount;
        }
        StepArchiveBar(context);
    } else if (has("No errors")) {
        // nothing to report; the search ends here
    } else if (has("Target file newer") || has("Target file exists")) {
        ReportError(subject, "File already exists");
    }

    if (has("extracting") || has("inflating") || has("kipping"))
        StepArchiveBar(context);
}
