#pragma once

#include "Schema.h"

#include <QSqlError>
#include <QStringList>
#include <QVariant>

#include <memory>

namespace data {

enum class DatabaseKind { Sqlite, Postgres };

// What differs between the file database (SQLite) and the server database
// (PostgreSQL): DDL, the null-safe comparison, how a single row without a key
// is addressed, and how typed values travel to and from the driver.
class Dialect
{
public:
    virtual ~Dialect() = default;

    static std::unique_ptr<Dialect> create(DatabaseKind kind);

    virtual DatabaseKind kind() const = 0;
    virtual QString driverName() const = 0;

    // Identifiers are always quoted: PostgreSQL folds unquoted names to lower case.
    static QString quote(const QString &identifier);

    // CREATE TABLE followed by its CREATE INDEX statements.
    QStringList createStatements(const Table &table) const;

    // `lhs` equals `rhs`, where two NULLs count as equal.
    virtual QString nullSafeEquals(const QString &lhs, const QString &rhs) const = 0;

    // The column expression that addresses one physical row, so that a write
    // to a table without a key touches one row even when others are identical.
    virtual QString rowLocator() const = 0;

    // The value as it is bound for a column of `type`.
    virtual QVariant toDatabase(const QVariant &value, ColumnType type) const;
    // The value as it is bound when no column type is known (a query parameter).
    QVariant toDatabase(const QVariant &value) const;
    // A value read from the driver, normalised to the C++ type of `type`.
    static QVariant fromDatabase(const QVariant &value, ColumnType type);

    // The database's own message, as the user should see it.
    static QString errorText(const QSqlError &error);

protected:
    virtual QString columnDefinition(const Column &column, const Table &table) const = 0;
    virtual QVariant booleanToDatabase(bool value) const = 0;
    virtual QVariant decimalToDatabase(double value) const = 0;
};

// The C++ type a column of `type` holds in a dataset.
QMetaType metaTypeOf(ColumnType type);

// A value normalised to `type` (text to number, date-time to date, padding of
// fixed-length text ...). Throws data::Error when it does not convert.
QVariant convertValue(const QVariant &value, ColumnType type, int length, const QString &columnName);

} // namespace data
