#include "Backends.h"
#include "InitDbRun.h"
#include "TestMain.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The command line and the failures that happen before any database is written.
class TestInitDbArguments : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;

    QStringList leftBehind() const
    {
        return QDir(m_dir->path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

private slots:
    void init()
    {
        if (!backendSelected(u"sqlite"_s))
            QSKIP("not selected by CRM_TEST_BACKENDS");
        m_dir = std::make_unique<QTemporaryDir>();
    }

    void badUsage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("no database") << QStringList{};
        QTest::newRow("both databases")
            << QStringList{"--sqlite", "crm.db", "--postgres", "host=localhost"};
        QTest::newRow("missing value") << QStringList{"--sqlite"};
        QTest::newRow("unknown option") << QStringList{"--sqlite", "crm.db", "--bogus"};
        QTest::newRow("stray argument") << QStringList{"--sqlite", "crm.db", "extra"};
        QTest::newRow("negative demo") << QStringList{"--sqlite", "crm.db", "--demo", "-1"};
        QTest::newRow("demo not a number") << QStringList{"--sqlite", "crm.db", "--demo", "ten"};
        QTest::newRow("too many clients") << QStringList{"--sqlite", "crm.db", "--demo", "500001"};
        QTest::newRow("fewer contacts than clients")
            << QStringList{"--sqlite", "crm.db", "--demo", "10", "--contacts", "9"};
        QTest::newRow("more than four contacts each")
            << QStringList{"--sqlite", "crm.db", "--demo", "10", "--contacts", "41"};
        QTest::newRow("contacts without demo")
            << QStringList{"--sqlite", "crm.db", "--contacts", "5"};
        QTest::newRow("seed not a number")
            << QStringList{"--sqlite", "crm.db", "--demo", "5", "--seed", "x"};
        QTest::newRow("impossible today")
            << QStringList{"--sqlite", "crm.db", "--demo", "5", "--today", "2024-13-01"};
        QTest::newRow("today before 1900")
            << QStringList{"--sqlite", "crm.db", "--demo", "5", "--today", "1899-12-31"};
        QTest::newRow("empty admin") << QStringList{"--sqlite", "crm.db", "--admin", ""};
        QTest::newRow("admin too long")
            << QStringList{"--sqlite", "crm.db", "--admin", QString(51, u'a')};
        QTest::newRow("data-link file is the database")
            << QStringList{"--sqlite", "same.file", "--udl", "./same.file"};
        QTest::newRow("semicolon in the file name") << QStringList{"--sqlite", "a;b.db"};
        QTest::newRow("unterminated quote") << QStringList{"--postgres", "host='db user=crm"};
        QTest::newRow("unsupported conninfo key")
            << QStringList{"--postgres", "host=db sslmode=require"};
        QTest::newRow("port not a number") << QStringList{"--postgres", "host=db port=fifty"};
        QTest::newRow("conninfo word without value") << QStringList{"--postgres", "host"};
        QTest::newRow("semicolon in the password")
            << QStringList{"--postgres", "host=db password='a;b'"};
    }
    void badUsage()
    {
        QFETCH(QStringList, arguments);
        verifyFailure(runInitDb(arguments, m_dir->path()), 2);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(leftBehind(), QStringList());
    }

    // Failures found before anything is written: one line, exit code 1, no file.
    void failsCleanly_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("unreachable server") << QStringList{
            "--postgres", "host=127.0.0.1 port=1 dbname=CRMS user=crm", "--demo", "5"};
        QTest::newRow("missing database folder") << QStringList{"--sqlite", "missing/crm.db"};
        QTest::newRow("missing data-link folder")
            << QStringList{"--sqlite", "crm.db", "--udl", "missing/Connect.udl"};
    }
    void failsCleanly()
    {
        QFETCH(QStringList, arguments);
        verifyFailure(runInitDb(arguments, m_dir->path()), 1);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(leftBehind(), QStringList());
    }

    void help()
    {
        const InitDbRun run = runInitDb({u"--help"_s}, m_dir->path());
        QVERIFY(run.finished);
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.errorLines.isEmpty());
        for (const char *option : {"--sqlite", "--postgres", "--udl", "--admin-password", "--demo",
                                   "--contacts", "--seed", "--force"})
            QVERIFY2(run.output.contains(QLatin1String(option)), option);
        QCOMPARE(leftBehind(), QStringList());
    }
};

LUMORA_TEST_CLASS(TestInitDbArguments)

#include "tst_initdb_arguments.moc"
