#pragma once

#include "Dialect.h"

namespace data {

class PostgresDialect final : public Dialect
{
public:
    DatabaseKind kind() const override { return DatabaseKind::Postgres; }
    QString driverName() const override { return QStringLiteral("QPSQL"); }
    QString nullSafeEquals(const QString &lhs, const QString &rhs) const override;
    QString rowLocator() const override { return QStringLiteral("ctid"); }

protected:
    QString columnDefinition(const Column &column, const Table &table) const override;
    QVariant booleanToDatabase(bool value) const override { return value; }
    // As text, so that the server reads exactly two decimals and an equality
    // test against a stored NUMERIC(18,2) is not spoilt by binary rounding.
    QVariant decimalToDatabase(double value) const override;
};

} // namespace data
