#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The user's desktop files inside the test's own XDG folders.
namespace tw::test {

QString ConfigPath(const QString& relative);
QString DataPath(const QString& relative);
QString MimeAppsPath();
QString ProgramEntryPath();

QByteArray ReadBytes(const QString& path);
void WriteBytes(const QString& path, const QByteArray& bytes);

// Installs a minimal desktop entry for another program, so that the desktop counts it.
void InstallOtherApplication(const QString& desktopId, const QString& mimeType);

// The desktop's own answer (GIO, as GNOME file managers ask it): the default application's
// desktop id for the type, "" when none; `found` says whether gio is installed at all.
QString GioDefaultFor(const QString& mimeType, bool* found);

} // namespace tw::test
