#include "platform/dialog_units.h"

#include <QFontMetrics>

namespace platform {
namespace {

int MulDiv(int value, int numerator, int denominator) {
    return static_cast<int>((static_cast<long long>(value) * numerator + denominator / 2) /
                            denominator);
}

} // namespace

QFont DialogFont() {
    QFont font(u"Liberation Sans"_qs);
    font.setPointSize(8);
    return font;
}

DialogBaseUnits BaseUnitsOf(const QFont& font) {
    const QFontMetrics metrics(font);
    static const QString alphabet = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"_qs;
    const int width = metrics.horizontalAdvance(alphabet);
    return {(width / 26 + 1) / 2, metrics.height()};
}

QRect DialogUnitsToPixels(const QRect& units, const QFont& font) {
    const DialogBaseUnits base = BaseUnitsOf(font);
    return {MulDiv(units.x(), base.x, 4), MulDiv(units.y(), base.y, 8),
            MulDiv(units.width(), base.x, 4), MulDiv(units.height(), base.y, 8)};
}

} // namespace platform
