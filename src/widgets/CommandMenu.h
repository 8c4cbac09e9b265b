#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

#include <functional>

class QMenu;
class QWidget;

// The context menus of the windows: items that pass a command code to the
// window's dispatcher (EditClient, EditAreas, EidtProducts ...), built from a
// table so that captions, shortcuts, hints, separators and the default item
// read as the menu does.
struct CommandItem
{
    QString caption; // empty: a separator
    int code = 0;
    QKeySequence shortcut = {};
    QString hint = {};
    bool isDefault = false;

    static CommandItem separator() { return {}; }
};

// Builds the menu on `owner` (which receives its shortcuts); every item runs
// `dispatch(code)` inside guarded().
QMenu *buildCommandMenu(QWidget *owner, const QList<CommandItem> &items, const std::function<void(int)> &dispatch);
