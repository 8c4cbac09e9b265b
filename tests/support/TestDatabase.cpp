#include "TestDatabase.h"

#include "DatabaseSetup.h"
#include "Error.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTest>

#include <cstdlib>

namespace {

QHash<QString, QString> parseConnInfo(const QString &conninfo)
{
    QHash<QString, QString> values;
    static const QRegularExpression pair(QStringLiteral("(\\w+)\\s*=\\s*('(?:[^'\\\\]|\\\\.)*'|\\S+)"));
    auto it = pair.globalMatch(conninfo);
    while (it.hasNext()) {
        const auto m = it.next();
        QString value = m.captured(2);
        if (value.startsWith(QLatin1Char('\'')))
            value = value.mid(1, value.size() - 2);
        values.insert(m.captured(1), value);
    }
    return values;
}

data::DataLink postgresLink(const QString &database)
{
    const auto info = parseConnInfo(qEnvironmentVariable("CRM_TEST_PG"));
    data::DataLink link;
    link.provider = QStringLiteral("PostgreSQL");
    link.dataSource = info.value(QStringLiteral("host"), QStringLiteral("127.0.0.1"));
    link.port = info.value(QStringLiteral("port"));
    link.userId = info.value(QStringLiteral("user"));
    link.password = info.value(QStringLiteral("password"));
    link.initialCatalog = database;
    return link;
}

// One throw-away database per test process, dropped when it ends.
class PostgresScratch
{
public:
    PostgresScratch()
    {
        const auto info = parseConnInfo(qEnvironmentVariable("CRM_TEST_PG"));
        m_maintenance = info.value(QStringLiteral("dbname"), QStringLiteral("postgres"));
        m_name = QStringLiteral("lumora_%1_%2")
                     .arg(QFileInfo(QCoreApplication::applicationFilePath()).baseName().toLower())
                     .arg(QCoreApplication::applicationPid());
        m_name.replace(QRegularExpression(QStringLiteral("[^a-z0-9_]")), QStringLiteral("_"));
        run(QStringLiteral("DROP DATABASE IF EXISTS \"%1\"").arg(m_name));
        run(QStringLiteral("CREATE DATABASE \"%1\" ENCODING 'UTF8' TEMPLATE template0").arg(m_name));
    }
    ~PostgresScratch()
    {
        try {
            run(QStringLiteral("DROP DATABASE IF EXISTS \"%1\" WITH (FORCE)").arg(m_name));
        } catch (...) {
        }
    }
    const QString &name() const { return m_name; }

private:
    void run(const QString &sql)
    {
        data::Connection maintenance;
        maintenance.setConnectionString(postgresLink(m_maintenance).toConnectionString());
        maintenance.open();
        maintenance.exec(sql).finish();
    }

    QString m_maintenance;
    QString m_name;
};

PostgresScratch &scratch()
{
    static PostgresScratch database;
    return database;
}

} // namespace

bool postgresAvailable()
{
    return !qEnvironmentVariableIsEmpty("CRM_TEST_PG");
}

TestDatabase::TestDatabase(Backend backend, bool startRows)
    : m_backend(backend)
{
    if (backend == Backend::Sqlite) {
        m_link.provider = QStringLiteral("SQLite");
        m_link.dataSource = QStringLiteral("crm.db");
        QFile file(m_folder.filePath(m_link.dataSource));
        if (!file.open(QIODevice::WriteOnly))
            throw data::Error(QStringLiteral("cannot create the test database file"));
    } else {
        m_link = postgresLink(scratch().name());
    }
    m_link.writeFile(m_folder.filePath(QStringLiteral("Connect.udl")));

    m_admin = connect();
    m_admin->open();
    data::dropTables(*m_admin);
    data::createTables(*m_admin);
    if (startRows)
        data::insertStartRows(*m_admin, QStringLiteral("admin"), QString());
}

TestDatabase::~TestDatabase() = default;

std::unique_ptr<data::Connection> TestDatabase::connect() const
{
    auto connection = std::make_unique<data::Connection>();
    connection->setWorkingDirectory(m_folder.path());
    connection->setConnectionString(QStringLiteral("FILE NAME=Connect.udl"));
    return connection;
}

void TestDatabase::exec(const QString &sql, const data::NamedValues &values)
{
    m_admin->exec(sql, values).finish();
}

QVariant TestDatabase::scalar(const QString &sql, const data::NamedValues &values)
{
    QSqlQuery query = m_admin->exec(sql, values);
    const QVariant value = query.next() ? query.value(0) : QVariant();
    query.finish();
    return value;
}

int TestDatabase::count(const QString &table)
{
    return scalar(QStringLiteral("SELECT COUNT(*) FROM ") + data::Dialect::quote(table)).toInt();
}

void addBackendRows()
{
    QTest::addColumn<int>("backend");
    QStringList wanted = qEnvironmentVariable("CRM_TEST_BACKENDS").split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (wanted.isEmpty()) {
        wanted << QStringLiteral("sqlite");
        if (postgresAvailable())
            wanted << QStringLiteral("postgres");
    }
    for (const QString &name : wanted) {
        if (name.trimmed() == QLatin1String("sqlite"))
            QTest::newRow("sqlite") << int(TestDatabase::Backend::Sqlite);
        else if (name.trimmed() == QLatin1String("postgres"))
            QTest::newRow("postgres") << int(TestDatabase::Backend::Postgres);
    }
}

TestDatabase::Backend currentBackend()
{
    const auto backend = TestDatabase::Backend(*static_cast<int *>(QTest::qGlobalData("backend", QMetaType::Int)));
    return backend;
}
