#pragma once

#include "Connection.h"
#include "Schema.h"

#include <QString>

// One condition of the search: a column of a table, one of the nine
// comparisons and the typed value. It becomes SQL text over the quoted column
// with the value bound, read by the column's type (a date column compares
// dates, a number column numbers).
struct SearchCondition
{
    enum Comparison { Equal, NotEqual, Greater, GreaterOrEqual, Less, LessOrEqual, Like, Empty, NotEmpty };

    QString table;
    QString column; // as TransformData gives it; empty makes the search fail
    int comparison = Equal;
    QString value;

    // The comparison's caption: "等于", "不等于", … "空", "非空".
    static QStringList captions();
    // Appends the condition's text to `sql` and its value to `values` under
    // the placeholder `name`. Throws data::Error when the column is unknown or
    // the value does not read as the column's type.
    QString toSql(const QString &name, data::NamedValues &values) const;
};
