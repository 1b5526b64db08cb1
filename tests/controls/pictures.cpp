#include "pictures.h"

#include <QPixmap>

namespace tw::test {

QIcon SolidIcon(const QColor& colour) {
    QPixmap picture(16, 16);
    picture.fill(colour);
    return QIcon(picture);
}

} // namespace tw::test

void PrintTo(const QColor& colour, std::ostream* out) {
    *out << "rgb(" << colour.red() << ", " << colour.green() << ", " << colour.blue() << ")";
}
