#include "platform/mime_apps.h"

#include "platform/atomic_file.h"

#include <QFile>
#include <QStandardPaths>

namespace platform::mime_apps {
namespace {

bool IsSectionHeader(const QByteArray& text) {
    const QByteArray trimmed = text.trimmed();
    return trimmed.startsWith('[') && trimmed.endsWith(']');
}

QString SectionName(const QByteArray& text) {
    const QByteArray trimmed = text.trimmed();
    return QString::fromUtf8(trimmed.mid(1, trimmed.size() - 2));
}

// The key of a "key=value" line, or "" for blank lines and comments.
QString KeyOf(const QByteArray& text) {
    const QByteArray trimmed = text.trimmed();
    const qsizetype equals = trimmed.indexOf('=');
    if (trimmed.startsWith('#') || equals <= 0)
        return {};
    return QString::fromUtf8(trimmed.left(equals).trimmed());
}

QStringList IdsOf(const QByteArray& text) {
    const QByteArray trimmed = text.trimmed();
    const QString value = QString::fromUtf8(trimmed.mid(trimmed.indexOf('=') + 1));
    QStringList ids;
    for (const QString& id : value.split(u';', Qt::SkipEmptyParts))
        if (!id.trimmed().isEmpty())
            ids << id.trimmed();
    return ids;
}

QByteArray LineFor(const QString& mimeType, const QStringList& ids) {
    return (mimeType + u'=' + ids.join(u';') + u';').toUtf8();
}

// Desktop ids map "-" to subfolders: "kde-ark.desktop" may be applications/kde/ark.desktop.
bool IsInstalled(const QString& desktopId) {
    if (!QStandardPaths::locate(QStandardPaths::ApplicationsLocation, desktopId).isEmpty())
        return true;
    for (qsizetype dash = desktopId.indexOf(u'-'); dash > 0;
         dash = desktopId.indexOf(u'-', dash + 1)) {
        QString path = desktopId;
        path[dash] = u'/';
        if (!QStandardPaths::locate(QStandardPaths::ApplicationsLocation, path).isEmpty())
            return true;
    }
    return false;
}

bool LoadList(MimeAppsList& list) {
    QFile file(ListPath());
    if (!file.exists()) {
        list = MimeAppsList();
        return true;
    }
    if (!file.open(QIODevice::ReadOnly))
        return false;
    list = MimeAppsList(file.readAll());
    return file.error() == QFileDevice::NoError;
}

bool SaveList(const MimeAppsList& list) {
    const QString path = ListPath();
    QFileDevice::Permissions permissions = QFile::permissions(path);
    if (permissions == QFileDevice::Permissions())
        permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                      QFileDevice::ReadOther;
    return WriteFileAtomically(path, list.Content(), permissions);
}

} // namespace

QString ListPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           u"/mimeapps.list"_qs;
}

MimeAppsList::MimeAppsList(const QByteArray& content) {
    if (content.isEmpty())
        return;
    QList<QByteArray> texts = content.split('\n');
    finalNewline_ = content.endsWith('\n');
    if (finalNewline_)
        texts.removeLast();
    for (QByteArray& text : texts) {
        const bool carriageReturn = text.endsWith('\r');
        if (carriageReturn)
            text.chop(1);
        lines_.append(Line{text, carriageReturn});
    }
    carriageReturns_ = !lines_.isEmpty() && lines_.first().carriageReturn;
}

qsizetype MimeAppsList::SectionStart(const QString& section) const {
    for (qsizetype i = 0; i < lines_.size(); ++i)
        if (IsSectionHeader(lines_[i].text) && SectionName(lines_[i].text) == section)
            return i;
    return -1;
}

qsizetype MimeAppsList::SectionEnd(qsizetype start) const {
    qsizetype end = start + 1;
    while (end < lines_.size() && !IsSectionHeader(lines_[end].text))
        ++end;
    return end;
}

qsizetype MimeAppsList::KeyLine(const QString& section, const QString& mimeType) const {
    const qsizetype start = SectionStart(section);
    if (start < 0)
        return -1;
    const qsizetype end = SectionEnd(start);
    for (qsizetype i = start + 1; i < end; ++i)
        if (KeyOf(lines_[i].text).compare(mimeType, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QStringList MimeAppsList::Entries(const QString& section, const QString& mimeType) const {
    const qsizetype line = KeyLine(section, mimeType);
    return line < 0 ? QStringList() : IdsOf(lines_[line].text);
}

void MimeAppsList::RemoveLine(qsizetype index) {
    lines_.removeAt(index);
    qsizetype start = index - 1;
    while (start >= 0 && !IsSectionHeader(lines_[start].text))
        --start;
    if (start < 0)
        return;
    const qsizetype end = SectionEnd(start);
    for (qsizetype i = start + 1; i < end; ++i)
        if (!lines_[i].text.trimmed().isEmpty())
            return;
    // A section left empty goes, with the blank line that parted it from the one before when
    // it was the last.
    if (end == lines_.size() && start > 0 && lines_[start - 1].text.trimmed().isEmpty())
        --start;
    lines_.remove(start, end - start);
}

void MimeAppsList::SetEntries(const QString& section, const QString& mimeType,
                              const QStringList& ids) {
    const qsizetype line = KeyLine(section, mimeType);
    if (line >= 0) {
        if (ids.isEmpty())
            RemoveLine(line);
        else
            lines_[line].text = LineFor(KeyOf(lines_[line].text), ids);
        return;
    }
    if (ids.isEmpty())
        return;
    qsizetype start = SectionStart(section);
    if (start < 0) {
        if (!lines_.isEmpty() && !lines_.last().text.trimmed().isEmpty())
            lines_.append(Line{{}, carriageReturns_});
        lines_.append(Line{(u'[' + section + u']').toUtf8(), carriageReturns_});
        start = lines_.size() - 1;
    }
    // After the section's last line that says something, before the blank lines that part it
    // from the next section.
    qsizetype insertAt = SectionEnd(start);
    while (insertAt - 1 > start && lines_[insertAt - 1].text.trimmed().isEmpty())
        --insertAt;
    lines_.insert(insertAt, Line{LineFor(mimeType, ids), carriageReturns_});
}

void MimeAppsList::MakeDefault(const QString& mimeType, const QString& desktopId) {
    QStringList defaults = Entries(kDefaultApplications, mimeType);
    defaults.removeAll(desktopId);
    defaults.prepend(desktopId);
    SetEntries(kDefaultApplications, mimeType, defaults);
    QStringList removed = Entries(kRemovedAssociations, mimeType);
    if (removed.removeAll(desktopId) > 0)
        SetEntries(kRemovedAssociations, mimeType, removed);
}

void MimeAppsList::DropDefault(const QString& mimeType, const QString& desktopId) {
    QStringList defaults = Entries(kDefaultApplications, mimeType);
    if (defaults.removeAll(desktopId) > 0)
        SetEntries(kDefaultApplications, mimeType, defaults);
}

void MimeAppsList::Forget(const QString& desktopId) {
    for (qsizetype i = 0; i < lines_.size();) {
        const QString key = KeyOf(lines_[i].text);
        QStringList ids = IdsOf(lines_[i].text);
        if (key.isEmpty() || ids.removeAll(desktopId) == 0) {
            ++i;
        } else if (ids.isEmpty()) {
            RemoveLine(i);
            i = 0; // the section around it may have gone too
        } else {
            lines_[i].text = LineFor(key, ids);
        }
    }
}

QByteArray MimeAppsList::Content() const {
    QByteArray content;
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        content += lines_[i].text;
        if (lines_[i].carriageReturn)
            content += '\r';
        if (i + 1 < lines_.size() || finalNewline_)
            content += '\n';
    }
    return content;
}

QString DefaultApplication(const QString& mimeType) {
    MimeAppsList list;
    if (!LoadList(list))
        return {};
    for (const QString& id : list.Entries(kDefaultApplications, mimeType))
        if (IsInstalled(id))
            return id;
    return {};
}

bool Update(const std::function<void(MimeAppsList&)>& edit) {
    MimeAppsList list;
    if (!LoadList(list))
        return false;
    const QByteArray before = list.Content();
    edit(list);
    return list.Content() == before || SaveList(list);
}

} // namespace platform::mime_apps
