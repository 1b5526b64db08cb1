#pragma once

#include <QMenu>

// The program's popup menus, drawn flat: an icon band on the left, a white text area, a framed
// fill under the selected item and right-aligned shortcut texts. Every item carries its command
// identifier. Items measure and draw themselves only from their own text, icon and state, so
// every menu of the program renders an item identically.
class CMyMenu : public QMenu {
    Q_OBJECT
public:
    explicit CMyMenu(QWidget* parent = nullptr);

    enum ItemFlag { Checked = 1, Greyed = 2 };
    // A tab in `text` separates the shortcut text shown at the right edge. Texts keep at most
    // kMaxTextLength characters; the rest is cut off.
    QAction* AppendItem(const QString& text, int command, int iconId = 0, int flags = 0);
    CMyMenu* AppendSubMenu(const QString& text);

    // The command of the chosen item, 0 when the menu was dismissed.
    static int CommandOf(const QAction* action);
    QAction* ActionFor(int command) const;

    static constexpr int kMaxTextLength = 59;

protected:
    void initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const override;
};
