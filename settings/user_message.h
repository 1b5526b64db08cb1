#pragma once

#include <QString>

// A message box with only an OK button, owned by the active window (none when there is none).
// A program without widgets (the "/remreg" clean-up without a display) writes the text to
// standard error instead.
void ShowUserMessage(const QString& caption, const QString& text);
