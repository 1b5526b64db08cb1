#pragma once

#include <QString>
#include <QStringList>

// "Tamblewick " + the version text: the running copy is found by exactly this title.
QString WindowTitle();

// Writes the paths of the normalised command line to the forwarding key, in order.
void WriteForwardingKey(const QString& normalisedText);

// The application's arguments without the program itself.
QStringList ProgramArguments();

// "/remreg" among the arguments: remove all registration and end, without a window.
bool AsksToRemoveRegistration(const QStringList& arguments);

// The whole start: hand the paths to a running copy and end, or run the main window until it
// closes. Returns the exit code.
int RunProgram(const QStringList& arguments);

// How long a starting copy waits for the running copy to take its paths. They are in the
// registry by then, so a copy that does not answer loses nothing.
inline constexpr int kHandOverTimeoutMs = 5000;
