#pragma once

#include <QString>
#include <QStringList>

// What the program decides about a file from its name alone, and the path helpers everything
// else splits paths with. Paths split at both "/" and "\"; a drive ("C:") is kept in front.
enum ArchiveKind {
    NotArchive = 0,
    KnownArchive = 1,
    CandidateArchive = 2, // ".exe" or ".001": only the engines can tell
};

ArchiveKind ArchiveKindOf(const QString& path);

// Later volumes of a set; the list reminds the user to give only the first one.
const QStringList& VolumeExtensions();

QString ExtensionOf(const QString& path); // ".zip": "A".."Z" lowered, dot included, or ""
QString FileNameOf(const QString& path);  // name and extension
QString BaseNameOf(const QString& path);  // name alone
QString FolderOf(const QString& path);    // drive and folder, with the path's own separator
bool IsFolder(const QString& path);       // a root, or an existing directory

QString ModulePath();   // the running executable
QString ModuleFolder(); // its folder, ending with "/"

// Trims white space and appends "/" unless the path already ends with "/" or "\"; "" stays "".
void EnsureTrailingSeparator(QString& path);
