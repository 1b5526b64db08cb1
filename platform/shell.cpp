#include "platform/shell.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMimeDatabase>

namespace platform::shell {
namespace {

OpenRecorder& Recorder() {
    static OpenRecorder recorder;
    return recorder;
}

QUrl UrlFor(const QString& target) {
    const QUrl url(target);
    if (url.scheme().size() > 1)
        return url;
    return QUrl::fromLocalFile(target);
}

QIcon ThemeIcon(const QString& name) {
    return QIcon::hasThemeIcon(name) ? QIcon::fromTheme(name) : QIcon();
}

} // namespace

void Open(const QString& target) {
    const QUrl url = UrlFor(target);
    if (Recorder()) {
        Recorder()(url);
        return;
    }
    QDesktopServices::openUrl(url);
}

void SetOpenRecorder(OpenRecorder recorder) {
    Recorder() = std::move(recorder);
}

void Beep() {
    QApplication::beep();
}

void UseDesktopIconTheme() {
    if (!QIcon::themeName().isEmpty() && QIcon::themeName() != u"hicolor")
        return;
    QStringList paths = QIcon::themeSearchPaths();
    if (!paths.contains(u"/usr/share/icons"_qs))
        paths << u"/usr/share/icons"_qs;
    QIcon::setThemeSearchPaths(paths);
    QIcon::setThemeName(u"Adwaita"_qs);
}

QIcon IconForExtension(const QString& extension) {
    static const QMimeDatabase database;
    const QList<QMimeType> types = database.mimeTypesForFileName(u"file"_qs + extension);
    for (const QMimeType& type : types) {
        // Themes name few types exactly (Adwaita has package-x-generic, not application-zip).
        for (const QString& name : {type.iconName(), type.genericIconName()}) {
            const QIcon icon = ThemeIcon(name);
            if (!icon.isNull())
                return icon;
        }
    }
    return {};
}

QIcon GenericDocumentIcon() {
    return ThemeIcon(u"text-x-generic"_qs);
}

} // namespace platform::shell
