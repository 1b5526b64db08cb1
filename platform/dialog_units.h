#pragma once

#include <QFont>
#include <QRect>

// Dialog templates measure in dialog units of their font; Liberation Sans stands in for the
// templates' Arial 8.
namespace platform {

QFont DialogFont();

struct DialogBaseUnits {
    int x = 0; // average character width in pixels
    int y = 0; // character height in pixels
};
DialogBaseUnits BaseUnitsOf(const QFont& font);

// A horizontal unit is a quarter of the average character width, a vertical one an eighth of
// the character height.
QRect DialogUnitsToPixels(const QRect& units, const QFont& font = DialogFont());

} // namespace platform
