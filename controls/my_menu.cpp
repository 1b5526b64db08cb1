#include "controls/my_menu.h"

#include "controls/my_menu_style.h"
#include "res/resource_icons.h"

#include <QStyleOptionMenuItem>

namespace {

// Items with a shortcut part keep their whole text here: the action's own text is only the
// part before the tab, so the menu does not reserve a shortcut column of its own.
constexpr const char* kWholeTextProperty = "tw_whole_text";

} // namespace

CMyMenu::CMyMenu(QWidget* parent) : QMenu(parent) {
    setStyle(MyMenuStyle::Instance());
    // Items are measured and drawn in the font of the window that owns the menu.
    if (parent)
        setFont(parent->window()->font());
}

QAction* CMyMenu::AppendItem(const QString& text, int command, int iconId, int flags) {
    const QString whole = text.left(kMaxTextLength);
    const qsizetype tab = whole.indexOf(u'\t');
    QAction* action = addAction(tab < 0 ? whole : whole.left(tab));
    if (tab >= 0)
        action->setProperty(kWholeTextProperty, whole);
    action->setData(command);
    if (iconId) {
        action->setIcon(res::Icon(iconId));
        action->setIconVisibleInMenu(true);
    }
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
    sub->setTitle(text.left(kMaxTextLength));
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

void CMyMenu::initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const {
    QMenu::initStyleOption(option, action);
    if (const QVariant whole = action->property(kWholeTextProperty); whole.isValid())
        option->text = whole.toString();
    option->icon = action->icon();
}
