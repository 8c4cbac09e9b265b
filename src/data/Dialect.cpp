#include "Dialect.h"

#include "Error.h"
#include "SqliteDialect.h"
#include "PostgresDialect.h"
#include "TextFormats.h"

#include <QDateTime>

#include <cmath>
#include <limits>

namespace data {

std::unique_ptr<Dialect> Dialect::create(DatabaseKind kind)
{
    if (kind == DatabaseKind::Postgres)
        return std::make_unique<PostgresDialect>();
    return std::make_unique<SqliteDialect>();
}

QString Dialect::quote(const QString &identifier)
{
    QString escaped = identifier;
    escaped.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

QStringList Dialect::createStatements(const Table &table) const
{
    QStringList definitions;
    for (const Column &column : table.columns)
        definitions << quote(column.name) + QLatin1Char(' ') + columnDefinition(column, table);

    QStringList statements;
    statements << QStringLiteral("CREATE TABLE %1 (\n  %2\n)")
                      .arg(quote(table.name), definitions.join(QLatin1String(",\n  ")));

    for (const Index &index : table.indexes) {
        QStringList columns;
        for (const QString &c : index.columns)
            columns << (index.caseInsensitive ? QStringLiteral("lower(%1)").arg(quote(c)) : quote(c));
        const QString name = (index.unique ? QLatin1String("ux_") : QLatin1String("ix_"))
                           + table.name + QLatin1Char('_') + index.columns.join(QLatin1Char('_'));
        statements << QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
                          .arg(index.unique ? QLatin1String("UNIQUE ") : QLatin1String(),
                               quote(name), quote(table.name), columns.join(QLatin1String(", ")));
    }
    return statements;
}

QVariant Dialect::toDatabase(const QVariant &value, ColumnType type) const
{
    if (!value.isValid() || value.isNull())
        return QVariant();
    switch (type) {
    case ColumnType::Date:
        return formatStorageDate(value.toDate());
    case ColumnType::Time:
        return formatStorageTime(value.toTime());
    case ColumnType::DateTime:
        return formatStorageDateTime(value.toDateTime());
    case ColumnType::Boolean:
        return booleanToDatabase(value.toBool());
    case ColumnType::Decimal:
        return decimalToDatabase(value.toDouble());
    case ColumnType::Integer:
    case ColumnType::AutoNumber:
        return value.toLongLong();
    case ColumnType::Text:
    case ColumnType::FixedText:
    case ColumnType::LongText:
        return value.toString();
    }
    return value;
}

QVariant Dialect::toDatabase(const QVariant &value) const
{
    switch (value.typeId()) {
    case QMetaType::QDate:
        return toDatabase(value, ColumnType::Date);
    case QMetaType::QTime:
        return toDatabase(value, ColumnType::Time);
    case QMetaType::QDateTime:
        return toDatabase(value, ColumnType::DateTime);
    case QMetaType::Bool:
        return toDatabase(value, ColumnType::Boolean);
    default:
        return value;
    }
}

QVariant Dialect::fromDatabase(const QVariant &value, ColumnType type)
{
    if (!value.isValid() || value.isNull())
        return QVariant();
    switch (type) {
    case ColumnType::Text:
    case ColumnType::FixedText:
    case ColumnType::LongText:
        return value.typeId() == QMetaType::QString ? value : QVariant(value.toString());
    case ColumnType::Integer:
    case ColumnType::AutoNumber:
        return value.toInt();
    case ColumnType::Decimal:
        return value.toDouble();
    case ColumnType::Boolean:
        if (value.typeId() == QMetaType::QString)
            return QVariant(parseBoolean(value.toString()));
        return value.toBool();
    case ColumnType::Date:
        if (value.typeId() == QMetaType::QDate)
            return value;
        if (value.typeId() == QMetaType::QDateTime)
            return value.toDateTime().date();
        return parseStorageDate(value.toString());
    case ColumnType::Time:
        if (value.typeId() == QMetaType::QTime)
            return value;
        if (value.typeId() == QMetaType::QDateTime)
            return value.toDateTime().time();
        return parseStorageTime(value.toString());
    case ColumnType::DateTime:
        if (value.typeId() == QMetaType::QDateTime) {
            // Timestamps carry no zone: keep the wall-clock time as stored.
            const QDateTime dt = value.toDateTime();
            return QDateTime(dt.date(), dt.time());
        }
        if (value.typeId() == QMetaType::QDate)
            return value.toDate().startOfDay();
        return parseStorageDateTime(value.toString());
    }
    return value;
}

QString Dialect::errorText(const QSqlError &error)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.driverText().trimmed();
    if (text.startsWith(QLatin1String("ERROR:")))
        text = text.mid(6).trimmed();
    return text;
}

QMetaType metaTypeOf(ColumnType type)
{
    switch (type) {
    case ColumnType::Text:
    case ColumnType::FixedText:
    case ColumnType::LongText:
        return QMetaType::fromType<QString>();
    case ColumnType::Integer:
    case ColumnType::AutoNumber:
        return QMetaType::fromType<int>();
    case ColumnType::Decimal:
        return QMetaType::fromType<double>();
    case ColumnType::Boolean:
        return QMetaType::fromType<bool>();
    case ColumnType::Date:
        return QMetaType::fromType<QDate>();
    case ColumnType::Time:
        return QMetaType::fromType<QTime>();
    case ColumnType::DateTime:
        return QMetaType::fromType<QDateTime>();
    }
    return QMetaType();
}

namespace {

[[noreturn]] void notConvertible(const QVariant &value, const QString &columnName, const char *what)
{
    throw Error(QStringLiteral("“%1”不是列“%2”的有效%3。")
                    .arg(value.toString(), columnName, QString::fromUtf8(what)));
}

} // namespace

QVariant convertValue(const QVariant &value, ColumnType type, int length, const QString &columnName)
{
    if (!value.isValid() || value.isNull())
        return QVariant();
    const bool isText = value.typeId() == QMetaType::QString;
    if (isText && !isTextType(type) && value.toString().trimmed().isEmpty())
        return QVariant(); // an emptied box clears a number or a date

    switch (type) {
    case ColumnType::Text:
    case ColumnType::LongText:
        return value.toString();
    case ColumnType::FixedText: {
        QString s = value.toString();
        if (s.size() < length)
            s += QString(length - s.size(), QLatin1Char(' '));
        return s;
    }
    case ColumnType::Integer:
    case ColumnType::AutoNumber: {
        bool ok = false;
        double n = 0;
        if (isText) {
            n = double(value.toString().trimmed().toLongLong(&ok));
        } else if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float) {
            n = value.toDouble(&ok);
            ok = ok && std::isfinite(n) && n == std::floor(n);
        } else {
            n = double(value.toLongLong(&ok));
        }
        if (!ok || n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max())
            notConvertible(value, columnName, "整数值");
        return int(n);
    }
    case ColumnType::Decimal: {
        bool ok = false;
        double d = isText ? parseDecimal(value.toString(), &ok) : value.toDouble(&ok);
        if (!ok || !std::isfinite(d) || std::fabs(d) >= 1e16)
            notConvertible(value, columnName, "金额");
        return std::round(d * 100.0) / 100.0;
    }
    case ColumnType::Boolean:
        if (isText)
            return parseBoolean(value.toString());
        return value.toBool();
    case ColumnType::Date: {
        QDate d;
        if (value.typeId() == QMetaType::QDate)
            d = value.toDate();
        else if (value.typeId() == QMetaType::QDateTime)
            d = value.toDateTime().date();
        else
            d = parseUserDate(value.toString());
        if (!d.isValid())
            notConvertible(value, columnName, "日期");
        return d;
    }
    case ColumnType::Time: {
        QTime t;
        if (value.typeId() == QMetaType::QTime)
            t = value.toTime();
        else if (value.typeId() == QMetaType::QDateTime)
            t = value.toDateTime().time();
        else
            t = parseUserTime(value.toString());
        if (!t.isValid())
            notConvertible(value, columnName, "时间");
        return QTime(t.hour(), t.minute(), t.second());
    }
    case ColumnType::DateTime: {
        QDateTime dt;
        if (value.typeId() == QMetaType::QDateTime)
            dt = value.toDateTime();
        else if (value.typeId() == QMetaType::QDate)
            dt = value.toDate().startOfDay();
        else
            dt = parseUserDateTime(value.toString());
        if (!dt.isValid())
            notConvertible(value, columnName, "日期时间");
        const QTime t = dt.time();
        return QDateTime(dt.date(), QTime(t.hour(), t.minute(), t.second()));
    }
    }
    return value;
}

} // namespace data
