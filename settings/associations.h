#pragma once

#include <QString>

// The program as the desktop's handler for ".zip", ".rar", ".ace" and ".jar". The class key and
// the extension keys live under HKEY_CLASSES_ROOT of the store; the desktop side is our desktop
// entry and the user's mimeapps.list defaults, so that the file manager really opens the program.
// Extensions are passed with their dot, in either case. Messages go to a box with the caption
// "Error", owned by the active window.

// Writes the class key "Tamblewick" and installs the desktop entry tamblewick.desktop.
void RegisterProgId();

// Makes the program the extension's handler, keeping the previous one in "Tamblewick Save", and
// confirms it.
void AssociateExtension(const QString& extension);

// Gives the extension its previous handler back when it is ours; confirms unless `quiet`.
void RemoveAssociation(const QString& extension, bool quiet);

// True while the desktop opens the extension's files with the program.
bool IsAssociated(const QString& extension);

// The "/remreg" clean-up: settings, class key, desktop entry, Send To launchers, and the four
// associations given back without a message.
void RemoveAllRegistration();
