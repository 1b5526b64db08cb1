#include "platform/desktop_entry.h"

#include "platform/atomic_file.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace platform::desktop_entry {
namespace {

constexpr int kToolTimeoutMs = 10000;

// Inside double quotes the Exec rules escape these four with a backslash, and "%" is doubled
// because it opens a field code.
QString QuotedArgument(const QString& argument) {
    QString quoted = u"\""_qs;
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        if (c == u'%')
            quoted += u'%';
        quoted += c;
    }
    return quoted + u'"';
}

QString Field(const QString& key, const QString& value) {
    return key + u'=' + EscapeValue(value) + u'\n';
}

QString ListField(const QString& key, const QStringList& values) {
    QStringList escaped;
    for (const QString& value : values)
        escaped << EscapeValue(value).replace(u";"_qs, u"\\;"_qs);
    return key + u'=' + escaped.join(u';') + u";\n"_qs;
}

QString EntryPath(const QString& id) {
    return ApplicationsFolder() + u'/' + id;
}

} // namespace

QString EscapeValue(const QString& value) {
    QString escaped;
    for (const QChar c : value) {
        if (c == u'\\')
            escaped += u"\\\\"_qs;
        else if (c == u'\n')
            escaped += u"\\n"_qs;
        else if (c == u'\t')
            escaped += u"\\t"_qs;
        else if (c == u'\r')
            escaped += u"\\r"_qs;
        else
            escaped += c;
    }
    if (escaped.startsWith(u' '))
        escaped.replace(0, 1, u"\\s"_qs);
    return escaped;
}

QString ExecValue(const QString& program, const QStringList& arguments) {
    QStringList parts = {QuotedArgument(program)};
    parts += arguments;
    return parts.join(u' ');
}

QByteArray ApplicationText(const Application& application) {
    const QString actionId = u"extract"_qs;
    QString text = u"[Desktop Entry]\n"_qs;
    text += u"Type=Application\nVersion=1.4\n"_qs;
    text += Field(u"Name"_qs, application.name);
    text += Field(u"Icon"_qs, application.icon);
    text += Field(u"TryExec"_qs, application.program);
    text += Field(u"Exec"_qs, ExecValue(application.program, {u"%F"_qs}));
    text += u"Terminal=false\n"_qs;
    if (!application.mimeTypes.isEmpty())
        text += ListField(u"MimeType"_qs, application.mimeTypes);
    text += u"Categories=Utility;Archiving;Compression;\n"_qs;
    text += ListField(u"Actions"_qs, {actionId});
    text += u"\n[Desktop Action "_qs + actionId + u"]\n"_qs;
    text += Field(u"Name"_qs, application.actionName);
    text += Field(u"Icon"_qs, application.icon);
    text += Field(u"Exec"_qs, ExecValue(application.program,
                                        QStringList(u"%F"_qs) + application.actionArguments));
    return text.toUtf8();
}

QString ApplicationsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           u"/applications"_qs;
}

bool Install(const Application& application) {
    return WriteFileAtomically(EntryPath(application.id), ApplicationText(application),
                               QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                   QFileDevice::ReadGroup | QFileDevice::ReadOther);
}

bool Uninstall(const QString& id) {
    QFile entry(EntryPath(id));
    return !entry.exists() || entry.remove();
}

void RefreshDatabase() {
    const QString folder = ApplicationsFolder();
    // With no entry left to index, the cache the tool made for ours goes too.
    if (!QDirIterator(folder, {u"*.desktop"_qs}, QDir::Files, QDirIterator::Subdirectories)
             .hasNext()) {
        QFile::remove(folder + u"/mimeinfo.cache"_qs);
        return;
    }
    const QString tool = QStandardPaths::findExecutable(u"update-desktop-database"_qs);
    if (tool.isEmpty())
        return;
    QProcess process;
    // Its complaints would be about other programs' entries in the same folder.
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(tool, {folder});
    if (process.waitForStarted() && !process.waitForFinished(kToolTimeoutMs))
        process.kill();
    process.waitForFinished();
}

} // namespace platform::desktop_entry
