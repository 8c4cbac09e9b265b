#pragma once

#include "Clock.h"
#include "Modal.h"
#include "FileChooser.h"
#include "Shell.h"

#include <QStringList>

#include <functional>

class QDialog;

// Test doubles of the widget seams; each installs itself for its lifetime.

class ManualClock final : public Clock
{
public:
    explicit ManualClock(const QDateTime &start);
    ~ManualClock() override;
    QDateTime now() const override { return m_now; }
    void set(const QDateTime &now) { m_now = now; }
    void advance(qint64 seconds) { m_now = m_now.addSecs(seconds); }

private:
    QDateTime m_now;
};

class RecordingShell final : public Shell
{
public:
    RecordingShell();
    ~RecordingShell() override;
    bool open(const QString &target) override;

    QStringList opened;
    bool succeed = true;
};

// Answers the file dialogs from a queue of paths; an empty path, or an empty
// queue, is a cancelled dialog. Records the captions asked.
class ScriptedFileChooser final : public FileChooser
{
public:
    ScriptedFileChooser();
    ~ScriptedFileChooser() override;
    QString saveFile(QWidget *parent, const QString &caption, const QString &suggestedPath,
                     const QString &filter) override;
    QString openFile(QWidget *parent, const QString &caption, const QString &filter) override;

    QStringList answers;
    QStringList captions;
    QStringList filters;

private:
    QString next(const QString &caption, const QString &filter);
};

// Scripts the modal dialogs in the order they are shown: each script gets the
// dialog, visible but without a modal loop, and drives its widgets; the
// dialog's result is whatever the script left (accept(), reject(), a button
// click). A dialog shown with no script left is rejected, and recorded.
class ScriptedModals final : public Modal
{
public:
    using Script = std::function<void(QDialog *)>;
    ScriptedModals();
    ~ScriptedModals() override;

    void expect(Script script) { m_scripts.append(std::move(script)); }
    int run(QDialog *dialog) override;

    // The object names (or class names) of the dialogs shown so far.
    QStringList shown;
    int pending() const { return int(m_scripts.size()); }

private:
    QList<Script> m_scripts;
};

// When CRM_SNAPSHOT_DIR is set, saves a PNG of the widget under that folder
// as <name>.png (the widget is shown and laid out first). Returns the path, or
// an empty string when no folder is set.
QString saveSnapshot(QWidget *widget, const QString &name);
