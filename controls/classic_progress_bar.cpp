#include "controls/classic_progress_bar.h"

#include <QPainter>
#include <algorithm>

ClassicProgressBar::ClassicProgressBar(QWidget* parent) : QWidget(parent) {}

void ClassicProgressBar::SetRange(int low, int high) {
    low_ = low & 0xFFFF;
    high_ = high & 0xFFFF;
    SetPos(position_);
}

void ClassicProgressBar::SetPos(int position) {
    position_ = high_ > low_ ? std::clamp(position, low_, high_) : low_;
    update();
}

void ClassicProgressBar::SetBarColour(const QColor& colour) {
    bar_ = colour;
    update();
}

void ClassicProgressBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(rect(), palette().color(QPalette::Window).lighter(104));
    painter.setPen(QColor(160, 160, 160));
    painter.drawRect(frame);
    if (high_ <= low_)
        return;
    const QRect inner = rect().adjusted(2, 2, -2, -2);
    const int filled = static_cast<int>(static_cast<long long>(inner.width()) * (position_ - low_) /
                                        (high_ - low_));
    painter.fillRect(QRect(inner.topLeft(), QSize(filled, inner.height())), bar_);
}
