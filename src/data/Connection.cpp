#include "Connection.h"

#include "Error.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>

#include <atomic>

namespace data {

namespace {

QString nextConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("lumora-%1").arg(++counter);
}

} // namespace

Connection::Connection(QObject *parent)
    : QObject(parent)
    , m_workingDirectory(QDir::currentPath())
    , m_name(nextConnectionName())
{
}

Connection::~Connection()
{
    close();
}

void Connection::setConnectionString(const QString &connectionString)
{
    m_connectionString = connectionString;
}

void Connection::setWorkingDirectory(const QString &directory)
{
    m_workingDirectory = directory;
}

void Connection::open()
{
    if (isOpen())
        return;
    const QString fileKey = QStringLiteral("FILE NAME=");
    if (m_connectionString.startsWith(fileKey, Qt::CaseInsensitive)) {
        const QString file = QDir(m_workingDirectory).absoluteFilePath(m_connectionString.mid(fileKey.size()).trimmed());
        m_link = DataLink::readFile(file);
        // A relative database file is beside the data-link file that names it.
        m_linkDirectory = QFileInfo(file).absolutePath();
    } else {
        m_link = DataLink::parse(m_connectionString);
        m_linkDirectory = m_workingDirectory;
        if (m_link.provider.isEmpty())
            throw Error(QStringLiteral("连接字符串没有指定数据提供程序（Provider）。"));
    }
    m_dialect = Dialect::create(m_link.kind());
    if (m_link.isFileDatabase())
        openSqlite();
    else
        openPostgres();
}

void Connection::openSqlite()
{
    if (m_link.dataSource.isEmpty())
        throw Error(QStringLiteral("连接字符串没有指定数据库文件（Data Source）。"));
    const QString path = QDir(m_linkDirectory).absoluteFilePath(m_link.dataSource);
    // The driver would create a missing file silently; an empty database is
    // never what the user meant.
    if (!QFileInfo::exists(path))
        throw Error(QStringLiteral("找不到数据库文件“%1”。").arg(path));

    QSqlDatabase db = QSqlDatabase::addDatabase(m_dialect->driverName(), m_name);
    db.setDatabaseName(path);
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000");
    if (m_link.mode.compare(QLatin1String("Read"), Qt::CaseInsensitive) == 0)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    db.setConnectOptions(options);
    if (!db.open()) {
        const QString message = Dialect::errorText(db.lastError());
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
        throw Error(QStringLiteral("无法打开数据库文件“%1”：%2").arg(path, message));
    }
    m_databaseFile = path;
}

void Connection::openPostgres()
{
    const QString host = m_link.dataSource.isEmpty() ? QStringLiteral("localhost") : m_link.dataSource;
    const QString catalog = m_link.initialCatalog.isEmpty() ? QStringLiteral("CRMS") : m_link.initialCatalog;
    QSqlDatabase db = QSqlDatabase::addDatabase(m_dialect->driverName(), m_name);
    db.setHostName(host);
    if (!m_link.port.isEmpty())
        db.setPort(m_link.port.toInt());
    db.setDatabaseName(catalog);
    db.setUserName(m_link.userId);
    db.setPassword(m_link.password);
    db.setConnectOptions(QStringLiteral("connect_timeout=5"));
    if (!db.open()) {
        const QString message = Dialect::errorText(db.lastError());
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
        throw Error(QStringLiteral("无法连接数据库服务器“%1%2”上的数据库“%3”：%4")
                        .arg(host, m_link.port.isEmpty() ? QString() : QLatin1Char(':') + m_link.port,
                             catalog, message));
    }
    QSqlQuery(db).exec(QStringLiteral("SET client_min_messages TO warning"));
}

void Connection::close()
{
    if (!QSqlDatabase::contains(m_name))
        return;
    emit aboutToClose();
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
    m_databaseFile.clear();
    m_transactionDepth = 0;
    m_rollbackOnly = false;
}

bool Connection::isOpen() const
{
    return QSqlDatabase::contains(m_name) && QSqlDatabase::database(m_name, false).isOpen();
}

const Dialect &Connection::dialect() const
{
    if (!m_dialect)
        throw Error(QStringLiteral("数据库尚未连接。"));
    return *m_dialect;
}

QSqlDatabase Connection::database() const
{
    return QSqlDatabase::database(m_name, false);
}

QSqlQuery Connection::exec(const QString &sql, const NamedValues &values)
{
    open();
    QSqlQuery query(database());
    query.setForwardOnly(true);
    // PostgreSQL cannot prepare DDL and other utility statements.
    if (values.isEmpty()) {
        if (!query.exec(sql))
            throw Error(Dialect::errorText(query.lastError()));
        return query;
    }
    if (!query.prepare(sql))
        throw Error(Dialect::errorText(query.lastError()));
    for (const auto &[name, value] : values)
        query.bindValue(QLatin1Char(':') + name, m_dialect->toDatabase(value));
    if (!query.exec())
        throw Error(Dialect::errorText(query.lastError()));
    return query;
}

void Connection::execControl(const QString &statement)
{
    QSqlQuery query(database());
    if (!query.exec(statement))
        throw Error(Dialect::errorText(query.lastError()));
}

void Connection::beginTransaction()
{
    open();
    if (m_transactionDepth++ > 0)
        return;
    m_rollbackOnly = false;
    // IMMEDIATE takes the write lock at once, so two workstations on one file
    // wait for each other instead of failing half-way.
    try {
        execControl(m_dialect->kind() == DatabaseKind::Sqlite ? QStringLiteral("BEGIN IMMEDIATE")
                                                              : QStringLiteral("BEGIN"));
    } catch (...) {
        m_transactionDepth = 0;
        throw;
    }
}

void Connection::commit()
{
    if (m_transactionDepth == 0)
        return;
    if (--m_transactionDepth > 0)
        return;
    if (m_rollbackOnly) {
        m_rollbackOnly = false;
        execControl(QStringLiteral("ROLLBACK"));
        throw Error(QStringLiteral("事务中的一部分操作已失败，全部修改均已撤销。"));
    }
    try {
        execControl(QStringLiteral("COMMIT"));
    } catch (...) {
        QSqlQuery(database()).exec(QStringLiteral("ROLLBACK"));
        throw;
    }
}

void Connection::rollback()
{
    if (m_transactionDepth == 0)
        return;
    if (--m_transactionDepth > 0) {
        m_rollbackOnly = true;
        return;
    }
    m_rollbackOnly = false;
    QSqlQuery(database()).exec(QStringLiteral("ROLLBACK"));
}

std::unique_ptr<Connection> Connection::clone() const
{
    auto other = std::make_unique<Connection>();
    other->setConnectionString(m_connectionString);
    other->setWorkingDirectory(m_workingDirectory);
    return other;
}

Transaction::Transaction(Connection &connection)
    : m_connection(connection)
{
    m_connection.beginTransaction();
}

Transaction::~Transaction()
{
    if (!m_done)
        m_connection.rollback();
}

void Transaction::commit()
{
    m_done = true;
    m_connection.commit();
}

} // namespace data
