#pragma once

#include <functional>

namespace platform {

bool IsUiThread();

// Runs `work` on the UI thread and waits until it has finished; runs it at once when the caller
// is the UI thread. Background threads reach widgets only through this.
void RunOnUiThread(const std::function<void()>& work);

// The same for work that shows a modal dialog on behalf of a background thread. Such dialogs are
// shown one at a time in the order asked: nested modal loops would answer the first asker last.
void RunDialogOnUiThread(const std::function<void()>& work);

} // namespace platform
