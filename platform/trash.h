#pragma once

#include <QString>

namespace platform {

// Moves the file to the desktop's trash ($XDG_DATA_HOME/Trash), from where it can be restored.
bool MoveToTrash(const QString& path);

} // namespace platform
