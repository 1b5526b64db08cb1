#pragma once

#include <QString>

// One archive through the engine that handles it: recognition, then list, test and extract,
// with the status texts. The extension decides before recognition does, except for ".exe".
void ProcessArchive(const QString& archive, const QString& destination);
// For self-extracting files, whose extension says nothing of their kind: recognition alone.
void ProcessExecutableArchive(const QString& archive, const QString& destination);
