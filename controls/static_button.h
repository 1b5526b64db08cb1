#pragma once

#include <QBasicTimer>
#include <QColor>
#include <QPushButton>

// A flat push button that draws itself and lights up while the pointer is over it. The pointer
// leaving is found by polling its position, so it is noticed even when no mouse event follows.
// Neither focus nor the pressed state changes the look.
class CStaticButton : public QPushButton {
    Q_OBJECT
public:
    struct Colours {
        QColor hoverFrame{49, 105, 198};
        QColor hoverBackground{198, 211, 239};
        QColor normalFrame{149, 151, 149}; // also the icon's shadow
        QColor normalBackground;           // the palette's button face unless set
        QColor normalText{8, 36, 107};
        QColor hoverText{8, 36, 107};
    };

    explicit CStaticButton(const QString& text = {}, QWidget* parent = nullptr);

    const Colours& ButtonColours() const { return colours_; }
    void SetColours(const Colours& colours);
    void SetNormalFrameColour(const QColor& colour);
    void SetNormalBackgroundColour(const QColor& colour);
    QColor NormalFrameColour() const { return colours_.normalFrame; }
    QColor NormalBackgroundColour() const { return colours_.normalBackground; }

    bool IsHovering() const { return hovering_; }

    static constexpr int kPollMilliseconds = 25;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void SetHovering(bool hovering);

    bool hovering_ = false;
    Colours colours_;
    QBasicTimer poll_;
};
