#pragma once

#include "Connection.h"
#include "DataLink.h"

#include <QTemporaryDir>

#include <memory>

// A fresh database with the program's tables, for one test: an SQLite file in
// a temporary folder, or a PostgreSQL database (the server named by the
// environment variable CRM_TEST_PG, a libpq conninfo) whose tables are dropped
// and created again for every test.
class TestDatabase
{
public:
    enum class Backend { Sqlite, Postgres };

    // `startRows`: the Transforms rows and the first user "admin" (no password).
    explicit TestDatabase(Backend backend, bool startRows = true);
    ~TestDatabase();

    Backend backend() const { return m_backend; }
    // A temporary folder holding Connect.udl for this database (and the SQLite file).
    QString workingDirectory() const { return m_folder.path(); }
    data::DataLink link() const { return m_link; }
    // A new connection of its own, as a second workstation would have.
    std::unique_ptr<data::Connection> connect() const;
    // The fixture's own connection, for setting up rows and checking them.
    data::Connection &admin() { return *m_admin; }
    // Runs a statement on the fixture's connection.
    void exec(const QString &sql, const data::NamedValues &values = {});
    // The first column of the first row of a query, or an invalid value.
    QVariant scalar(const QString &sql, const data::NamedValues &values = {});
    int count(const QString &table);

private:
    Backend m_backend;
    QTemporaryDir m_folder;
    data::DataLink m_link;
    std::unique_ptr<data::Connection> m_admin;
};

// Test classes that run every test on each available database add this to
// their initTestCase_data(): a global column "backend" with a row per
// database. CRM_TEST_BACKENDS ("sqlite", "postgres" or both, comma separated)
// chooses them; by default SQLite, and PostgreSQL when CRM_TEST_PG is set.
void addBackendRows();
// In init(): the backend of the running row; skips (or fails, when
// CRM_TEST_PG_REQUIRED=1) a PostgreSQL row without a server.
TestDatabase::Backend currentBackend();
bool postgresAvailable();

// In init(): declares `name` as the running row's backend; skips a PostgreSQL
// row without a server, or fails it when CRM_TEST_PG_REQUIRED=1.
#define LUMORA_INIT_BACKEND(name)                                                                  \
    const TestDatabase::Backend name = currentBackend();                                           \
    if (name == TestDatabase::Backend::Postgres && !postgresAvailable()) {                         \
        if (qEnvironmentVariableIntValue("CRM_TEST_PG_REQUIRED"))                                  \
            QFAIL("CRM_TEST_PG is not set, but PostgreSQL tests are required");                    \
        QSKIP("no PostgreSQL server: set CRM_TEST_PG");                                            \
    }
