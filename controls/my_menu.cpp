#include "controls/my_menu.h"

#include "res/resource_icons.h"

CMyMenu::CMyMenu(QWidget* parent) : QMenu(parent) {}

QAction* CMyMenu::AppendItem(const QString& text, int command, int iconId, int flags) {
    QAction* action = addAction(text);
    action->setData(command);
    if (iconId)
        action->setIcon(res::Icon(iconId));
    if (flags & Checked) {
        action->setCheckable(true);
        action->setChecked(true);
    }
    if (flags & Greyed)
        action->setEnabled(false);
    return action;
}

CMyMenu* CMyMenu::AppendSubMenu(const QString& text) {
    auto* sub = new CMyMenu(this);
    sub->setTitle(text);
    addMenu(sub);
    return sub;
}

int CMyMenu::CommandOf(const QAction* action) {
    return action ? action->data().toInt() : 0;
}

QAction* CMyMenu::ActionFor(int command) const {
    for (QAction* action : actions()) {
        if (action->menu())
            if (QAction* found = static_cast<CMyMenu*>(action->menu())->ActionFor(command))
                return found;
        if (!action->isSeparator() && !action->menu() && CommandOf(action) == command)
            return action;
    }
    return nullptr;
}
