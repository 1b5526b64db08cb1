#include "controls/static_button.h"

CStaticButton::CStaticButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    // Owner-drawn buttons can never be the default button, so Enter never presses one.
    setAutoDefault(false);
    setDefault(false);
    ApplyColours();
}

void CStaticButton::SetNormalFrameColour(const QColor& colour) {
    frame_ = colour;
    ApplyColours();
}

void CStaticButton::SetNormalBackgroundColour(const QColor& colour) {
    background_ = colour;
    ApplyColours();
}

void CStaticButton::ApplyColours() {
    setStyleSheet(u"CStaticButton { border: 1px solid %1; background: %2; padding: 2px; }"
                  u"CStaticButton:disabled { color: #8c8c8c; }"
                  u"CStaticButton:hover:enabled { border-color: #08246b; }"_qs.arg(
                      frame_.name(), background_.name()));
}
