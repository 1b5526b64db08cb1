#pragma once

#include <QColor>
#include <QIcon>
#include <QPoint>
#include <QRect>

class QPainter;

// Drawing pieces shared by the owner-drawn button and menu. Icons are always 16 x 16 pixels;
// on a high-density screen they are taken at the painter's pixel ratio, so they stay crisp.
namespace flat {

inline constexpr int kIconSize = 16;

// A rectangle outline whose upper and left edges have one colour and lower and right edges
// another, each one pixel wide, all inside `r`.
void Draw3dRect(QPainter& painter, const QRect& r, const QColor& topLeft,
                const QColor& bottomRight);

void DrawIcon(QPainter& painter, QPoint at, const QIcon& icon);

// The icon's shape in one colour: every pixel the icon covers takes `colour`.
void DrawIconSilhouette(QPainter& painter, QPoint at, const QIcon& icon, const QColor& colour);

} // namespace flat
