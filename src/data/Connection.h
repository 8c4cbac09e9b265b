#pragma once

#include "DataLink.h"
#include "Dialect.h"

#include <QObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

#include <memory>

namespace data {

using NamedValues = QList<std::pair<QString, QVariant>>;

// The one database connection of a data module. Its connection string is either
// "FILE NAME=<data-link file>" (read when the connection opens) or the contents
// of such a file. Datasets open it on first use.
class Connection : public QObject
{
    Q_OBJECT
public:
    explicit Connection(QObject *parent = nullptr);
    ~Connection() override;

    void setConnectionString(const QString &connectionString);
    QString connectionString() const { return m_connectionString; }
    // The folder against which the data-link file is resolved (a relative
    // SQLite path is resolved against the data-link file's own folder).
    void setWorkingDirectory(const QString &directory);
    QString workingDirectory() const { return m_workingDirectory; }

    // Throws data::Error with a message the user can act on.
    void open();
    void close();
    bool isOpen() const;

    // The link read at the last open (empty before).
    const DataLink &link() const { return m_link; }
    QString provider() const { return m_link.provider; }
    bool isFileDatabase() const { return m_link.isFileDatabase(); }
    const Dialect &dialect() const;
    QSqlDatabase database() const;
    // The SQLite file in use, absolute; empty for a server database.
    QString databaseFile() const { return m_databaseFile; }

    // Runs one statement with named values (":name") bound; throws data::Error
    // carrying the database's message. The query is forward-only.
    QSqlQuery exec(const QString &sql, const NamedValues &values = {});

    void beginTransaction();
    void commit();
    void rollback();
    bool inTransaction() const { return m_transactionDepth > 0; }

    // A second connection to the same database, for another thread or a test
    // that plays a second workstation.
    std::unique_ptr<Connection> clone() const;

signals:
    void aboutToClose();

private:
    void openSqlite();
    void openPostgres();
    void execControl(const QString &statement);

    QString m_connectionString;
    QString m_workingDirectory;
    QString m_linkDirectory;
    QString m_name;
    QString m_databaseFile;
    DataLink m_link;
    std::unique_ptr<Dialect> m_dialect;
    int m_transactionDepth = 0;
    bool m_rollbackOnly = false;

    friend class Transaction;
};

// Writes that belong together: commits when asked, rolls back when an error
// unwinds it. Inside another transaction it joins it; a rolled-back inner part
// makes the outer commit fail too.
class Transaction
{
public:
    explicit Transaction(Connection &connection);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    void commit();

private:
    Connection &m_connection;
    bool m_done = false;
};

} // namespace data
