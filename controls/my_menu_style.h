#pragma once

#include <QColor>
#include <QProxyStyle>

class QStyleOptionMenuItem;

// Measures and draws the items of the program's popup menus in the flat look; everything else is
// left to the application's style.
class MyMenuStyle : public QProxyStyle {
    Q_OBJECT
public:
    struct Colours {
        QColor normalText{0, 0, 0};
        QColor grey{165, 166, 165};
        QColor selectionFill{198, 211, 239};
        QColor selectionFrame{49, 105, 198};
        QColor shadow{145, 146, 145};
        QColor iconBand{239, 238, 224};
        QColor textArea{255, 255, 255};
        QColor checkSelected{188, 201, 229};
        QColor checkUnselected{214, 215, 222};
    };
    static constexpr int kSeparatorHeight = 5;
    static constexpr int kItemHeight = 16 + 6;
    static constexpr int kTabExtraWidth = 15;

    // The one instance, owned by the application.
    static MyMenuStyle* Instance();

    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;

private:
    MyMenuStyle() = default;

    void DrawItem(const QStyleOptionMenuItem& item, QPainter& painter) const;
    void DrawIconArea(const QStyleOptionMenuItem& item, QPainter& painter) const;
    void DrawCheckBox(const QRect& box, bool selected, QPainter& painter) const;
    void DrawText(const QStyleOptionMenuItem& item, QPainter& painter) const;
    void DrawSubMenuArrow(const QStyleOptionMenuItem& item, QPainter& painter) const;

    Colours colours_;
};
