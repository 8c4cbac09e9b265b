#include "GridFilter.h"

#include "Error.h"
#include "TextFormats.h"

#include <cmath>
#include <memory>
#include <vector>

using data::ColumnType;

namespace {

enum class Kind { Text, Number, Date, Time, DateTime, Boolean };

Kind kindOf(ColumnType type)
{
    switch (type) {
    case ColumnType::Integer:
    case ColumnType::AutoNumber:
    case ColumnType::Decimal:
        return Kind::Number;
    case ColumnType::Date:
        return Kind::Date;
    case ColumnType::Time:
        return Kind::Time;
    case ColumnType::DateTime:
        return Kind::DateTime;
    case ColumnType::Boolean:
        return Kind::Boolean;
    default:
        return Kind::Text;
    }
}

bool isNull(const QVariant &value)
{
    return !value.isValid() || value.isNull();
}

// A condition with its value read once, ready to test rows.
struct CompiledCondition
{
    int column = -1;
    ColumnType type = ColumnType::Text;
    GridFilter::Operator op = GridFilter::Equal;
    QString text;          // the value as typed (text columns, 包含)
    QVariant wanted;       // the value read as the column's type
    bool dateOnly = false; // a date-time compared with a day

    // The cell as text, for 包含 on columns that are not text.
    QString cellText(const QVariant &value) const
    {
        switch (kindOf(type)) {
        case Kind::Number:
            return type == ColumnType::Decimal ? QString::number(value.toDouble(), 'f', 2)
                                               : QString::number(value.toLongLong());
        case Kind::Date:
            return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
        case Kind::Time:
            return value.toTime().toString(QStringLiteral("HH:mm"));
        case Kind::DateTime:
            return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        case Kind::Boolean:
            return value.toBool() ? QStringLiteral("是") : QStringLiteral("否");
        case Kind::Text:
            break;
        }
        QString s = value.toString();
        if (type == ColumnType::FixedText)
            s = s.trimmed();
        return s;
    }

    // <0, 0, >0 as the cell is below, at or above the wanted value.
    int compare(const QVariant &value) const
    {
        const auto order = [](const auto &a, const auto &b) {
            return a < b ? -1 : (b < a ? 1 : 0);
        };
        switch (kindOf(type)) {
        case Kind::Number: {
            const double a = value.toDouble();
            const double b = wanted.toDouble();
            return std::fabs(a - b) < 1e-9 ? 0 : (a < b ? -1 : 1);
        }
        case Kind::Date:
            return order(value.toDate(), wanted.toDate());
        case Kind::Time:
            return order(value.toTime(), wanted.toTime());
        case Kind::DateTime:
            if (dateOnly)
                return order(value.toDateTime().date(), wanted.toDateTime().date());
            return order(value.toDateTime(), wanted.toDateTime());
        case Kind::Boolean:
            return order(int(value.toBool()), int(wanted.toBool()));
        case Kind::Text:
            break;
        }
        const int c = cellText(value).compare(text, Qt::CaseSensitive);
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }

    bool holds(const QVariant *row) const
    {
        const QVariant &value = row[column];
        const bool empty = isNull(value) || (value.typeId() == QMetaType::QString &&
                                             value.toString().trimmed().isEmpty());
        switch (op) {
        case GridFilter::IsEmpty:
            return empty;
        case GridFilter::IsNotEmpty:
            return !empty;
        case GridFilter::Contains:
            return !isNull(value) && cellText(value).contains(text, Qt::CaseInsensitive);
        case GridFilter::NotContains:
            return isNull(value) || !cellText(value).contains(text, Qt::CaseInsensitive);
        case GridFilter::NotEqual:
            return isNull(value) || compare(value) != 0;
        default:
            break;
        }
        if (isNull(value))
            return false;
        const int c = compare(value);
        switch (op) {
        case GridFilter::Equal:
            return c == 0;
        case GridFilter::Greater:
            return c > 0;
        case GridFilter::GreaterOrEqual:
            return c >= 0;
        case GridFilter::Less:
            return c < 0;
        case GridFilter::LessOrEqual:
            return c <= 0;
        default:
            return false;
        }
    }
};

[[noreturn]] void badValue(const GridFilter::Condition &condition, const char *what)
{
    throw data::Error(QStringLiteral("“%1”的比较值“%2”不是有效的%3。")
                          .arg(condition.caption, condition.value, QString::fromUtf8(what)));
}

CompiledCondition compileCondition(const GridFilter::Condition &condition,
                                   const data::Dataset &dataset)
{
    CompiledCondition compiled;
    compiled.column = dataset.columnIndex(condition.field);
    if (compiled.column < 0)
        throw data::Error(
            QStringLiteral("数据中没有“%1”一列，不能按它过滤。").arg(condition.caption));
    compiled.type = dataset.column(compiled.column).type;
    compiled.op = condition.op;
    compiled.text = condition.value;
    if (!GridFilter::needsValue(condition.op) || condition.op == GridFilter::Contains ||
        condition.op == GridFilter::NotContains)
        return compiled;

    const QString typed = condition.value.trimmed();
    switch (kindOf(compiled.type)) {
    case Kind::Number: {
        bool ok = false;
        const double number = data::parseDecimal(typed, &ok);
        if (!ok)
            badValue(condition, "数值");
        compiled.wanted = number;
        break;
    }
    case Kind::Date: {
        const QDate date = data::parseUserDate(typed);
        if (!date.isValid())
            badValue(condition, "日期");
        compiled.wanted = date;
        break;
    }
    case Kind::Time: {
        const QTime time = data::parseUserTime(typed);
        if (!time.isValid())
            badValue(condition, "时间");
        compiled.wanted = time;
        break;
    }
    case Kind::DateTime: {
        const QDateTime moment = data::parseUserDateTime(typed);
        if (!moment.isValid())
            badValue(condition, "日期时间");
        compiled.wanted = moment;
        compiled.dateOnly = !typed.contains(QLatin1Char(' '));
        break;
    }
    case Kind::Boolean: {
        static const QStringList no = {QStringLiteral("否"), QStringLiteral("0"),
                                       QStringLiteral("false"), QStringLiteral("f"),
                                       QStringLiteral("no")};
        if (data::parseBoolean(typed))
            compiled.wanted = true;
        else if (no.contains(typed.toLower()))
            compiled.wanted = false;
        else
            badValue(condition, "是否值（是／否）");
        break;
    }
    case Kind::Text:
        break;
    }
    return compiled;
}

} // namespace

QList<GridFilter::Operator> GridFilter::operators()
{
    return {Equal,       NotEqual, Greater,     GreaterOrEqual, Less,
            LessOrEqual, Contains, NotContains, IsEmpty,        IsNotEmpty};
}

QString GridFilter::operatorText(Operator op)
{
    switch (op) {
    case Equal:
        return QStringLiteral("等于");
    case NotEqual:
        return QStringLiteral("不等于");
    case Greater:
        return QStringLiteral("大于");
    case GreaterOrEqual:
        return QStringLiteral("大于等于");
    case Less:
        return QStringLiteral("小于");
    case LessOrEqual:
        return QStringLiteral("小于等于");
    case Contains:
        return QStringLiteral("包含");
    case NotContains:
        return QStringLiteral("不包含");
    case IsEmpty:
        return QStringLiteral("为空");
    case IsNotEmpty:
        return QStringLiteral("不为空");
    }
    return QString();
}

bool GridFilter::needsValue(Operator op)
{
    return op != IsEmpty && op != IsNotEmpty;
}

QString GridFilter::joinText(Join join)
{
    return join == All ? QStringLiteral("并且") : QStringLiteral("或者");
}

QString GridFilter::description() const
{
    QStringList parts;
    for (const Condition &c : m_conditions) {
        QString part = c.caption + QLatin1Char(' ') + operatorText(c.op);
        if (needsValue(c.op))
            part += QStringLiteral(" “%1”").arg(c.value);
        parts << part;
    }
    return parts.join(QLatin1Char(' ') + joinText(m_join) + QLatin1Char(' '));
}

data::Dataset::RowPredicate GridFilter::compile(const data::Dataset &dataset) const
{
    if (m_conditions.isEmpty())
        return {};
    auto compiled = std::make_shared<std::vector<CompiledCondition>>();
    for (const Condition &condition : m_conditions)
        compiled->push_back(compileCondition(condition, dataset));
    const bool all = m_join == All;
    return [compiled, all](const data::Dataset &, const QVariant *row) {
        for (const CompiledCondition &c : *compiled) {
            if (c.holds(row) != all)
                return !all; // one failed of 并且, or one held of 或者
        }
        return all;
    };
}
