#pragma once

#include <QString>

class QWidget;

// The file dialogs for opening and saving, behind a seam: tests answer with a
// path (or with nothing, for a cancelled dialog) instead of showing a dialog.
class FileChooser
{
public:
    virtual ~FileChooser() = default;
    // The chosen path, or an empty string when the user cancelled.
    // `filter` is a Qt name filter list ("Excel 工作簿 (*.xlsx);;CSV (*.csv)").
    virtual QString saveFile(QWidget *parent, const QString &caption, const QString &suggestedPath,
                             const QString &filter) = 0;
    virtual QString openFile(QWidget *parent, const QString &caption, const QString &filter) = 0;

    static FileChooser &current();
    // Does not take ownership; nullptr restores the standard dialogs.
    static void install(FileChooser *chooser);
};

inline QString chooseSaveFile(QWidget *parent, const QString &caption, const QString &suggestedPath,
                              const QString &filter)
{
    return FileChooser::current().saveFile(parent, caption, suggestedPath, filter);
}

inline QString chooseOpenFile(QWidget *parent, const QString &caption, const QString &filter)
{
    return FileChooser::current().openFile(parent, caption, filter);
}
