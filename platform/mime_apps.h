#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// The user's choice of applications per MIME type, kept by the desktop in
// $XDG_CONFIG_HOME/mimeapps.list (freedesktop "MIME Applications Associations"). Edits change only
// the lines they must, so other sections, other types and comments stay as they were.
namespace platform::mime_apps {

inline const QString kDefaultApplications = QStringLiteral("Default Applications");
inline const QString kRemovedAssociations = QStringLiteral("Removed Associations");

QString ListPath();

// The text of one mimeapps.list.
class MimeAppsList {
public:
    explicit MimeAppsList(const QByteArray& content = {});

    // The desktop ids listed for the type in the section, in order.
    QStringList Entries(const QString& section, const QString& mimeType) const;
    // An empty list removes the type's line; a missing section is appended.
    void SetEntries(const QString& section, const QString& mimeType, const QStringList& ids);

    // Puts the id first among the type's defaults and takes it out of the removed associations.
    void MakeDefault(const QString& mimeType, const QString& desktopId);
    // Takes the id out of the type's defaults, so the one listed after it is the default again.
    void DropDefault(const QString& mimeType, const QString& desktopId);
    // Takes the id out of every list of the file.
    void Forget(const QString& desktopId);

    QByteArray Content() const;

private:
    struct Line {
        QByteArray text;
        bool carriageReturn = false;
    };
    qsizetype SectionStart(const QString& section) const;
    qsizetype SectionEnd(qsizetype start) const;
    qsizetype KeyLine(const QString& section, const QString& mimeType) const;
    // Also removes the line's section when nothing but blank lines is left in it.
    void RemoveLine(qsizetype index);

    QList<Line> lines_;
    bool finalNewline_ = true;
    bool carriageReturns_ = false; // new lines end as the file's first line does
};

// The first default for the type whose desktop file is installed, or "" when there is none.
QString DefaultApplication(const QString& mimeType);

// Reads the user's list, hands it to `edit`, and writes it back atomically when it changed.
// A list that exists but cannot be read is left untouched, and false returned.
bool Update(const std::function<void(MimeAppsList&)>& edit);

} // namespace platform::mime_apps
