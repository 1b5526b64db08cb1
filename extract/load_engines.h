#pragma once

#include <QString>
#include <functional>

// Loads the three libraries at window start, in the order ACE, RAR, ZIP; each one that fails
// is named in a message box, and every run then refuses to start. Runs on the UI thread.
void LoadEngines();
// The same for a front end without a window, which names a missing library its own way.
void LoadEngines(const std::function<void(const QString& message)>& reportMissing);
// Releases them at close, in the order ACE, ZIP, RAR.
void UnloadEngines();
