#pragma once

#include "Connection.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

// Runs the built lumora-crm-initdb and reads what it left behind.

struct InitDbRun
{
    bool finished = false;
    int exitCode = -1;
    QString output;         // standard output
    QStringList errorLines; // standard error, line by line
};

InitDbRun runInitDb(const QStringList &arguments, const QString &workingDirectory);

// Checks the failure contract: the exit code, exactly one line on standard
// error starting with the tool's name, nothing on standard output.
void verifyFailure(const InitDbRun &run, int exitCode);
// Checks success: exit 0, nothing on standard error, a one-line summary.
void verifySuccess(const InitDbRun &run);

// The database helpers below report a database error as a test failure
// instead of throwing: QtTest ends the whole run on an exception.
namespace data {
class Error;
}
void failOnError(const data::Error &error, const char *file, int line);

std::unique_ptr<data::Connection> openConnection(const QString &connectionString,
                                                 const QString &folder = QString());
std::unique_ptr<data::Connection> openSqliteFile(const QString &path);
// Opens the database named by a data-link file as the program does: from the
// file's folder, with "FILE NAME=<file>".
std::unique_ptr<data::Connection> openDataLink(const QString &udlPath);

bool execute(data::Connection &connection, const QString &sql,
             const data::NamedValues &values = {});
// The first column of the first row, or an invalid value.
QVariant scalar(data::Connection &connection, const QString &sql,
                const data::NamedValues &values = {});
QList<QVariantList> rows(data::Connection &connection, const QString &sql,
                         const data::NamedValues &values = {});
// Every row of every table as text, in a fixed order, for comparing two databases.
QString dumpDatabase(data::Connection &connection);

// The libpq conninfo of CRM_TEST_PG with another database.
QString postgresConnInfo(const QString &database);
