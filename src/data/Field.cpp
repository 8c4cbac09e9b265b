#include "Dataset.h"
#include "DatasetInternal.h"
#include "TextFormats.h"

namespace data {

using detail::formatDisplay;

const QString &Field::name() const
{
    return m_dataset->m_columns.at(m_column).name;
}

ColumnType Field::type() const
{
    return m_dataset->m_columns.at(m_column).type;
}

QVariant Field::value() const
{
    return m_dataset->currentValue(m_column);
}

bool Field::isNull() const
{
    const QVariant v = value();
    return !v.isValid() || v.isNull();
}

QString Field::asString() const
{
    const QVariant v = value();
    if (!v.isValid() || v.isNull())
        return QString();
    switch (v.typeId()) {
    case QMetaType::QDate:
        return formatStorageDate(v.toDate());
    case QMetaType::QTime:
        return formatStorageTime(v.toTime());
    case QMetaType::QDateTime:
        return formatStorageDateTime(v.toDateTime());
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Double:
        return QString::number(v.toDouble(), 'g', 15);
    default:
        return v.toString();
    }
}

int Field::asInteger() const
{
    const QVariant v = value();
    if (!v.isValid() || v.isNull())
        return 0;
    return convertValue(v, ColumnType::Integer, 0, name()).toInt();
}

double Field::asFloat() const
{
    const QVariant v = value();
    if (!v.isValid() || v.isNull())
        return 0.0;
    if (v.typeId() == QMetaType::QString) {
        bool ok = false;
        const double d = parseDecimal(v.toString(), &ok);
        if (!ok)
            throw Error(QStringLiteral("“%1”不是字段“%2”的有效数值。").arg(v.toString(), name()));
        return d;
    }
    return v.toDouble();
}

bool Field::asBoolean() const
{
    const QVariant v = value();
    if (!v.isValid() || v.isNull())
        return false;
    if (v.typeId() == QMetaType::QString)
        return parseBoolean(v.toString());
    return v.toBool();
}

QDate Field::asDate() const
{
    const QVariant v = value();
    if (!v.isValid() || v.isNull())
        return QDate();
    return convertValue(v, ColumnType::Date, 0, name()).toDate();
}

QTime Field::asTime() const
{
    const QVariant v = value();
    if (!v.isValid() || v.isNull())
        return QTime();
    return convertValue(v, ColumnType::Time, 0, name()).toTime();
}

QDateTime Field::asDateTime() const
{
    const QVariant v = value();
    if (!v.isValid() || v.isNull())
        return QDateTime();
    return convertValue(v, ColumnType::DateTime, 0, name()).toDateTime();
}

QString Field::displayText() const
{
    return formatDisplay(value(), m_dataset->m_columns.at(m_column));
}

void Field::setValue(const QVariant &value)
{
    m_dataset->setCurrentValue(m_column, value);
}

} // namespace data
