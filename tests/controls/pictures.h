#pragma once

#include <QColor>
#include <QIcon>
#include <ostream>

namespace tw::test {

// A 16 x 16 icon in one opaque colour, so every pixel it covers can be read off exactly.
QIcon SolidIcon(const QColor& colour);

} // namespace tw::test

// Colours in failure messages as "rgb(r, g, b)".
void PrintTo(const QColor& colour, std::ostream* out);
