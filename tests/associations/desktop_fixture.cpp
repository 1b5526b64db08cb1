#include "desktop_fixture.h"

#include "support/fixtures.h"
#include "support/temp_home.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace tw::test {

QString ConfigPath(const QString& relative) {
    return QString::fromStdString(CurrentHome().config.string()) + u'/' + relative;
}

QString DataPath(const QString& relative) {
    return QString::fromStdString(CurrentHome().data.string()) + u'/' + relative;
}

QString MimeAppsPath() {
    return ConfigPath(u"mimeapps.list"_qs);
}

QString ProgramEntryPath() {
    return DataPath(u"applications/tamblewick.desktop"_qs);
}

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

void InstallOtherApplication(const QString& desktopId, const QString& mimeType) {
    WriteBytes(DataPath(u"applications/"_qs + desktopId),
               ("[Desktop Entry]\nType=Application\nName=Other\nExec=/bin/true %F\nMimeType=" +
                mimeType.toUtf8() + ";\n"));
}

QString GioDefaultFor(const QString& mimeType, bool* found) {
    const QString gio = QStandardPaths::findExecutable(u"gio"_qs);
    *found = !gio.isEmpty();
    if (gio.isEmpty())
        return {};
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"LC_ALL"_qs, u"C"_qs);
    environment.insert(u"LANGUAGE"_qs, u"C"_qs);
    process.setProcessEnvironment(environment);
    process.start(gio, {u"mime"_qs, mimeType});
    process.waitForFinished(20000);
    const QString output = QString::fromUtf8(process.readAllStandardOutput());
    const QRegularExpressionMatch match =
        QRegularExpression(u"^Default application for .*: (\\S+)$"_qs,
                           QRegularExpression::MultilineOption)
            .match(output);
    return match.hasMatch() ? match.captured(1) : QString();
}

} // namespace tw::test
