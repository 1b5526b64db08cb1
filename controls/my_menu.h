#pragma once

#include <QMenu>

// The program's popup menus: every item carries its command identifier. This is the plain form;
// the owner-drawn look comes later.
class CMyMenu : public QMenu {
    Q_OBJECT
public:
    explicit CMyMenu(QWidget* parent = nullptr);

    enum ItemFlag { Checked = 1, Greyed = 2 };
    QAction* AppendItem(const QString& text, int command, int iconId = 0, int flags = 0);
    CMyMenu* AppendSubMenu(const QString& text);

    // The command of the chosen item, 0 when the menu was dismissed.
    static int CommandOf(const QAction* action);
    QAction* ActionFor(int command) const;
};
