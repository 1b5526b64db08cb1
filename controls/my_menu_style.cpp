#include "controls/my_menu_style.h"

#include "controls/flat_drawing.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QStyleOptionMenuItem>

namespace {

constexpr int kIconBandWidth = flat::kIconSize + 8;
constexpr int kTextLeft = flat::kIconSize + 14;
constexpr int kSeparatorLineLeft = 30;
constexpr const char* kShortcutEndGap = "     ";

// The standard menu check mark, 7 x 7 pixels.
constexpr const char* kCheckMark[] = {
    "......X", ".....XX", "X...XXX", "XX.XXX.", "XXXXX..", ".XXX...", "..X....",
};
constexpr int kCheckMarkSize = 7;

bool IsSelectedAndEnabled(const QStyleOptionMenuItem& item) {
    return (item.state & QStyle::State_Selected) && (item.state & QStyle::State_Enabled);
}

bool IsChecked(const QStyleOptionMenuItem& item) {
    return item.checkType != QStyleOptionMenuItem::NotCheckable && item.checked;
}

} // namespace

MyMenuStyle* MyMenuStyle::Instance() {
    static QPointer<MyMenuStyle> instance;
    if (!instance) {
        instance = new MyMenuStyle;
        instance->setParent(qApp);
    }
    return instance;
}

int MyMenuStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                             const QWidget* widget) const {
    switch (metric) {
    case PM_MenuPanelWidth:
        return 1;
    case PM_MenuHMargin:
    case PM_MenuVMargin:
        return 0;
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

int MyMenuStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                           QStyleHintReturn* returnData) const {
    switch (hint) {
    case SH_Menu_Mask:
        return 0;
    case SH_Menu_AllowActiveAndDisabled:
        return 1;
    default:
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
}

QSize MyMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                    const QSize& size, const QWidget* widget) const {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (type != CT_MenuItem || !item)
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    // The whole text is measured, shortcut included; the tab counts as one blank rather than
    // as a jump to the next tab stop, and the gap it stands for is added below.
    QString measured = item->text;
    measured.replace(u'\t', u' ');
    int width = flat::kIconSize + item->fontMetrics.horizontalAdvance(measured) + 20;
    if (item->text.contains(u'\t'))
        width += kTabExtraWidth;
    const bool separator = item->menuItemType == QStyleOptionMenuItem::Separator;
    return QSize(width, separator ? kSeparatorHeight : kItemHeight);
}

void MyMenuStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                              const QWidget* widget) const {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (element == CE_MenuItem && item) {
        painter->save();
        DrawItem(*item, *painter);
        painter->restore();
    } else if (element == CE_MenuEmptyArea) {
        painter->fillRect(option->rect, colours_.textArea);
    } else {
        QProxyStyle::drawControl(element, option, painter, widget);
    }
}

void MyMenuStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                QPainter* painter, const QWidget* widget) const {
    switch (element) {
    case PE_PanelMenu:
        painter->fillRect(option->rect, colours_.textArea);
        break;
    case PE_FrameMenu:
        flat::Draw3dRect(*painter, option->rect, colours_.grey, colours_.grey);
        break;
    default:
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
}

void MyMenuStyle::DrawItem(const QStyleOptionMenuItem& item, QPainter& painter) const {
    const QRect& r = item.rect;
    painter.fillRect(r, colours_.iconBand);
    painter.fillRect(
        QRect(r.left() + kIconBandWidth, r.top(), r.width() - kIconBandWidth, r.height()),
        colours_.textArea);

    if (item.menuItemType == QStyleOptionMenuItem::Separator) {
        // An etched line running on past the right edge, so only its upper and left edges show.
        const int middle = r.top() + r.height() / 2;
        const int left = r.left() + kSeparatorLineLeft;
        const QRect line(left, middle, r.right() + 1 + 8 - left, 2);
        painter.setClipRect(r, Qt::IntersectClip);
        flat::Draw3dRect(painter, line, colours_.grey, colours_.textArea);
        return;
    }

    if (IsSelectedAndEnabled(item)) {
        painter.fillRect(r, colours_.selectionFill);
        flat::Draw3dRect(painter, r, colours_.selectionFrame, colours_.selectionFrame);
    }
    DrawIconArea(item, painter);
    DrawText(item, painter);
    if (item.menuItemType == QStyleOptionMenuItem::SubMenu)
        DrawSubMenuArrow(item, painter);
}

void MyMenuStyle::DrawIconArea(const QStyleOptionMenuItem& item, QPainter& painter) const {
    const bool checked = IsChecked(item);
    if (item.icon.isNull() && !checked)
        return;
    const QRect& r = item.rect;
    const QRect box(QPoint(r.left() + 1, r.top() + 1),
                    QPoint(r.left() + flat::kIconSize + 5, r.top() + flat::kIconSize + 4));
    QPoint at(r.left() + 4, r.top() + 4);
    if (IsSelectedAndEnabled(item)) {
        flat::DrawIconSilhouette(painter, at, item.icon, colours_.shadow);
        at -= QPoint(1, 1);
    }
    if (checked)
        DrawCheckBox(box, IsSelectedAndEnabled(item), painter);
    else if (!(item.state & QStyle::State_Enabled))
        flat::DrawIconSilhouette(painter, QPoint(r.left() + 4, r.top() + 4), item.icon,
                                 colours_.grey);
    else
        flat::DrawIcon(painter, at, item.icon);
}

void MyMenuStyle::DrawCheckBox(const QRect& box, bool selected, QPainter& painter) const {
    // The box's inside takes the check colour everywhere but on the black mark.
    painter.fillRect(box, Qt::black);
    painter.fillRect(box.adjusted(1, 1, -1, -1),
                     selected ? colours_.checkSelected : colours_.checkUnselected);
    const QRect markArea = box.adjusted(3, 3, -3, -3);
    const QPoint origin(markArea.left() + (markArea.width() - kCheckMarkSize) / 2,
                        markArea.top() + (markArea.height() - kCheckMarkSize) / 2);
    for (int y = 0; y < kCheckMarkSize; ++y)
        for (int x = 0; x < kCheckMarkSize; ++x)
            if (kCheckMark[y][x] == 'X')
                painter.fillRect(QRect(origin + QPoint(x, y), QSize(1, 1)), Qt::black);
    flat::Draw3dRect(painter, box, colours_.selectionFrame, colours_.selectionFrame);
}

void MyMenuStyle::DrawText(const QStyleOptionMenuItem& item, QPainter& painter) const {
    if (item.text.isEmpty())
        return;
    const QRect& r = item.rect;
    const bool enabled = item.state & QStyle::State_Enabled;
    QRect area(QPoint(r.left() + kTextLeft, r.top() + 1), QPoint(r.right(), r.bottom()));
    if (enabled)
        area.setTop(area.top() - 2);

    const qsizetype tab = item.text.indexOf(u'\t');
    painter.setFont(item.font);
    painter.setPen(enabled ? colours_.normalText : colours_.grey);
    constexpr int flags = Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;
    painter.drawText(area, Qt::AlignLeft | flags, tab < 0 ? item.text : item.text.left(tab));
    if (tab < 0)
        return;

    // Measured by hand: the trailing blanks must count, which right alignment would drop.
    QString shortcut = item.text.mid(tab + 1);
    while (!shortcut.isEmpty() && shortcut.back().isSpace())
        shortcut.chop(1);
    shortcut += QLatin1String(kShortcutEndGap);
    if (!(item.state & QStyle::State_Selected))
        painter.setPen(colours_.selectionFrame);
    const int width = item.fontMetrics.horizontalAdvance(shortcut);
    painter.drawText(QRect(area.right() + 1 - width, area.top(), width, area.height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shortcut);
}

void MyMenuStyle::DrawSubMenuArrow(const QStyleOptionMenuItem& item, QPainter& painter) const {
    const QRect& r = item.rect;
    const QColor colour =
        (item.state & QStyle::State_Enabled) ? colours_.normalText : colours_.grey;
    const int left = r.right() - 8;
    const int middle = r.top() + r.height() / 2;
    for (int column = 0; column < 4; ++column)
        painter.fillRect(QRect(left + column, middle - 3 + column, 1, 7 - 2 * column), colour);
}
