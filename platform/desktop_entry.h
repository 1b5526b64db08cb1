#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Desktop entries (the freedesktop.org format): the files through which desktops
// and file managers learn how to start a program and which files it opens.
namespace platform::desktop_entry {

// A value as the file stores it: backslashes doubled, line breaks and tabs escaped.
QString EscapeValue(const QString& value);

// An Exec value: the program quoted as the format asks, then the arguments as given
// (field codes such as %F and switches).
QString ExecValue(const QString& program, const QStringList& arguments);

// A program that opens the given MIME types (none: it claims no type), with one extra action.
struct Application {
    QString id; // file name, "name.desktop"
    QString name;
    QString icon; // absolute path of the icon file
    QString program;
    QStringList mimeTypes;
    QString actionName;
    QStringList actionArguments; // after %F
};

QByteArray ApplicationText(const Application& application);

// $XDG_DATA_HOME/applications, where the user's own entries go.
QString ApplicationsFolder();

// Writes the entry into the user's applications folder; false when it could not be written.
bool Install(const Application& application);
// False when the entry was there and could not be removed.
bool Uninstall(const QString& id);

// Renews the desktop's cache of which entry opens which type, when the desktop has the tool
// (update-desktop-database); a missing tool is no failure.
void RefreshDatabase();

} // namespace platform::desktop_entry
