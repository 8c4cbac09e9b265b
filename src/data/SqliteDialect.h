#pragma once

#include "Dialect.h"

namespace data {

// SQLite keeps dates and times as ISO text and enforces text lengths only
// through the CHECK constraints written here.
class SqliteDialect final : public Dialect
{
public:
    DatabaseKind kind() const override { return DatabaseKind::Sqlite; }
    QString driverName() const override { return QStringLiteral("QSQLITE"); }
    QString nullSafeEquals(const QString &lhs, const QString &rhs) const override;
    QString rowLocator() const override { return QStringLiteral("rowid"); }

protected:
    QString columnDefinition(const Column &column, const Table &table) const override;
    QVariant booleanToDatabase(bool value) const override { return value ? 1 : 0; }
    QVariant decimalToDatabase(double value) const override;
};

} // namespace data
