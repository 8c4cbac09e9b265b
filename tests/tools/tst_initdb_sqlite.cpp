#include "Backends.h"
#include "DataLink.h"
#include "DatabaseSetup.h"
#include "DemoChecks.h"
#include "InitDbRun.h"
#include "SeedData.h"
#include "TestMain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QDate demoToday(2024, 3, 15);
const QString demoAdmin = u"chief"_s;
const QString demoPassword = u"pw 秘密"_s;
constexpr int demoClientCount = 50;

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

} // namespace

// SQLite databases made by the tool. One demo database, made once, is read by
// the checks of its contents; the other cases make their own.
class TestInitDbSqlite : public QObject
{
    Q_OBJECT

    QTemporaryDir m_demoDir;
    std::unique_ptr<data::Connection> m_demo;
    std::unique_ptr<QTemporaryDir> m_dir; // per test

    QString path(const QString &name) const { return m_dir->filePath(name); }
    InitDbRun run(const QStringList &arguments) const
    {
        return runInitDb(arguments, m_dir->path());
    }

private slots:
    void initTestCase()
    {
        if (!backendSelected(u"sqlite"_s))
            return;
        const InitDbRun made = runInitDb(
            {u"--sqlite"_s, u"demo.db"_s, u"--udl"_s, u"demo.udl"_s, u"--demo"_s,
             QString::number(demoClientCount), u"--admin"_s, demoAdmin, u"--admin-password"_s,
             demoPassword, u"--seed"_s, u"3"_s, u"--today"_s, demoToday.toString(Qt::ISODate)},
            m_demoDir.path());
        verifySuccess(made);
        if (QTest::currentTestFailed())
            return;
        QVERIFY2(made.output.contains(u"ClientData %1"_s.arg(demoClientCount)),
                 qPrintable(made.output));
        m_demo = openSqliteFile(m_demoDir.filePath(u"demo.db"_s));
    }
    void cleanupTestCase() { m_demo.reset(); }
    void init()
    {
        if (!backendSelected(u"sqlite"_s))
            QSKIP("not selected by CRM_TEST_BACKENDS");
        m_dir = std::make_unique<QTemporaryDir>();
    }

    // --- the demo database ---------------------------------------------------
    void demoHasAllTables() { verifyAllTables(*m_demo); }
    void demoStartRows() { verifyStartRows(*m_demo, demoAdmin, demoPassword); }
    void demoCategories_data()
    {
        QTest::addColumn<QString>("category");
        for (const char *category : {"客户类型", "职务设置", "部门设置", "联系方式"})
            QTest::newRow(category) << QString::fromUtf8(category);
    }
    void demoCategories()
    {
        QFETCH(QString, category);
        verifyCategory(*m_demo, category);
    }
    void demoRegions() { verifyRegions(*m_demo); }
    void demoClients() { verifyClients(*m_demo, demoClientCount); }
    void demoContacts() { verifyContacts(*m_demo, demoClientCount); }
    void demoVisits() { verifyVisits(*m_demo, demoToday); }
    void demoAppointments() { verifyAppointments(*m_demo, demoToday, demoClientCount); }
    void demoProducts() { verifyProducts(*m_demo); }
    void demoOrders() { verifyOrders(*m_demo, demoToday, demoAdmin); }
    void demoOrderLines() { verifyOrderLines(*m_demo); }
    void demoSellNumbers() { verifySellNumbers(*m_demo); }

    // --- other databases -------------------------------------------------------
    void withoutDemoOnlyStartRows()
    {
        verifySuccess(run({u"--sqlite"_s, u"crm.db"_s}));
        if (QTest::currentTestFailed())
            return;
        auto db = openDataLink(path(u"Connect.udl"_s));
        verifyAllTables(*db);
        verifyStartRows(*db, u"admin"_s, QString());
        for (const data::Table &table : data::Schema::tables()) {
            const int rowsExpected = table.name == u"Transforms"_s
                                         ? int(data::transformRows().size())
                                     : table.name == u"用户"_s ? 1
                                                               : 0;
            QCOMPARE(
                scalar(*db, u"SELECT COUNT(*) FROM "_s + data::Dialect::quote(table.name)).toInt(),
                rowsExpected);
        }
    }

    void contactsSpreadExactly_data()
    {
        QTest::addColumn<int>("clients");
        QTest::addColumn<int>("contacts");
        QTest::newRow("one each") << 20 << 20;
        QTest::newRow("uneven") << 20 << 53;
        QTest::newRow("four each") << 20 << 80;
        QTest::newRow("a single client") << 1 << 3;
        QTest::newRow("few more than clients") << 7 << 9;
    }
    void contactsSpreadExactly()
    {
        QFETCH(int, clients);
        QFETCH(int, contacts);
        verifySuccess(run({u"--sqlite"_s, u"crm.db"_s, u"--demo"_s, QString::number(clients),
                           u"--contacts"_s, QString::number(contacts)}));
        if (QTest::currentTestFailed())
            return;
        auto db = openSqliteFile(path(u"crm.db"_s));
        QCOMPARE(scalar(*db, uR"(SELECT COUNT(*) FROM "LinkMan")"_s).toInt(), contacts);
        verifyContacts(*db, clients);
    }

    void sameSeedSameData()
    {
        const auto make = [&](const QString &file, const QString &seed) {
            const QStringList arguments = {
                u"--sqlite"_s, file,        u"--udl"_s, file + u".udl"_s, u"--demo"_s,
                u"30"_s,       u"--seed"_s, seed,       u"--today"_s,     u"2023-11-02"_s};
            verifySuccess(run(arguments));
            return openSqliteFile(path(file));
        };
        auto first = make(u"a.db"_s, u"7"_s);
        auto second = make(u"b.db"_s, u"7"_s);
        auto other = make(u"c.db"_s, u"8"_s);
        if (QTest::currentTestFailed())
            return;
        const QString dump = dumpDatabase(*first);
        QVERIFY(dump.contains(u"KH000030"_s));
        QCOMPARE(dumpDatabase(*second), dump);
        QVERIFY(dumpDatabase(*other) != dump);
    }

    void refusesExistingFiles_data()
    {
        QTest::addColumn<bool>("databaseExists");
        QTest::addColumn<bool>("udlExists");
        QTest::newRow("database file") << true << false;
        QTest::newRow("data-link file") << false << true;
        QTest::newRow("both") << true << true;
    }
    void refusesExistingFiles()
    {
        QFETCH(bool, databaseExists);
        QFETCH(bool, udlExists);
        const QString database = path(u"crm.db"_s);
        const QString udl = path(u"Connect.udl"_s);
        const QByteArray oldDatabase = "not to be touched";
        const QByteArray oldUdl = "[oledb]\nProvider=SQLite;Data Source=elsewhere.db\n";
        if (databaseExists)
            writeFile(database, oldDatabase);
        if (udlExists)
            writeFile(udl, oldUdl);
        const QStringList arguments = {u"--sqlite"_s, u"crm.db"_s, u"--demo"_s, u"5"_s};

        verifyFailure(run(arguments), 1);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(QFile::exists(database), databaseExists);
        QCOMPARE(QFile::exists(udl), udlExists);
        if (databaseExists)
            QCOMPARE(readFile(database), oldDatabase);
        if (udlExists)
            QCOMPARE(readFile(udl), oldUdl);

        verifySuccess(run(arguments + QStringList{u"--force"_s}));
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(data::DataLink::readFile(udl).dataSource, u"crm.db"_s);
        auto db = openDataLink(udl);
        verifyAllTables(*db);
        QCOMPARE(scalar(*db, uR"(SELECT COUNT(*) FROM "ClientData")"_s).toInt(), 5);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList({u"Connect.udl"_s, u"crm.db"_s}));
    }

    // The database is complete before it takes the target's place: when that
    // last step fails, the half of the work done is removed, not left behind.
    void failedBuildLeavesNothingBehind()
    {
        QVERIFY(QDir(m_dir->path()).mkdir(u"crm.db"_s));
        verifyFailure(run({u"--sqlite"_s, u"crm.db"_s, u"--demo"_s, u"5"_s, u"--force"_s}), 1);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(
            QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{u"crm.db"_s});
        QVERIFY(QFileInfo(path(u"crm.db"_s)).isDir());
    }

    void dataLinkOpens_data()
    {
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("udl");        // empty: the default, Connect.udl here
        QTest::addColumn<QString>("dataSource"); // empty: the absolute path
        QTest::newRow("beside the data-link file") << u"crm.db"_s << QString() << u"crm.db"_s;
        QTest::newRow("in a folder below it")
            << u"data/crm.db"_s << u"Connect.udl"_s << u"data/crm.db"_s;
        QTest::newRow("given with a detour")
            << u"data/../crm.db"_s << u"./Connect.udl"_s << u"crm.db"_s;
        QTest::newRow("outside its folder") << u"crm.db"_s << u"config/Connect.udl"_s << QString();
    }
    void dataLinkOpens()
    {
        QFETCH(QString, database);
        QFETCH(QString, udl);
        QFETCH(QString, dataSource);
        QVERIFY(QDir(m_dir->path()).mkpath(u"data"_s));
        QVERIFY(QDir(m_dir->path()).mkpath(u"config"_s));
        QStringList arguments = {u"--sqlite"_s, database, u"--demo"_s, u"4"_s};
        if (!udl.isEmpty())
            arguments << u"--udl"_s << udl;
        verifySuccess(run(arguments));
        if (QTest::currentTestFailed())
            return;

        const QString udlPath = path(udl.isEmpty() ? u"Connect.udl"_s : udl);
        const data::DataLink link = data::DataLink::readFile(udlPath);
        QCOMPARE(link.provider, u"SQLite"_s);
        QCOMPARE(link.dataSource,
                 dataSource.isEmpty() ? QFileInfo(path(database)).canonicalFilePath() : dataSource);
        auto db = openDataLink(udlPath);
        QCOMPARE(QFileInfo(db->databaseFile()).canonicalFilePath(),
                 QFileInfo(path(database)).canonicalFilePath());
        QCOMPARE(scalar(*db, uR"(SELECT COUNT(*) FROM "ClientData")"_s).toInt(), 4);
    }
};

LUMORA_TEST_CLASS(TestInitDbSqlite)

#include "tst_initdb_sqlite.moc"
