#include "DatabaseSetup.h"

#include "Connection.h"
#include "SeedData.h"

#include <QSqlDatabase>

namespace data {

QStringList existingTables(Connection &connection)
{
    connection.open();
    const QStringList present = connection.database().tables(QSql::Tables);
    QStringList tables;
    for (const Table &table : Schema::tables()) {
        for (const QString &name : present) {
            if (name.compare(table.name, Qt::CaseInsensitive) == 0) {
                tables << table.name;
                break;
            }
        }
    }
    return tables;
}

void dropTables(Connection &connection)
{
    const QStringList ours = existingTables(connection);
    // Dropped under the name the database has, which may differ in letter case.
    for (const QString &name : connection.database().tables(QSql::Tables)) {
        if (ours.contains(name, Qt::CaseInsensitive))
            connection.exec(QStringLiteral("DROP TABLE ") + Dialect::quote(name)).finish();
    }
}

void createTables(Connection &connection)
{
    connection.open();
    for (const Table &table : Schema::tables()) {
        for (const QString &statement : connection.dialect().createStatements(table))
            connection.exec(statement).finish();
    }
}

void insertStartRows(Connection &connection, const QString &adminName, const QString &passwordHash)
{
    for (const TransformRow &row : transformRows()) {
        connection
            .exec(QStringLiteral("INSERT INTO \"Transforms\" (\"Tables\", \"TransformFields\", \"Fields\") "
                                 "VALUES (:t, :c, :f)"),
                  {{QStringLiteral("t"), row.table}, {QStringLiteral("c"), row.caption},
                   {QStringLiteral("f"), row.column}})
            .finish();
    }
    QStringList columns = {QStringLiteral("用户名"), QStringLiteral("密码"), QStringLiteral("用户类型")};
    QStringList placeholders = {QStringLiteral(":name"), QStringLiteral(":password"), QStringLiteral(":type")};
    NamedValues values = {{QStringLiteral("name"), adminName},
                          {QStringLiteral("password"), passwordHash},
                          {QStringLiteral("type"), administratorType()}};
    for (int i = 0; i < rightsColumns().size(); ++i) {
        columns << rightsColumns().at(i);
        placeholders << QStringLiteral(":r%1").arg(i);
        values.append({QStringLiteral("r%1").arg(i), true});
    }
    QStringList quoted;
    for (const QString &c : columns)
        quoted << Dialect::quote(c);
    connection
        .exec(QStringLiteral("INSERT INTO \"用户\" (%1) VALUES (%2)")
                  .arg(quoted.join(QLatin1String(", ")), placeholders.join(QLatin1String(", "))),
              values)
        .finish();
}

} // namespace data
