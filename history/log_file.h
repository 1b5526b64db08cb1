#pragma once

#include "archives/naming.h"

#include <QString>

class HistoryList;
class QWidget;

// "Write To File..": writes the whole history into a new file named after today's date and
// opens the folder that holds it; problems are told in message boxes owned by `owner`.
// The files go to "logs/" in `programFolder`, or to $XDG_DATA_HOME/tamblewick/logs/ when no
// file can be created there (an installed program's folder belongs to root).
void WriteLogFile(const HistoryList& history, QWidget* owner,
                  const QString& programFolder = ModuleFolder());
