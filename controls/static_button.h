#pragma once

#include <QColor>
#include <QPushButton>

// The window's flat buttons. This is the plain form; the hover look paints itself later.
class CStaticButton : public QPushButton {
    Q_OBJECT
public:
    explicit CStaticButton(const QString& text = {}, QWidget* parent = nullptr);

    void SetNormalFrameColour(const QColor& colour);
    void SetNormalBackgroundColour(const QColor& colour);
    QColor NormalFrameColour() const { return frame_; }
    QColor NormalBackgroundColour() const { return background_; }

private:
    void ApplyColours();

    QColor frame_{128, 128, 128};
    QColor background_{240, 240, 240};
};
