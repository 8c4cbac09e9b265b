#pragma once

#include "GuiDoubles.h"
#include "ScriptedPrompt.h"
#include "Startup.h"
#include "TestDatabase.h"

#include <QTemporaryDir>

class QDialog;

// The whole program on a fresh database: its own program folder (CRM.ini),
// the database's folder as working directory, and every seam scripted.
class AppFixture
{
public:
    explicit AppFixture(TestDatabase::Backend backend);
    ~AppFixture();

    // Creates the windows and the data module, as the program does at start.
    void start();

    TestDatabase &db() { return *m_db; }
    QString iniPath() const;
    Startup &app() { return m_startup; }

    // A user row; `password` is stored as given (a hash or an old clear text).
    void addUser(const QString &name, const QString &password, bool allRights);
    // Scripts the next login dialog: each password is typed and "确定" pressed, in turn.
    void expectLogin(const QString &user, const QStringList &passwords);
    void expectCancelledLogin();

    ScriptedPrompt prompt;
    ScriptedModals modals;
    ManualClock clock{QDateTime(QDate(2026, 12, 11), QTime(9, 30, 0))};
    RecordingShell shell;

private:
    std::unique_ptr<TestDatabase> m_db;
    QTemporaryDir m_programFolder;
    QString m_previousDirectory;
    Startup m_startup;
};

// The rows of Log, oldest first: UserName trimmed, LoadDate, OutDate.
struct LogRow
{
    QString user;
    QDateTime loaded;
    QDateTime left;
};
QList<LogRow> logRows(TestDatabase &db);
