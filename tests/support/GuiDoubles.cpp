#include "GuiDoubles.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPixmap>
#include <QTest>

ManualClock::ManualClock(const QDateTime &start)
    : m_now(start)
{
    Clock::install(this);
}

ManualClock::~ManualClock()
{
    Clock::install(nullptr);
}

RecordingShell::RecordingShell()
{
    Shell::install(this);
}

RecordingShell::~RecordingShell()
{
    Shell::install(nullptr);
}

bool RecordingShell::open(const QString &target)
{
    opened << target;
    return succeed;
}

ScriptedFileChooser::ScriptedFileChooser()
{
    FileChooser::install(this);
}

ScriptedFileChooser::~ScriptedFileChooser()
{
    FileChooser::install(nullptr);
}

QString ScriptedFileChooser::saveFile(QWidget *, const QString &caption, const QString &, const QString &filter)
{
    return next(caption, filter);
}

QString ScriptedFileChooser::openFile(QWidget *, const QString &caption, const QString &filter)
{
    return next(caption, filter);
}

QString ScriptedFileChooser::next(const QString &caption, const QString &filter)
{
    captions << caption;
    filters << filter;
    return answers.isEmpty() ? QString() : answers.takeFirst();
}

ScriptedModals::ScriptedModals()
{
    Modal::install(this);
}

ScriptedModals::~ScriptedModals()
{
    Modal::install(nullptr);
}

int ScriptedModals::run(QDialog *dialog)
{
    shown << (dialog->objectName().isEmpty() ? QString::fromLatin1(dialog->metaObject()->className())
                                             : dialog->objectName());
    dialog->setResult(QDialog::Rejected);
    // A dialog closed by done() while not in exec() only hides; so does ours.
    dialog->show();
    QApplication::processEvents();
    if (!m_scripts.isEmpty()) {
        const Script script = m_scripts.takeFirst();
        script(dialog);
    }
    if (dialog->isVisible())
        dialog->hide();
    QApplication::processEvents();
    return dialog->result();
}

QString saveSnapshot(QWidget *widget, const QString &name)
{
    const QString folder = qEnvironmentVariable("CRM_SNAPSHOT_DIR");
    if (folder.isEmpty())
        return QString();
    QDir().mkpath(folder);
    widget->show();
    QApplication::processEvents();
    const QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
    widget->grab().save(path);
    return path;
}
