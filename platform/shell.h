#pragma once

#include <QIcon>
#include <QString>
#include <QUrl>
#include <functional>

// The desktop shell as the program uses it: the "open" verb, the default beep and file-type icons.
namespace platform::shell {

// Opens a folder, a web address or a mail link with the desktop's handler; failures are ignored.
void Open(const QString& target);

// While a recorder is installed, Open hands it the address instead of leaving the session.
using OpenRecorder = std::function<void(const QUrl&)>;
void SetOpenRecorder(OpenRecorder recorder);

void Beep();

// Makes theme icons resolvable where no desktop set a theme (offscreen, bare X servers).
void UseDesktopIconTheme();

// The desktop's icon for files with this extension (".zip"); null when it has none.
QIcon IconForExtension(const QString& extension);

// The generic document icon, or null when the theme has none.
QIcon GenericDocumentIcon();

} // namespace platform::shell
