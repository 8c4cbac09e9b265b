#include "RowCounts.h"

#include "Schema.h"

#include <QStringList>

namespace initdb {

qint64 RowCounts::total() const
{
    qint64 sum = 0;
    for (qint64 rows : m_rows)
        sum += rows;
    return sum;
}

QString RowCounts::text() const
{
    QStringList parts;
    for (const data::Table &table : data::Schema::tables()) {
        if (const qint64 rows = of(table.name); rows > 0)
            parts << QStringLiteral("%1 %2").arg(table.name).arg(rows);
    }
    return parts.join(QStringLiteral("，"));
}

} // namespace initdb
