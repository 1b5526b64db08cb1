#pragma once

#include <QRect>
#include <QSize>

namespace platform {

// The desktop window's rectangle: the primary screen.
QSize DesktopSize();

// A w × h rectangle at (x, y) pulled inside the desktop with a margin of 50 pixels on every side
// it crosses; a rectangle starting left of or above the margin starts at the margin.
QRect ClampToDesktop(int w, int h, int x, int y, QSize desktop);
QRect ClampToDesktop(int w, int h, int x, int y);

} // namespace platform
