#include "engines/engine_conventions.h"

#include "settings/settings_store.h"

#include <QRegularExpression>
#include <cerrno>
#include <sys/stat.h>

QStringList& ExclusionMasks() {
    static QStringList masks;
    return masks;
}

bool IsExtractAllowed(const QString& name) {
    const QString lowered = name.toLower();
    for (const QString& mask : ExclusionMasks()) {
        const QString loweredMask = mask.toLower();
        if (!loweredMask.contains(u'*')) {
            if (!loweredMask.isEmpty() && lowered.contains(loweredMask))
                return false;
            continue;
        }
        for (const QString& piece : loweredMask.split(u'*', Qt::SkipEmptyParts))
            if (lowered.contains(piece))
                return false;
    }
    return true;
}

bool IsFolderEntry(const QString& name) {
    const QString trimmed = name.trimmed();
    return !trimmed.isEmpty() && (trimmed.endsWith(u'/') || trimmed.endsWith(u'\\'));
}

bool FileExists(const QString& path) {
    struct stat info {};
    if (lstat(path.toUtf8().constData(), &info) == 0)
        return true;
    return errno == EACCES;
}

bool IsUnsafeEntryName(const QString& name) {
    if (name.startsWith(u'/') || name.startsWith(u'\\'))
        return true;
    if (name.size() >= 2 && name.at(1) == u':' && name.at(0).isLetter())
        return true;
    static const QRegularExpression separators(QStringLiteral("[/\\\\]"));
    return name.split(separators).contains(QStringLiteral(".."));
}

bool OverwriteEnabled() {
    return ReadDword(HKEY_LOCAL_MACHINE, kProgramKey, "Overwrite", 0) != 0;
}
