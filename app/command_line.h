#pragma once

#include <QString>
#include <QStringList>

// The start-up rules work on one command-line text, as the shell of the original platform
// passes it. Our shell has already split it into arguments: each path goes back into double
// quotes, switches stay bare, all joined by one blank. So `"/a b.zip" "/c.zip"` names two paths,
// and a desktop entry's `%F /auto` reads like `"%1" /auto`.
QString CommandLineText(const QStringList& arguments);

// For handing over to a running copy: trimmed, `" "` becomes ";", other quotes go; the case and
// the switches stay.
QString NormaliseForForwarding(const QString& commandLine);

// For this copy's own list: like NormaliseForForwarding, without "/remreg" and "/systray" (in
// any case). Paths keep their case: the file system tells "A.zip" from "a.zip".
QString NormaliseForLocalUse(const QString& commandLine);

// Removes every `name` that stands as a word of its own (at an end or between blanks) and trims;
// true when there was one. Our paths begin with "/", so "/home/u/automation" holds no "/auto".
bool TakeSwitch(QString& text, QStringView name, Qt::CaseSensitivity sensitivity);

// The pieces between ";", without empty ones.
QStringList SplitPieces(const QString& text);
