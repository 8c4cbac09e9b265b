#include "DatasetInternal.h"

#include <QDateTime>

namespace data::detail {

bool sameValue(const QVariant &a, const QVariant &b)
{
    const bool aNull = !a.isValid() || a.isNull();
    const bool bNull = !b.isValid() || b.isNull();
    if (aNull || bNull)
        return aNull == bNull;
    return a == b;
}

QString formatDisplay(const QVariant &value, const DatasetColumn &column)
{
    if (column.type == ColumnType::Boolean && column.displayFormat.contains(QLatin1Char(';'))) {
        const QStringList texts = column.displayFormat.split(QLatin1Char(';'));
        if (!value.isValid() || value.isNull())
            return QString();
        return value.toBool() ? texts.value(0) : texts.value(1);
    }
    if (!value.isValid() || value.isNull())
        return QString();
    const QString &format = column.displayFormat;
    switch (column.type) {
    case ColumnType::Date:
        return value.toDate().toString(format.isEmpty() ? QStringLiteral("yyyy-MM-dd") : format);
    case ColumnType::Time:
        return value.toTime().toString(format.isEmpty() ? QStringLiteral("HH:mm") : format);
    case ColumnType::DateTime:
        return value.toDateTime().toString(format.isEmpty() ? QStringLiteral("yyyy-MM-dd HH:mm:ss")
                                                            : format);
    case ColumnType::Boolean:
        return value.toBool() ? QStringLiteral("是") : QStringLiteral("否");
    case ColumnType::Decimal:
        return QString::number(value.toDouble(), 'f', 2);
    default:
        return value.toString();
    }
}

} // namespace data::detail
