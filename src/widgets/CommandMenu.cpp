#include "CommandMenu.h"

#include "Guard.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

QMenu *buildCommandMenu(QWidget *owner, const QList<CommandItem> &items, const std::function<void(int)> &dispatch)
{
    auto *menu = new QMenu(owner);
    for (const CommandItem &item : items) {
        if (item.caption.isEmpty()) {
            menu->addSeparator();
            continue;
        }
        QAction *action = menu->addAction(item.caption);
        action->setData(item.code);
        if (!item.shortcut.isEmpty()) {
            action->setShortcut(item.shortcut);
            // The shortcut works while the window has the focus, not only in the open menu.
            action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
            owner->addAction(action);
        }
        if (!item.hint.isEmpty())
            action->setStatusTip(item.hint);
        if (item.isDefault) {
            QFont bold = action->font();
            bold.setBold(true);
            action->setFont(bold);
            menu->setDefaultAction(action);
        }
        const int code = item.code;
        QObject::connect(action, &QAction::triggered, owner, [dispatch, code] { guarded([&] { dispatch(code); }); });
    }
    return menu;
}
