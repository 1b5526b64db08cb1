#pragma once

#include "platform/window_procedure.h"

#include <QString>

// The window messages through which background threads report to the main window. A text
// travels as the address of a QString that the sender keeps alive until the call returns.
inline constexpr unsigned UM_ADDITEM = 7778;
inline constexpr unsigned UM_HISTORYERROR = 7779;
inline constexpr unsigned UM_HISTORYITEM = 7780;
inline constexpr unsigned UM_HISTORYARCHIVE = 7782;
inline constexpr unsigned UM_PROGRESSRANGE = 7787;
inline constexpr unsigned UM_HISTORYRECORDING = 7788;
inline constexpr unsigned UM_PROGRESSPOS = 7789;
inline constexpr unsigned UM_STATUSTEXT = 7790;
inline constexpr unsigned UM_PROGRESSSTEP = 7797;

inline platform::WPARAM TextParameter(const QString& text) {
    return reinterpret_cast<platform::WPARAM>(&text);
}

// A copy of the text a parameter points to; 0 stands for no text.
inline QString TextOf(platform::WPARAM parameter) {
    return parameter ? *reinterpret_cast<const QString*>(parameter) : QString();
}
inline QString TextOf(platform::LPARAM parameter) {
    return TextOf(static_cast<platform::WPARAM>(parameter));
}
