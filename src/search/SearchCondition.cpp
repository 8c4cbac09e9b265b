#include "SearchCondition.h"

#include "Dialect.h"
#include "Error.h"

QStringList SearchCondition::captions()
{
    return {QStringLiteral("等于"), QStringLiteral("不等于"), QStringLiteral("大于"), QStringLiteral("大于等于"),
            QStringLiteral("小于"), QStringLiteral("小于等于"), QStringLiteral("像"), QStringLiteral("空"),
            QStringLiteral("非空")};
}

namespace {

QString likePattern(const QString &value)
{
    QString escaped = value;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    escaped.replace(QLatin1Char('%'), QLatin1String("\\%"));
    escaped.replace(QLatin1Char('_'), QLatin1String("\\_"));
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

} // namespace

QString SearchCondition::toSql(const QString &name, data::NamedValues &values) const
{
    const data::Table *t = data::Schema::table(table);
    const data::Column *c = t && !column.isEmpty() ? t->column(column) : nullptr;
    if (!c)
        throw data::Error(QStringLiteral("表“%1”中没有查询字段“%2”。").arg(table, column));
    const QString quoted = data::Dialect::quote(c->name);
    const bool text = data::isTextType(c->type);
    const QString placeholder = QLatin1Char(':') + name;

    switch (comparison) {
    case Empty:
        return text ? QStringLiteral("(%1 IS NULL OR %1 = '')").arg(quoted) : quoted + QStringLiteral(" IS NULL");
    case NotEmpty:
        return text ? QStringLiteral("(%1 IS NOT NULL AND %1 <> '')").arg(quoted) : quoted + QStringLiteral(" IS NOT NULL");
    case Like:
        // The value is found as it is typed: % and _ are no wildcards here.
        values.append({name, likePattern(value)});
        return QStringLiteral("%1 LIKE %2 ESCAPE '\\'")
            .arg(text ? quoted : QStringLiteral("CAST(%1 AS VARCHAR(255))").arg(quoted), placeholder);
    default:
        break;
    }
    static const char *const operators[] = {"=", "<>", ">", ">=", "<", "<="};
    if (comparison < Equal || comparison > LessOrEqual)
        throw data::Error(QStringLiteral("未知的比较方式。"));
    values.append({name, data::convertValue(value, c->type, c->length, c->name)});
    return quoted + QString::fromLatin1(operators[comparison]) + placeholder;
}
