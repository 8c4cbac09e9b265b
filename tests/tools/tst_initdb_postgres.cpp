#include "Backends.h"
#include "ConnInfo.h"
#include "DatabaseSetup.h"
#include "DemoChecks.h"
#include "Error.h"
#include "InitDbRun.h"
#include "TestDatabase.h"
#include "TestMain.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// PostgreSQL databases made by the tool, in a throw-away database of the
// server named by CRM_TEST_PG.
class TestInitDbPostgres : public QObject
{
    Q_OBJECT

    QString m_database;
    std::unique_ptr<data::Connection> m_server; // to the maintenance database
    std::unique_ptr<QTemporaryDir> m_dir;

    data::DataLink serverLink(const QString &database) const
    {
        data::DataLink link = initdb::parseConnInfo(qEnvironmentVariable("CRM_TEST_PG"));
        if (!database.isEmpty())
            link.initialCatalog = database;
        return link;
    }
    std::unique_ptr<data::Connection> connectTo(const QString &database) const
    {
        return openConnection(serverLink(database).toConnectionString());
    }
    InitDbRun run(const QStringList &extra, const QString &udl = u"Connect.udl"_s) const
    {
        return runInitDb(
            QStringList{u"--postgres"_s, postgresConnInfo(m_database), u"--udl"_s, udl} + extra,
            m_dir->path());
    }
    int clients()
    {
        auto db = connectTo(m_database);
        return scalar(*db, uR"(SELECT COUNT(*) FROM "ClientData")"_s).toInt();
    }

private slots:
    void initTestCase()
    {
        if (!backendSelected(u"postgres"_s))
            return;
        if (!postgresAvailable()) {
            if (qEnvironmentVariableIntValue("CRM_TEST_PG_REQUIRED"))
                QFAIL("CRM_TEST_PG is not set, but PostgreSQL tests are required");
            return;
        }
        m_database = u"tst_initdb_%1"_s.arg(QCoreApplication::applicationPid());
        // The maintenance database named in CRM_TEST_PG, postgres by default.
        const data::DataLink given = initdb::parseConnInfo(qEnvironmentVariable("CRM_TEST_PG"));
        const bool named = qEnvironmentVariable("CRM_TEST_PG").contains(u"dbname"_s);
        m_server = connectTo(named ? given.initialCatalog : u"postgres"_s);
        QVERIFY(
            execute(*m_server, u"DROP DATABASE IF EXISTS "_s + data::Dialect::quote(m_database)));
        QVERIFY(execute(*m_server, u"CREATE DATABASE %1 ENCODING 'UTF8' TEMPLATE template0"_s.arg(
                                       data::Dialect::quote(m_database))));
    }
    void cleanupTestCase()
    {
        if (m_server)
            execute(*m_server, u"DROP DATABASE IF EXISTS %1 WITH (FORCE)"_s.arg(
                                   data::Dialect::quote(m_database)));
    }
    void init()
    {
        if (!backendSelected(u"postgres"_s))
            QSKIP("not selected by CRM_TEST_BACKENDS");
        if (!m_server)
            QSKIP("no PostgreSQL server: set CRM_TEST_PG");
        m_dir = std::make_unique<QTemporaryDir>();
        auto db = connectTo(m_database);
        // The stray table of failedReplacementKeepsTables; an index of that name is no concern.
        if (scalar(*db, uR"(SELECT COUNT(*) FROM pg_class WHERE relname = :n AND relkind = 'r')"_s,
                   {{u"n"_s, u"ix_SellDetail_ProductName"_s}})
                .toInt())
            QVERIFY(execute(*db, uR"(DROP TABLE "ix_SellDetail_ProductName")"_s));
        try {
            data::dropTables(*db);
        } catch (const data::Error &error) {
            QFAIL(qPrintable(error.message()));
        }
    }

    void createsDemoDatabase()
    {
        const QDate today(2024, 6, 3);
        const InitDbRun made = run({u"--demo"_s, u"30"_s, u"--admin-password"_s, u"geheim 密"_s,
                                    u"--today"_s, today.toString(Qt::ISODate)});
        verifySuccess(made);
        if (QTest::currentTestFailed())
            return;
        QVERIFY2(made.output.contains(u"ClientData 30"_s), qPrintable(made.output));

        const data::DataLink expected = serverLink(m_database);
        const data::DataLink written = data::DataLink::readFile(m_dir->filePath(u"Connect.udl"_s));
        QCOMPARE(written.provider, u"PostgreSQL"_s);
        QCOMPARE(written.dataSource, expected.dataSource);
        QCOMPARE(written.port, expected.port);
        QCOMPARE(written.initialCatalog, m_database);
        QCOMPARE(written.userId, expected.userId);
        QCOMPARE(written.password, expected.password);

        auto db = openDataLink(m_dir->filePath(u"Connect.udl"_s));
        verifyDemoDatabase(*db, 30, today, u"admin"_s, u"geheim 密"_s);
    }

    void refusesExistingTables()
    {
        verifySuccess(run({u"--demo"_s, u"3"_s}, u"first.udl"_s));
        if (QTest::currentTestFailed())
            return;
        verifyFailure(run({u"--demo"_s, u"6"_s}, u"second.udl"_s), 1);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(clients(), 3);
        QVERIFY(!QFile::exists(m_dir->filePath(u"second.udl"_s)));
    }

    void forceReplacesTables()
    {
        verifySuccess(run({u"--demo"_s, u"3"_s}, u"first.udl"_s));
        {
            auto db = connectTo(m_database);
            QVERIFY(execute(*db, uR"(INSERT INTO "Log" ("UserName") VALUES (:u))"_s,
                            {{u"u"_s, u"admin"_s}}));
        }
        verifySuccess(run({u"--demo"_s, u"6"_s, u"--force"_s}, u"second.udl"_s));
        if (QTest::currentTestFailed())
            return;
        auto db = openDataLink(m_dir->filePath(u"second.udl"_s));
        verifyAllTables(*db); // the old Log row is gone with its table
        QCOMPARE(clients(), 6);
    }

    // Dropping, creating and filling are one transaction: when creating fails
    // half-way, the old tables and their rows are still there.
    void failedReplacementKeepsTables()
    {
        verifySuccess(run({u"--demo"_s, u"3"_s}, u"first.udl"_s));
        {
            // A table in the way of one of the indexes makes the creation fail late.
            auto db = connectTo(m_database);
            QVERIFY(execute(*db, uR"(DROP INDEX "ix_SellDetail_ProductName")"_s));
            QVERIFY(execute(*db, uR"(CREATE TABLE "ix_SellDetail_ProductName" (x INTEGER))"_s));
        }
        verifyFailure(run({u"--demo"_s, u"6"_s, u"--force"_s}, u"second.udl"_s), 1);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(clients(), 3);
        verifyAllTables(*connectTo(m_database));
        QVERIFY(!QFile::exists(m_dir->filePath(u"second.udl"_s)));
    }
};

LUMORA_TEST_CLASS(TestInitDbPostgres)

#include "tst_initdb_postgres.moc"
