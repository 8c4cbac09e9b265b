#include "SqliteDialect.h"

#include <cmath>

namespace data {

QString SqliteDialect::nullSafeEquals(const QString &lhs, const QString &rhs) const
{
    return lhs + QLatin1String(" IS ") + rhs;
}

QString SqliteDialect::columnDefinition(const Column &column, const Table &table) const
{
    Q_UNUSED(table)
    const QString name = quote(column.name);
    // The constraint's name is what SQLite reports when a value is too long.
    const auto lengthCheck = [&](const QString &type) {
        return QStringLiteral("%1 CONSTRAINT %2 CHECK (length(%3) <= %4)")
            .arg(type,
                 quote(QStringLiteral("列“%1”的内容超过 %2 个字符").arg(column.name).arg(column.length)),
                 name)
            .arg(column.length);
    };
    switch (column.type) {
    case ColumnType::Text:
        return lengthCheck(QStringLiteral("VARCHAR(%1)").arg(column.length));
    case ColumnType::FixedText:
        return lengthCheck(QStringLiteral("CHAR(%1)").arg(column.length));
    case ColumnType::LongText:
        return QStringLiteral("TEXT");
    case ColumnType::Integer:
        return QStringLiteral("INTEGER");
    case ColumnType::AutoNumber:
        return QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    case ColumnType::Date:
        return QStringLiteral("DATE");
    case ColumnType::Time:
        return QStringLiteral("TIME");
    case ColumnType::DateTime:
        return QStringLiteral("DATETIME");
    case ColumnType::Decimal:
        return QStringLiteral("NUMERIC(18,2)");
    case ColumnType::Boolean:
        return QStringLiteral("BOOLEAN");
    }
    return QString();
}

QVariant SqliteDialect::decimalToDatabase(double value) const
{
    return std::round(value * 100.0) / 100.0;
}

} // namespace data
