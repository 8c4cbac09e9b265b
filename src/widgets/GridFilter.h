#pragma once

#include "Dataset.h"

#include <QList>
#include <QString>

// The conditions of a grid's own filter ("过滤显示"): each compares one column
// of a row with a typed value, and they are joined by 并且 (all must hold) or
// 或者 (one is enough). compile() turns them into the row test that
// Dataset::setRowFilter applies, so the rows shown change without a query.
//
// Values are read by the column's type: numbers as numbers, dates as
// yyyy-MM-dd or in the locale's short format, times as HH:mm, Booleans as
// 是/否. Text compares case-sensitively, except 包含 and 不包含, which ignore
// letter case. An empty cell satisfies 为空, 不等于 and 不包含 only.
class GridFilter
{
public:
    enum Operator {
        Equal,
        NotEqual,
        Greater,
        GreaterOrEqual,
        Less,
        LessOrEqual,
        Contains,
        NotContains,
        IsEmpty,
        IsNotEmpty,
    };
    enum Join { All, Any };

    struct Condition
    {
        QString field;   // the dataset column
        QString caption; // how the grid heads it, for the description
        Operator op = Equal;
        QString value; // as typed; unused by IsEmpty and IsNotEmpty

        bool operator==(const Condition &) const = default;
    };

    static QList<Operator> operators();
    static QString operatorText(Operator op); // "等于" …
    static bool needsValue(Operator op);
    static QString joinText(Join join); // "并且", "或者"

    Join join() const { return m_join; }
    void setJoin(Join join) { m_join = join; }
    const QList<Condition> &conditions() const { return m_conditions; }
    void addCondition(const Condition &condition) { m_conditions.append(condition); }
    void clear() { m_conditions.clear(); }
    bool isEmpty() const { return m_conditions.isEmpty(); }

    // "公司名称 包含 “北京” 或者 邮编 大于 “100000”"
    QString description() const;

    // The row test over `dataset`'s columns. Throws data::Error, naming the
    // caption and the value, when a value does not read as its column's type
    // or the dataset has no such column.
    data::Dataset::RowPredicate compile(const data::Dataset &dataset) const;

    bool operator==(const GridFilter &) const = default;

private:
    Join m_join = All;
    QList<Condition> m_conditions;
};
