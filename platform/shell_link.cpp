#include "platform/shell_link.h"

#include "platform/atomic_file.h"
#include "platform/desktop_entry.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace platform::shell {
namespace {

using desktop_entry::EscapeValue;
using desktop_entry::ExecValue;

constexpr QFileDevice::Permissions kReadable = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ReadGroup | QFileDevice::ReadOther;
// Nautilus runs only executable scripts, and Dolphin loads user service menus only when they
// are executable.
constexpr QFileDevice::Permissions kExecutable =
    kReadable | QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;

struct Launcher {
    QString path;
    QByteArray content;
    QFileDevice::Permissions permissions;
};

QString ThunarPath(const QString& dataFolder, const QString& name) {
    return dataFolder + u"/Thunar/sendto/"_qs + name + u".desktop"_qs;
}

QString NautilusPath(const QString& dataFolder, const QString& name) {
    return dataFolder + u"/nautilus/scripts/"_qs + name;
}

QString DolphinPath(const QString& dataFolder, const QString& name) {
    return dataFolder + u"/kio/servicemenus/"_qs + name + u".desktop"_qs;
}

QString CommentField(const QString& description) {
    return description.isEmpty() ? QString() : u"Comment="_qs + EscapeValue(description) + u'\n';
}

QByteArray ThunarText(const QString& name, const QString& target, const QString& description) {
    return (u"[Desktop Entry]\nType=Application\nVersion=1.4\nName="_qs + EscapeValue(name) +
            u'\n' + CommentField(description) + u"Exec="_qs +
            EscapeValue(ExecValue(target, {u"%F"_qs})) + u"\nTerminal=false\n"_qs)
        .toUtf8();
}

QString ShellQuoted(const QString& text) {
    QString quoted = text;
    quoted.replace(u"'"_qs, u"'\\''"_qs);
    return u'\'' + quoted + u'\'';
}

QByteArray NautilusText(const QString& target, const QString& description) {
    QString text = u"#!/bin/sh\n"_qs;
    if (!description.isEmpty())
        text += u"# "_qs + description + u'\n';
    text += u"exec "_qs + ShellQuoted(target) + u" \"$@\"\n"_qs;
    return text.toUtf8();
}

QByteArray DolphinText(const QString& name, const QString& target, const QString& description) {
    return (u"[Desktop Entry]\nType=Service\nX-KDE-ServiceTypes=KonqPopupMenu/Plugin\n"
            u"MimeType=all/all;\n"_qs +
            CommentField(description) + u"Actions=sendTo;\n\n[Desktop Action sendTo]\nName="_qs +
            EscapeValue(name) + u"\nExec="_qs + EscapeValue(ExecValue(target, {u"%F"_qs})) + u'\n')
        .toUtf8();
}

QString DataFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

bool HasControlCharacters(const QString& text) {
    for (const QChar c : text)
        if (c.category() == QChar::Other_Control)
            return true;
    return false;
}

} // namespace

std::optional<SendToLink> SendToLink::Create() {
    const QString dataFolder = DataFolder();
    if (!QDir::isAbsolutePath(dataFolder) || !QDir().mkpath(dataFolder))
        return std::nullopt;
    return SendToLink(dataFolder);
}

bool SendToLink::SetPath(const QString& target) {
    target_.clear();
    if (!QDir::isAbsolutePath(target) || HasControlCharacters(target))
        return false;
    target_ = target;
    return true;
}

bool SendToLink::SetDescription(const QString& description) {
    description_.clear();
    if (HasControlCharacters(description))
        return false;
    description_ = description;
    return true;
}

int SendToLink::Save(const QString& name) const {
    if (target_.isEmpty() || name.isEmpty() || name.contains(u'/'))
        return kLinkNotSaved;
    const Launcher launchers[] = {
        {ThunarPath(dataFolder_, name), ThunarText(name, target_, description_), kReadable},
        {NautilusPath(dataFolder_, name), NautilusText(target_, description_), kExecutable},
        {DolphinPath(dataFolder_, name), DolphinText(name, target_, description_), kExecutable},
    };
    bool saved = true;
    for (const Launcher& launcher : launchers)
        saved = WriteFileAtomically(launcher.path, launcher.content, launcher.permissions) && saved;
    return saved ? kLinkSaved : kLinkNotSaved;
}

QStringList SendToLinkPaths(const QString& name) {
    const QString dataFolder = DataFolder();
    if (dataFolder.isEmpty())
        return {};
    return {ThunarPath(dataFolder, name), NautilusPath(dataFolder, name),
            DolphinPath(dataFolder, name)};
}

bool RemoveSendToLink(const QString& name) {
    bool removed = true;
    for (const QString& path : SendToLinkPaths(name)) {
        QFile file(path);
        removed = (!file.exists() || file.remove()) && removed;
    }
    return removed;
}

} // namespace platform::shell
