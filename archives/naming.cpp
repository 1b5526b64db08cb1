#include "archives/naming.h"

#include "platform/module_path.h"

#include <QFileInfo>
#include <array>

namespace {

constexpr int kMaxPartLength = 255;

struct PathParts {
    QString drive;
    QString folder;
    QString name;
    QString extension;
};

// Cuts at 255 characters without splitting a surrogate pair.
QString Limited(const QString& part) {
    if (part.size() <= kMaxPartLength)
        return part;
    qsizetype length = kMaxPartLength;
    if (part.at(length - 1).isHighSurrogate())
        --length;
    return part.left(length);
}

PathParts Split(const QString& path) {
    PathParts parts;
    QString rest = path;
    if (rest.size() >= 2 && rest.at(1) == u':') {
        parts.drive = rest.left(2);
        rest = rest.mid(2);
    }
    const qsizetype lastSeparator = std::max(rest.lastIndexOf(u'/'), rest.lastIndexOf(u'\\'));
    parts.folder = rest.left(lastSeparator + 1);
    const QString file = rest.mid(lastSeparator + 1);
    const qsizetype dot = file.lastIndexOf(u'.');
    parts.name = dot < 0 ? file : file.left(dot);
    parts.extension = dot < 0 ? QString() : file.mid(dot);
    parts.drive = Limited(parts.drive);
    parts.folder = Limited(parts.folder);
    parts.name = Limited(parts.name);
    parts.extension = Limited(parts.extension);
    return parts;
}

bool IsRoot(const QString& path) {
    if (path == u"/")
        return true;
    return path.size() == 3 && path.at(0).isLetter() && path.at(1) == u':' &&
           (path.at(2) == u'\\' || path.at(2) == u'/');
}

} // namespace

ArchiveKind ArchiveKindOf(const QString& path) {
    static const std::array<const char16_t*, 10> known = {
        u".zip", u".rar", u".c00", u".ace", u".r01", u".r00", u".a00", u".a01", u".c01", u".jar"};
    const QString extension = ExtensionOf(path).toLower();
    for (const auto* candidate : known)
        if (extension == QStringView(candidate))
            return KnownArchive;
    if (extension == u".exe" || extension == u".001")
        return CandidateArchive;
    return NotArchive;
}

const QStringList& VolumeExtensions() {
    static const QStringList extensions = {u".r01"_qs, u".r00"_qs, u".a00"_qs,
                                           u".a01"_qs, u".c00"_qs, u".c01"_qs};
    return extensions;
}

QString ExtensionOf(const QString& path) {
    QString extension = Split(path).extension;
    for (auto& c : extension)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    return extension;
}

QString FileNameOf(const QString& path) {
    const auto parts = Split(path);
    return parts.name + parts.extension;
}

QString BaseNameOf(const QString& path) {
    return Split(path).name;
}

QString FolderOf(const QString& path) {
    const auto parts = Split(path);
    return parts.drive + parts.folder;
}

bool IsFolder(const QString& path) {
    return IsRoot(path) || QFileInfo(path).isDir();
}

QString ModulePath() {
    return QString::fromStdString(platform::ModuleFilePath());
}

QString ModuleFolder() {
    QString folder = FolderOf(ModulePath());
    EnsureTrailingSeparator(folder);
    return folder;
}

void EnsureTrailingSeparator(QString& path) {
    if (path.isEmpty())
        return;
    path = path.trimmed();
    if (!path.endsWith(u'/') && !path.endsWith(u'\\'))
        path += u'/';
}
