#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace data {

enum class ColumnType {
    Text,       // Unicode text of at most `length` characters
    FixedText,  // text padded with spaces to `length` characters
    LongText,   // memo, no practical limit
    Integer,    // 32-bit signed
    AutoNumber, // integer assigned by the database on insert, read-only
    Date,       // a day
    Time,       // a time of day
    DateTime,   // a day and a time of day
    Decimal,    // fixed point, 18 digits, 2 after the point
    Boolean,
};

struct Column
{
    QString name;
    ColumnType type = ColumnType::Text;
    int length = 0; // characters, for Text and FixedText
};

struct Index
{
    QStringList columns;
    bool unique = false;
    bool caseInsensitive = false; // unique without regard to letter case (one text column)
};

struct Table
{
    QString name;
    QList<Column> columns;
    // The columns that identify a row for updates and deletes; empty for the
    // tables that have none, whose rows are found by all their values.
    QStringList key;
    QList<Index> indexes;

    const Column *column(const QString &columnName) const;
    int columnIndex(const QString &columnName) const;
};

// The one description of the thirteen tables. DDL for both databases, value
// conversion and the checks of column names that come from data are derived from it.
class Schema
{
public:
    static const QList<Table> &tables();
    static const Table *table(const QString &tableName);
    static bool hasColumn(const QString &tableName, const QString &columnName);
};

bool isTextType(ColumnType type);
bool isNumericType(ColumnType type);
bool isTemporalType(ColumnType type);

} // namespace data
