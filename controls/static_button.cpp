#include "controls/static_button.h"

#include "controls/flat_drawing.h"

#include <QCursor>
#include <QPainter>
#include <QTimerEvent>

CStaticButton::CStaticButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    // Owner-drawn buttons can never be the default button, so Enter never presses one.
    setAutoDefault(false);
    setDefault(false);
    // Mouse moves without a pressed button are what starts the hover look.
    setMouseTracking(true);
    colours_.normalBackground = palette().color(QPalette::Button);
}

void CStaticButton::SetColours(const Colours& colours) {
    colours_ = colours;
    update();
}

void CStaticButton::SetNormalFrameColour(const QColor& colour) {
    colours_.normalFrame = colour;
    update();
}

void CStaticButton::SetNormalBackgroundColour(const QColor& colour) {
    colours_.normalBackground = colour;
    update();
}

bool CStaticButton::event(QEvent* event) {
    const bool handled = QPushButton::event(event);
    // Styles switch on hover tracking while polishing; it would repaint on every enter and
    // leave, and the look changes only with our own hover state.
    if (event->type() == QEvent::Polish || event->type() == QEvent::StyleChange)
        setAttribute(Qt::WA_Hover, false);
    return handled;
}

void CStaticButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect r = rect();
    painter.fillRect(r, hovering_ ? colours_.hoverBackground : colours_.normalBackground);
    const QColor frame = hovering_ ? colours_.hoverFrame : colours_.normalFrame;
    flat::Draw3dRect(painter, r, frame, frame);

    const QIcon picture = icon();
    const QPoint at(r.width() / 2 - flat::kIconSize / 2, r.height() / 2 - flat::kIconSize / 2);
    if (hovering_) {
        flat::DrawIconSilhouette(painter, at, picture, colours_.normalFrame);
        flat::DrawIcon(painter, at - QPoint(1, 1), picture);
    } else {
        flat::DrawIcon(painter, at, picture);
    }

    if (!text().isEmpty()) {
        painter.setFont(window()->font());
        painter.setPen(hovering_ ? colours_.hoverText : colours_.normalText);
        painter.drawText(r, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, text());
    }
}

void CStaticButton::mouseMoveEvent(QMouseEvent* event) {
    if (!hovering_)
        SetHovering(true);
    poll_.start(kPollMilliseconds, this);
    QPushButton::mouseMoveEvent(event);
}

void CStaticButton::timerEvent(QTimerEvent* event) {
    if (event->timerId() == poll_.timerId()) {
        const QRect windowRect(mapToGlobal(QPoint(0, 0)), size());
        if (!windowRect.contains(QCursor::pos())) {
            SetHovering(false);
            poll_.stop();
        }
    }
    QPushButton::timerEvent(event);
}

void CStaticButton::SetHovering(bool hovering) {
    hovering_ = hovering;
    update();
}
