#pragma once

#include <QIcon>
#include <QList>
#include <QPixmap>
#include <QStringList>

// One list's icons: a 16-pixel and a 32-pixel picture per name, the same index in both. The
// first five are fixed; after them comes one entry per file extension met.
class IconCache {
public:
    enum FixedIcon { Generic = 0, Ok = 1, Error = 2, Processed = 3, FolderCreated = 4 };

    // Forgets every extension and fills in the fixed entries again.
    void ResetIcons();
    // The icon of files with this extension; asks the desktop the first time an extension is met.
    int IconIndexFor(const QString& extension);

    QIcon Icon(int index) const;
    const QStringList& Names() const { return names_; }
    const QPixmap& SmallIcon(int index) const { return small_.at(index); }
    const QPixmap& LargeIcon(int index) const { return large_.at(index); }

private:
    int Append(const QString& name, const QIcon& picture);

    QStringList names_;
    QList<QPixmap> small_;
    QList<QPixmap> large_;
    QList<QIcon> icons_;
};
