#include "settings/associations.h"

#include "platform/desktop_entry.h"
#include "platform/mime_apps.h"
#include "platform/module_path.h"
#include "settings/send_to_link.h"
#include "settings/settings_store.h"
#include "settings/user_message.h"

#include <QFileInfo>
#include <QHash>
#include <QMimeDatabase>

// The store's class name of an extension and the desktop's default application for its MIME
// types tell the same story: "Tamblewick" is our desktop entry, any other default is named by its
// desktop id. The desktop has the last word, so a default changed in the desktop's own settings
// counts. Our entry goes first in the type's list of defaults and comes out again on removal, so
// whatever stood first before is the default again, whatever "Tamblewick Save" holds.
namespace {

const QString kClassName = u"Tamblewick"_qs;
const QString kBackupValue = u"Tamblewick Save"_qs;
const QString kDesktopId = u"tamblewick.desktop"_qs;
const QString kDefaultValue; // a key's unnamed value
const QString kIconFile = u"twfileicon.ico"_qs;

const QStringList& Extensions() {
    static const QStringList extensions = {u".zip"_qs, u".rar"_qs, u".ace"_qs, u".jar"_qs};
    return extensions;
}

// The system's own name for the type first, then the other names desktops look up.
QStringList MimeTypesOf(const QString& extension) {
    static const QHash<QString, QStringList> names = {
        {u".zip"_qs, {u"application/zip"_qs}},
        {u".rar"_qs, {u"application/vnd.rar"_qs, u"application/x-rar"_qs}},
        {u".ace"_qs, {u"application/x-ace"_qs}},
        {u".jar"_qs, {u"application/java-archive"_qs, u"application/x-java-archive"_qs}},
    };
    const QString lower = extension.toLower();
    QStringList types = names.value(lower);
    if (types.isEmpty())
        return types;
    const QMimeType system =
        QMimeDatabase().mimeTypeForFile(u"file"_qs + lower, QMimeDatabase::MatchExtension);
    if (system.isValid() && !system.isDefault()) {
        types.removeAll(system.name());
        types.prepend(system.name());
    }
    return types;
}

QString ProgramPath() {
    return QString::fromStdString(platform::ModuleFilePath());
}

QString ProgramFolder() {
    return QFileInfo(ProgramPath()).absolutePath() + u'/';
}

QString OpenCommand() {
    return u'"' + ProgramPath() + u"\" %1"_qs;
}

QString StoredClassOf(const QString& extension) {
    return ReadString(HKEY_CLASSES_ROOT, extension, kDefaultValue, QString());
}

QString ClassOf(const QString& extension) {
    const QStringList types = MimeTypesOf(extension);
    if (types.isEmpty())
        return StoredClassOf(extension);
    const QString desktopDefault = platform::mime_apps::DefaultApplication(types.first());
    if (desktopDefault == kDesktopId)
        return kClassName;
    if (!desktopDefault.isEmpty())
        return desktopDefault;
    const QString stored = StoredClassOf(extension);
    // The desktop no longer opens these files with us, whatever the store remembers.
    return stored == kClassName ? QString() : stored;
}

void GiveBackStoredClass(const QString& extension) {
    QString saved = ReadString(HKEY_CLASSES_ROOT, extension, kBackupValue, QString());
    if (saved == kClassName)
        saved.clear();
    WriteString(HKEY_CLASSES_ROOT, extension, kDefaultValue, saved);
    DeleteValue(HKEY_CLASSES_ROOT, extension, kBackupValue);
}

void ShowAssociationMessage(const QString& text) {
    ShowUserMessage(u"Error"_qs, text);
}

// Our entry claims only the types it is the default for: desktops fall back to any entry that
// claims a type, and ours, in the user's own folder, would come first and keep the files after
// the association was removed.
QStringList AssociatedMimeTypes() {
    QStringList types;
    for (const QString& extension : Extensions())
        if (ClassOf(extension) == kClassName)
            types += MimeTypesOf(extension);
    return types;
}

void InstallDesktopEntry() {
    platform::desktop_entry::Application entry;
    entry.id = kDesktopId;
    entry.name = u"Tamblewick"_qs;
    entry.icon = ProgramFolder() + kIconFile;
    entry.program = ProgramPath();
    entry.mimeTypes = AssociatedMimeTypes();
    entry.actionName = u"Extract with Tamblewick"_qs;
    entry.actionArguments = {u"/auto"_qs};
    platform::desktop_entry::Install(entry);
    platform::desktop_entry::RefreshDatabase();
}

} // namespace

void RegisterProgId() {
    const QString folder = ProgramFolder();
    WriteString(HKEY_CLASSES_ROOT, u"Tamblewick\\DefaultIcon"_qs, kDefaultValue,
                folder + kIconFile + u",0"_qs);
    WriteString(HKEY_CLASSES_ROOT, u"Tamblewick"_qs, u"AlwaysShowExt"_qs, QString());
    WriteString(HKEY_CLASSES_ROOT, u"Tamblewick\\shell\\open"_qs, kDefaultValue,
                u"Open with Tamblewick"_qs);
    WriteString(HKEY_CLASSES_ROOT, u"Tamblewick\\shell\\open\\command"_qs, kDefaultValue,
                OpenCommand());
    WriteString(HKEY_CLASSES_ROOT, u"Tamblewick\\shell\\Extract with &Tamblewick\\command"_qs,
                kDefaultValue, OpenCommand() + u" /auto"_qs);
    InstallDesktopEntry();
}

void AssociateExtension(const QString& extension) {
    RegisterProgId();
    WriteString(HKEY_CLASSES_ROOT, extension, kBackupValue, ClassOf(extension));
    WriteString(HKEY_CLASSES_ROOT, extension, kDefaultValue, kClassName);
    platform::mime_apps::Update([&](platform::mime_apps::MimeAppsList& list) {
        for (const QString& type : MimeTypesOf(extension))
            list.MakeDefault(type, kDesktopId);
    });
    InstallDesktopEntry();
    ShowAssociationMessage(u"Tamblewick is now associated with\t\n"_qs +
                           extension.toUpper().remove(u'.') + u" archives."_qs);
}

void RemoveAssociation(const QString& extension, bool quiet) {
    if (ClassOf(extension) == kClassName) {
        GiveBackStoredClass(extension);
        platform::mime_apps::Update([&](platform::mime_apps::MimeAppsList& list) {
            for (const QString& type : MimeTypesOf(extension))
                list.DropDefault(type, kDesktopId);
        });
        InstallDesktopEntry();
    }
    if (!quiet)
        ShowAssociationMessage(u"File association has been removed.\t"_qs);
}

bool IsAssociated(const QString& extension) {
    return ClassOf(extension) == kClassName;
}

void RemoveAllRegistration() {
    DeleteTree(HKEY_LOCAL_MACHINE, kProgramKey);
    DeleteTree(HKEY_CLASSES_ROOT, kClassName);
    for (const QString& extension : Extensions())
        RemoveAssociation(extension, true);
    // An association the desktop gave to another program meanwhile still names us in the store.
    for (const QString& extension : Extensions())
        if (StoredClassOf(extension) == kClassName)
            GiveBackStoredClass(extension);
    platform::mime_apps::Update(
        [](platform::mime_apps::MimeAppsList& list) { list.Forget(kDesktopId); });
    platform::desktop_entry::Uninstall(kDesktopId);
    platform::desktop_entry::RefreshDatabase();
    RemoveShellLink(kSendToLinkName);
}
