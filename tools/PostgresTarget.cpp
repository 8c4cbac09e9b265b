#include "PostgresTarget.h"

#include "Connection.h"
#include "DatabaseSetup.h"
#include "Error.h"
#include "Populate.h"

namespace initdb {

RowCounts createPostgresTables(const InitOptions &options)
{
    data::Connection connection;
    connection.setConnectionString(options.postgres->toConnectionString());
    connection.open();
    const QString database = options.postgres->initialCatalog;

    data::Transaction transaction(connection);
    const QStringList existing = data::existingTables(connection);
    if (!existing.isEmpty() && !options.force)
        throw data::Error(QStringLiteral("数据库“%1”中已有本程序的 %2 张表（%3），未作改动；"
                                         "要替换它们，请加 --force。")
                              .arg(database)
                              .arg(existing.size())
                              .arg(existing.join(QStringLiteral("、"))));
    try {
        // A workstation in the middle of a write would keep DROP TABLE waiting
        // without end; better to fail with a message.
        connection.exec(QStringLiteral("SET LOCAL lock_timeout = '15s'")).finish();
        if (!existing.isEmpty())
            data::dropTables(connection);
        RowCounts counts = populate(connection, options);
        transaction.commit();
        return counts;
    } catch (const data::Error &error) {
        throw data::Error(QStringLiteral("在数据库“%1”中建表失败，数据库未作改动：%2")
                              .arg(database, error.message()));
    }
}

} // namespace initdb
