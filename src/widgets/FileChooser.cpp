#include "FileChooser.h"

#include <QFileDialog>

namespace {

class StandardFileChooser final : public FileChooser
{
public:
    QString saveFile(QWidget *parent, const QString &caption, const QString &suggestedPath,
                     const QString &filter) override
    {
        return QFileDialog::getSaveFileName(parent, caption, suggestedPath, filter);
    }

    QString openFile(QWidget *parent, const QString &caption, const QString &filter) override
    {
        return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
    }
};

FileChooser *installedChooser = nullptr;

} // namespace

FileChooser &FileChooser::current()
{
    static StandardFileChooser standard;
    return installedChooser ? *installedChooser : standard;
}

void FileChooser::install(FileChooser *chooser)
{
    installedChooser = chooser;
}
