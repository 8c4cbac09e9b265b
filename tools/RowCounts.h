#pragma once

#include <QHash>
#include <QString>

namespace initdb {

// Rows written per table.
class RowCounts
{
public:
    void add(const QString &table, qint64 rows) { m_rows[table] += rows; }
    qint64 of(const QString &table) const { return m_rows.value(table); }
    qint64 total() const;
    // "ClientData 50，LinkMan 120，…" in the schema's order, tables without rows left out.
    QString text() const;

private:
    QHash<QString, qint64> m_rows;
};

} // namespace initdb
