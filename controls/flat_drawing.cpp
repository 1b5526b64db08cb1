#include "controls/flat_drawing.h"

#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPixmap>

namespace flat {
namespace {

QPixmap IconPixmap(const QPainter& painter, const QIcon& icon) {
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    return icon.pixmap(QSize(kIconSize, kIconSize), ratio);
}

} // namespace

void Draw3dRect(QPainter& painter, const QRect& r, const QColor& topLeft,
                const QColor& bottomRight) {
    if (r.isEmpty())
        return;
    painter.fillRect(QRect(r.left(), r.top(), r.width() - 1, 1), topLeft);
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height() - 1), topLeft);
    painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
    painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
}

void DrawIcon(QPainter& painter, QPoint at, const QIcon& icon) {
    if (icon.isNull())
        return;
    painter.drawPixmap(QRect(at, QSize(kIconSize, kIconSize)), IconPixmap(painter, icon));
}

void DrawIconSilhouette(QPainter& painter, QPoint at, const QIcon& icon, const QColor& colour) {
    if (icon.isNull())
        return;
    QImage shape =
        IconPixmap(painter, icon).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter tint(&shape);
    tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
    tint.fillRect(shape.rect(), colour);
    tint.end();
    painter.drawImage(QRect(at, QSize(kIconSize, kIconSize)), shape);
}

} // namespace flat
